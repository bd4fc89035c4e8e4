// Where a printed label goes on the paper: at its true size, centred on the
// page or on a place of a label sheet, moved and scaled by the printer's
// calibration. Millimetres throughout, from the paper's top-left corner.
#pragma once

namespace lumo {

// How a printer misses the paper's centre and stretches what it prints. The
// offset moves the label right and down; the scale makes up for a paper feed
// that stretches or shrinks the page.
struct PrintCalibration {
  double offsetAcrossMm = 0.0;
  double offsetDownMm = 0.0;
  double scalePercent = 100.0;

  friend bool operator==(const PrintCalibration&, const PrintCalibration&) = default;
};

inline constexpr double kMaxPrintOffsetMm = 30.0;
inline constexpr double kMinPrintScalePercent = 90.0;
inline constexpr double kMaxPrintScalePercent = 110.0;
// The calibration is entered and kept in tenths.
inline constexpr double kPrintCalibrationStep = 0.1;

// The calibration within its ranges and rounded to tenths; a value that is not
// a number becomes the neutral one (no offset, 100 %). Stored settings go
// through here, so a hand-edited file cannot put a label off the paper.
[[nodiscard]] PrintCalibration ClampCalibration(const PrintCalibration& calibration) noexcept;

struct PrintRect {
  double left = 0.0;
  double top = 0.0;
  double width = 0.0;
  double height = 0.0;
};

// The label's square on the paper: its side the label's own (its canvas at its
// resolution) times the scale, its centre (centreXMm, centreYMm) plus the
// offset, so the scale leaves the centre where it is. The calibration is taken
// as ClampCalibration gives it.
[[nodiscard]] PrintRect PlaceLabelAt(double centreXMm, double centreYMm, double labelSideMm,
                                     const PrintCalibration& calibration) noexcept;

// The same about the paper's centre.
[[nodiscard]] PrintRect PlaceLabel(double paperWidthMm, double paperHeightMm, double labelSideMm,
                                   const PrintCalibration& calibration) noexcept;

// Whether that square lies wholly on the paper.
[[nodiscard]] bool FitsOnPaper(const PrintRect& label, double paperWidthMm,
                               double paperHeightMm) noexcept;

}  // namespace lumo
