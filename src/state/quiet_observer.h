#pragma once

#include <string_view>

#include "state/run_observer.h"

namespace sf {

// A front end that shows nothing, acknowledges every notice at once and never asks the run to
// stop: for the batch command to build on, and for tests, benchmarks and fuzz targets.
class QuietObserver : public RunObserver {
  public:
    void ReportProgress(int) override {}
    void ShowNotice(std::string_view) override {}
    void ShowClosingMessage(std::string_view) override {}
    bool StopRequested() const override { return false; }
};

}  // namespace sf
