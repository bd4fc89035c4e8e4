// Printing a label at its true size with the printer's calibration, the test
// page that finds the calibration, and where each printer's calibration is kept.
#pragma once

#include <QString>

#include "PrintPlacement.h"
#include "Surface.h"

class QPrinter;

// The calibration kept for that printer; the neutral one for a printer
// never calibrated. Values out of range are brought into it.
[[nodiscard]] lumo::PrintCalibration LoadPrintCalibration(const QString& printerName);
void SavePrintCalibration(const QString& printerName, const lumo::PrintCalibration& calibration);

// The calibration that printing on `printer` uses: its own for a real
// printer; none for output to a file, which no paper feed stretches.
[[nodiscard]] lumo::PrintCalibration CalibrationFor(const QPrinter& printer);

// Prints `image` (a label of `resolutionDpi`) on one page: at its true size
// times the scale, centred on the paper's centre plus the offset. Empty when
// it printed; otherwise why not (nothing was printed).
[[nodiscard]] QString PrintLabel(QPrinter& printer, const lumo::Surface& image,
                                 double resolutionDpi, const lumo::PrintCalibration& calibration);

// Prints the page a user measures the calibration on: crosshairs through the
// label's intended centre, circles at the label's diameter and at the 15 mm
// hole of a disc, and millimetre ticks along both crosshairs, all placed and
// scaled as a label would be. Empty when it printed; otherwise why not.
[[nodiscard]] QString PrintTestPage(QPrinter& printer, double diameterMm,
                                    const lumo::PrintCalibration& calibration);
