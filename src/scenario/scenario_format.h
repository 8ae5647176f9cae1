#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/number_locale.h"
#include "scenario/scenario.h"

namespace sf {

// The layout of the scenario files this program writes and reads. Each format fixes its keys:
// a key a reader does not know is refused, so that nothing a file asks for is dropped
// silently; a newer program adds keys within a format and raises it only when a key changes
// its meaning. Format 1 kept the box texts as typed, in whatever locale; format 2 writes the
// numbers among them with a "." so that a file reads the same on every computer.
inline constexpr int kScenarioFormat = 2;
// No box needs more to hold a number; the window's boxes take no more characters either.
inline constexpr std::size_t kMaxBoxTextBytes = 1000;

// The RunErrors below complete a sentence that begins with the file's name: "The scenario file
// "x.json" " + message.

// A scenario file's JSON text, the boxes in the form's order; a box text that reads as a number
// in the locale it was typed in is written with a "." as its decimal separator. A RunError when
// a box text cannot be kept: one that is not UTF-8 or is too long.
std::string ScenarioText(const Scenario& scenario, const NumberLocale& typedIn);

// Reads a scenario file's text, or the "scenario" that run.json holds, with the numbers of the
// boxes in the locale they are shown in; a box given as a JSON number is taken as the shortest
// text that reads back to it. A box, the model, the options or the seed that the file leaves
// out keep the window's start-up state. A RunError when anything in the text is wrong; then
// nothing of it is used.
Scenario ParseScenario(std::string_view text, const NumberLocale& shownIn);

// A sales history's file and reading choices as a scenario keeps them, as one line of JSON, so
// that wherever else a file is kept its choices are kept the same way; and read back, a
// RunError when the text is no such source.
std::string HistorySourceText(const HistorySource& source);
HistorySource ParseHistorySource(std::string_view text);

}  // namespace sf
