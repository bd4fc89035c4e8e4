// The English words of every reason, in one place.
#include "ErrorText.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "CanvasGeometry.h"
#include "SafeWrite.h"
#include "SettingsFile.h"
#include "SheetFile.h"

namespace lumo::cli {

std::string FormatNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

namespace {

// What cannot be read: a file, or standard input when no path is named.
std::string CannotRead(const Error& error, const std::string& why) {
  return "cannot read " + (error.path.empty() ? std::string("standard input") : error.path) + ": " +
         why;
}

// Where in the sheets file a fault is.
std::string SheetLine(const Error& error) {
  return "sheets file " + error.path + " line " + std::to_string(error.line) + ": ";
}

std::string SheetValueRule(const Error& error) {
  const std::string limit = FormatNumber(kMaxSheetPageMm);
  if (error.name == "page") return "page takes a width and a height above 0, at most " + limit;
  if (error.name == "disc") return "disc takes a diameter above 0, at most " + limit;
  if (error.name == "hole") return "hole takes a diameter from 0 to below the disc's";
  if (error.name == "position") {
    return "position " + std::to_string(error.size) +
           " takes a centre across and down on the page, " + std::to_string(kMaxSheetPositions) +
           " positions at most";
  }
  return "title takes at most " + std::to_string(kMaxSheetTitleBytes) +
         " bytes without control characters";
}

}  // namespace

std::string RangeText(RuleRange range) {
  return std::to_string(range.min) + " to " + std::to_string(range.max);
}

std::string NoCanvasText(double diameterMm, double resolutionDpi, const std::string& refused) {
  const auto positive = [](double value) { return std::isfinite(value) && value > 0; };
  if (!positive(diameterMm) || !positive(resolutionDpi)) {
    return refused + " refused: the diameter (" + FormatNumber(diameterMm) +
           ") and the resolution (" + FormatNumber(resolutionDpi) +
           ") must be finite numbers greater than 0";
  }
  return refused + " refused: a " + FormatNumber(diameterMm) + " mm label at " +
         FormatNumber(resolutionDpi) + " dpi needs more than " + std::to_string(kMaxCanvasSide) +
         " pixels a side";
}

std::string Describe(const Error& error) {
  const std::string system = error.errnum != 0 ? std::strerror(error.errnum) : "";
  switch (error.reason) {
    case ErrorReason::NotFound:
    case ErrorReason::Unreadable:
      return CannotRead(error, system);
    case ErrorReason::IsFolder:
      return CannotRead(error, "it is a folder, not a file");
    case ErrorReason::IsPipe:
      return CannotRead(error, "it is a named pipe or a socket, not a file");
    case ErrorReason::IsDevice:
      return CannotRead(error, "it is a device, not a file");
    case ErrorReason::Unlistable:
      return "cannot list " + error.path + ": " + system;
    case ErrorReason::SettingsWrongSize:
      return "cannot read settings file " + error.path + ": it has " + std::to_string(error.size) +
             " bytes, a settings file has " + std::to_string(kSettingsFileSize);
    case ErrorReason::SettingsNoCanvas:
      return NoCanvasText(error.diameterMm, error.resolutionDpi, "settings");
    case ErrorReason::CannotCreate:
      return "cannot create a file in " + error.path + ": " + system;
    case ErrorReason::CannotWrite:
      return "cannot write " + error.path + ": " + system + " (the incomplete file was removed)";
    case ErrorReason::CannotReplace:
      return "cannot write " + error.path + ": " + system + " (nothing was changed)";
    case ErrorReason::SeriesFull:
      return "all names from " + NumberedFileName(0, error.name) + " to " +
             NumberedFileName(kLabelFileCount - 1, error.name) + " are taken in " + error.path;
    case ErrorReason::NoPixels:
      return "the label has no pixels (its diameter and resolution give a canvas of size 0)";
    case ErrorReason::TooLarge:
      return "the label is too large for a bitmap file";
    case ErrorReason::PageOutOfRange:
      return "a PDF or SVG page must be 1.06 mm to 5.08 m a side; the label's diameter at its "
             "resolution is not";
    case ErrorReason::NoFace:
      return "no Japanese face found for \"" + error.name +
             "\" (fontconfig offers none; install fonts-ipafont-gothic or set LUMO_FONT)";
    case ErrorReason::FaceUnusable:
      return "cannot load the face " + error.path + " (a TrueType or OpenType font file will do)";
    case ErrorReason::NoSuchFamily:
      return "no installed font family is called \"" + error.name +
             "\" (fc-list : family lists them)";
    case ErrorReason::NoSuchPosition:
      return "sheet " + error.name + " has no position " + std::to_string(error.size);
    case ErrorReason::SheetsTooLarge:
      return "cannot read sheets file " + error.path + ": it is larger than " +
             std::to_string(kMaxSheetsFileBytes) + " bytes";
    case ErrorReason::SheetLineUnknown:
      return SheetLine(error) + "not a comment, a [name] or title, page, disc, hole, position";
    case ErrorReason::SheetKeyRepeated:
      return SheetLine(error) + error.name + " is given twice";
    case ErrorReason::SheetValueRefused:
      return SheetLine(error) + SheetValueRule(error);
    case ErrorReason::SheetIncomplete:
      return SheetLine(error) + "the sheet has no " + error.name;
    case ErrorReason::SheetNameRefused:
      return SheetLine(error) + "the sheet name \"" + error.name +
             "\" is not letters, digits, '-' and '_' (at most " +
             std::to_string(kMaxSheetNameLength) + "), or is a built-in sheet's or taken";
    case ErrorReason::NothingToPrint:
    case ErrorReason::LabelOffPaper:
    case ErrorReason::PrintNotStarted:
    case ErrorReason::PrintNotFinished:
      break;
  }
  return "cannot print the label";
}

std::string ListingWarning(const Error& error) {
  return "nothing could be listed from " + error.path + ": " + std::strerror(error.errnum) +
         "; the label is empty";
}

Failure FailureOf(const Error& error) {
  const bool refused =
      error.reason == ErrorReason::SettingsNoCanvas || error.reason == ErrorReason::NoSuchPosition;
  const int status = refused ? kExitUsage : kExitFailed;
  return {status, Describe(error)};
}

}  // namespace lumo::cli
