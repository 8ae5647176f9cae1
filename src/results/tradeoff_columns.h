#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "results/tradeoff.h"

namespace sf {

struct TradeoffColumn {
    std::string_view name;  // in tradeoff.csv
    std::optional<double> (*value)(const TradeoffRow&);
};

// The columns of tradeoff.csv after tau, in their order.
inline constexpr std::array<TradeoffColumn, 7> kTradeoffColumns = {{
    {"fill_rate", [](const TradeoffRow& row) { return row.fillRate; }},
    {"cycle_service_level", [](const TradeoffRow& row) { return row.cycleServiceLevel; }},
    {"lost_sales", [](const TradeoffRow& row) -> std::optional<double> { return row.lostSales; }},
    {"returns", [](const TradeoffRow& row) -> std::optional<double> { return row.returns; }},
    {"deliveries", [](const TradeoffRow& row) -> std::optional<double> { return row.deliveries; }},
    {"sales", [](const TradeoffRow& row) -> std::optional<double> { return row.sales; }},
    {"cost", [](const TradeoffRow& row) { return row.cost; }},
}};

}  // namespace sf
