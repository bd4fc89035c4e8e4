// Sheets of disc labels: a page with one or more places for a label, each a
// disc with a centre hole, and where each printed label goes on them.
// Millimetres throughout, from the page's top-left corner.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "PrintPlacement.h"
#include "Result.h"

namespace lumo {

struct SheetPosition {
  double xMm = 0.0;  // the disc's centre, across
  double yMm = 0.0;  // and down

  friend bool operator==(const SheetPosition&, const SheetPosition&) = default;
};

struct Sheet {
  std::string name;   // how lumo-render and the sheets file name it
  std::string title;  // what a person reads; may be empty
  double pageWidthMm = 0.0;
  double pageHeightMm = 0.0;
  double discMm = 0.0;  // each place's outer diameter
  double holeMm = 0.0;  // and its centre hole's
  std::vector<SheetPosition> positions;
  // One label in the middle of whatever paper the printer has, the disc as
  // large as the label: what printer drivers with a disc tray expect.
  bool centred = false;

  friend bool operator==(const Sheet&, const Sheet&) = default;
};

// The hole of a standard disc, which the centred sheet assumes.
inline constexpr double kStandardHoleMm = 15.0;

// The label centred on the printer's paper, as printing always did; the
// window offers it first.
[[nodiscard]] Sheet CentredSheet();

// The sheets every user has, which no sheets file may change: a4-2,
// a4-2-small-hole, letter-2, centred-a4 and centred-letter.
[[nodiscard]] std::span<const Sheet> BuiltInSheets();

// The name is one of the built-in sheets', or the centred sheet's.
[[nodiscard]] bool IsBuiltInSheetName(std::string_view name);

// The sheet as it is printed on paper of that size with a label of that
// diameter: a centred sheet gets the paper as its page, its one place at the
// paper's centre, and the label's diameter as its disc's; any other sheet
// stays as it is.
[[nodiscard]] Sheet SheetForPaper(const Sheet& sheet, double paperWidthMm, double paperHeightMm,
                                  double labelDiameterMm);

// Whether a label of that diameter is larger than the sheet's discs, so that
// it prints beyond their edges.
[[nodiscard]] bool LabelBleeds(const Sheet& sheet, double labelDiameterMm);

// The squares of a label printed at the chosen positions (counted from 0) of
// the sheet, on paper of that size: each at its position plus the offsets,
// scaled about its own centre. NothingToPrint without positions,
// NoSuchPosition for one the sheet lacks, LabelOffPaper when one is not
// wholly on the paper.
[[nodiscard]] Result<std::vector<PrintRect>> PlaceOnSheet(const Sheet& sheet, double paperWidthMm,
                                                          double paperHeightMm,
                                                          std::span<const int> positions,
                                                          double labelSideMm,
                                                          const PrintCalibration& calibration);

// Limits a sheet is held to, so that no sheets file can ask for what no
// printer has.
inline constexpr double kMaxSheetPageMm = 1000.0;
inline constexpr std::size_t kMaxSheetPositions = 24;
inline constexpr std::size_t kMaxSheetNameLength = 40;
inline constexpr std::size_t kMaxSheetTitleBytes = 200;

// A name is 1 to kMaxSheetNameLength letters, digits, '-' and '_', starting
// with a letter or a digit, and not a built-in sheet's: SheetNameRefused.
[[nodiscard]] Result<void> CheckSheetName(std::string_view name);

// What a user's sheet must be: a page above 0 and at most kMaxSheetPageMm a
// side, a disc above 0 and at most as large, a hole from 0 to below the disc, 1 to
// kMaxSheetPositions positions each on the page, and a title of printable characters.
// SheetValueRefused names the key at fault
// ("page", "disc", "hole", "position" with `size` from 1, "title");
// SheetIncomplete names "position" when there is none.
[[nodiscard]] Result<void> CheckSheet(const Sheet& sheet);

}  // namespace lumo
