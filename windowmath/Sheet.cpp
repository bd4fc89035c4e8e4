// The built-in label sheets, the checks a user's sheet passes, and the
// labels' places on a sheet.
#include "Sheet.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace lumo {
namespace {

const std::array<Sheet, 5>& BuiltIns() {
  // Die-cut disc labels two to a page, as the common sheets have them.
  // clang-format off
  static const std::array<Sheet, 5> sheets{{
      {"a4-2", "A4, two discs", 210.0, 297.0, 117.0, 41.0, {{105.0, 79.9}, {105.0, 218.3}}},
      {"a4-2-small-hole", "A4, two discs, small hole", 210.0, 297.0, 117.0, 17.6,
       {{105.0, 80.5}, {105.0, 217.5}}},
      {"letter-2", "US Letter, two discs", 215.9, 279.4, 117.5, 41.3,
       {{107.95, 76.2}, {107.95, 203.2}}},
      {"centred-a4", "Centred on an A4 page", 210.0, 297.0, 0.0, kStandardHoleMm,
       {{105.0, 148.5}}, true},
      {"centred-letter", "Centred on a US Letter page", 215.9, 279.4, 0.0, kStandardHoleMm,
       {{107.95, 139.7}}, true},
  }};
  // clang-format on
  return sheets;
}

[[nodiscard]] bool Within(double value, double low, double high) {
  return std::isfinite(value) && value >= low && value <= high;
}

[[nodiscard]] bool Above0AtMost(double value, double high) { return value > 0 && value <= high; }

[[nodiscard]] Error Refused(const char* key, std::uint64_t position = 0) {
  Error error(ErrorReason::SheetValueRefused);
  error.name = key;
  error.size = position;
  return error;
}

[[nodiscard]] bool IsNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_';
}

}  // namespace

Sheet CentredSheet() {
  return {"centred", "Centred on the page", 0.0, 0.0, 0.0, kStandardHoleMm, {}, true};
}

std::span<const Sheet> BuiltInSheets() { return BuiltIns(); }

bool IsBuiltInSheetName(std::string_view name) {
  return name == CentredSheet().name ||
         std::any_of(BuiltIns().begin(), BuiltIns().end(),
                     [name](const Sheet& sheet) { return sheet.name == name; });
}

Sheet SheetForPaper(const Sheet& sheet, double paperWidthMm, double paperHeightMm,
                    double labelDiameterMm) {
  if (!sheet.centred) return sheet;
  Sheet onPaper = sheet;
  onPaper.pageWidthMm = paperWidthMm;
  onPaper.pageHeightMm = paperHeightMm;
  onPaper.discMm = labelDiameterMm;
  onPaper.positions = {{paperWidthMm / 2.0, paperHeightMm / 2.0}};
  return onPaper;
}

bool LabelBleeds(const Sheet& sheet, double labelDiameterMm) {
  // A hundredth of a millimetre is no bleed: the label's side is its canvas's.
  constexpr double kSlack = 0.01;
  return !sheet.centred && labelDiameterMm > sheet.discMm + kSlack;
}

Result<std::vector<PrintRect>> PlaceOnSheet(const Sheet& sheet, double paperWidthMm,
                                            double paperHeightMm, std::span<const int> positions,
                                            double labelSideMm,
                                            const PrintCalibration& calibration) {
  if (positions.empty()) return Error(ErrorReason::NothingToPrint);
  const Sheet onPaper = SheetForPaper(sheet, paperWidthMm, paperHeightMm, labelSideMm);
  std::vector<PrintRect> places;
  for (const int index : positions) {
    if (index < 0 || static_cast<std::size_t>(index) >= onPaper.positions.size()) {
      Error missing(ErrorReason::NoSuchPosition);
      missing.name = sheet.name;
      missing.size = static_cast<std::uint64_t>(static_cast<std::int64_t>(index) + 1);
      return missing;
    }
    const SheetPosition& at = onPaper.positions[static_cast<std::size_t>(index)];
    places.push_back(PlaceLabelAt(at.xMm, at.yMm, labelSideMm, calibration));
    // Never shrunk to the paper: a label cut off is spoilt.
    if (!FitsOnPaper(places.back(), paperWidthMm, paperHeightMm)) {
      return Error(ErrorReason::LabelOffPaper);
    }
  }
  return places;
}

Result<void> CheckSheetName(std::string_view name) {
  const bool usable = !name.empty() && name.size() <= kMaxSheetNameLength && name[0] != '-' &&
                      name[0] != '_' && std::all_of(name.begin(), name.end(), IsNameCharacter);
  if (usable && !IsBuiltInSheetName(name)) return {};
  Error refused(ErrorReason::SheetNameRefused);
  refused.name = name;
  return refused;
}

Result<void> CheckSheet(const Sheet& sheet) {
  if (!Above0AtMost(sheet.pageWidthMm, kMaxSheetPageMm) ||
      !Above0AtMost(sheet.pageHeightMm, kMaxSheetPageMm)) {
    return Refused("page");
  }
  if (!Above0AtMost(sheet.discMm, kMaxSheetPageMm)) return Refused("disc");
  if (!(sheet.holeMm >= 0 && sheet.holeMm < sheet.discMm)) return Refused("hole");
  if (sheet.positions.empty()) {
    Error none(ErrorReason::SheetIncomplete);
    none.name = "position";
    return none;
  }
  for (std::size_t i = 0; i < sheet.positions.size(); ++i) {
    const SheetPosition& at = sheet.positions[i];
    if (i >= kMaxSheetPositions || !Within(at.xMm, 0, sheet.pageWidthMm) ||
        !Within(at.yMm, 0, sheet.pageHeightMm)) {
      return Refused("position", i + 1);
    }
  }
  const bool printable =
      sheet.title.size() <= kMaxSheetTitleBytes &&
      std::none_of(sheet.title.begin(), sheet.title.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) == 0x7F;
      });
  if (!printable) return Refused("title");
  return {};
}

}  // namespace lumo
