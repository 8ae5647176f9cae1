#pragma once

#include <vector>

namespace sf {

// A season length M of 0 is none; 1 is no season at all and is refused, as is an S that does
// not hold two whole seasons and one period more.
inline constexpr int kNoSeason = 0;

inline bool SeasonSet(int length) {
    return length >= 2;
}

// The periods 1..S must hold two whole seasons plus one: the centred moving average then leaves
// every position at least one ratio.
inline int SeasonWindowNeeded(int length) {
    return 2 * length + 1;
}

// The position k = (t - 1) mod M of period t; periods after P continue the count.
inline int SeasonPosition(int period, int length) {
    return (period - 1) % length;
}

// What a run with a season keeps beside the described state: the indices of each sales point
// and its demand as given, which actualDemand holds adjusted. Empty without a season.
struct SeasonState {
    int length = kNoSeason;
    // Position k of sales point sp at (sp - 1) * M + k; 0 at a closed position.
    std::vector<double> indices;
    // Period t of sales point sp at (sp - 1) * (P + 1) + t.
    std::vector<double> givenDemand;
    int periodSlots = 0;  // P + 1
    // Sales points whose window showed no season: their indices stayed 1.
    int flatSalesPoints = 0;

    bool Active() const { return SeasonSet(length); }
    double Index(int salesPoint, int period) const {
        return indices[static_cast<std::size_t>((salesPoint - 1) * length +
                                                SeasonPosition(period, length))];
    }
    double& GivenDemand(int salesPoint, int period) {
        return givenDemand[static_cast<std::size_t>((salesPoint - 1) * periodSlots + period)];
    }
    double GivenDemand(int salesPoint, int period) const {
        return givenDemand[static_cast<std::size_t>((salesPoint - 1) * periodSlots + period)];
    }
    void Clear() { *this = SeasonState{}; }
};

}  // namespace sf
