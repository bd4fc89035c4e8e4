// The folder listing's order against the exchange procedure run literally
// (then folders first, each group in that order), and its lines.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "FolderListing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Three bytes an entry: a time (few distinct values, so many are equal), a
  // nanosecond part, and whether it is a folder.
  std::vector<lumo::FolderEntry> entries;
  for (std::size_t i = 0; i + 3 <= size && entries.size() < 400; i += 3) {
    lumo::FolderEntry entry;
    entry.name = std::to_string(entries.size());
    entry.size = data[i] * 1000003ull;
    entry.created = {data[i] % 8 - 2, static_cast<std::uint32_t>(data[i + 1] % 3) * 100};
    entry.isFolder = (data[i + 2] & 1) != 0;
    entries.push_back(entry);
  }
  std::vector<lumo::FolderEntry> literal = entries;
  for (std::size_t k = 0; k + 1 < literal.size(); ++k) {
    for (std::size_t j = k + 1; j < literal.size(); ++j) {
      if (literal[k].created > literal[j].created) std::swap(literal[k], literal[j]);
    }
  }
  std::stable_partition(literal.begin(), literal.end(),
                        [](const lumo::FolderEntry& e) { return e.isFolder; });
  lumo::OrderFolderEntries(entries);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].name != literal[i].name) __builtin_trap();
    const std::string line = lumo::FormatFolderListingLine(entries[i]);
    // name, size field (nine blanks for a folder), " YYYY/MM/DD HH:MM:SS", CR LF
    const std::size_t rest = line.size() - entries[i].name.size();
    if (!line.ends_with("\r\n") || line.find('\n') != line.size() - 1 ||
        (entries[i].isFolder && rest != 9 + 20 + 2) || (!entries[i].isFolder && rest < 8 + 20 + 2)) {
      __builtin_trap();
    }
  }
  return 0;
}
