#include "run/run_driver.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <exception>
#include <new>
#include <system_error>

#include "demand/demand_generation.h"
#include "estimation/forecasts_as_known.h"
#include "estimation/initial_estimation.h"
#include "estimation/rolling_forecast.h"
#include "estimation/rolling_forecast_lanes.h"
#include "estimation/season_indices.h"
#include "history/history_demand.h"
#include "outcome/deliveries_and_sales.h"
#include "report/report_sections.h"
#include "run/input_conversion.h"
#include "runtime/report_file.h"
#include "runtime/run_error.h"

namespace sf {
namespace {

void StopIfAsked(const RunObserver& observer) {
    if (observer.StopRequested()) {
        throw RunError(std::string(kStoppedMessage));
    }
}

// Adds the time since the last lap to a phase of the measures, when a benchmark asks for them.
class PhaseClock {
  public:
    explicit PhaseClock(RunMeasures* measures) : measures_(measures) {}

    void Lap(RunPhase phase) {
        if (measures_ == nullptr) {
            return;
        }
        const auto wall = std::chrono::steady_clock::now();
        const std::clock_t processor = std::clock();
        const auto at = static_cast<std::size_t>(phase);
        measures_->wallSeconds[at] += std::chrono::duration<double>(wall - wall_).count();
        measures_->processorSeconds[at] +=
            static_cast<double>(processor - processor_) / CLOCKS_PER_SEC;
        wall_ = wall;
        processor_ = processor;
    }

  private:
    RunMeasures* measures_;
    std::chrono::steady_clock::time_point wall_ = std::chrono::steady_clock::now();
    std::clock_t processor_ = std::clock();
};

// What stopped a run, then where its lines are.
std::string WithReportNote(std::string message, const std::string& reportNote) {
    return reportNote.empty() ? message : message + "\n" + reportNote;
}

void RunPhases(RunState& state, UniformSource& source, const RunInputs& inputs,
               const NumberLocale& locale, const std::filesystem::path& reportPath,
               RunObserver& observer, const RunOptions& options, std::string& reportNote,
               bool& reportNotCreated) {
    PhaseClock clock(options.measures);
    LaneOptions lanes = options.lanes;
    if (options.measures != nullptr) {
        lanes.divisions = &options.measures->divisions;
    }
    state.Clear();
    ConvertInputs(inputs, locale, options.boxNaming, state, options.block);
    CheckSeasonLength(options.season, inputs, locale, options.boxNaming, state);
    state.boundedConstants = options.boundedConstants;
    // Left set when the report's file cannot be created: then no run can write it there.
    reportNotCreated = true;
    ReportFile report(reportPath);
    reportNotCreated = false;
    try {
        WriteParameterHeading(report);
        if (inputs.history) {
            // Recorded demand has no mean behind it: demandMean stays as cleared, at zero.
            WriteDemandSource(report, inputs.history->name);
            FillActualDemand(*inputs.history, options.block, state);
        } else {
            DrawParameters(state, source);
            WriteParameterLines(state, report, locale);
            GenerateDemand(state, source);
        }
        AdjustDemandForSeason(state, options.season);
        WriteSeasonLine(state, report);
        clock.Lap(RunPhase::demand);
        WriteActualDemandMatrix(state, report, locale);
        clock.Lap(RunPhase::report);
        observer.ReportProgress(5);
        StopIfAsked(observer);
        EstimateInitialMeanAndDeviation(state);
        ClearOutcomeSums(state);
        EstimateInitialConstants(state, observer);
        observer.ReportProgress(10);
        StopIfAsked(observer);
        const ForecastProgress progress = [&](double shareDone) {
            observer.ReportProgress(10 + static_cast<int>(85.0 * shareDone));
            StopIfAsked(observer);
        };
        if (options.estimation == EstimationPath::plain) {
            RollingForecast(state, observer, progress);
        } else {
            RollingForecastInLanes(state, observer, progress, lanes);
        }
        clock.Lap(RunPhase::estimation);
        ForecastsAsKnown(state, lanes);
        clock.Lap(RunPhase::results);
        ComputeDeliveriesAndSales(state);
        clock.Lap(RunPhase::outcome);
        WriteRemainingSections(state, report, locale);
        report.Close();
        clock.Lap(RunPhase::report);
    } catch (...) {
        // The previous report stays; the first fault is the one to report.
        reportNote = report.KeepIncomplete();
        throw;
    }
    observer.ReportProgress(100);
}

}  // namespace

RunOutcome ExecuteRun(RunState& state, UniformSource& source, const RunInputs& inputs,
                      const NumberLocale& locale, const std::filesystem::path& reportPath,
                      RunObserver& observer, const RunOptions& options) {
    std::string reportNote;
    bool reportNotCreated = false;
    const UniformSource atStart = source;
    try {
        RunPhases(state, source, inputs, locale, reportPath, observer, options, reportNote,
                  reportNotCreated);
    } catch (...) {
        RunOutcome outcome = OutcomeOfFault(std::current_exception());
        outcome.message = WithReportNote(std::move(outcome.message), reportNote);
        outcome.reportNotCreated = reportNotCreated;
        return outcome;
    }
    observer.ShowClosingMessage(kClosingMessage);
    PhaseClock clock(options.measures);
    RunOutcome outcome{true, std::string(kClosingMessage), AssessRunHealth(state)};
    clock.Lap(RunPhase::results);
    outcome.sourceAtStart = atStart;
    return outcome;
}

int PeriodsToHold(const RunInputs& inputs) {
    return inputs.history ? std::max(inputs.history->periods, kMaxPeriods) : kMaxPeriods;
}

RunOutcome OutcomeOfFault(std::exception_ptr fault) {
    try {
        std::rethrow_exception(fault);
    } catch (const InputError& error) {
        return {false, error.what(), {}, error.box};
    } catch (const RunError& error) {
        return {false, error.what(), {}};
    } catch (const std::bad_alloc&) {
        return {false, "The run stopped: not enough memory.", {}};
    } catch (const std::system_error& error) {
        // Typically a thread that the system would not start.
        return {false,
                std::string("The run stopped: the system could not give it what it needed (") +
                    error.what() + ").",
                {}};
    } catch (const std::exception& error) {
        return {false, std::string("The run stopped on an internal fault: ") + error.what(), {}};
    } catch (...) {
        return {false, "The run stopped on an internal fault of unknown kind.", {}};
    }
}

}  // namespace sf
