#include "results/pool_table.h"

#include <charconv>
#include <cstddef>

#include "results/number_cells.h"
#include "runtime/run_error.h"

namespace sf {
namespace {

constexpr std::string_view kPoolHeader =
    "block,first_sales_point,sales_points,evaluation,row,sum,lane,value";

struct RealSum {
    std::string_view name;
    double FigureSums::*value;
};

constexpr std::array<RealSum, 16> kRealSums = {{
    {"demand", &FigureSums::demand},
    {"sales", &FigureSums::sales},
    {"lost_sales", &FigureSums::lostSales},
    {"returns", &FigureSums::returns},
    {"deliveries", &FigureSums::deliveries},
    {"error", &FigureSums::error},
    {"absolute_error", &FigureSums::absoluteError},
    {"squared_error", &FigureSums::squaredError},
    {"periods", &FigureSums::periods},
    {"periods_without_lost_sale", &FigureSums::periodsWithoutLostSale},
    {"compared_absolute_error", &FigureSums::comparedAbsoluteError},
    {"naive_absolute_error", &FigureSums::naiveAbsoluteError},
    {"compared_periods", &FigureSums::comparedPeriods},
    {"alpha", &FigureSums::alpha},
    {"beta", &FigureSums::beta},
    {"rolling_periods", &FigureSums::rollingPeriods},
}};

struct CountSum {
    std::string_view name;
    int FigureSums::*value;
};

constexpr std::array<CountSum, 4> kCountSums = {{
    {"diverged", &FigureSums::diverged},
    {"constants_left_0_1", &FigureSums::constantsLeft01},
    {"negative_sigma_periods", &FigureSums::negativeSigmaPeriods},
    {"negative_deliveries", &FigureSums::negativeDeliveries},
}};

struct LaneSum {
    std::string_view name;
    std::vector<double> SumsByTau::*value;
};

constexpr std::array<LaneSum, 5> kLaneSums = {{
    {"lost_sales", &SumsByTau::lostSales},
    {"returns", &SumsByTau::returns},
    {"deliveries", &SumsByTau::deliveries},
    {"sales", &SumsByTau::sales},
    {"periods_without_lost_sale", &SumsByTau::periodsWithoutLostSale},
}};

std::string Keys(std::size_t at, const BlockSums& block, Evaluation evaluation,
                 std::string_view row) {
    return std::to_string(at + 1) + ',' + std::to_string(block.first) + ',' +
           std::to_string(block.count) + ',' + std::string(EvaluationName(evaluation)) + ',' +
           std::string(row) + ',';
}

void AppendFigureSums(std::string& csv, const std::string& keys, const FigureSums& sums) {
    for (const RealSum& sum : kRealSums) {
        csv += keys + std::string(sum.name) + ",,";
        AppendCell(csv, sums.*sum.value);
        csv += '\n';
    }
    for (const CountSum& sum : kCountSums) {
        csv += keys + std::string(sum.name) + ",," + std::to_string(sums.*sum.value) + '\n';
    }
}

void AppendTradeoffSums(std::string& csv, const std::string& keys, const TradeoffSums& sums) {
    for (const auto& [name, value] :
         {std::pair("demand", sums.demand), std::pair("periods", sums.periods)}) {
        csv += keys + name + ",,";
        AppendCell(csv, value);
        csv += '\n';
    }
    for (const LaneSum& sum : kLaneSums) {
        const std::vector<double>& lanes = sums.byTau.*sum.value;
        for (std::size_t lane = 0; lane < lanes.size(); ++lane) {
            csv += keys + std::string(sum.name) + ',' + std::to_string(lane + 1) + ',';
            AppendCell(csv, lanes[lane]);
            csv += '\n';
        }
    }
}

}  // namespace

std::string PoolCsv(const std::vector<BlockSums>& blocks) {
    std::string csv = std::string(kPoolHeader) + '\n';
    for (std::size_t at = 0; at < blocks.size(); ++at) {
        const BlockSums& block = blocks[at];
        for (const Evaluation evaluation : kEvaluations) {
            const std::size_t k = IndexOf(evaluation);
            AppendFigureSums(csv, Keys(at, block, evaluation, "sound"), block.sound[k]);
            AppendFigureSums(csv, Keys(at, block, evaluation, "all"), block.all[k]);
            AppendTradeoffSums(csv, Keys(at, block, evaluation, "tradeoff"), block.tradeoff[k]);
        }
    }
    return csv;
}

namespace {

// One row of pool.csv, its cells split at the commas (no cell holds one).
struct PoolRow {
    std::array<std::string_view, 8> cells;
};

template <typename Number>
Number Read(std::string_view cell, const std::string& where) {
    Number value{};
    const auto [end, error] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
    if (error != std::errc() || end != cell.data() + cell.size()) {
        throw RunError(where + ": \"" + std::string(cell) + "\" is not a number");
    }
    return value;
}

PoolRow Split(std::string_view line, const std::string& where) {
    PoolRow row;
    std::size_t count = 0;
    for (std::size_t start = 0;; ++count) {
        const std::size_t comma = line.find(',', start);
        if (count == row.cells.size()) {
            throw RunError(where + " has more than 8 cells");
        }
        row.cells[count] = line.substr(start, comma - start);
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    if (count + 1 != row.cells.size()) {
        throw RunError(where + " has fewer than 8 cells");
    }
    return row;
}

void ReadFigureSum(FigureSums& sums, const PoolRow& row, const std::string& where) {
    for (const RealSum& sum : kRealSums) {
        if (row.cells[5] == sum.name) {
            sums.*sum.value = Read<double>(row.cells[7], where);
            return;
        }
    }
    for (const CountSum& sum : kCountSums) {
        if (row.cells[5] == sum.name) {
            sums.*sum.value = Read<int>(row.cells[7], where);
            return;
        }
    }
    throw RunError(where + ": no sum is named \"" + std::string(row.cells[5]) + "\"");
}

void ReadTradeoffSum(TradeoffSums& sums, const PoolRow& row, const std::string& where) {
    const double value = Read<double>(row.cells[7], where);
    if (row.cells[5] == "demand" || row.cells[5] == "periods") {
        (row.cells[5] == "demand" ? sums.demand : sums.periods) = value;
        return;
    }
    for (const LaneSum& sum : kLaneSums) {
        if (row.cells[5] == sum.name) {
            const std::size_t lane = Read<std::size_t>(row.cells[6], where);
            std::vector<double>& lanes = sums.byTau.*sum.value;
            if (lane != lanes.size() + 1) {
                throw RunError(where + ": lane " + std::string(row.cells[6]) + " out of order");
            }
            lanes.push_back(value);
            return;
        }
    }
    throw RunError(where + ": no sum is named \"" + std::string(row.cells[5]) + "\"");
}

Evaluation ReadEvaluation(std::string_view cell, const std::string& where) {
    for (const Evaluation evaluation : kEvaluations) {
        if (cell == EvaluationName(evaluation)) {
            return evaluation;
        }
    }
    throw RunError(where + ": no evaluation is named \"" + std::string(cell) + "\"");
}

}  // namespace

std::vector<BlockSums> ReadPoolCsv(std::string_view text, std::string_view file) {
    std::vector<BlockSums> blocks;
    std::size_t number = 1;
    const std::size_t headerEnd = text.find('\n');
    if (text.substr(0, headerEnd) != kPoolHeader) {
        throw RunError(std::string(file) + " does not begin with the header of a pool.csv");
    }
    for (std::size_t start = headerEnd + 1; start < text.size(); ++number) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string where = std::string(file) + ", row " + std::to_string(number + 1);
        const PoolRow row = Split(text.substr(start, end - start), where);
        start = end + 1;
        const std::size_t block = Read<std::size_t>(row.cells[0], where);
        if (block == blocks.size() + 1) {
            blocks.emplace_back();
            blocks.back().first = Read<int>(row.cells[1], where);
            blocks.back().count = Read<int>(row.cells[2], where);
        } else if (block != blocks.size() || block == 0) {
            throw RunError(where + ": block " + std::string(row.cells[0]) + " out of order");
        }
        BlockSums& sums = blocks.back();
        const std::size_t k = IndexOf(ReadEvaluation(row.cells[3], where));
        if (row.cells[4] == "sound" || row.cells[4] == "all") {
            ReadFigureSum(row.cells[4] == "sound" ? sums.sound[k] : sums.all[k], row, where);
        } else if (row.cells[4] == "tradeoff") {
            ReadTradeoffSum(sums.tradeoff[k], row, where);
        } else {
            throw RunError(where + ": no row is named \"" + std::string(row.cells[4]) + "\"");
        }
    }
    return blocks;
}

}  // namespace sf
