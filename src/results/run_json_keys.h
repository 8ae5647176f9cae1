#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace sf {

// What run.json's "program" holds: only files of this program are read back.
inline constexpr std::string_view kRunJsonProgram = "Sales Forecast";

// The members of run.json, in the order they are written; its reader finds each by its name here.
enum class RunJsonKey {
    program,
    version,
    model,
    demandFile,
    scenario,
    seed,
    run,
    options,
    report,
    tau,
    salesPoints,
    soundSalesPoints,
    totals,
    warnings,
    notes,
    targetFillRate,
    targetServiceLevel,
    cheapestTau,
    // Written by folders that know the cost tau (every folder with next.csv's proposals).
    costTau,
    // Written by earlier versions only: the coming periods, which next.csv holds. A folder that
    // has it is written again with it when it is read back.
    nextDeliveries,
    // Only in the export of a shard of a catalogue: "K/N".
    shard,
};

// The members of "options": how the run was made and what was asked of its results.
enum class RunJsonOption {
    estimation,
    boundedConstants,
    tauGrid,
    targetFillRate,
    targetServiceLevel,
    lostSaleCost,
    returnCost,
    // Only where the run was checked on unseen periods.
    checkFrom,
    // Only where the demand was adjusted by a season.
    season,
};

// The members of "options.tau_grid".
enum class RunJsonGridKey { from, to, step };

template <typename Key>
struct RunJsonName {
    Key key;
    std::string_view name;
};

inline constexpr std::array kRunJsonKeys = std::to_array<RunJsonName<RunJsonKey>>({
    {RunJsonKey::program, "program"},
    {RunJsonKey::version, "version"},
    {RunJsonKey::model, "model"},
    {RunJsonKey::demandFile, "demand_file"},
    {RunJsonKey::scenario, "scenario"},
    {RunJsonKey::seed, "seed"},
    {RunJsonKey::run, "run"},
    {RunJsonKey::options, "options"},
    {RunJsonKey::report, "report"},
    {RunJsonKey::tau, "tau"},
    {RunJsonKey::salesPoints, "sales_points"},
    {RunJsonKey::soundSalesPoints, "sound_sales_points"},
    {RunJsonKey::totals, "totals"},
    {RunJsonKey::warnings, "warnings"},
    {RunJsonKey::notes, "notes"},
    {RunJsonKey::targetFillRate, "target_fill_rate"},
    {RunJsonKey::targetServiceLevel, "target_service_level"},
    {RunJsonKey::cheapestTau, "cheapest_tau"},
    {RunJsonKey::costTau, "cost_tau"},
    {RunJsonKey::nextDeliveries, "next_deliveries"},
    {RunJsonKey::shard, "shard"},
});

inline constexpr std::array kRunJsonOptions = std::to_array<RunJsonName<RunJsonOption>>({
    {RunJsonOption::estimation, "estimation"},
    {RunJsonOption::boundedConstants, "bounded_constants"},
    {RunJsonOption::tauGrid, "tau_grid"},
    {RunJsonOption::targetFillRate, "target_fill_rate"},
    {RunJsonOption::targetServiceLevel, "target_service_level"},
    {RunJsonOption::lostSaleCost, "lost_sale_cost"},
    {RunJsonOption::returnCost, "return_cost"},
    {RunJsonOption::checkFrom, "check_from"},
    {RunJsonOption::season, "season"},
});

inline constexpr std::array kRunJsonGridKeys = std::to_array<RunJsonName<RunJsonGridKey>>({
    {RunJsonGridKey::from, "from"},
    {RunJsonGridKey::to, "to"},
    {RunJsonGridKey::step, "step"},
});

template <typename Key, std::size_t Count>
constexpr bool InKeyOrder(const std::array<RunJsonName<Key>, Count>& names) {
    for (std::size_t at = 0; at < Count; ++at) {
        if (static_cast<std::size_t>(names[at].key) != at) {
            return false;
        }
    }
    return true;
}
static_assert(InKeyOrder(kRunJsonKeys) && InKeyOrder(kRunJsonOptions) &&
                  InKeyOrder(kRunJsonGridKeys),
              "one row per key, in the order of its enum");

constexpr std::string_view NameOf(RunJsonKey key) {
    return kRunJsonKeys[static_cast<std::size_t>(key)].name;
}
constexpr std::string_view NameOf(RunJsonOption key) {
    return kRunJsonOptions[static_cast<std::size_t>(key)].name;
}
constexpr std::string_view NameOf(RunJsonGridKey key) {
    return kRunJsonGridKeys[static_cast<std::size_t>(key)].name;
}

// Which members a run.json holds: the current ones, or those of a folder written before next.csv
// held the coming periods alone.
enum class RunJsonForm { current, withNextDeliveries };

}  // namespace sf
