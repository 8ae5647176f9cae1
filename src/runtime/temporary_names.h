#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace sf {

// A name for a temporary file or folder beside what it will replace: short, so that it fits
// beside a file name of any length the system allows, and carrying this machine and process,
// so that a later run can tell an entry left by a process that ended from one still in use.
std::string TemporaryName();

// Removes the files of these names from a temporary folder, then the folder if nothing else is
// left in it.
void RemoveTemporaryFolder(const std::filesystem::path& folder,
                           std::span<const std::string_view> names);

// Removes from a folder the temporary entries that processes of this machine left when they
// ended: files, and folders as RemoveTemporaryFolder does with folderFiles. Those of a run still
// going on, here or on another machine sharing the folder, stay.
void RemoveStaleTemporaries(const std::filesystem::path& folder,
                            std::span<const std::string_view> folderFiles = {});

}  // namespace sf
