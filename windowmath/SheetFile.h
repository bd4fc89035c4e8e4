// The sheets file: a user's own label sheets in plain text, which the window
// writes and both front ends read.
//
//   # A comment.
//   [my-sheet]
//   title = Two discs from the shop round the corner
//   page = 210 297        width and height
//   disc = 117            each place's outer diameter
//   hole = 41             its centre hole; 15 when left out
//   position = 105 79.9   a place's centre, across and down; one line a place
//   position = 105 218.3
//
// Millimetres throughout, from the page's top-left corner; numbers are
// decimal with a point, the two of a line apart by blanks or a comma. A sheet
// runs from its [name] to the next; lines are read without blanks about them.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Result.h"
#include "Sheet.h"

namespace lumo {

// A sheets file is never longer than this: 24 places for each of some
// thousand sheets fit several times.
inline constexpr std::size_t kMaxSheetsFileBytes = 1 << 20;

// $XDG_CONFIG_HOME/lumo/sheets.conf, or ~/.config/lumo/sheets.conf.
[[nodiscard]] std::filesystem::path UserSheetsFile();

// The sheets of a sheets file's text, in the file's order. The first fault
// is returned with its line: a line that is no comment, no [name] and no
// known key (SheetLineUnknown), a key given twice (SheetKeyRepeated), a
// value not as CheckSheet has it (SheetValueRefused), a sheet without page,
// disc or position (SheetIncomplete, on its [name]'s line), a name
// CheckSheetName refuses or given twice (SheetNameRefused).
[[nodiscard]] Result<std::vector<Sheet>> ParseSheets(std::string_view text);

// The text of a sheets file holding `sheets`, with a header that describes
// the format; ParseSheets gives back the same sheets.
[[nodiscard]] std::string FormatSheets(std::span<const Sheet> sheets);

// The sheets of the file at `path`: what reading it (NotFound when there is
// none) or ParseSheets fails with, the file named; SheetsTooLarge beyond
// kMaxSheetsFileBytes.
[[nodiscard]] Result<std::vector<Sheet>> ReadSheetsFile(const std::filesystem::path& path);

// Writes `sheets` to `path`, making its folder if need be; the old file is
// replaced only once the new one is complete. Nothing is written when a
// sheet's name or values are refused (CheckSheetName, CheckSheet) or a name
// is given twice.
[[nodiscard]] Result<void> WriteSheetsFile(const std::filesystem::path& path,
                                           std::span<const Sheet> sheets);

}  // namespace lumo
