#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "runtime/input_file.h"
#include "scenario/scenario.h"

namespace sf {

// Larger than any scenario this program writes by far; a larger file is refused unread.
inline constexpr std::size_t kMaxScenarioFileBytes = std::size_t{1} << 20;

// Empty, with a message that names the file and what is wrong with it, when the file cannot
// be read or is not a scenario. Only a regular file is read (see ReadInputFile).
std::optional<Scenario> ReadScenarioFile(const std::filesystem::path& path, std::string& problem,
                                         StandardInput standardInput = StandardInput::refused);

// Writes a file beside it and renames that over it once complete, so that a save that fails
// leaves an earlier file as it was. False, with a message naming the file, when it fails.
bool WriteScenarioFile(const std::filesystem::path& path, const Scenario& scenario,
                       std::string& problem);

}  // namespace sf
