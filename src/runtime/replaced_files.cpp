#include "runtime/replaced_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "runtime/run_error.h"

namespace sf {
namespace {

[[noreturn]] void Fail(std::string_view kind, const std::filesystem::path& path,
                       const std::string& what, int error) {
    std::string message = "The " + std::string(kind) + " \"" + path.string() + "\" " + what;
    if (error != 0) {
        message += std::string(": ") + std::strerror(error);
    }
    throw RunError(message);
}

// The temporary files written so far, removed unless they were renamed into place.
class StagedFiles {
  public:
    explicit StagedFiles(std::string_view kind) : kind_(kind) {}
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;
    ~StagedFiles() {
        for (const std::filesystem::path& staged : staged_) {
            std::error_code ignored;
            std::filesystem::remove(staged, ignored);
        }
    }

    void Stage(const FileContent& file) {
        std::FILE* stream = nullptr;
        std::filesystem::path staged;
        std::random_device random;
        // A name of its own, so that runs writing into one folder at once do not meet.
        for (int attempt = 0; stream == nullptr && attempt < 16; ++attempt) {
            staged = file.path;
            staged.replace_filename("." + file.path.filename().string() + ".part-" +
                                    std::to_string(random()));
            errno = 0;
            stream = std::fopen(staged.c_str(), "wbx");
            if (stream == nullptr && errno != EEXIST) {
                break;
            }
        }
        if (stream == nullptr) {
            Fail(kind_, file.path, "could not be created", errno);
        }
        staged_.push_back(staged);
        errno = 0;
        const bool written = std::fwrite(file.content.data(), 1, file.content.size(), stream) ==
                                 file.content.size() &&
                             std::fflush(stream) == 0;
        const int writeError = errno;
        const bool closed = std::fclose(stream) == 0;
        if (!written || !closed) {
            Fail(kind_, file.path, "could not be written", written ? errno : writeError);
        }
    }

    // Renames every staged file over its destination, in the order staged.
    void Commit(std::span<const FileContent> files) {
        for (std::size_t at = 0; at < files.size(); ++at) {
            std::error_code error;
            std::filesystem::rename(staged_[at], files[at].path, error);
            if (error) {
                Fail(kind_, files[at].path, "could not be replaced", error.value());
            }
        }
        staged_.clear();
    }

  private:
    std::string_view kind_;
    std::vector<std::filesystem::path> staged_;
};

}  // namespace

void ReplaceFiles(std::span<const FileContent> files, std::string_view kind) {
    // Of several files, a folder in one's place is refused before any is replaced; the rename
    // would refuse it only after some.
    for (const FileContent& file : files) {
        std::error_code error;
        if (files.size() > 1 && std::filesystem::is_directory(file.path, error)) {
            Fail(kind, file.path, "could not be written: a folder has its name", 0);
        }
    }
    StagedFiles staged(kind);
    for (const FileContent& file : files) {
        staged.Stage(file);
    }
    staged.Commit(files);
}

}  // namespace sf
