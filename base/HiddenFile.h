// Hidden files a safe write makes beside the file it writes, and the removal
// of those a killed process left behind.
#pragma once

#include <filesystem>
#include <string>

#include "SafeWrite.h"

namespace lumo {

// A new empty file under a hidden name in `directory` that no other writer in
// this or another process picks at the same time: ".lumo-BOOT-PID-N.tmp", with
// this boot's id and this process's id. The errno when none can be made.
struct HiddenFile {
  std::filesystem::path path;
  int fd = -1;
  int errnum = 0;
};
[[nodiscard]] HiddenFile CreateHiddenFile(const std::filesystem::path& directory,
                                          const FileSystemCalls& calls);

// Removes, from `directory`, the hidden files of this user that are surely
// stale: older than an hour, and made on another boot or by a process that no
// longer exists on this one. Nothing is removed when this boot's id is
// unknown, as a process id alone can mislead (a network share's other users).
void RemoveStaleHiddenFiles(const std::filesystem::path& directory);

// This boot's id as hidden names carry it (eight hex digits), empty when the
// system does not tell it.
[[nodiscard]] const std::string& BootId();

}  // namespace lumo
