// Writing a whole file so that no one ever sees it half written: the numbered
// series of label files (lumo000.bmp, lumo001.png, ...), which never replaces
// anything, and a file under a chosen name, which replaces it whole.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "Result.h"

namespace lumo {

// The series has a thousand names per extension: lumo000.EXT ... lumo999.EXT.
inline constexpr int kLabelFileCount = 1000;

// "lumoNNN.<extension>" for 0 <= number < kLabelFileCount.
[[nodiscard]] std::string NumberedFileName(int number, std::string_view extension);

// Writes a file's bytes to the descriptor; returns 0 or the errno of the failure.
using FileWriter = std::function<int(int fd)>;

// How the file is made before it has its name. Unnamed asks the kernel for a
// file without a name (O_TMPFILE) and uses a hidden name only where the file
// system cannot do that; HiddenName always uses a hidden name.
enum class FileCreation { Unnamed, HiddenName };

// Writes the file, then gives it the first free name of the series in
// `directory` (empty: the current directory) and returns its path. A name that
// exists in any form (file, folder, dangling link, unreadable) is left alone,
// and until the file is complete it has no name in the series, so a failed
// write or a crash leaves no partial file there. A full series writes nothing.
[[nodiscard]] Result<std::filesystem::path> WriteNumberedFile(
    const std::filesystem::path& directory, std::string_view extension, const FileWriter& writer,
    FileCreation creation = FileCreation::Unnamed);

// Writes the file as ReplaceFile does: beside `path`, then renamed over it
// only once complete and on disk. The caller has made sure that replacing is
// wanted.
[[nodiscard]] Result<std::filesystem::path> WriteReplacingFile(const std::filesystem::path& path,
                                                               const FileWriter& writer);

}  // namespace lumo
