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
// inside a path); before any pair, a path to write that is a loop of symbolic links. Files are
// compared as the system sees them: as one file where both exist (links included), else by
// the folder they would stand in, its links and ".." resolved, and their name, the name's own
// links followed. A device or a pipe is written directly and replaces nothing. The reason,
// naming the paths (escaped as ShownEscaped does), or nothing when no pair clashes.
std::optional<std::string> FindPathClash(std::span<const UsedPath> paths);

}  // namespace sf
