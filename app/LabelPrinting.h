// Printing a label at its true size with the printer's calibration, and the
// test page that finds the calibration.
#pragma once

#include "PrintPlacement.h"
#include "Result.h"
#include "Surface.h"

class QPrinter;

// Prints `image` (a label of `resolutionDpi`) on one page: at its true size
// times the scale, centred on the paper's centre plus the offset. Nothing is
// printed when it fails.
[[nodiscard]] lumo::Result<void> PrintLabel(QPrinter& printer, const lumo::Surface& image,
                                            double resolutionDpi,
                                            const lumo::PrintCalibration& calibration);

// Prints the page a user measures the calibration on: crosshairs through the
// label's intended centre, circles at the label's diameter and at the 15 mm
// hole of a disc, and millimetre ticks along both crosshairs, all placed and
// scaled as a label would be.
[[nodiscard]] lumo::Result<void> PrintTestPage(QPrinter& printer, double diameterMm,
                                               const lumo::PrintCalibration& calibration);
