// Printing a label at its true size on the places of a label sheet with the
// printer's calibration, and the test page that finds the calibration.
#pragma once

#include <span>

#include "PrintPlacement.h"
#include "Result.h"
#include "Sheet.h"
#include "Surface.h"

class QPrinter;

// Gives the printer the sheet's page; a centred sheet keeps the printer's paper.
void UseSheetPaper(QPrinter& printer, const lumo::Sheet& sheet);

// Prints `image` (a label of `resolutionDpi`) on one page, at the chosen
// positions of `sheet` (counted from 0): at its true size times the scale,
// each about its position plus the offset, however large the sheet's discs
// are. Nothing is printed when it fails (PlaceOnSheet's reasons).
[[nodiscard]] lumo::Result<void> PrintOnSheet(QPrinter& printer, const lumo::Surface& image,
                                              double resolutionDpi, const lumo::Sheet& sheet,
                                              std::span<const int> positions,
                                              const lumo::PrintCalibration& calibration);

// Prints the page a user measures the calibration on: at every position of
// the sheet, crosshairs through the label's intended centre with millimetre
// ticks, and circles at the disc's edge and hole, placed and scaled as a
// label would be. A centred sheet's disc is the label of `labelDiameterMm`.
[[nodiscard]] lumo::Result<void> PrintTestPage(QPrinter& printer, const lumo::Sheet& sheet,
                                               double labelDiameterMm,
                                               const lumo::PrintCalibration& calibration);
