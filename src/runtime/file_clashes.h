#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace sf {

// How a run uses a path the user gave.
enum class PathUse {
    read,      // a sales history or a scenario: never written
    written,   // a report or a scenario to save: replaced
    replaced,  // an export folder: replaced whole, with all it holds
};

struct UsedPath {
    std::string name;            // as the user knows it: "--output", "the report"
    std::filesystem::path path;  // none when not given
    PathUse use;
};

// The first pair of paths of which one would be written over the other: a file written that is
// a file read or another file written, or a path inside a folder replaced (or a folder replaced
// inside a path). Files are compared as the system sees them: as one file where both exist
// (links included), by the path with its links resolved otherwise. A device or a pipe is written
// directly and replaces nothing. The reason, naming both, or nothing when no pair clashes.
std::optional<std::string> FindPathClash(std::span<const UsedPath> paths);

}  // namespace sf
