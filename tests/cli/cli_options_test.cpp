#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/option_table.h"
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

// Each value after its option or after "=", flags alone; what cannot be used is named.
TEST(CliOptions, CommandLinesInTheirGnuFormsAndWhatIsWrongWithThem) {
    const struct {
        std::vector<std::string> arguments;
        std::string problem;  // empty: accepted
        std::string salesPoints = "";
        std::string tau = "";
    } cases[] = {
        {{"--sales-points=20"}, "", "20"},
        {{"--sales-points", "20", "--tau=0.5"}, "", "20", "0.5"},
        {{"--tau=", "--sales-points=a=b"}, "", "a=b", ""},
        {{"--tau=-1"}, "", "", "-1"},
        {{"--tau", "--sales-points"}, "", "", "--sales-points"},
        {{"--quiet", "--summary", "--bounded-constants", "-h", "--version"}, ""},
        {{"--seed=7", "--export=results", "--model=AR1", "--runs=2", "--output=r.txt"}, ""},
        {{"--periods"}, "option --periods needs a value"},
        {{"--seed"}, "option --seed needs a value"},
        {{"--summary=yes"}, "option --summary takes no value"},
        {{"--quiet="}, "option --quiet takes no value"},
        {{"--colour", "red"}, "unknown option --colour"},
        {{"--colour=red"}, "unknown option --colour"},
        {{"-x"}, "unknown option -x"},
        {{"--tau 0.5"}, "unknown option --tau 0.5"},
        {{"stray"}, "unexpected argument \"stray\""},
        {{"-"}, "unexpected argument \"-\""},
        {{"--model=Poisson"}, "unknown model \"Poisson\""},
        {{"--runs", "0"}, "--runs needs a whole number of at least 1, not \"0\""},
        {{"--runs=2x"}, "--runs needs a whole number of at least 1, not \"2x\""},
        {{"--season", "1"}, "--season needs 0 (none) or a whole number from 2 to 600, not \"1\""},
        {{"--season=601"}, "--season needs 0 (none) or a whole number from 2 to 600, not \"601\""},
        {{"--season=-7"}, "--season needs 0 (none) or a whole number from 2 to 600, not \"-7\""},
        {{"--output", ""}, "--output needs a file name"},
        {{"--output="}, "--output needs a file name"},
        {{"--scenario", ""}, "--scenario needs a file name"},
        {{"--save-scenario="}, "--save-scenario needs a file name"},
        {{"--example", "--scenario=s.json"},
         "--example and --scenario both fill every box; give one of them"},
    };
    for (const auto& c : cases) {
        std::string problem;
        const std::optional<CliOptions> options = Parse(c.arguments, &problem);
        const std::string line = c.arguments.front();
        EXPECT_EQ(problem, c.problem) << line;
        if (c.problem.empty() && options) {
            EXPECT_EQ(options->inputs.Endpointnumber, c.salesPoints) << line;
            EXPECT_EQ(options->inputs.tau_tx, c.tau) << line;
        }
        EXPECT_EQ(options.has_value(), c.problem.empty()) << line;
    }
    EXPECT_EQ(UsageError("unknown option --colour"),
              "sales-forecast-cli: unknown option --colour\n"
              "Try 'sales-forecast-cli --help' for more information.\n");
}

// Each option of the table is taken by the code of its group (an option that code does not
// know breaks an invariant), with its value word as the value or as its first choice; only a
// --demand makes the history's options usable.
TEST(CliOptions, EveryOptionOfTheTableIsTakenByItsGroup) {
    for (const CliOption& option : CliOptionTable()) {
        SCOPED_TRACE(option.name);
        std::vector<std::string> line = {std::string(option.name)};
        if (option.flag == nullptr) {
            const std::string_view value = option.value;
            line.emplace_back(value.substr(0, value.find('|')));
        }
        line.insert(line.end(), {"--demand", "sales.csv"});
        std::string problem;
        Parse(line, &problem);
        EXPECT_FALSE(problem.starts_with("unknown option")) << problem;
        EXPECT_EQ(FindCliOption(option.name), &option);
    }
}

