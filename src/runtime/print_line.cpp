#include "runtime/print_line.h"

namespace sf {

namespace {
constexpr std::size_t kZoneWidth = 14;
}

void PrintLine::AdvanceToNextZone() {
    // The print position is the column of the next character; the next zone starts at the
    // smallest column 14k + 1 beyond it, and the line then holds that column minus one.
    const std::size_t position = text_.size() + 1;
    const std::size_t nextZoneStart = ((position - 1) / kZoneWidth + 1) * kZoneWidth + 1;
    text_.append(nextZoneStart - 1 - text_.size(), ' ');
}

}  // namespace sf
