#pragma once

#include <string>
#include <vector>

#include "state/run_observer.h"

// Records what a run tells its front end; can ask the run to stop after some progress reports.
class RecordingObserver : public sf::RunObserver {
  public:
    void ReportProgress(int percent) override { progress.push_back(percent); }
    void ShowNotice(std::string_view message) override { notices.emplace_back(message); }
    void ShowClosingMessage(std::string_view message) override { closing.emplace_back(message); }
    bool StopRequested() const override {
        return stopAfterReports >= 0 && static_cast<int>(progress.size()) >= stopAfterReports;
    }

    std::vector<int> progress;
    std::vector<std::string> notices;
    std::vector<std::string> closing;
    int stopAfterReports = -1;
};
