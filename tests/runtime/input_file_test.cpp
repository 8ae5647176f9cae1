#include "runtime/input_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "runtime/run_error.h"
#include "test_folder.h"

namespace sf {
namespace {

// What reading gives: the bytes, "(too large)" or the refusal.
std::string Outcome(const std::filesystem::path& path, StandardInput standardInput) {
    try {
        return ReadInputFile(path, 8, standardInput).value_or("(too large)");
    } catch (const RunError& refusal) {
        return refusal.what();
    }
}

// Only a regular file is read; nothing that is not one can hold the program, a pipe without a
// writer included.
TEST(ReadInputFile, ReadsARegularFileAndRefusesAnythingElseAtOnce) {
    const TestFolder folder;
    folder.Write("small.csv", "1,2\n");
    folder.Write("empty.csv", "");
    folder.Write("large.csv", "123456789");
    ASSERT_EQ(::mkfifo(folder.Path("fifo.csv").c_str(), 0600), 0);
    const struct {
        std::filesystem::path path;
        std::string outcome;
    } cases[] = {
        {folder.Path("small.csv"), "1,2\n"},
        {folder.Path("empty.csv"), ""},
        {folder.Path("large.csv"), "(too large)"},
        {folder.Path("missing.csv"), "could not be read: No such file or directory"},
        {folder.Root(), "is a folder, not a file"},
        {folder.Path("fifo.csv"), "is a pipe (FIFO), not a file"},
        {"/dev/null", "is a device, not a file"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Outcome(c.path, StandardInput::refused), c.outcome) << c.path;
    }
}

// The batch command's /dev/stdin: a stream it waits for, only where the front end accepts it.
TEST(ReadInputFile, TheStandardInputOnlyWhereAccepted) {
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    ASSERT_EQ(::write(pipe[1], "5\n6\n", 4), 4);
    ::close(pipe[1]);
    const int saved = ::dup(STDIN_FILENO);
    ::dup2(pipe[0], STDIN_FILENO);
    const std::string refused = Outcome("/dev/stdin", StandardInput::refused);
    const std::string accepted = Outcome("/dev/stdin", StandardInput::accepted);
    ::dup2(saved, STDIN_FILENO);
    ::close(saved);
    ::close(pipe[0]);
    EXPECT_EQ(refused, "is a pipe (FIFO), not a file");
    EXPECT_EQ(accepted, "5\n6\n");
}

}  // namespace
}  // namespace sf
