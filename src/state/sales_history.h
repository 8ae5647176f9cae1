#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "state/history_choices.h"
#include "state/shared_values.h"

namespace sf {

// Demand a planner recorded, read from a file to take the place of the demand models.
struct SalesHistory {
    std::string name;  // the file name without its folders, as the report names it
    // The file as the user gave it: no run may write over it.
    std::filesystem::path file;
    int salesPoints = 0;
    int periods = 0;
    // The name of each sales point from a header row or a long table's names, sales point sp
    // at sp - 1; empty when the file has none, and an empty name where its cell is.
    std::vector<std::string> names;
    // Sales points outer, periods inner: every value a finite number. Copies of the history share
    // it.
    SharedValues<double> demand;
    // The day of each period as YYYY-MM-DD, period t at t - 1, when the file dates its periods;
    // else empty.
    std::vector<std::string> dates;
    // How it was read, so that a scenario reads it again the same way.
    HistoryChoices choices;

    double Demand(int salesPoint, int period) const {
        return demand[static_cast<std::size_t>(salesPoint - 1) * periods + (period - 1)];
    }
    bool operator==(const SalesHistory&) const = default;
};

// Where a history is read from and how, as a scenario keeps it: the path made absolute, so that
// the scenario finds the file from wherever it is opened.
HistorySource AbsoluteSource(const std::filesystem::path& file, const HistoryChoices& choices);

// The source of the history in use, if any.
std::optional<HistorySource> SourceOf(const std::optional<SalesHistory>& history);

}  // namespace sf
