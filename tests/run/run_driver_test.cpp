#include "run/run_driver.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "refused_thread_starts.h"
#include "run_fixture.h"
#include "run_state_comparison.h"

namespace sf {
namespace {

// Two periods and no estimation windows to speak of: the checks before a run stand out.
RunInputs TinyRun() {
    RunInputs inputs;
    inputs.Endpointnumber = "3";
    inputs.Periodnumber = "2";
    inputs.periodsforinitialization = "1";
    inputs.periodsforalphabeta = "0";
    inputs.warmuptx = "0";
    inputs.horizontx = "0";
    inputs.tau_tx = "0.5";
    inputs.p1low = "10";
    inputs.p1up = "10";
    inputs.p2low = "0";
    inputs.p2up = "0";
    return inputs;
}

using RunDriverTest = RunFixture;

TEST_F(RunDriverTest, ABadBoxLeavesTheEarlierReportUntouched) {
    folder.Write("out.txt", "the last report");
    RunInputs inputs = TinyRun();
    inputs.Endpointnumber = "abc";
    const RunOutcome outcome = Run(inputs);
    EXPECT_FALSE(outcome.completed);
    EXPECT_EQ(outcome.message, "Number of Sales Points: \"abc\" is not a number");
    EXPECT_EQ(outcome.inputBox, &RunInputs::Endpointnumber);
    EXPECT_EQ(folder.Read("out.txt"), "the last report");
    EXPECT_TRUE(observer.closing.empty());
    // Not even a file beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Root()), {}), 1);
}

TEST_F(RunDriverTest, TheFirstBadBoxInTheRunsOrderIsReported) {
    RunInputs inputs = TinyRun();
    inputs.Endpointnumber = "";
    inputs.horizontx = "x";
    inputs.periodsforalphabeta = "40000";
    RunOutcome outcome = Run(inputs);
    EXPECT_EQ(outcome.message,
              "# of periods used for estimating initial alpha and beta: must be a whole number "
              "from 0 to 599");
    EXPECT_EQ(outcome.inputBox, &RunInputs::periodsforalphabeta);
    inputs.periodsforalphabeta = "0";
    outcome = Run(inputs);
    EXPECT_EQ(outcome.message, "Number of Sales Points: the box is empty");
    EXPECT_EQ(outcome.inputBox, &RunInputs::Endpointnumber);
    inputs.Endpointnumber = "3";
    outcome = Run(inputs);
    EXPECT_EQ(outcome.message, "Forecasting horizon: \"x\" is not a number");
    EXPECT_EQ(outcome.inputBox, &RunInputs::horizontx);
}

// What a refused text is told, in the box's own words.
TEST_F(RunDriverTest, ARefusedTextSaysWhatIsWrongWithIt) {
    const NumberLocale comma{",", "."};
    const std::string fortyOne(41, '7');
    const std::string fortyMus = [] {
        std::string mus;
        for (int at = 0; at < 40; ++at) {
            mus += "\xCE\xBC";
        }
        return mus;
    }();
    struct Case {
        std::string RunInputs::*box;
        std::string text;
        NumberLocale locale;
        std::string message;
    };
    const Case cases[] = {
        {&RunInputs::Endpointnumber, "", {}, "Number of Sales Points: the box is empty"},
        {&RunInputs::tau_tx, " \t ", {}, "Tau (\xCF\x84): the box is empty"},
        {&RunInputs::tau_tx,
         "0,5",
         {},
         "Tau (\xCF\x84): \"0,5\" is not a number; the decimal separator on this computer is "
         "\".\""},
        {&RunInputs::tau_tx, " -1.5e3", comma,
         "Tau (\xCF\x84): \" -1.5e3\" is not a number; the decimal separator on this computer "
         "is \",\""},
        {&RunInputs::tau_tx, "1,000.5", {}, "Tau (\xCF\x84): \"1,000.5\" is not a number"},
        {&RunInputs::tau_tx, "0,5,1", {}, "Tau (\xCF\x84): \"0,5,1\" is not a number"},
        {&RunInputs::tau_tx, "x,5", {}, "Tau (\xCF\x84): \"x,5\" is not a number"},
        {&RunInputs::tau_tx,
         fortyOne.substr(2) + "x",
         {},
         "Tau (\xCF\x84): \"" + fortyOne.substr(2) + "x\" is not a number"},
        {&RunInputs::tau_tx,
         fortyOne + "x",
         {},
         "Tau (\xCF\x84): \"" + fortyOne.substr(1) + "\xE2\x80\xA6\" is not a number"},
        {&RunInputs::tau_tx,
         fortyMus + "\xCE\xBC",
         {},
         "Tau (\xCF\x84): \"" + fortyMus + "\xE2\x80\xA6\" is not a number"},
        {&RunInputs::Endpointnumber,
         "32768",
         {},
         "Number of Sales Points: must be a whole number from 1 to 100"},
        {&RunInputs::warmuptx,
         "-32769",
         {},
         "Warm-up period: must be a whole number from -32768 to 32767"},
        {&RunInputs::Periodnumber,
         "1e9",
         {},
         "Number of Periods: must be a whole number from 0 to 600"},
    };
    for (const Case& bad : cases) {
        SCOPED_TRACE(bad.text);
        RunInputs inputs = TinyRun();
        inputs.*bad.box = bad.text;
        const RunOutcome outcome = Run(inputs, bad.locale);
        EXPECT_EQ(outcome.message, bad.message);
        EXPECT_EQ(outcome.inputBox, bad.box);
    }
}

// Each limit box by its column and the parameter the selected model shows beside its row.
TEST_F(RunDriverTest, LimitsAreNamedByTheModelsParameter) {
    struct Case {
        DemandModel model;
        std::string first, second, third;  // no third: p3 is not read
    };
    const std::string mu = "\xCE\xBC (mu)", phi = "\xCF\x88 (phi)", sigma = "\xCF\x83 (sigma)";
    const Case cases[] = {
        {DemandModel::loga, "a", "c", ""},    {DemandModel::sqrot, "a", "c", ""},
        {DemandModel::linear, "a", "c", ""},  {DemandModel::t_tplusn, "a", "c", "n"},
        {DemandModel::meanAR1, mu, phi, ""},  {DemandModel::AR1, mu, phi, sigma},
        {DemandModel::Normal, mu, sigma, ""},
    };
    for (const Case& model : cases) {
        const std::pair<std::string RunInputs::*, std::string> boxes[] = {
            {&RunInputs::p1low, "Lower Limit of " + model.first},
            {&RunInputs::p1up, "Upper Limit of " + model.first},
            {&RunInputs::p2low, "Lower Limit of " + model.second},
            {&RunInputs::p2up, "Upper Limit of " + model.second},
            {&RunInputs::p3, model.third}};
        for (const auto& [box, label] : boxes) {
            SCOPED_TRACE(std::string(DemandModelName(model.model)) + " " + label);
            RunInputs inputs = TinyRun();
            inputs.model = model.model;
            inputs.*box = "?";
            const RunOutcome outcome = Run(inputs);
            if (label.empty()) {
                EXPECT_NE(outcome.inputBox, box);
            } else {
                EXPECT_EQ(outcome.message, label + ": \"?\" is not a number");
                EXPECT_EQ(outcome.inputBox, box);
            }
        }
    }
    RunInputs inputs = TinyRun();
    inputs.p1low = "-1e308";
    inputs.p1up = "1e308";
    EXPECT_EQ(Run(inputs).message,
              "Upper Limit of a: too far from the lower limit (the distance is too large for a "
              "number)");
    inputs.p1low = inputs.p1up = "10";
    inputs.p2low = "-1e308";
    inputs.p2up = "1e308";
    EXPECT_EQ(Run(inputs).message,
              "Upper Limit of c: too far from the lower limit (the distance is too large for a "
              "number)");
}

TEST_F(RunDriverTest, ValuesThatWouldFailPartWayAreRefusedBeforeTheRun) {
    struct Case {
        std::string RunInputs::*box;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {&RunInputs::Endpointnumber, "0",
         "Number of Sales Points: must be a whole number from 1 to 100"},
        {&RunInputs::Endpointnumber, "101",
         "Number of Sales Points: must be a whole number from 1 to 100"},
        {&RunInputs::Periodnumber, "601",
         "Number of Periods: must be a whole number from 0 to 600"},
        {&RunInputs::Periodnumber, "-1", "Number of Periods: must be a whole number from 0 to 600"},
        {&RunInputs::periodsforinitialization, "0",
         "# of periods used for estimating initial mu and sigma: must be a whole number from 1 "
         "to 600"},
        {&RunInputs::periodsforinitialization, "601",
         "# of periods used for estimating initial mu and sigma: must be a whole number from 1 "
         "to 600"},
        {&RunInputs::periodsforalphabeta, "-1",
         "# of periods used for estimating initial alpha and beta: must be a whole number from 0 "
         "to 599"},
        {&RunInputs::horizontx, "-2", "Forecasting horizon: must be a whole number from 0 to 599"},
        {&RunInputs::horizontx, "600", "Forecasting horizon: must be a whole number from 0 to 599"},
    };
    for (const Case& bad : cases) {
        RunInputs inputs = TinyRun();
        inputs.*bad.box = bad.text;
        const RunOutcome outcome = Run(inputs);
        EXPECT_FALSE(outcome.completed);
        EXPECT_EQ(outcome.message, bad.message);
        EXPECT_EQ(outcome.inputBox, bad.box);
        EXPECT_FALSE(std::filesystem::exists(folder.Path("out.txt")));
    }

    // Each in its range, but too many together: the first of them is the box to mend.
    RunInputs inputs = TinyRun();
    inputs.periodsforalphabeta = "1";
    inputs.horizontx = "599";
    const RunOutcome outcome = Run(inputs);
    EXPECT_EQ(
        outcome.message,
        "The periods for initial mu and sigma, the periods for initial alpha and beta and the "
        "forecasting horizon add up to 601; together they must not exceed 600");
    EXPECT_EQ(outcome.inputBox, &RunInputs::periodsforinitialization);
}

TEST_F(RunDriverTest, AnUnwritableReportIsAFailureNotASuccess) {
    std::filesystem::create_directory(folder.Path("out.txt"));
    const RunOutcome outcome = Run(TinyRun());
    EXPECT_FALSE(outcome.completed);
    EXPECT_NE(outcome.message.find("could not be created"), std::string::npos);
    EXPECT_TRUE(observer.closing.empty());
}

TEST_F(RunDriverTest, ACompletedRunShowsTheClosingMessageOnce) {
    const RunOutcome outcome = Run(TinyRun());
    EXPECT_TRUE(outcome.completed);
    EXPECT_EQ(observer.closing, std::vector<std::string>{std::string(kClosingMessage)});
    EXPECT_EQ(observer.progress.back(), 100);
}

TEST_F(RunDriverTest, AStoppedRunKeepsItsLinesBesideTheReportItLeavesAsItWas) {
    const std::string report = folder.Path("out.txt").string();
    for (const bool earlierReport : {false, true}) {
        SCOPED_TRACE(earlierReport ? "an earlier report" : "no report yet");
        if (earlierReport) {
            folder.Write("out.txt", "the last report");
        }
        observer.progress.clear();
        observer.stopAfterReports = 1;
        const RunOutcome outcome = Run(TinyRun());
        EXPECT_FALSE(outcome.completed);
        EXPECT_EQ(outcome.message,
                  std::string(kStoppedMessage) + "\n" +
                      (earlierReport ? "The report \"" + report + "\" was left as it was"
                                     : "No report \"" + report + "\" was made") +
                      "; the lines written are in \"" + report + ".incomplete\".");
        EXPECT_TRUE(observer.closing.empty());
        EXPECT_EQ(std::filesystem::exists(report), earlierReport);
        if (earlierReport) {
            EXPECT_EQ(folder.Read("out.txt"), "the last report");
        }
        const std::string lines = folder.Read("out.txt.incomplete");
        EXPECT_EQ(lines.rfind("Parameters of sales points\r\n", 0), 0u);
        EXPECT_EQ(lines.find("Forecasts"), std::string::npos);
    }
}

TEST_F(RunDriverTest, EveryRunStartsFromAClearedState) {
    state->mu(5, 7) = 42.0;
    state->lostSaleSum[4] = 3.0;
    state->totalSales = 9.0;
    ASSERT_TRUE(Run(TinyRun()).completed);
    EXPECT_EQ(state->mu(5, 7), 0.0);
    EXPECT_EQ(state->lostSaleSum[4], 0.0);
}

// A complete run gives back the uniform source as it found it: a later run handed that source
// draws the same demand, with other options too; a failed run gives none back.
TEST_F(RunDriverTest, TheSourceAtTheStartRepeatsTheRunOnTheSameDemand) {
    auto demandOf = [this] {
        std::vector<double> demand;
        for (int sp = 1; sp <= state->salesPointCount; ++sp) {
            for (int t = 1; t <= state->periodNumber; ++t) {
                demand.push_back(state->actualDemand(sp, t));
            }
        }
        return demand;
    };
    const RunOutcome first = Run(SmallRun());
    ASSERT_TRUE(first.completed && first.sourceAtStart);
    EXPECT_EQ(*first.sourceAtStart, UniformSource{});
    const std::vector<double> demand = demandOf();
    const RunOutcome second = Run(SmallRun());
    ASSERT_NE(demandOf(), demand);  // the sequence carries on
    EXPECT_NE(*second.sourceAtStart, *first.sourceAtStart);
    source = *first.sourceAtStart;
    ASSERT_TRUE(ExecuteRun(*state, source, SmallRun(), NumberLocale{}, folder.Path("out.txt"),
                           observer, RunOptions{EstimationPath::lanes, {}, true})
                    .completed);
    EXPECT_EQ(demandOf(), demand);
    RunInputs refused = SmallRun();
    refused.tau_tx = "x";
    EXPECT_FALSE(Run(refused).sourceAtStart);
}

// Reports progress as any front end does, but its failingReport-th report throws.
class ThrowingObserver : public RecordingObserver {
  public:
    ThrowingObserver(int failingReport, std::function<void()> fault)
        : failingReport_(failingReport), fault_(std::move(fault)) {}
    void ReportProgress(int percent) override {
        RecordingObserver::ReportProgress(percent);
        if (static_cast<int>(progress.size()) == failingReport_) {
            fault_();
        }
    }

