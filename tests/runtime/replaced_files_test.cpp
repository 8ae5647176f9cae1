#include "runtime/replaced_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <functional>
#include <set>
#include <string_view>
#include <vector>

#include "runtime/report_file.h"
#include "runtime/run_error.h"
#include "runtime/temporary_names.h"
#include "test_folder.h"

namespace sf {
namespace {

namespace fs = std::filesystem;

struct Writer {
    const char* name;
    std::function<void(const fs::path&)> write;  // "new" replaces what is there
    const char* written;
};

const Writer kWriters[] = {
    {"report",
     [](const fs::path& path) {
         ReportFile report(path);
         report.WriteLine("new");
         report.Close();
     },
     "new\r\n"},
    {"scenario file", [](const fs::path& path) { ReplaceFile(path, "new", "scenario file"); },
     "new"},
};

struct Written {
    std::string content;
    fs::perms permissions = fs::perms::none;
    uid_t owner = 0;
};

Written Read(const TestFolder& folder, const fs::path& name) {
    struct stat status {};
    ::stat(folder.Path(name).c_str(), &status);
    return {folder.Read(name), fs::status(folder.Path(name)).permissions(), status.st_uid};
}

bool TemporariesLeft(const fs::path& folder) {
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.path().filename().string().rfind(".sf-", 0) == 0) {
            return true;
        }
    }
    return false;
}

// A file that replaces another keeps what the user set on it and writes through a symbolic link
// to its target; a name of any length the system allows will do.
TEST(ReplacedFiles, KeepWhatTheUserSet) {
    using Setup = void (*)(const TestFolder&);
    const struct {
        const char* name;
        Setup setup;
        const char* path;       // written
        const char* target;     // where the content lands
        fs::perms permissions;  // of the target afterwards; none: as any new file
        uid_t owner;            // of the target afterwards, where this process may give it
    } cases[] = {
        {"a new file", [](const TestFolder&) {}, "out", "out", fs::perms::none, ::geteuid()},
        {"readable by its owner only",
         [](const TestFolder& f) {
             f.Write("out", "old");
             fs::permissions(f.Path("out"), fs::perms::owner_read | fs::perms::owner_write);
         },
         "out", "out", fs::perms::owner_read | fs::perms::owner_write, ::geteuid()},
        {"another's file",
         [](const TestFolder& f) {
             f.Write("out", "old");
             [[maybe_unused]] const int changed = ::chown(f.Path("out").c_str(), 4321, -1);
         },
         "out", "out", fs::perms::none, ::geteuid() == 0 ? 4321u : ::geteuid()},
        {"a symbolic link",
         [](const TestFolder& f) {
             fs::create_directory(f.Path("kept"));
             f.Write("kept/out", "old");
             fs::permissions(f.Path("kept/out"), fs::perms::owner_read | fs::perms::owner_write);
             fs::create_symlink("kept/out", f.Path("out"));
         },
         "out", "kept/out", fs::perms::owner_read | fs::perms::owner_write, ::geteuid()},
        {"a symbolic link to a file still to come",
         [](const TestFolder& f) {
             fs::create_directory(f.Path("kept"));
             fs::create_symlink(f.Path("kept/out"), f.Path("out"));
         },
         "out", "kept/out", fs::perms::none, ::geteuid()},
        {"a name of 250 bytes", [](const TestFolder&) {}, "", "", fs::perms::none, ::geteuid()},
    };
    const std::string longName(250, 'n');
    for (const Writer& writer : kWriters) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(writer.name) + ", " + c.name);
            const TestFolder folder;
            folder.Write("plain", "");
            c.setup(folder);
            const fs::path path = *c.path == '\0' ? longName : c.path;
            const fs::path target = *c.target == '\0' ? longName : c.target;
            ASSERT_NO_THROW(writer.write(folder.Path(path)));
            const Written written = Read(folder, target);
            EXPECT_EQ(written.content, writer.written);
            EXPECT_EQ(written.permissions, c.permissions == fs::perms::none
                                               ? fs::status(folder.Path("plain")).permissions()
                                               : c.permissions);
            EXPECT_EQ(written.owner, c.owner);
            EXPECT_EQ(fs::is_symlink(folder.Path(path)), path != target);
            EXPECT_FALSE(TemporariesLeft(folder.Root()));
        }
    }
}

