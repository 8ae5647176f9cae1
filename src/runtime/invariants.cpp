#include "runtime/invariants.h"

#include <cstdio>
#include <cstdlib>

namespace sf {

void BreakInvariant(const char* what) {
    std::fprintf(stderr, "Internal error: %s\n", what);
    std::abort();
}

void BreakIndexBounds(const char* indexName, int index, int slotCount) {
    std::fprintf(stderr, "Internal error: %s %d is outside 0..%d\n", indexName, index,
                 slotCount - 1);
    std::abort();
}

}  // namespace sf