// A scenario's seed is where the runs start unless --seed says otherwise; --save-scenario
// keeps the seed with the rest.
TEST(CliOptions, TheSeedOfAScenarioGivesWayToSeedBesideIt) {
    Scenario beneath;
    beneath.seed = 7;
    beneath.boundedConstants = true;
    beneath.inputs.tau_tx = "0.5";
    std::string problem;
    EXPECT_EQ(ParseCliOptions({}, problem, beneath)->results.seed, 7u);
    EXPECT_EQ(ParseCliOptions({"--seed=9"}, problem, beneath)->results.seed, 9u);
    const Scenario given = GivenScenario(*ParseCliOptions({"--seed", "9"}, problem, beneath));
    EXPECT_EQ(given.seed, 9u);
    EXPECT_TRUE(given.boundedConstants);
    EXPECT_EQ(given.inputs.tau_tx, "0.5");
}

// A "." reads in any locale; the locale's own separator and other texts stay as given.
TEST(CliOptions, BoxNumbersWithAPointTakeTheLocalesSeparator) {
    const struct {
        std::string given;
        std::string comma;  // as a run reads it with a decimal comma
    } cases[] = {
        {"0.5", "0,5"}, {"0,5", "0,5"}, {" .5e1 ", " ,5e1 "}, {"24", "24"}, {"1.5.", "1.5."},
        {"a.b", "a.b"}, {"", ""},
    };
    for (const auto& c : cases) {
        RunInputs inputs;
        inputs.tau_tx = c.given;
        inputs.p3 = c.given;
        const RunInputs comma = WithLocaleDecimals(inputs, {",", "."});
        EXPECT_EQ(comma.tau_tx, c.comma) << c.given;
        EXPECT_EQ(comma.p3, c.comma) << c.given;
        EXPECT_EQ(WithLocaleDecimals(inputs, {}).tau_tx, c.given) << c.given;
    }
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

// How a history is read: from the options, over the scenario's choices for its own file only;
// the scenario to save names the file by its absolute path.
TEST(CliOptions, TheHistoryIsReadAsTheOptionsAndTheScenarioSay) {
    std::optional<CliOptions> options =
        Parse({"--demand=sales.csv", "--history-decimal", "comma", "--history-header=no",
               "--history-columns", "Store+Article,2,units", "--history-missing", "zero",
               "--history-date-order=dmy", "--history-encoding", "windows-1252", "--history-layout",
               "long", "--history-duplicates", "sum"});
    ASSERT_TRUE(options);
    const HistoryChoices given{DecimalChoice::comma,
                               HeaderChoice::no,
                               HistoryColumns{"Store+Article", "2", "units"},
                               MissingRows::zero,
                               DateOrderChoice::dayFirst,
                               EncodingChoice::windows1252,
                               LayoutChoice::longTable,
                               DuplicateRows::summed};
    EXPECT_EQ(options->historyChoices, given);
    const Scenario saved = GivenScenario(*options);
    ASSERT_TRUE(saved.history);
    EXPECT_EQ(saved.history->path, std::filesystem::absolute("sales.csv"));
    EXPECT_EQ(saved.history->choices, given);

    std::string problem;
    options = ParseCliOptions({"--history-header", "yes"}, problem, saved);
    ASSERT_TRUE(options);
    EXPECT_TRUE(options->demandOfScenario);
    EXPECT_EQ(options->demand, saved.history->path);
    EXPECT_EQ(options->historyChoices.header, HeaderChoice::yes);
    EXPECT_EQ(options->historyChoices.missing, MissingRows::zero);
    options = ParseCliOptions({"--demand", "other.csv"}, problem, saved);
    ASSERT_TRUE(options);
    EXPECT_FALSE(options->demandOfScenario);
    EXPECT_EQ(options->historyChoices, HistoryChoices{});

    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"--history-decimal", "auto"}, HistoryOptionsAlone()},
        {{"--demand", "a.csv", "--history-decimal", "dot"},
         "--history-decimal takes auto, comma or point, not \"dot\""},
        {{"--demand", "a.csv", "--history-missing", "yes"},
         "--history-missing takes refuse or zero, not \"yes\""},
        {{"--demand", "a.csv", "--history-layout", "tall"},
         "--history-layout takes auto, wide, rows or long, not \"tall\""},
        {{"--demand", "a.csv", "--history-columns", "a,b"},
         "--history-columns takes three columns NAME,PERIOD,DEMAND (header names or numbers "
         "from 1), not \"a,b\""},
        {{"--demand", "a.csv", "--history-columns", "a,,c"},
         "--history-columns takes three columns NAME,PERIOD,DEMAND (header names or numbers "
         "from 1), not \"a,,c\""},
    };
    for (const auto& [arguments, message] : refused) {
        EXPECT_FALSE(Parse(arguments, &problem));
        EXPECT_EQ(problem, message);
    }
}

}  // namespace
}  // namespace sf
