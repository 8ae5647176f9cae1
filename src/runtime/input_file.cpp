#include "runtime/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "runtime/run_error.h"

namespace sf {
namespace {

class Descriptor {
  public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor() {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return descriptor_; }

  private:
    int descriptor_;
};

[[noreturn]] void CouldNotRead(int error) {
    throw RunError(std::string("could not be read: ") + std::strerror(error));
}

bool IsStandardInput(const struct stat& file) {
    struct stat input {};
    return ::fstat(STDIN_FILENO, &input) == 0 && input.st_dev == file.st_dev &&
           input.st_ino == file.st_ino;
}

std::string WhatItIs(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "is a folder, not a file";
    }
    if (S_ISFIFO(mode)) {
        return "is a pipe (FIFO), not a file";
    }
    if (S_ISSOCK(mode)) {
        return "is a socket, not a file";
    }
    return "is a device, not a file";
}

}  // namespace

std::optional<std::string> ReadInputFile(
    const std::filesystem::path& path, std::size_t limit, StandardInput standardInput,
    const std::function<void(std::string_view read, std::size_t fresh)>& onRead) {
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (file.get() < 0 || ::fstat(file.get(), &status) != 0) {
        CouldNotRead(errno);
    }
    if (!S_ISREG(status.st_mode)) {
        if (standardInput == StandardInput::refused || !IsStandardInput(status)) {
            throw RunError(WhatItIs(status.st_mode));
        }
        // The user sends it on purpose: it is waited for like any stream.
        ::fcntl(file.get(), F_SETFL, ::fcntl(file.get(), F_GETFL) & ~O_NONBLOCK);
    } else if (static_cast<std::uintmax_t>(status.st_size) > limit) {
        return std::nullopt;  // refused unread
    }
    std::string bytes;
    bytes.reserve(S_ISREG(status.st_mode) ? static_cast<std::size_t>(status.st_size) : 0);
    // The size is checked again while reading, for a file that grows or a stream.
    char piece[1 << 16];
    while (bytes.size() <= limit) {
        const ssize_t got = ::read(file.get(), piece, sizeof piece);
        if (got == 0) {
            return bytes;
        }
        if (got < 0) {
            // A stop signal interrupts a wait for the standard input: the reading ends.
            CouldNotRead(errno);
        }
        bytes.append(piece, static_cast<std::size_t>(got));
        if (onRead) {
            onRead(bytes, bytes.size() - static_cast<std::size_t>(got));
        }
    }
    return std::nullopt;
}

}  // namespace sf
