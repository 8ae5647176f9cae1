#pragma once

#include <stdexcept>
#include <string>

#include "runtime/shown_text.h"

namespace sf {

// Every fault of a run ends in one of these: the run stops, the program does not. The message
// may quote a box or a file, so its control characters are escaped at once: a NUL byte would
// cut what() short, and an escape sequence would act on the terminal that shows it.
class RunError : public std::runtime_error {
  public:
    explicit RunError(const std::string& message) : std::runtime_error(ShownEscaped(message)) {}
};

// A fault of one sales point at one period, named as the user sees them.
[[noreturn]] inline void FailAt(int salesPoint, int period, const std::string& problem) {
    throw RunError("Sales point " + std::to_string(salesPoint) + ", period " +
                   std::to_string(period) + ": " + problem);
}

}  // namespace sf
