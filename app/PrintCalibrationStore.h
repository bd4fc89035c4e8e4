// Where each printer's calibration is kept, and which calibration a print uses.
#pragma once

#include <QString>

#include "PrintPlacement.h"

class QPrinter;

// The calibration kept for that printer; the neutral one for a printer
// never calibrated. Values out of range are brought into it.
[[nodiscard]] lumo::PrintCalibration LoadPrintCalibration(const QString& printerName);
void SavePrintCalibration(const QString& printerName, const lumo::PrintCalibration& calibration);

// The calibration that printing on `printer` uses: its own for a real
// printer; none for output to a file, which no paper feed stretches.
[[nodiscard]] lumo::PrintCalibration CalibrationFor(const QPrinter& printer);
