#include "scenario/scenario_file.h"

#include "runtime/replaced_files.h"
#include "runtime/run_error.h"
#include "scenario/scenario_format.h"

namespace sf {
namespace {

std::string AboutFile(const std::filesystem::path& path, const std::string& problem) {
    return "The scenario file \"" + path.string() + "\" " + problem;
}

// The file's bytes, at most kMaxScenarioFileBytes of them.
std::optional<std::string> ReadBytes(const std::filesystem::path& path, StandardInput standardInput,
                                     std::string& problem) {
    std::optional<std::string> bytes;
    try {
        bytes = ReadInputFile(path, kMaxScenarioFileBytes, standardInput);
    } catch (const RunError& refusal) {
        problem = refusal.what();
        return std::nullopt;
    }
    if (!bytes) {
        problem = "is larger than " + std::to_string(kMaxScenarioFileBytes >> 20) +
                  " MiB, far too large for a scenario";
    } else if (const std::size_t nul = bytes->find('\0'); nul != std::string::npos) {
        problem = "is not a text file: byte " + std::to_string(nul + 1) + " is a NUL byte";
        bytes.reset();
    }
    return bytes;
}

}  // namespace

std::optional<Scenario> ReadScenarioFile(const std::filesystem::path& path, std::string& problem,
                                         StandardInput standardInput) {
    std::optional<Scenario> scenario;
    if (const std::optional<std::string> bytes = ReadBytes(path, standardInput, problem)) {
        scenario = ParseScenario(*bytes, problem);
    }
    if (!scenario) {
        problem = AboutFile(path, problem);
    }
    return scenario;
}

bool WriteScenarioFile(const std::filesystem::path& path, const Scenario& scenario,
                       std::string& problem) {
    const std::optional<std::string> text = ScenarioText(scenario, problem);
    if (!text) {
        problem = AboutFile(path, problem);
        return false;
    }
    try {
        ReplaceFile(path, *text, "scenario file");
    } catch (const RunError& error) {
        problem = error.what();
        return false;
    }
    return true;
}

}  // namespace sf
