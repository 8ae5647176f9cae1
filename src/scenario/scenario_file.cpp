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

std::string AboutFile(const std::filesystem::path& path, const std::string& problem) {
    return "The scenario file \"" + path.string() + "\" " + problem;
}

std::string SystemReason(int error) {
    return error != 0 ? std::string(": ") + std::strerror(error) : std::string();
}

// The file's bytes, at most kMaxScenarioFileBytes of them.
std::optional<std::string> ReadBytes(const std::filesystem::path& path, std::string& problem) {
    errno = 0;
    const File file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        problem = "could not be opened" + SystemReason(errno);
        return std::nullopt;
    }
    std::string bytes(kMaxScenarioFileBytes + 1, '\0');
    errno = 0;
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
    if (std::ferror(file.get()) != 0) {
        problem = "could not be read" + SystemReason(errno);
        return std::nullopt;
    }
    if (bytes.size() > kMaxScenarioFileBytes) {
        problem = "is larger than " + std::to_string(kMaxScenarioFileBytes >> 20) +
                  " MiB, far too large for a scenario";
        return std::nullopt;
    }
    return bytes;
}

}  // namespace

std::optional<Scenario> ReadScenarioFile(const std::filesystem::path& path, std::string& problem) {
    std::optional<Scenario> scenario;
    if (const std::optional<std::string> bytes = ReadBytes(path, problem)) {
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
        const FileContent file[] = {{path, *text}};
        ReplaceFiles(file, "scenario file");
    } catch (const RunError& error) {
        problem = error.what();
        return false;
    }
    return true;
}

}  // namespace sf
