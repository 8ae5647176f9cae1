#pragma once

#include <string_view>

namespace sf {

// How a run talks to its front end.
class RunObserver {
  public:
    virtual ~RunObserver() = default;

    // How far the run is, 0 to 100.
    virtual void ReportProgress(int percent) = 0;
    // Returns only when the user has acknowledged the notice; the run then goes on.
    virtual void ShowNotice(std::string_view message) = 0;
    virtual void ShowClosingMessage(std::string_view message) = 0;
    // Asked between steps of the run; a stopped run ends like a fault.
    virtual bool StopRequested() const = 0;
};

}  // namespace sf