// A folder replaced whole keeps the permissions the user set on it and on its files, and is
// written through a symbolic link to its target.
TEST(ReplacedFiles, AReplacedFolderKeepsWhatTheUserSet) {
    using Setup = void (*)(const TestFolder&);
    constexpr fs::perms kOwner = fs::perms::owner_all;
    constexpr fs::perms kGroup =
        fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec;
    constexpr fs::perms kFile = fs::perms::owner_read | fs::perms::owner_write;
    const struct {
        const char* name;
        Setup setup;
        const char* path;    // replaced
        const char* target;  // where the files land
        fs::perms folder;    // of the target afterwards; none: as any new folder
        fs::perms file;      // of a.txt afterwards; none: as any new file
    } cases[] = {
        {"a new folder", [](const TestFolder&) {}, "out", "out", fs::perms::none, fs::perms::none},
        {"open to its owner only",
         [](const TestFolder& f) {
             fs::create_directory(f.Path("out"));
             f.Write("out/a.txt", "old");
             fs::permissions(f.Path("out/a.txt"), kFile);
             fs::permissions(f.Path("out"), kOwner);
         },
         "out", "out", kOwner, kFile},
        {"shared with its group",
         [](const TestFolder& f) {
             fs::create_directory(f.Path("out"));
             fs::permissions(f.Path("out"), kGroup);
         },
         "out", "out", kGroup, fs::perms::none},
        {"a symbolic link to a folder",
         [](const TestFolder& f) {
             fs::create_directory(f.Path("kept"));
             fs::create_directory(f.Path("kept/out"));
             fs::permissions(f.Path("kept/out"), kOwner);
             fs::create_directory_symlink("kept/out", f.Path("out"));
         },
         "out", "kept/out", kOwner, fs::perms::none},
    };
    const FolderFile files[] = {{"a.txt", "new"}, {"b.txt", "new"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TestFolder folder;
        folder.Write("plain", "");
        fs::create_directory(folder.Path("plain folder"));
        c.setup(folder);
        ASSERT_EQ(ReplaceFolder(folder.Path(c.path), files, "export"), "");
        EXPECT_EQ(folder.Read(std::string(c.target) + "/b.txt"), "new");
        EXPECT_EQ(fs::status(folder.Path(c.target)).permissions(),
                  c.folder == fs::perms::none
                      ? fs::status(folder.Path("plain folder")).permissions()
                      : c.folder);
        EXPECT_EQ(
            fs::status(folder.Path(std::string(c.target) + "/a.txt")).permissions(),
            c.file == fs::perms::none ? fs::status(folder.Path("plain")).permissions() : c.file);
        EXPECT_EQ(fs::is_symlink(folder.Path(c.path)), std::string(c.path) != c.target);
        EXPECT_FALSE(TemporariesLeft(folder.Root()));
    }
}

// A folder written in parts stays as it was until the writer replaces it, whatever stops the
// writer before; then it holds the files whole, one written in many parts among them.
TEST(ReplacedFiles, AFolderWrittenInPartsReplacesTheOldOneOnlyAtTheEnd) {
    const std::vector<std::string_view> names = {"parts.txt", "whole.txt", "old.txt"};
    for (const bool replaced : {false, true}) {
        SCOPED_TRACE(replaced ? "replaced" : "given up");
        const TestFolder folder;
        fs::create_directory(folder.Path("out"));
        folder.Write("out/old.txt", "old");
        {
            FolderWrite write(folder.Path("out"), "export", names);
            std::string expected;
            for (int part = 0; part < 1000; ++part) {
                const std::string text = std::to_string(part) + ',';
                write.Append({"parts.txt", text});
                expected += text;
            }
            write.Write({"whole.txt", "whole"});
            EXPECT_EQ(folder.Read("out/old.txt"), "old");
            EXPECT_FALSE(fs::exists(folder.Path("out/parts.txt")));
            if (replaced) {
                const std::array<std::string_view, 1> leftOut = {"old.txt"};
                EXPECT_EQ(write.Replace(leftOut), "");
                EXPECT_EQ(folder.Read("out/parts.txt"), expected);
                EXPECT_EQ(folder.Read("out/whole.txt"), "whole");
            }
        }
        EXPECT_EQ(fs::exists(folder.Path("out/old.txt")), !replaced);
        EXPECT_EQ(fs::exists(folder.Path("out/parts.txt")), replaced);
        EXPECT_FALSE(TemporariesLeft(folder.Root()));
    }
}

// Links that lead round in a circle stay as they are: replacing one by the file would lose it.
TEST(ReplacedFiles, RefuseLinksRoundInACircle) {
    for (const Writer& writer : kWriters) {
        SCOPED_TRACE(writer.name);
        const TestFolder folder;
        fs::create_symlink("loop2", folder.Path("loop1"));
        fs::create_symlink("loop1", folder.Path("loop2"));
        EXPECT_THROW(writer.write(folder.Path("loop1")), RunError);
        EXPECT_TRUE(fs::is_symlink(folder.Path("loop1")));
        EXPECT_EQ(fs::read_symlink(folder.Path("loop1")), "loop2");
        EXPECT_FALSE(TemporariesLeft(folder.Root()));
    }
}

// Temporary entries carry their machine and process: a later run removes those of processes
// that ended, and of a folder only the files it was told of; a live run's entries stay.
TEST(TemporaryNames, ALaterRunRemovesOnlyWhatEndedProcessesLeft) {
    const pid_t ended = ::fork();
    if (ended == 0) {
        ::_exit(0);
    }
    ::waitpid(ended, nullptr, 0);
    const std::string own = TemporaryName();  // .sf-HOST-PID-N
    const std::string host = own.substr(0, own.find('-', 4) + 1);
    const std::string left = host + std::to_string(ended) + "-0";
    const TestFolder folder;
    folder.Write(left, "stale");
    fs::create_directory(folder.Path(left + "1"));
    folder.Write(left + "1/summary.csv", "stale");
    fs::create_directory(folder.Path(left + "2"));
    folder.Write(left + "2/summary.csv", "stale");
    folder.Write(left + "2/mine.txt", "the user's");
    folder.Write(own, "live");
    folder.Write(".sf-0000zzzz-" + std::to_string(ended) + "-0", "another machine's");
    folder.Write(".sf-other", "not ours");
    const std::string_view names[] = {"summary.csv"};
    RemoveStaleTemporaries(folder.Root(), names);
    std::set<std::string> kept;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder.Root())) {
        kept.insert(entry.path().lexically_relative(folder.Root()).string());
    }
    EXPECT_EQ(kept,
              (std::set<std::string>{left + "2", left + "2/mine.txt", own,
                                     ".sf-0000zzzz-" + std::to_string(ended) + "-0", ".sf-other"}));
}

}  // namespace
}  // namespace sf
