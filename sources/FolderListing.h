// A folder as label text: one line per entry with its name, size and creation
// time, folders first, each group from the oldest creation time.
#pragma once

#include <string>
#include <string_view>

namespace lumo {

// `pattern` is the folder's path followed by "/*". Returns the listing in code
// page 932, every line ended by CR LF, or the empty string when nothing can be
// listed (no such folder, not a folder, not readable).
[[nodiscard]] std::string BuildFolderListing(std::string_view pattern);

}  // namespace lumo
