#include "scenario/scenario_file.h"

#include <optional>
#include <string>

#include "runtime/replaced_files.h"
#include "runtime/run_error.h"
#include "scenario/scenario_format.h"

namespace sf {
namespace {

// The sentence on the file that a problem completes.
[[noreturn]] void FailAbout(const std::filesystem::path& path, const std::string& problem) {
    throw RunError("The scenario file \"" + path.string() + "\" " + problem);
}

// The file's bytes, at most kMaxScenarioFileBytes of them.
std::string ReadBytes(const std::filesystem::path& path, StandardInput standardInput) {
    std::optional<std::string> bytes;
    try {
        bytes = ReadInputFile(path, kMaxScenarioFileBytes, standardInput);
    } catch (const RunError& refusal) {
        FailAbout(path, refusal.what());
    }
    if (!bytes) {
        FailAbout(path, "is larger than " + std::to_string(kMaxScenarioFileBytes >> 20) +
                            " MiB, far too large for a scenario");
    }
    if (const std::size_t nul = bytes->find('\0'); nul != std::string::npos) {
        FailAbout(path, "is not a text file: byte " + std::to_string(nul + 1) + " is a NUL byte");
    }
    return *bytes;
}

}  // namespace

Scenario ReadScenarioFile(const std::filesystem::path& path, const NumberLocale& shownIn,
                          StandardInput standardInput) {
    const std::string bytes = ReadBytes(path, standardInput);
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
    ReplaceFile(path, text, "scenario file");
}

}  // namespace sf
