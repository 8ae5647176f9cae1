#pragma once

#include <filesystem>
#include <span>
#include <string_view>

namespace sf {

struct FileContent {
    std::filesystem::path path;
    std::string_view content;
};

// Writes each file to a temporary file beside it and renames them over their destinations
// only once every one is complete, so an existing file is replaced only by a complete one and a
// failure leaves the destinations as they were. Throws a RunError naming the file that failed
// as "The <kind> \"<path>\" ..." (kind: "export file", "scenario file").
void ReplaceFiles(std::span<const FileContent> files, std::string_view kind);

}  // namespace sf
