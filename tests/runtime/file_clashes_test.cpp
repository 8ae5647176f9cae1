#include "runtime/file_clashes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "test_folder.h"

namespace sf {
namespace {

namespace fs = std::filesystem;

struct Option {
    const char* name;
    const char* path;  // within the test folder, or absolute
    PathUse use;
};

// Every pair of options a run may be given: which would write over a file the user gave or over
// each other. The folder holds the input s.csv, a hard link to it, a symbolic link to it and a
// folder res; everything else is new.
TEST(FindPathClash, RefusesEveryPairOfWhichOneWouldWriteOverTheOther) {
    const struct {
        const char* name;
        std::vector<Option> options;
        const char* clash;  // the message, "" for none
    } cases[] = {
        {"a report over its sales history",
         {{"--demand", "s.csv", PathUse::read}, {"--output", "s.csv", PathUse::written}},
         "--output \"<>/s.csv\" would write over --demand \"<>/s.csv\", the same file"},
        {"a scenario over the sales history, by a hard link",
         {{"--demand", "s.csv", PathUse::read}, {"--save-scenario", "hard.csv", PathUse::written}},
         "--save-scenario \"<>/hard.csv\" would write over --demand \"<>/s.csv\", the same file"},
        {"a report over the sales history, by a symbolic link",
         {{"--output", "link.csv", PathUse::written}, {"--demand", "s.csv", PathUse::read}},
         "--output \"<>/link.csv\" would write over --demand \"<>/s.csv\", the same file"},
        {"a report over the scenario read, by another spelling",
         {{"--scenario", "s.csv", PathUse::read}, {"--output", "res/../s.csv", PathUse::written}},
         "--output \"<>/res/../s.csv\" would write over --scenario \"<>/s.csv\", the same file"},
        {"the scenario saved over the scenario read",
         {{"--scenario", "s.csv", PathUse::read}, {"--save-scenario", "s.csv", PathUse::written}},
         "--save-scenario \"<>/s.csv\" would write over --scenario \"<>/s.csv\", the same file"},
        {"two new files written at one path",
         {{"--save-scenario", "new/k.json", PathUse::written},
          {"--output", "new/../new/k.json", PathUse::written}},
         "--save-scenario \"<>/new/k.json\" and --output \"<>/new/../new/k.json\" are the same "
         "file: one would write over the other"},
        {"a name with an escape sequence, shown escaped",
         {{"--save-scenario", "\x1B[2J", PathUse::written},
          {"--output", "res/../\x1B[2J", PathUse::written}},
         "--save-scenario \"<>/\\x1B[2J\" and --output \"<>/res/../\\x1B[2J\" are the same "
         "file: one would write over the other"},
        {"a report inside the export folder",
         {{"--export", "res", PathUse::replaced}, {"--output", "res/out.txt", PathUse::written}},
         "--output \"<>/res/out.txt\" lies in --export \"<>/res\", which an export replaces whole"},
        {"a report deep inside a new export folder given with a slash",
         {{"--output", "new/a/out.txt", PathUse::written}, {"--export", "new/", PathUse::replaced}},
         "--output \"<>/new/a/out.txt\" lies in --export \"<>/new/\", which an export replaces "
         "whole"},
        {"the sales history inside the export folder",
         {{"--demand", "res/series.csv", PathUse::read}, {"--export", "res", PathUse::replaced}},
         "--demand \"<>/res/series.csv\" lies in --export \"<>/res\", which an export replaces "
         "whole"},
        {"the export folder onto the report",
         {{"--export", "out.txt", PathUse::replaced}, {"--output", "out.txt", PathUse::written}},
         "--output \"<>/out.txt\" lies in --export \"<>/out.txt\", which an export replaces whole"},
        {"the export folder under the report",
         {{"--output", "out", PathUse::written}, {"--export", "out/res", PathUse::replaced}},
         "--export \"<>/out/res\" lies in --output \"<>/out\", which is a file, not a folder"},
        {"as the window names them: a sentence of its own",
         {{"the report", "s.csv", PathUse::written}, {"the sales history", "s.csv", PathUse::read}},
         "The report \"<>/s.csv\" would write over the sales history \"<>/s.csv\", the same "
         "file"},
        {"files of their own",
         {{"--demand", "s.csv", PathUse::read},
          {"--scenario", "s.csv", PathUse::read},
          {"--output", "out.txt", PathUse::written},
          {"--save-scenario", "k.json", PathUse::written},
          {"--export", "results", PathUse::replaced}},
         ""},
        {"a name that only begins like the export folder",
         {{"--export", "res", PathUse::replaced}, {"--output", "res.txt", PathUse::written}},
         ""},
        {"streams replace nothing",
         {{"--demand", "/dev/stdin", PathUse::read},
          {"--output", "/dev/null", PathUse::written},
          {"--save-scenario", "/dev/null", PathUse::written}},
         ""},
        {"paths not given",
         {{"--demand", "", PathUse::read}, {"--output", "", PathUse::written}},
         ""},
    };
    const TestFolder folder;
    folder.Write("s.csv", "1,2\n");
    fs::create_hard_link(folder.Path("s.csv"), folder.Path("hard.csv"));
    fs::create_symlink("s.csv", folder.Path("link.csv"));
    fs::create_directory(folder.Path("res"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<UsedPath> paths;
        for (const Option& option : c.options) {
            const fs::path path = option.path;
            paths.push_back({option.name,
                             path.empty() || path.is_absolute() ? path : folder.Root() / path,
                             option.use});
        }
        std::string clash = FindPathClash(paths).value_or("");
        for (std::size_t at; (at = clash.find(folder.Root().string())) != std::string::npos;) {
            clash.replace(at, folder.Root().string().size(), "<>");
        }
        EXPECT_EQ(clash, c.clash);
    }
}

// One file by every spelling, whether it exists or not, decided where the system would open
// it: the report and the scenario saved must never land on one file. Paths are relative to the
// test folder, which holds the folder x, L (a link to "."), deep (a link to x/y), a link round
// in a circle and, where said, the file R.
TEST(FindPathClash, KnowsOneFileByEverySpellingWhetherItExistsOrNot) {
    const struct {
        const char* output;
        const char* saved;
        bool same;
    } cases[] = {
        {"x/../R", "R", true},
        {"<abs>/R", "R", true},
        {"L/R", "R", true},
        {"./L/./R", "x/../L/R", true},
        {"L/x/../R", "<abs>/L/R", true},
        {"deep/../R", "x/R", true},  // ".." after a link is its target's parent
        {"deep/../R", "R", false},
        {"x/R", "R", false},
        {"R2", "R", false},
    };
    const TestFolder folder;
    fs::create_directories(folder.Path("x/y"));
    fs::create_directory_symlink(".", folder.Path("L"));
    fs::create_directory_symlink("x/y", folder.Path("deep"));
    const fs::path before = fs::current_path();
    fs::current_path(folder.Root());
    const auto spelled = [&](std::string path) {
        return path.starts_with("<abs>") ? folder.Root().string() + path.substr(5) : path;
    };
    for (const bool exists : {false, true}) {
        if (exists) {
            folder.Write("R", "a report\n");
            folder.Write("x/R", "another\n");
        }
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.output) + " and " + c.saved +
                         (exists ? ", existing" : ", new"));
            const UsedPath paths[] = {{"--output", spelled(c.output), PathUse::written},
                                      {"--save-scenario", spelled(c.saved), PathUse::written}};
            EXPECT_EQ(FindPathClash(paths).has_value(), c.same);
        }
    }
    // A link round in a circle is refused before anything is written, not replaced by a file.
    fs::create_symlink("loop2", folder.Path("loop1"));
    fs::create_symlink("loop1", folder.Path("loop2"));
    const UsedPath loop[] = {{"--demand", "x/../loop1", PathUse::read},
                             {"--output", "L/loop1", PathUse::written}};
    EXPECT_EQ(FindPathClash(loop).value_or(""),
              "--output \"L/loop1\" is a symbolic link that leads round in a circle (or through "
              "too many links): no file can be written there");
    const UsedPath readOnly[] = {{"--demand", "loop1", PathUse::read}};
    EXPECT_FALSE(FindPathClash(readOnly));
    fs::current_path(before);
}

}  // namespace
}  // namespace sf
