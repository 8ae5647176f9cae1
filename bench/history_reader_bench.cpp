// Reading the largest sales history, 100 sales points by 600 periods, from a file in each shape:
// wide with a header, tidy with its three columns, and the series of an export.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "history/history_reader.h"

namespace {

constexpr int kSalesPoints = 100;
constexpr int kPeriods = 600;

// Demand near 20 with two decimals, and series values with all the digits a double has.
std::string Number(std::mt19937& generator, bool full) {
    std::uniform_real_distribution<double> spread(0.0, 40.0);
    const double value = full ? spread(generator) : std::round(spread(generator) * 100) / 100;
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof(text), value);
    return std::string(text, end);
}

std::string WideFile() {
    std::mt19937 generator;
    std::string text;
    for (int salesPoint = 1; salesPoint <= kSalesPoints; ++salesPoint) {
        text += (salesPoint == 1 ? "" : ",") + ("Store " + std::to_string(salesPoint));
    }
    text += "\r\n";
    for (int period = 1; period <= kPeriods; ++period) {
        for (int salesPoint = 1; salesPoint <= kSalesPoints; ++salesPoint) {
            text += (salesPoint == 1 ? "" : ",") + Number(generator, false);
        }
        text += "\r\n";
    }
    return text;
}

// The tidy shape with only the columns it needs, or as the series of an export with its eleven
// series columns filled.
std::string TidyFile(bool exportSeries) {
    std::mt19937 generator;
    std::string text = exportSeries ? "sales_point,period,demand_mean,demand,forecast,mad,sigma,"
                                      "alpha,beta,delivery,lost_sale,returned,sales\n"
                                    : "sales_point,period,demand\n";
    for (int salesPoint = 1; salesPoint <= kSalesPoints; ++salesPoint) {
        for (int period = 1; period <= kPeriods; ++period) {
            text += std::to_string(salesPoint) + ',' + std::to_string(period);
            for (int column = 0; column < (exportSeries ? 11 : 1); ++column) {
                text += ',' + Number(generator, exportSeries && column != 1);
            }
            text += '\n';
        }
    }
    return text;
}

void ReadHistory(benchmark::State& benchState, const std::string& content) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "sales-forecast-bench-history.csv";
    std::ofstream(path, std::ios::binary) << content;
    for (auto _ : benchState) {
        const sf::SalesHistory history = sf::ReadSalesHistory(path);
        benchmark::DoNotOptimize(history.demand.data());
    }
    benchState.counters["bytes"] = static_cast<double>(content.size());
    std::filesystem::remove(path);
}

}  // namespace

BENCHMARK_CAPTURE(ReadHistory, wide_100x600, WideFile())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadHistory, tidy_100x600, TidyFile(false))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadHistory, series_100x600, TidyFile(true))->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
