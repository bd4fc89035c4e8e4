// Reads a folder with readdir and statx and turns its entries into the
// listing text that a dropped folder puts on the label.
#include "FolderListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <memory>
#include <numeric>
#include <system_error>
#include <utility>

#include "FileStart.h"
#include "FolderListingOrder.h"

namespace lumo {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const noexcept { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

// Linux names may hold control characters, line breaks among them; on the
// label those would start new rings in the middle of an entry's line.
LabelText ListingName(const char* utf8Name) {
  LabelText name = LabelTextFromUtf8(utf8Name);
  // Safe byte by byte: no code page 932 trail byte is below 0x40 or 0x7F.
  for (char& c : name.bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = '?';
  }
  return name;
}

EntryTime FromStatx(const struct statx_timestamp& stamp) { return {stamp.tv_sec, stamp.tv_nsec}; }

// Formats local times as "YYYY/MM/DD HH:MM:SS". Entries made together share
// their second, so the last one formatted is kept.
class LocalTimeFormatter {
 public:
  // localtime_r reads TZ only once per process unless told to look again.
  LocalTimeFormatter() { tzset(); }

  [[nodiscard]] std::string_view Format(std::int64_t seconds) {
    if (length_ == 0 || seconds != seconds_) {
      seconds_ = seconds;
      const auto time = static_cast<std::time_t>(seconds);
      std::tm local{};
      int written = -1;
      if (localtime_r(&time, &local) != nullptr) {
        // Integer conversions of snprintf do not depend on the locale.
        written = std::snprintf(text_, sizeof text_, "%04lld/%02d/%02d %02d:%02d:%02d",
                                static_cast<long long>(local.tm_year) + 1900, local.tm_mon + 1,
                                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
      }
      if (written <= 0 || static_cast<std::size_t>(written) >= sizeof text_) {
        // Beyond what the calendar can express.
        written = std::snprintf(text_, sizeof text_, "%s", "----/--/-- --:--:--");
      }
      length_ = static_cast<std::size_t>(written);
    }
    return {text_, length_};
  }

 private:
  std::int64_t seconds_ = 0;
  char text_[48] = {};
  std::size_t length_ = 0;
};

void AppendLine(LabelText& listing, const FolderEntry& entry, LocalTimeFormatter& times) {
  listing.Append(entry.name);
  std::string& out = listing.bytes;
  if (entry.isFolder) {
    out += "         ";
  } else {
    // to_chars formats like printf "%.2f" in the C locale: never a decimal comma.
    char size[40] = {' '};
    const auto result =
        std::to_chars(size + 1, size + sizeof size, static_cast<double>(entry.size) * 1e-6,
                      std::chars_format::fixed, 2);
    if (result.ec == std::errc{}) out.append(size, result.ptr);
    out += " MB";
  }
  out += ' ';
  out += times.Format(entry.created.seconds);
  out += "\r\n";
}

}  // namespace

EntryTime CreationTime(std::optional<EntryTime> birth, EntryTime modified) noexcept {
  const EntryTime chosen = birth && *birth != EntryTime{} ? *birth : modified;
  return {chosen.seconds, chosen.nanoseconds / 100 * 100};
}

Result<std::vector<FolderEntry>> ReadFolderEntries(const std::string& folder) {
  const DirHandle dir(opendir(folder.c_str()));
  if (!dir) {
    return ReadFailure(folder, errno, ErrorReason::Unlistable);
  }
  std::vector<FolderEntry> entries;
  const int dirFd = dirfd(dir.get());
  // One pass: whatever the folder does meanwhile, only what was read is listed.
  // A read error ends the pass like the end of the folder does.
  while (const dirent* found = readdir(dir.get())) {
    struct statx info {};
    if (statx(dirFd, found->d_name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT,
              STATX_TYPE | STATX_SIZE | STATX_MTIME | STATX_BTIME, &info) != 0) {
      continue;  // gone since readdir, or not examinable: there is no size or time to show
    }
    FolderEntry entry;
    entry.name = ListingName(found->d_name);
    entry.size = (info.stx_mask & STATX_SIZE) != 0 ? info.stx_size : 0;
    entry.created =
        CreationTime((info.stx_mask & STATX_BTIME) != 0 ? std::optional(FromStatx(info.stx_btime))
                                                        : std::nullopt,
                     FromStatx(info.stx_mtime));
    entry.isFolder =
        (info.stx_mask & STATX_TYPE) != 0 ? S_ISDIR(info.stx_mode) : found->d_type == DT_DIR;
    entries.push_back(std::move(entry));
  }
  return entries;
}

void OrderFolderEntries(std::vector<FolderEntry>& entries) {
  // Dense ranks turn the two-part times into exact single keys.
  std::vector<std::size_t> byTime(entries.size());
  std::iota(byTime.begin(), byTime.end(), std::size_t{0});
  std::sort(byTime.begin(), byTime.end(),
            [&](std::size_t a, std::size_t b) { return entries[a].created < entries[b].created; });
  std::vector<std::uint64_t> keys(entries.size());
  std::uint64_t rank = 0;
  for (std::size_t i = 0; i < byTime.size(); ++i) {
    if (i > 0 && entries[byTime[i - 1]].created < entries[byTime[i]].created) ++rank;
    keys[byTime[i]] = rank;
  }

  std::vector<FolderEntry> ordered;
  ordered.reserve(entries.size());
  for (const std::size_t index : ExchangeSortOrder(keys)) {
    ordered.push_back(std::move(entries[index]));
  }
  std::stable_partition(ordered.begin(), ordered.end(),
                        [](const FolderEntry& entry) { return entry.isFolder; });
  entries = std::move(ordered);
}

LabelText FormatFolderListing(std::span<const FolderEntry> entries) {
  LocalTimeFormatter times;
  LabelText listing;
  for (const FolderEntry& entry : entries) AppendLine(listing, entry, times);
  return listing;
}

Result<LabelText> BuildFolderListing(std::string_view folder) {
  // A NUL would silently cut the path short and list some other folder.
  if (folder.find('\0') != std::string_view::npos) {
    return Error(ErrorReason::Unlistable, EINVAL, std::string(folder));
  }
  Result<std::vector<FolderEntry>> read = ReadFolderEntries(std::string(folder));
  if (!read) return read.error();
  OrderFolderEntries(*read);
  return FormatFolderListing(*read);
}

}  // namespace lumo
