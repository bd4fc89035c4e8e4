// A value, or why there is none: the one shape every fallible operation of
// the libraries returns, so a caller cannot read a value that is not there.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <variant>

namespace lumo {

// Why an operation failed. The libraries say only this; each front end words
// the reasons in its own language, in one place (lumo-render in English on
// its standard error, the window in Japanese).
enum class ErrorReason : std::uint8_t {
  // Reading: `path` names what could not be read.
  NotFound,    // nothing of that name
  Unreadable,  // it exists but cannot be opened or read: see errnum
  IsFolder,    // a folder where a file was wanted
  IsPipe,      // a named pipe or a socket, which can block or never end
  IsDevice,    // a device, likewise
  Unlistable,  // a folder that cannot be listed: see errnum
  // The 32-byte settings file at `path`.
  SettingsWrongSize,  // not the 32 bytes of a settings file: `size` bytes
  SettingsNoCanvas,   // its diameterMm and resolutionDpi give no canvas that can be made
  // Writing: `path` names the file or the folder concerned.
  CannotCreate,   // no new file could be made in the folder `path`: see errnum
  CannotWrite,    // writing the file `path` failed; the incomplete file was removed
  CannotReplace,  // replacing the file `path` failed; nothing was changed
  SeriesFull,     // lumo000.`name` ... lumo999.`name` all exist in the folder `path`
  NoPixels,       // the label's canvas has no pixels (a side of 0)
  TooLarge,       // the label is too large for the format's size fields
  // A PDF or SVG page would be smaller or larger than a reader is bound to take
  // (its side at its resolution, or a sheet's size), or a label on a sheet
  // would lie wholly off it.
  PageOutOfRange,
  // The face the glyphs come from.
  NoFace,        // fontconfig offers no face with Japanese for `name`
  FaceUnusable,  // the file `path` cannot be loaded as a face
  NoSuchFamily,  // no installed face goes by the family `name`
  // Printing.
  NothingToPrint,    // no label, or one without a resolution
  LabelOffPaper,     // at its true size the label does not fit on the paper
  PrintNotStarted,   // the printer would not start the page
  PrintNotFinished,  // nor finish it
  NoSuchPosition,    // the sheet `name` has no label position `size` (counted from 1)
  // Label sheets: a sheets file at `path` (none for a sheet being edited),
  // the fault on its `line` (counted from 1).
  SheetsTooLarge,     // the file is larger than a sheets file can be
  SheetLineUnknown,   // a line that is no comment, no [name] and no known `name` = value
  SheetKeyRepeated,   // `name` given twice for one sheet
  SheetValueRefused,  // the value of `name` is not what it takes (position: `size` from 1)
  SheetIncomplete,    // the sheet lacks its `name` (page, disc or position)
  SheetNameRefused,   // `name` is no usable sheet name, a built-in sheet's or taken already
};

struct Error {
  Error() = default;
  explicit Error(ErrorReason why, int errorNumber = 0, std::string concerned = {})
      : reason(why), errnum(errorNumber), path(std::move(concerned)) {}

  ErrorReason reason = ErrorReason::Unreadable;
  int errnum = 0;          // the errno behind it, where the system gave one
  std::string path;        // the file or folder concerned, as it was given
  std::string name;        // SeriesFull: the extension; NoFace: the face asked for
  std::uint64_t size = 0;  // SettingsWrongSize: the bytes the file has; a position
  int line = 0;            // a sheets file's line at fault
  double diameterMm = 0;   // SettingsNoCanvas: the values that give no canvas
  double resolutionDpi = 0;
};

template <typename T, typename E = Error>
class [[nodiscard]] Result {
 public:
  Result(T value)
      : state_(std::in_place_index<0>, std::move(value)) {}  // NOLINT: implicit by design
  Result(E error)
      : state_(std::in_place_index<1>, std::move(error)) {}  // NOLINT: implicit by design

  explicit operator bool() const noexcept { return state_.index() == 0; }

  [[nodiscard]] T& value() & { return std::get<0>(state_); }
  [[nodiscard]] const T& value() const& { return std::get<0>(state_); }
  // By value, so that a temporary result cannot leave a dangling reference.
  [[nodiscard]] T value() && { return std::get<0>(std::move(state_)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }

  [[nodiscard]] const E& error() const& { return std::get<1>(state_); }

 private:
  std::variant<T, E> state_;
};

// Success without a value, or why not.
template <typename E>
class [[nodiscard]] Result<void, E> {
 public:
  Result() = default;
  Result(E error) : error_(std::move(error)), failed_(true) {}  // NOLINT: implicit by design

  explicit operator bool() const noexcept { return !failed_; }
  [[nodiscard]] const E& error() const& { return error_; }

 private:
  E error_{};
  bool failed_ = false;
};

}  // namespace lumo
