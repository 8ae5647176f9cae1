#include "cli/results_options.h"

#include <gtest/gtest.h>

#include "cli/cli_options.h"

namespace sf {
namespace {

TEST(ResultsOptions, ReadAndRefused) {
    const struct {
        std::vector<std::string> arguments;
        const char* problem;  // empty: accepted
    } cases[] = {
        {{"--export", "out", "--summary", "--seed", "4294967295"}, ""},
        {{"--tau-grid", "0.5:1:0.25", "--target-fill-rate", "1"}, ""},
        {{"--lost-sale-cost", "0", "--return-cost", "2.5e1"}, ""},
        {{"--export", ""}, "--export needs a folder name"},
        {{"--export"}, "--export needs a value"},
        {{"--tau-grid", "0:3:0"}, "--tau-grid: the step"},
        {{"--tau-grid", "0:3:-0.1"}, "wrong sign"},
        {{"--tau-grid", "0:10:0.0001"}, "more than 10001"},
        {{"--target-fill-rate", "0"}, "above 0 and at most 1"},
        {{"--target-fill-rate", "1.01"}, "above 0 and at most 1"},
        {{"--target-fill-rate", "-0.5"}, "above 0 and at most 1"},
        {{"--target-fill-rate", "nan"}, "above 0 and at most 1"},
        {{"--lost-sale-cost", "1e15", "--return-cost", "0"}, ""},
        {{"--lost-sale-cost", "-1", "--return-cost", "1"},
         "--lost-sale-cost needs a number from 0"},
        {{"--lost-sale-cost", "1", "--return-cost", "x"}, "--return-cost needs a number from 0"},
        {{"--lost-sale-cost", "1e308", "--return-cost", "1"}, "from 0 to 1e15, not \"1e308\""},
        {{"--lost-sale-cost", "1"}, "go together"},
        {{"--return-cost", "1"}, "go together"},
        {{"--seed", "4294967296"}, "--seed needs a whole number"},
        {{"--seed", "-1"}, "--seed needs a whole number"},
        {{"--seed", "1.5"}, "--seed needs a whole number"},
        {{"--seed", ""}, "--seed needs a whole number"},
    };
    for (const auto& c : cases) {
        std::string problem;
        const std::optional<CliOptions> options = ParseCliOptions(c.arguments, problem);
        const std::string line =
            c.arguments.front() + (c.arguments.size() > 1 ? " " + c.arguments[1] : "");
        if (std::string(c.problem).empty()) {
            EXPECT_TRUE(options) << line << ": " << problem;
        } else {
            EXPECT_FALSE(options) << line;
            EXPECT_NE(problem.find(c.problem), std::string::npos) << line << ": " << problem;
        }
    }
}

TEST(ResultsOptions, ValuesReachTheRequest) {
    std::string problem;
    const std::optional<CliOptions> options = ParseCliOptions(
        {"--example", "--tau-grid", "1:2:0.5", "--target-fill-rate", "0.95", "--return-cost", "1",
         "--lost-sale-cost", "4", "--seed", "7", "--export", "dir", "--summary"},
        problem);
    ASSERT_TRUE(options) << problem;
    const ResultsCliOptions& results = options->results;
    EXPECT_EQ(results.request.grid.from, 1.0);
    EXPECT_EQ(results.request.grid.step, 0.5);
    EXPECT_EQ(results.request.targetFillRate, 0.95);
    ASSERT_TRUE(results.request.costs);
    EXPECT_EQ(results.request.costs->lostSale, 4.0);
    EXPECT_EQ(results.request.costs->returned, 1.0);
    EXPECT_EQ(results.seed, 7u);
    EXPECT_EQ(results.exportFolder, "dir");
    EXPECT_TRUE(results.summary);

    const std::optional<CliOptions> defaults = ParseCliOptions({}, problem);
    EXPECT_EQ(defaults->results.seed, kDefaultSeed);
    EXPECT_FALSE(defaults->results.exportFolder);
    EXPECT_FALSE(defaults->results.request.costs);
}

}  // namespace
}  // namespace sf
