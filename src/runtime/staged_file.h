#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace sf {

// A file written in full before it takes the place of a path, so that a reader never sees it
// half-written and a crash never leaves the old file empty. It has no name while it is written
// where the system allows (O_TMPFILE), so that nothing is left behind by a process that is
// killed; elsewhere a temporary name that a later run recognises as stale. A symbolic link is
// written through: the file it names is replaced, and keeps its permissions and, where the
// system lets us, its owner; links that lead round in a circle are refused (ELOOP). A device or a
// pipe holds nothing to replace and is written directly. Every call returns 0 or the errno value of
// its failure.
class StagedFile {
  public:
    StagedFile() = default;
    ~StagedFile() { Discard(); }
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    int Open(const std::filesystem::path& path);
    int Write(std::string_view bytes);
    // On the disk, before it replaces anything (nothing to do for a device or a pipe).
    int Sync();
    // Puts the file in place of the path it was opened for and closes it.
    int PutInPlace() { return Place(target_); }
    // Puts the file under another name beside the target instead, replacing a file there.
    int KeepAs(const std::filesystem::path& other) { return Place(other); }
    // Closes the file; one never put in place is gone.
    void Discard();

    bool IsOpen() const { return descriptor_ >= 0; }
    bool IsDirect() const { return direct_; }
    // Whether a file stood at the target when it was opened.
    bool Replaces() const { return replaces_; }
    // The file it replaces: the path opened, its symbolic links followed.
    const std::filesystem::path& Target() const { return target_; }
    // What the file holds: what the disk took of the bytes written.
    std::uintmax_t Size() const;

  private:
    int OpenDirect(const std::filesystem::path& path);
    int Place(const std::filesystem::path& to);

    int descriptor_ = -1;
    std::filesystem::path target_;
    std::filesystem::path named_;  // the temporary name, where the file has one
    bool direct_ = false;
    bool replaces_ = false;
};

// The folder an entry stands in: "." for a bare name.
std::filesystem::path FolderOf(const std::filesystem::path& path);

// Makes the entries of a folder last, once a file has been renamed into it.
void SyncFolder(const std::filesystem::path& folder);

// The path with the symbolic links of its last part followed, to a file that need not exist;
// without a trailing separator.
std::filesystem::path FollowLinks(std::filesystem::path path);

// A new file takes the owner (where allowed) and permissions of the one it replaces.
void TakeOwnerAndMode(int descriptor, const std::filesystem::path& replaced);

// Writes every byte, again where a signal interrupted the write; 0 or the errno value.
int WriteAll(int descriptor, std::string_view bytes);

}  // namespace sf
