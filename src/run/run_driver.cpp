#include "run/run_driver.h"

#include <exception>
#include <new>

#include "demand/demand_generation.h"
#include "estimation/initial_estimation.h"
#include "estimation/rolling_forecast.h"
#include "estimation/rolling_forecast_lanes.h"
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

void RunPhases(RunState& state, UniformSource& source, const RunInputs& inputs,
               const NumberLocale& locale, const std::filesystem::path& reportPath,
               RunObserver& observer, const RunOptions& options) {
    state.Clear();
    ConvertInputs(inputs, locale, state);
    state.boundedConstants = options.boundedConstants;
    ReportFile report(reportPath);
    try {
        WriteParameterHeading(report);
        if (inputs.history) {
            // Recorded demand has no mean behind it: demandMean stays as cleared, at zero.
            WriteDemandSource(report, inputs.history->name);
            FillActualDemand(*inputs.history, state);
        } else {
            GenerateDemand(state, source, report, locale);
        }
        WriteActualDemandMatrix(state, report, locale);
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
            RollingForecastInLanes(state, observer, progress, options.lanes);
        }
        ComputeDeliveriesAndSales(state);
        WriteRemainingSections(state, report, locale);
        report.Close();
    } catch (...) {
        // Keep the lines written so far; the first fault is the one to report.
        try {
            report.Close();
        } catch (const RunError&) {
        }
        throw;
    }
    observer.ReportProgress(100);
}

}  // namespace

RunOutcome ExecuteRun(RunState& state, UniformSource& source, const RunInputs& inputs,
                      const NumberLocale& locale, const std::filesystem::path& reportPath,
                      RunObserver& observer, const RunOptions& options) {
    try {
        RunPhases(state, source, inputs, locale, reportPath, observer, options);
    } catch (const RunError& error) {
        return {false, error.what(), {}};
    } catch (const std::bad_alloc&) {
        return {false, "The run stopped: not enough memory.", {}};
    }
    observer.ShowClosingMessage(kClosingMessage);
    return {true, std::string(kClosingMessage), AssessRunHealth(state)};
}

}  // namespace sf
