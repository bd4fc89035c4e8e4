// Files that appear under their name only when complete: written without a
// name (or under a hidden one) first, then linked or renamed into place.
#include "FileWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "FileDescriptor.h"
#include "Io.h"
#include "ReplaceFile.h"

namespace lumo {
namespace {

namespace fs = std::filesystem;

std::string Describe(int error) { return std::strerror(error); }

fs::path OrCurrent(const fs::path& directory) {
  return directory.empty() ? fs::path(".") : directory;
}

// Runs the writer and closes the file; 0 or the first errno. A write error
// that surfaces only at close counts as much as one from the writer.
int WriteAndClose(FileDescriptor& file, const FileWriter& writer) {
  int error = writer(file.get());
  const int closeError = file.Close();
  return error != 0 ? error : closeError;
}

// A name no other writer in this or another process picks at the same time;
// O_EXCL settles the rare clash. The leading dot keeps it out of listings.
fs::path HiddenNameIn(const fs::path& directory) {
  static std::atomic<unsigned> counter{0};
  char name[64];
  std::snprintf(name, sizeof name, ".lumo-%ld-%u.tmp", static_cast<long>(::getpid()),
                counter.fetch_add(1));
  return directory / name;
}

// A new empty file under a hidden name in `directory`, or the errno.
struct HiddenFile {
  fs::path path;
  int fd = -1;
};
HiddenFile CreateHidden(const fs::path& directory) {
  for (;;) {
    fs::path path = HiddenNameIn(directory);
    const int fd = RetryOnEintr([&] {
      return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    });
    if (fd >= 0 || errno != EEXIST) return {std::move(path), fd};
  }
}

// The first number whose name does not exist in any form; a dangling link is
// seen as itself, never followed.
std::optional<int> FirstFreeNumber(const fs::path& directory, std::string_view extension) {
  for (int number = 0; number < kLabelFileCount; ++number) {
    struct stat info {};
    const fs::path path = directory / NumberedFileName(number, extension);
    if (::fstatat(AT_FDCWD, path.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT) {
      return number;
    }
  }
  return std::nullopt;
}

Error FullSeries(const fs::path& directory, std::string_view extension) {
  return Error{"all names from " + NumberedFileName(0, extension) + " to " +
                   NumberedFileName(kLabelFileCount - 1, extension) + " are taken in " +
                   directory.string(),
               EEXIST};
}

// Gives the complete file `source` (a path link() accepts) the first free
// name from `first` on. link() never replaces a name: EEXIST means taken.
Result<fs::path> LinkIntoSeries(const char* source, int follow, const fs::path& directory,
                                std::string_view extension, int first) {
  for (int number = first; number < kLabelFileCount; ++number) {
    fs::path path = directory / NumberedFileName(number, extension);
    if (::linkat(AT_FDCWD, source, AT_FDCWD, path.c_str(), follow) == 0) return path;
    if (errno != EEXIST) {
      return Error{"cannot create " + path.string() + ": " + Describe(errno), errno};
    }
  }
  return FullSeries(directory, extension);
}

Error WriteFailed(const fs::path& path, int error) {
  return Error{"cannot write " + path.string() + ": " + Describe(error) +
                   " (the incomplete file was removed)",
               error};
}

}  // namespace

std::string NumberedFileName(int number, std::string_view extension) {
  char name[16];
  std::snprintf(name, sizeof name, "lumo%03d.", number);
  return name + std::string(extension);
}

Result<fs::path> WriteNumberedFile(const fs::path& requestedDirectory, std::string_view extension,
                                   const FileWriter& writer, FileCreation creation) {
  const fs::path directory = OrCurrent(requestedDirectory);
  // Looked for before writing, so that a full series costs no write and a
  // failed write can say which file it was going to be.
  const std::optional<int> first = FirstFreeNumber(directory, extension);
  if (!first) return FullSeries(directory, extension);
  const fs::path intended = directory / NumberedFileName(*first, extension);

  if (creation == FileCreation::Unnamed) {
    FileDescriptor file(RetryOnEintr(
        [&] { return ::open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666); }));
    if (file.get() >= 0) {
      // The file has no name yet: closed without one, it is gone.
      const std::string source = "/proc/self/fd/" + std::to_string(file.get());
      int error = writer(file.get());
      if (error != 0) return WriteFailed(intended, error);
      Result<fs::path> named =
          LinkIntoSeries(source.c_str(), AT_SYMLINK_FOLLOW, directory, extension, *first);
      if (!named) return named;
      error = file.Close();
      if (error != 0) {
        // Late write errors only surface at close, after the name is given.
        ::unlink(named->c_str());
        return WriteFailed(*named, error);
      }
      return named;
    }
    // Only a file system without unnamed files goes on to a hidden name.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
      return Error{"cannot create a file in " + directory.string() + ": " + Describe(errno), errno};
    }
  }

  HiddenFile hidden = CreateHidden(directory);
  if (hidden.fd < 0) {
    return Error{"cannot create a file in " + directory.string() + ": " + Describe(errno), errno};
  }
  FileDescriptor file(hidden.fd);
  const int error = WriteAndClose(file, writer);
  Result<fs::path> named =
      error != 0 ? Result<fs::path>(WriteFailed(intended, error))
                 : LinkIntoSeries(hidden.path.c_str(), 0, directory, extension, *first);
  // Linked or not, the hidden name goes; a linked file keeps its numbered name.
  ::unlink(hidden.path.c_str());
  return named;
}

Result<fs::path> WriteReplacingFile(const fs::path& path, const FileWriter& writer) {
  const int error = ReplaceFile(path, writer);
  if (error == 0) return path;
  return Error{"cannot write " + path.string() + ": " + Describe(error) + " (nothing was changed)",
               error};
}

}  // namespace lumo
