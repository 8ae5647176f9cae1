#pragma once

#include <cstddef>
#include <filesystem>

#include "runtime/input_file.h"
#include "runtime/number_locale.h"
#include "scenario/scenario.h"

namespace sf {

// Larger than any scenario this program writes by far; a larger file is refused unread.
inline constexpr std::size_t kMaxScenarioFileBytes = std::size_t{1} << 20;

// The box texts come in the locale they are shown in (see ParseScenario). A RunError that names
// the file and what is wrong with it when the file cannot be read or is not a scenario. Only a
// regular file is read (see ReadInputFile).
Scenario ReadScenarioFile(const std::filesystem::path& path, const NumberLocale& shownIn,
                          StandardInput standardInput = StandardInput::refused);

// Writes a file beside it and renames that over it once complete, so that a save that fails
// leaves an earlier file as it was. The box texts were typed in typedIn. A RunError naming the
// file when it fails.
void WriteScenarioFile(const std::filesystem::path& path, const Scenario& scenario,
                       const NumberLocale& typedIn);

}  // namespace sf
