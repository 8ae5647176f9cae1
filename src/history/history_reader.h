#pragma once

#include <filesystem>
#include <string_view>

#include "history/history_layout.h"
#include "runtime/input_file.h"
#include "state/history_choices.h"
#include "state/sales_history.h"

namespace sf {

// Reads a sales history file, wide or long (see WideHistory and TidyHistory), with a comma,
// semicolon or tab between cells. It decides in this order: the delimiter (see
// DetectDelimiter), the decimal separator (see DecimalEvidence), then whether row 1 is a header
// and the shape (see DecideLayout); the choices settle what the user said. A file that cannot
// be read or used is a RunError naming the file, and where in it what is wrong; nothing is made
// up for a missing or bad cell. Only a regular file is read (see ReadInputFile). `found`, where
// given, learns how far the reader got in deciding how the file is read, also when it refuses.
SalesHistory ReadSalesHistory(const std::filesystem::path& path, const HistoryChoices& choices = {},
                              StandardInput standardInput = StandardInput::refused,
                              HistoryLayout* found = nullptr);

// The same for the bytes of a file; the history has no name and a refusal names no file.
SalesHistory ParseSalesHistory(std::string_view bytes, const HistoryChoices& choices = {},
                               HistoryLayout* found = nullptr,
                               HistoryReading reading = HistoryReading::quick);

// The history a scenario names, read again with its choices; a RunError that names the
// scenario file too, and says so when the history is gone.
SalesHistory ReadScenarioHistory(const HistorySource& source,
                                 const std::filesystem::path& scenarioFile);

}  // namespace sf