  private:
    int failingReport_;
    std::function<void()> fault_;
};

constexpr const char* kSystemRefusal =
    "The run stopped: the system could not give it what it needed (Resource temporarily "
    "unavailable).";

// A fault that is no RunError still ends the run with a message and the lines written; from
// the third report on it is thrown inside the lanes, on whichever thread reports.
TEST_F(RunDriverTest, AnyFaultEndsTheRunWithAMessageAndNeverEscapes) {
    const auto refusal = [] {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    };
    const struct {
        int failingReport;
        std::function<void()> fault;
        const char* message;
    } cases[] = {
        {1, refusal, kSystemRefusal},
        {3, refusal, kSystemRefusal},
        {4, [] { throw std::logic_error("a broken promise"); },
         "The run stopped on an internal fault: a broken promise"},
        {2, [] { throw 42; }, "The run stopped on an internal fault of unknown kind."},
        {3, [] { throw std::bad_alloc(); }, "The run stopped: not enough memory."},
    };
    RunInputs inputs = SmallRun();
    inputs.Endpointnumber = "17";
    for (const auto& fault : cases) {
        ThrowingObserver throwing(fault.failingReport, fault.fault);
        const RunOutcome outcome =
            ExecuteRun(*state, source, inputs, NumberLocale{}, folder.Path("out.txt"), throwing,
                       RunOptions{EstimationPath::lanes, {"", 2}});
        EXPECT_FALSE(outcome.completed);
        // The fault, then where the lines written are.
        EXPECT_EQ(outcome.message.substr(0, outcome.message.find('\n')), fault.message);
        EXPECT_TRUE(throwing.closing.empty());
        EXPECT_EQ(folder.Read("out.txt.incomplete").rfind("Parameters of sales points\r\n", 0), 0u);
    }
}

TEST_F(RunDriverTest, AThreadTheSystemWillNotStartFailsTheRun) {
    RunInputs inputs = SmallRun();
    inputs.Endpointnumber = "17";  // lanes for two threads
    RunOutcome outcome;
    {
        const RefusedThreadStarts refused;
        outcome = ExecuteRun(*state, source, inputs, NumberLocale{}, folder.Path("out.txt"),
                             observer, RunOptions{EstimationPath::lanes, {"", 2}});
    }
    EXPECT_FALSE(outcome.completed);
    EXPECT_EQ(outcome.message.substr(0, outcome.message.find('\n')), kSystemRefusal);
    EXPECT_TRUE(observer.closing.empty());
    // The next run finds the surroundings well again.
    EXPECT_TRUE(ExecuteRun(*state, source, inputs, NumberLocale{}, folder.Path("out.txt"), observer,
                           RunOptions{EstimationPath::lanes, {"", 2}})
                    .completed);
}

// A run asked for its measures leaves the same report and state, and counts the same divisions
// however many threads share the searches (a lost count would differ).
TEST_F(RunDriverTest, MeasuresChangeNothingAndCountTheSameDivisionsOnAnyThreads) {
    RunInputs inputs = SmallRun();
    inputs.Endpointnumber = "20";
    const UniformSource atStart = source;
    ASSERT_TRUE(Run(inputs).completed);
    long long divisions = -1;
    for (int threads : {1, 3}) {
        RunMeasures measures;
        RunOptions options{EstimationPath::lanes, {"", threads}};
        options.measures = &measures;
        auto measured = std::make_unique<RunState>();
        UniformSource again = atStart;
        ASSERT_TRUE(ExecuteRun(*measured, again, inputs, NumberLocale{},
                               folder.Path("measured.txt"), observer, options)
                        .completed);
        EXPECT_EQ(FirstDifference(*state, *measured), "");
        EXPECT_EQ(folder.Read("measured.txt"), folder.Read("out.txt"));
        EXPECT_GT(measures.divisions, 0);
        EXPECT_TRUE(divisions < 0 || measures.divisions == divisions) << threads << " threads";
        divisions = measures.divisions;
        EXPECT_GT(measures.wallSeconds[static_cast<int>(RunPhase::estimation)], 0.0);
    }
}

TEST_F(RunDriverTest, TheDecimalSeparatorIsTheLocales) {
    RunInputs inputs = TinyRun();
    inputs.tau_tx = "0,5";
    EXPECT_TRUE(Run(inputs, NumberLocale{",", ""}).completed);
    EXPECT_FALSE(Run(inputs).completed);
}

}  // namespace
}  // namespace sf
