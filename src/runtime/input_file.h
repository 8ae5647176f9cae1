#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace sf {

// Whether the process's own standard input (/dev/stdin) may stand for a file.
enum class StandardInput { refused, accepted };

// The bytes of a file the user gave. It is opened without waiting, so that a pipe (FIFO) with
// no writer cannot hold the program, and what is not a regular file is refused; the standard
// input, where accepted, is read to its end like a file. Empty when the file holds more than
// `limit` bytes. Throws a RunError whose message completes "The <kind> "<path>" ": "could not be
// read: ...", "is a folder, not a file" and so on. `onRead`, where given, sees the bytes after
// each read and where the new ones begin; what it throws ends the reading.
std::optional<std::string> ReadInputFile(
    const std::filesystem::path& path, std::size_t limit, StandardInput standardInput,
    const std::function<void(std::string_view read, std::size_t fresh)>& onRead = {});

}  // namespace sf
