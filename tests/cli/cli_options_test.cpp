#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include "state/box_keys.h"

namespace sf {
namespace {

std::optional<CliOptions> Parse(const std::vector<std::string>& arguments,
                                std::string* problem = nullptr) {
    std::string ignored;
    return ParseCliOptions(arguments, problem != nullptr ? *problem : ignored);
}

TEST(CliOptions, UnsetBoxesHoldTheWindowsStartUpTexts) {
    const std::optional<CliOptions> options = Parse({});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->inputs.p1low, "10");
    EXPECT_EQ(options->inputs.p1up, "30");
    EXPECT_EQ(options->inputs.Endpointnumber, "");
    EXPECT_EQ(options->inputs.model, DemandModel::loga);
    EXPECT_EQ(options->runs, 1);
    EXPECT_EQ(options->output, "out.txt");
}

TEST(CliOptions, OptionsBesideTheExampleWinWhereverTheyStand) {
    const std::optional<CliOptions> options =
        Parse({"--sales-points", "5", "--example", "--model", "Normal", "--p2-low", "-1.5"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->inputs.Endpointnumber, "5");
    EXPECT_EQ(options->inputs.Periodnumber, "24");
    EXPECT_EQ(options->inputs.p2low, "-1.5");
    EXPECT_EQ(options->inputs.p2up, "2");
    EXPECT_EQ(options->inputs.model, DemandModel::Normal);
}

TEST(CliOptions, OptionsBesideAScenarioWinWhereverTheyStand) {
    Scenario beneath;
    beneath.inputs.Endpointnumber = "7";
    beneath.inputs.tau_tx = "0.9";
    beneath.inputs.p2up = "4";
    beneath.inputs.model = DemandModel::AR1;
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"--tau", "0.1", "--scenario", "s.json", "--model", "Normal"},
             {"--scenario", "s.json", "--model", "Normal", "--tau", "0.1"}}) {
        std::string problem;
        const std::optional<CliOptions> options = ParseCliOptions(arguments, problem, beneath);
        ASSERT_TRUE(options) << problem;
        EXPECT_EQ(options->scenario, "s.json");
        EXPECT_EQ(options->inputs.Endpointnumber, "7");
        EXPECT_EQ(options->inputs.p2up, "4");
        EXPECT_EQ(options->inputs.tau_tx, "0.1");
        EXPECT_EQ(options->inputs.model, DemandModel::Normal);
        EXPECT_FALSE(options->run.boundedConstants);
    }
    // The option can only switch bounded constants on, over a scenario with them off or on.
    for (const bool bounded : {false, true}) {
        beneath.boundedConstants = bounded;
        std::string problem;
        EXPECT_TRUE(
            ParseCliOptions({"--bounded-constants"}, problem, beneath)->run.boundedConstants);
        EXPECT_EQ(ParseCliOptions({}, problem, beneath)->run.boundedConstants, bounded);
    }
}

// The usage is written beside the tables of boxes and models: every box has its option there,
// and every model its name under --model, as the window's own words give them.
TEST(CliOptions, TheUsageOffersEveryBoxAndEveryModel) {
    const std::string usage = CliUsage();
    for (const BoxKey& box : kBoxKeys) {
        const std::string option = "--" + std::string(box.key);
        EXPECT_NE(usage.find(" " + option + " TEXT"), std::string::npos) << option;
        const std::optional<CliOptions> options = Parse({option, "typed"});
        ASSERT_TRUE(options) << option;
        EXPECT_EQ(options->inputs.*box.text, "typed") << option;
    }
    EXPECT_NE(usage.find("\n  --p3 TEXT                  n of t_tplusn, sigma of AR1\n"
                         "  --model NAME               loga (default), sqrot, linear, t_tplusn, "
                         "meanAR1, AR1, Normal\n"),
              std::string::npos);
    for (const DemandModelRow& row : kDemandModels) {
        EXPECT_EQ(Parse({"--model", std::string(row.name)})->inputs.model, row.model) << row.name;
    }
}

TEST(CliOptions, VersionAndScenarioFilesAreOptionsOfTheirOwn) {
    const std::optional<CliOptions> options =
        Parse({"--version", "--save-scenario", "out.json", "--scenario", "in.json"});
    ASSERT_TRUE(options);
    EXPECT_TRUE(options->version);
    EXPECT_EQ(options->scenario, "in.json");
    EXPECT_EQ(options->saveScenario, "out.json");
}

TEST(CliOptions, TextsAreTakenAsTyped) {
    const std::optional<CliOptions> options =
        Parse({"--sales-points", "", "--horizon", "\t1", "--tau", " .5", "--runs", "2"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->inputs.Endpointnumber, "");
    EXPECT_EQ(options->inputs.horizontx, "\t1");
    EXPECT_EQ(options->inputs.tau_tx, " .5");
    EXPECT_EQ(options->runs, 2);
}

TEST(CliOptions, ABadCommandLineSaysWhy) {
    std::string problem;
    EXPECT_FALSE(Parse({"--periods"}, &problem));
    EXPECT_NE(problem.find("--periods"), std::string::npos);
    EXPECT_FALSE(Parse({"--model", "Poisson"}, &problem));
    EXPECT_NE(problem.find("Poisson"), std::string::npos);
    EXPECT_FALSE(Parse({"--runs", "0"}, &problem));
    EXPECT_FALSE(Parse({"--runs", "2x"}, &problem));
    EXPECT_FALSE(Parse({"--colour", "red"}, &problem));
    EXPECT_FALSE(Parse({"stray"}, &problem));
    EXPECT_FALSE(Parse({"--output", ""}, &problem));
    EXPECT_EQ(problem, "--output needs a file name");
    EXPECT_FALSE(Parse({"--scenario", ""}, &problem));
    EXPECT_EQ(problem, "--scenario needs a file name");
    EXPECT_FALSE(Parse({"--save-scenario", ""}, &problem));
    EXPECT_FALSE(Parse({"--example", "--scenario", "s.json"}, &problem));
    EXPECT_EQ(problem, "--example and --scenario both fill every box; give one of them");
}

TEST(CliOptions, ASalesHistoryTakesThePlaceOfTheTwoCountBoxes) {
    const std::optional<CliOptions> options =
        Parse({"--example", "--demand", "sales.csv", "--model", "AR1"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->demand, "sales.csv");
    EXPECT_FALSE(Parse({})->demand);

    std::string problem;
    for (const std::string count : {"--sales-points", "--periods"}) {
        EXPECT_FALSE(Parse({count, "3", "--demand", "sales.csv"}, &problem));
        EXPECT_EQ(problem, count +
                               " cannot be used with --demand: the sales history gives the number "
                               "of sales points and of periods");
    }
    EXPECT_FALSE(Parse({"--demand", ""}, &problem));
    EXPECT_EQ(problem, "--demand needs a file name");
}

}  // namespace
}  // namespace sf
