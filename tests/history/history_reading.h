#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/history_reader.h"
#include "runtime/run_error.h"

namespace sf {

// What reading bytes gives: the history taken or the refusal, and how far the reader got.
struct Outcome {
    SalesHistory history;
    std::string refusal;
    HistoryLayout layout;
    bool operator==(const Outcome&) const = default;
};

inline Outcome Read(const std::string& bytes, const HistoryChoices& choices,
                    HistoryReading reading) {
    Outcome outcome;
    try {
        outcome.history = ParseSalesHistory(bytes, choices, &outcome.layout, reading);
    } catch (const RunError& refusal) {
        outcome.refusal = refusal.what();
    }
    return outcome;
}

// Read the quick way, which must say all that the plain reading says of the same bytes.
inline Outcome ReadBothWays(const std::string& bytes, const HistoryChoices& choices = {}) {
    const Outcome quick = Read(bytes, choices, HistoryReading::quick);
    EXPECT_TRUE(quick == Read(bytes, choices, HistoryReading::plain))
        << "read otherwise the quick way: " << bytes.substr(0, 80);
    return quick;
}

// The message of a refusal, or "" when the bytes were taken.
inline std::string Refusal(const std::string& bytes, const HistoryChoices& choices = {}) {
    return ReadBothWays(bytes, choices).refusal;
}

struct Taken {
    const char* name;
    std::string bytes;
    int salesPoints;
    int periods;
    std::vector<double> demand;  // sales points outer
    std::vector<std::string> names = {};
    std::vector<std::string> dates = {};
    HistoryChoices choices = {};
    int totalRow = 0;  // the row left out as a total
};

inline void ExpectTaken(const Taken& taken) {
    SCOPED_TRACE(taken.name);
    const Outcome outcome = ReadBothWays(taken.bytes, taken.choices);
    ASSERT_EQ(outcome.refusal, "");
    const SalesHistory& history = outcome.history;
    EXPECT_EQ(history.salesPoints, taken.salesPoints);
    EXPECT_EQ(history.periods, taken.periods);
    EXPECT_EQ(history.demand, taken.demand);
    EXPECT_EQ(history.names, taken.names);
    EXPECT_EQ(history.dates, taken.dates);
    EXPECT_EQ(outcome.layout.totalRow, taken.totalRow);
}

}  // namespace sf
