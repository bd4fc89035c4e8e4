// The window's words: every reason the libraries give, in Japanese, and the
// messages each of the window's operations shows when it fails, or says what
// it wrote. The one place where the window words an error.
#pragma once

#include <QString>
#include <filesystem>

#include "AcceptanceRules.h"
#include "Result.h"

// A sentence for `errnum` (an errno value); an error without words of its own
// gets its number and the system's text.
[[nodiscard]] QString JapaneseSystemError(int errnum);

// Why it happened, as a sentence.
[[nodiscard]] QString ErrorCause(const lumo::Error& error);

// A name as messages show it: control bytes escaped, so that a name holding a
// line break or an escape sequence shows as what it is.
[[nodiscard]] QString ShownName(const std::string& path);

// The status bar's line when a label file was written to `path`: its name and its folder.
[[nodiscard]] QString LabelWritten(const std::filesystem::path& path);
// The status bar's line when a rendered label could not be written to `folder`.
[[nodiscard]] QString LabelNotWritten(const lumo::Error& error,
                                      const std::filesystem::path& folder);
// The status bar's line when a dropped text file could not be read.
[[nodiscard]] QString TextFileNotRead(const lumo::Error& error);
// The status bar's line when the settings dialog's values passed their rules
// one by one but give no canvas together (`noCanvas`), so none was taken.
[[nodiscard]] QString SettingsTooLarge(const lumo::Error& noCanvas);
// The status bar's line when the settings dialog kept the values it had for
// the rules marked in `refused`.
[[nodiscard]] QString EntriesRefused(const lumo::RuleVerdicts& refused);
// The message when a settings file could not be opened, or saved.
[[nodiscard]] QString SettingsNotOpened(const lumo::Error& error);
[[nodiscard]] QString SettingsNotSaved(const lumo::Error& error);
// The message when the label could not be exported to `path`.
[[nodiscard]] QString LabelNotExported(const QString& path, const lumo::Error& error);
// The message when the sheets file cannot be read, with the line at fault.
[[nodiscard]] QString SheetsNotRead(const lumo::Error& error);
// The message when the label's face cannot be had.
[[nodiscard]] QString FaceMissing(const lumo::Error& error);
// The status bar's line when the chosen font cannot be used.
[[nodiscard]] QString FaceNotTaken(const lumo::Error& error);
// The status bar's note when the chosen font cannot be kept for next time.
[[nodiscard]] QString FaceChoiceNotSaved(const lumo::Error& error);
