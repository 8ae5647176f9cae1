#include "runtime/file_clashes.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "runtime/shown_text.h"
#include "runtime/staged_file.h"

namespace sf {
namespace {

namespace fs = std::filesystem;

struct Seen {
    const UsedPath* used;
    fs::file_status status;
    fs::path resolved;  // absolute: its folder's links and ".." resolved, its own links followed
};

// The entry the system would open for the path, whether it exists or not: "x/../R", "$PWD/R"
// and "L/R" with L a link to "." are all "R" of the current folder, while ".." after a linked
// folder is the parent of the link's target, as the system reads it.
fs::path Resolved(const fs::path& path) {
    std::error_code error;
    const fs::path followed = FollowLinks(fs::absolute(path, error));
    const fs::path name = followed.filename();
    if (name == "." || name == "..") {
        return fs::weakly_canonical(followed, error);
    }
    const fs::path folder = fs::weakly_canonical(followed.parent_path(), error);
    return (error ? followed.parent_path().lexically_normal() : folder) / name;
}

Seen See(const UsedPath& used) {
    std::error_code error;
    return {&used, fs::status(used.path, error), Resolved(used.path)};
}

// The last part of the path is a link that leads round in a circle, or further than the system
// follows: no file can be written there, and replacing the link would lose it.
bool IsLoopOfLinks(const Seen& seen) {
    std::error_code error;
    return fs::is_symlink(fs::symlink_status(seen.resolved, error));
}

// Written into directly, it holds nothing that could be lost.
bool IsStream(const Seen& seen) {
    return fs::exists(seen.status) && !fs::is_regular_file(seen.status) &&
           !fs::is_directory(seen.status);
}

bool SameFile(const Seen& a, const Seen& b) {
    std::error_code error;
    if (fs::exists(a.status) && fs::exists(b.status)) {
        return fs::equivalent(a.used->path, b.used->path, error);
    }
    return a.resolved == b.resolved;
}

// Whether `inner` lies within the folder `outer`.
bool Inside(const fs::path& inner, const fs::path& outer) {
    const auto [end, ignored] = std::ranges::mismatch(outer, inner);
    return end == outer.end() && inner != outer;
}

std::string Named(const Seen& seen) {
    return seen.used->name + " \"" + seen.used->path.string() + "\"";
}

// A path may hold any byte but "/" and NUL, and the window shows the message as it is.
std::string Sentence(std::string text) {
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return ShownEscaped(text);
}

std::optional<std::string> Clash(const Seen& a, const Seen& b) {
    const PathUse first = a.used->use;
    const PathUse second = b.used->use;
    if (first == PathUse::replaced || second == PathUse::replaced) {
        const Seen& folder = first == PathUse::replaced ? a : b;
        const Seen& other = first == PathUse::replaced ? b : a;
        if (SameFile(folder, other) || Inside(other.resolved, folder.resolved)) {
            return Sentence(Named(other) + " lies in " + Named(folder) +
                            ", which an export replaces whole");
        }
        if (Inside(folder.resolved, other.resolved)) {
            return Sentence(Named(folder) + " lies in " + Named(other) +
                            ", which is a file, not a folder");
        }
        return std::nullopt;
    }
    if (first == PathUse::read || IsStream(a) || IsStream(b) || !SameFile(a, b)) {
        return std::nullopt;
    }
    if (second == PathUse::read) {
        return Sentence(Named(a) + " would write over " + Named(b) + ", the same file");
    }
    return Sentence(Named(a) + " and " + Named(b) +
                    " are the same file: one would write over the other");
}

}  // namespace

std::optional<std::string> FindPathClash(std::span<const UsedPath> paths) {
    std::vector<Seen> seen;
    for (const UsedPath& used : paths) {
        if (!used.path.empty()) {
            seen.push_back(See(used));
        }
    }
    for (const Seen& one : seen) {
        if (one.used->use != PathUse::read && IsLoopOfLinks(one)) {
            return Sentence(Named(one) +
                            " is a symbolic link that leads round in a circle (or "
                            "through too many links): no file can be written there");
        }
    }
    for (std::size_t a = 0; a < seen.size(); ++a) {
        for (std::size_t b = 0; b < seen.size(); ++b) {
            if (a == b || (b < a && seen[a].used->use == seen[b].used->use)) {
                continue;  // each pair once; a file written is named first
            }
            if (std::optional<std::string> clash = Clash(seen[a], seen[b])) {
                return clash;
            }
        }
    }
    return std::nullopt;
}

}  // namespace sf
