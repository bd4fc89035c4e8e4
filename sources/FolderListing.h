// A folder as label text: one line per entry with its name, size and creation
// time, folders first, each group from the oldest creation time.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "LabelText.h"
#include "Result.h"

namespace lumo {

// The listing of `folder` as label text, every line ended by CR LF;
// NotFound when there is no such folder, Unlistable with the errno when it
// cannot be listed (not a folder, not readable, a path holding a NUL byte).
[[nodiscard]] Result<LabelText> BuildFolderListing(std::string_view folder);

// A point in time as the file system records it: seconds since 1970-01-01
// 00:00 UTC and the nanoseconds within that second.
struct EntryTime {
  std::int64_t seconds = 0;
  std::uint32_t nanoseconds = 0;

  friend constexpr auto operator<=>(const EntryTime&, const EntryTime&) = default;
};

// The creation time listed for an entry: its birth time where the file system
// records one, otherwise its last modification; a birth time of zero (tools
// that build disk images store it) counts as not recorded. Times are kept in
// 100-nanosecond ticks, so files made within one tick are made together.
[[nodiscard]] EntryTime CreationTime(std::optional<EntryTime> birth, EntryTime modified) noexcept;

struct FolderEntry {
  LabelText name;          // control characters shown as "?"
  std::uint64_t size = 0;  // bytes
  EntryTime created;       // birth time, or the last modification where none is recorded
  bool isFolder = false;   // a directory; a symbolic link to one is not
};

// Every entry that the folder reports, "." and ".." included, in the order the
// file system enumerates them. Entries that vanish before they can be examined
// are left out. An error when the folder cannot be opened.
[[nodiscard]] Result<std::vector<FolderEntry>> ReadFolderEntries(const std::string& folder);

// Puts the entries into listing order: by creation time as the listing's
// exchange ordering leaves them (see FolderListingOrder.h), then folders ahead
// of everything else, each group keeping that order.
void OrderFolderEntries(std::vector<FolderEntry>& entries);

// The listing's lines in the entries' order, one each: the name, nine blanks
// for a folder or " %.2f MB" of the size times 1e-6 otherwise, then
// " YYYY/MM/DD HH:MM:SS" in local time and CR LF. The user's locale never
// changes it.
[[nodiscard]] LabelText FormatFolderListing(std::span<const FolderEntry> entries);

}  // namespace lumo
