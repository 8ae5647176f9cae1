#pragma once

#include <filesystem>
#include <functional>

namespace sf {

// The calls that create a file without a name, make a written file last and put it in place.
// The file layer makes them here only, so that a test can see their order or make one fail.
enum class FileCall { createUnnamed, sync, rename, exchange, link };

// Sees each call before it is made, with the path it is about (for createUnnamed: the folder;
// for sync: the file or folder it makes last; for the others: where the file goes). 0 lets the
// call go ahead; an errno value fails it with that error instead.
using FileCallWatcher = std::function<int(FileCall call, const std::filesystem::path& target)>;

// For tests: every later call goes past the watcher; an empty one ends the watching.
void WatchFileCalls(FileCallWatcher watcher);

// A file without a name in the folder (O_TMPFILE), open for writing: its descriptor, or -1 with
// errno set.
int CreateUnnamedFile(const std::filesystem::path& folder, unsigned int mode);

// Each returns 0 or the errno value of its failure.
int SyncFile(int descriptor, const std::filesystem::path& target);
int RenameFile(const std::filesystem::path& from, const std::filesystem::path& to);
// A rename that fails with EEXIST where `to` exists, even as an empty folder.
int RenameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to);
// Swaps two entries of the file system at once (Linux renameat2 with RENAME_EXCHANGE).
int ExchangeEntries(const std::filesystem::path& from, const std::filesystem::path& to);
// Gives an open file without a name (O_TMPFILE) the name `to`, which must not exist.
int LinkUnnamedFile(int descriptor, const std::filesystem::path& to);

}  // namespace sf
