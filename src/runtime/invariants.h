#pragma once

namespace sf {

// Checks of the program's own invariants, as opposed to RunError for faults of the input or the
// surroundings. Index checks cost time in the hottest loops, so they are on only where CMake
// defines SF_CHECKED_INDEXING: Debug and sanitizer builds.
#ifdef SF_CHECKED_INDEXING
inline constexpr bool kIndexChecksOn = true;
#else
inline constexpr bool kIndexChecksOn = false;
#endif

// Says on stderr which invariant broke and aborts: a bug, never a user's mistake.
[[noreturn]] void BreakInvariant(const char* what);
[[noreturn]] void BreakIndexBounds(const char* indexName, int index, int slotCount);

// Ends a switch that names every enumerator of its enum, with no default: -Werror=switch then
// fails the build where a case is missing, and only a value outside the enum comes here.
#define SF_UNREACHABLE(what) ::sf::BreakInvariant(what)

// index must lie in 0..slotCount - 1, where the checks are on.
inline void CheckIndex(const char* indexName, int index, int slotCount) {
    if constexpr (kIndexChecksOn) {
        if (index < 0 || index >= slotCount) {
            BreakIndexBounds(indexName, index, slotCount);
        }
    }
}

}  // namespace sf
