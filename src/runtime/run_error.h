#pragma once

#include <stdexcept>
#include <string>

namespace sf {

// Every fault of a run ends in one of these: the run stops, the program does not.
class RunError : public std::runtime_error {
  public:
    explicit RunError(const std::string& message) : std::runtime_error(message) {}
};

// A fault of one sales point at one period, named as the user sees them.
[[noreturn]] inline void FailAt(int salesPoint, int period, const std::string& problem) {
    throw RunError("Sales point " + std::to_string(salesPoint) + ", period " +
                   std::to_string(period) + ": " + problem);
}

}  // namespace sf
