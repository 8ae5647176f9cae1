#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "recording_observer.h"
#include "run/run_driver.h"
#include "test_folder.h"

namespace sf {

// A whole run from the typed texts, starting from a small loga scenario to vary.
class RunFixture : public ::testing::Test {
  protected:
    static RunInputs SmallRun() {
        RunInputs inputs;
        inputs.Endpointnumber = "3";
        inputs.Periodnumber = "24";
        inputs.periodsforinitialization = "4";
        inputs.periodsforalphabeta = "6";
        inputs.warmuptx = "0";
        inputs.horizontx = "1";
        inputs.tau_tx = "0.5";
        inputs.p2low = "1";
        inputs.p2up = "3";
        return inputs;
    }

    RunOutcome Run(const RunInputs& inputs, const NumberLocale& locale = NumberLocale{}) {
        return RunTo(inputs, folder.Path("out.txt"), locale);
    }
    RunOutcome RunTo(const RunInputs& inputs, const std::filesystem::path& report,
                     const NumberLocale& locale = NumberLocale{}) {
        return ExecuteRun(*state, source, inputs, locale, report, observer);
    }

    std::unique_ptr<RunState> state = std::make_unique<RunState>();
    UniformSource source;
    RecordingObserver observer;
    TestFolder folder;
};

}  // namespace sf
