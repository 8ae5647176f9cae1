#include "scenario/scenario_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

#include "runtime/replaced_files.h"
#include "runtime/run_error.h"
#include "scenario/scenario_format.h"

namespace sf {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The sentence on the file that a problem completes.
[[noreturn]] void FailAbout(const std::filesystem::path& path, const std::string& problem) {
    throw RunError("The scenario file \"" + path.string() + "\" " + problem);
}

std::string SystemReason(int error) {
    return error != 0 ? std::string(": ") + std::strerror(error) : std::string();
}

// The file's bytes, at most kMaxScenarioFileBytes of them.
std::string ReadBytes(const std::filesystem::path& path) {
    errno = 0;
    const File file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        FailAbout(path, "could not be opened" + SystemReason(errno));
    }
    std::string bytes(kMaxScenarioFileBytes + 1, '\0');
    errno = 0;
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
    if (std::ferror(file.get()) != 0) {
        FailAbout(path, "could not be read" + SystemReason(errno));
    }
    if (bytes.size() > kMaxScenarioFileBytes) {
        FailAbout(path, "is larger than " + std::to_string(kMaxScenarioFileBytes >> 20) +
                            " MiB, far too large for a scenario");
    }
    return bytes;
}

}  // namespace

Scenario ReadScenarioFile(const std::filesystem::path& path, const NumberLocale& shownIn) {
    const std::string bytes = ReadBytes(path);
    try {
        return ParseScenario(bytes, shownIn);
    } catch (const RunError& refusal) {
        FailAbout(path, refusal.what());
    }
}

void WriteScenarioFile(const std::filesystem::path& path, const Scenario& scenario,
                       const NumberLocale& typedIn) {
    std::string text;
    try {
        text = ScenarioText(scenario, typedIn);
    } catch (const RunError& refusal) {
        FailAbout(path, refusal.what());
    }
    // Names the file itself when it cannot be replaced.
    const FileContent file[] = {{path, text}};
    ReplaceFiles(file, "scenario file");
}

}  // namespace sf
