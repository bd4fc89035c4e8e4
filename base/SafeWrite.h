// Writing a whole file so that no one ever sees it half written: a file under
// a chosen name, replaced only once the new one is complete and on disk, and
// the numbered series of label files (lumo000.bmp, lumo001.png, ...), which
// never replaces anything.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "Result.h"

namespace lumo {

// The calls a safe write makes on the file system, so that a test can make
// any one of them fail the way some file system does.
struct FileSystemCalls {
  int (*open)(const char* path, int flags, mode_t mode);
  int (*linkat)(int fromDir, const char* from, int toDir, const char* to, int flags);
  int (*renameat2)(int fromDir, const char* from, int toDir, const char* to, unsigned flags);
  int (*rename)(const char* from, const char* to);
  int (*fsync)(int fd);
  int (*close)(int fd);
  int (*unlink)(const char* path);
};
[[nodiscard]] const FileSystemCalls& SystemFileCalls() noexcept;

// Writes a file's bytes to the descriptor it is given.
using FileWriter = std::function<Result<void>(int fd)>;

// The series has a thousand names per extension: lumo000.EXT ... lumo999.EXT.
inline constexpr int kLabelFileCount = 1000;

// "lumoNNN.<extension>" for 0 <= number < kLabelFileCount.
[[nodiscard]] std::string NumberedFileName(int number, std::string_view extension);

// Writes the file, then gives it the first free name of the series in
// `directory` (empty: the current directory) and returns its path. A name that
// exists in any form (file, folder, dangling link, unreadable) is left alone,
// and until the file is complete it has no name in the series: it is made
// without a name (O_TMPFILE) or, where the file system cannot do that, under
// a hidden one, so a failed write or a crash leaves no partial file there.
// A full series writes nothing. Hidden files that killed writers left in the
// folder long ago are removed on the way.
[[nodiscard]] Result<std::filesystem::path> WriteNumberedFile(
    const std::filesystem::path& directory, std::string_view extension, const FileWriter& writer,
    const FileSystemCalls& calls = SystemFileCalls());

// Replaces the file at `path` with what `writer` writes, through a hidden file
// beside it that is renamed over it only when complete and on disk, so a
// failure leaves the old file whole and nothing else behind. A replaced file
// keeps its permissions; a symbolic link is written through.
[[nodiscard]] Result<void> ReplaceFile(const std::filesystem::path& path, const FileWriter& writer,
                                       const FileSystemCalls& calls = SystemFileCalls());

}  // namespace lumo
