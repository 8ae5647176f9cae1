#include "scenario/scenario_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

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

bool WriteBytes(const std::filesystem::path& path, const std::string& bytes, std::string& problem) {
    errno = 0;
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        problem = "could not be created" + SystemReason(errno);
        return false;
    }
    errno = 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
                         std::fflush(file.get()) == 0;
    const int writeError = errno;
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed) {
        problem = "could not be written" + SystemReason(written ? errno : writeError);
        return false;
    }
    return true;
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
    std::filesystem::path partial = path;
    partial += ".saving";
    if (!WriteBytes(partial, *text, problem)) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        problem = AboutFile(path, problem);
        return false;
    }
    std::error_code renamed;
    std::filesystem::rename(partial, path, renamed);
    if (renamed) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        problem = AboutFile(path, "could not be replaced: " + renamed.message());
        return false;
    }
    return true;
}

}  // namespace sf
