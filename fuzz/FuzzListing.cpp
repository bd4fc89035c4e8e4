// The folder listing's lines: whatever the entries, one line each, ending in
// CR LF, the size field nine blanks for a folder and a number otherwise. (The
// order is checked against the literal exchange procedure by the unit tests.)
#include <cstdint>
#include <string>
#include <vector>

#include "FolderListing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Three bytes an entry: a size and time, a nanosecond part, and whether it is a folder.
  std::vector<lumo::FolderEntry> entries;
  for (std::size_t i = 0; i + 3 <= size && entries.size() < 400; i += 3) {
    lumo::FolderEntry entry;
    entry.name = std::to_string(entries.size());
    entry.size = data[i] * 1000003ull << (data[i + 1] % 40);
    entry.created = {(data[i] % 8 - 2) * 1'000'000'000'000ll, data[i + 1] % 3 * 100u};
    entry.isFolder = (data[i + 2] & 1) != 0;
    entries.push_back(entry);
  }
  lumo::OrderFolderEntries(entries);
  const std::string listing = lumo::FormatFolderListing(entries);
  std::size_t at = 0;
  for (const lumo::FolderEntry& entry : entries) {
    const std::size_t end = listing.find("\r\n", at);
    if (end == std::string::npos || listing.compare(at, entry.name.size(), entry.name) != 0) {
      __builtin_trap();
    }
    // name, size field (nine blanks for a folder), " YYYY/MM/DD HH:MM:SS"
    const std::size_t rest = end - at - entry.name.size();
    if ((entry.isFolder && rest != 9 + 20) || (!entry.isFolder && rest < 8 + 20) ||
        listing.find('\n', at) != end + 1) {
      __builtin_trap();
    }
    at = end + 2;
  }
  if (at != listing.size()) __builtin_trap();
  return 0;
}
