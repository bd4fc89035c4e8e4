// Hidden file names that say who made them, so that what a killed writer left
// can be told apart from what a live one is still writing.
#include "HiddenFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <memory>

#include "FileDescriptor.h"
#include "Io.h"

namespace lumo {
namespace {

namespace fs = std::filesystem;

// A leftover younger than this may still be being written.
constexpr std::time_t kStaleAfterSeconds = 60 * 60;

struct DirCloser {
  void operator()(DIR* dir) const noexcept { closedir(dir); }
};

// The boot and process a hidden name was made by, when it is one of ours.
struct HiddenName {
  std::string boot;
  long pid = 0;
};
bool ParseHiddenName(const char* name, HiddenName& parsed) {
  char boot[9] = {};
  long pid = 0;
  unsigned number = 0;
  int end = 0;
  if (std::sscanf(name, ".lumo-%8[0-9a-f]-%ld-%u.tmp%n", boot, &pid, &number, &end) != 3 ||
      name[end] != '\0' || pid <= 0) {
    return false;
  }
  parsed = {boot, pid};
  return true;
}

}  // namespace

const std::string& BootId() {
  static const std::string id = [] {
    char text[64] = {};
    const FileDescriptor file(::open("/proc/sys/kernel/random/boot_id", O_RDONLY | O_CLOEXEC));
    if (file.get() < 0 || ReadFully(file.get(), text) < 8) return std::string();
    std::string hex;
    for (const char c : std::string_view(text)) {
      if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')) hex += c;
      if (hex.size() == 8) break;
    }
    return hex.size() == 8 ? hex : std::string();
  }();
  return id;
}

HiddenFile CreateHiddenFile(const fs::path& directory, const FileSystemCalls& calls) {
  static std::atomic<unsigned> counter{0};
  // Without a boot id, a name that cannot be read as anyone's is never removed.
  const std::string boot = BootId().empty() ? "unknown" : BootId();
  for (;;) {
    char name[96];
    std::snprintf(name, sizeof name, ".lumo-%s-%ld-%u.tmp", boot.c_str(),
                  static_cast<long>(::getpid()), counter.fetch_add(1));
    fs::path path = directory / name;
    // 0666 less the umask, as for any new file.
    const int fd = RetryOnEintr([&] {
      return calls.open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    });
    if (fd >= 0) return {std::move(path), fd, 0};
    if (errno != EEXIST) return {{}, -1, errno};
  }
}

void RemoveStaleHiddenFiles(const fs::path& directory) {
  const std::string& boot = BootId();
  if (boot.empty()) return;
  const std::unique_ptr<DIR, DirCloser> dir(::opendir(directory.c_str()));
  if (!dir) return;
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(dir.get())) {
    HiddenName made;
    struct stat info {};
    if (!ParseHiddenName(entry->d_name, made) ||
        ::fstatat(dirfd(dir.get()), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode) || info.st_uid != ::geteuid() ||
        now - info.st_mtime < kStaleAfterSeconds) {
      continue;
    }
    const bool writerGone =
        made.boot != boot || (::kill(static_cast<pid_t>(made.pid), 0) != 0 && errno == ESRCH);
    if (writerGone) ::unlinkat(dirfd(dir.get()), entry->d_name, 0);
  }
}

}  // namespace lumo
