// lumo-render's words: every reason the libraries give, as one English line
// for standard error, and the exit status each reason ends with.
#pragma once

#include <string>

#include "AcceptanceRules.h"
#include "ExitStatus.h"
#include "Result.h"

namespace lumo::cli {

[[nodiscard]] std::string Describe(const Error& error);

// The line and status with which lumo-render stops for `error`.
[[nodiscard]] Failure FailureOf(const Error& error);

// Why a diameter and a resolution give no canvas, after `refused` (what was
// refused: "settings", or the options that asked for them).
[[nodiscard]] std::string NoCanvasText(double diameterMm, double resolutionDpi,
                                       const std::string& refused);

// The warning for an INPUT that exists but cannot be listed (Unlistable): the
// label is then empty.
[[nodiscard]] std::string ListingWarning(const Error& error);

// A number as messages give it: "117", "79.9".
[[nodiscard]] std::string FormatNumber(double value);

// "41 to 599": a rule's range as the help and the messages give it.
[[nodiscard]] std::string RangeText(RuleRange range);

}  // namespace lumo::cli
