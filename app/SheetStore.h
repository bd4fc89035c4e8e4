// The label sheets the window offers, the user's own kept in the sheets file
// that lumo-render reads too, and what the window remembers of them.
#pragma once

#include <QList>
#include <QString>
#include <optional>
#include <span>
#include <vector>

#include "Result.h"
#include "Sheet.h"

class QComboBox;

struct WindowSheets {
  // The centred sheet, the other built-in sheets, then the user's.
  std::vector<lumo::Sheet> sheets;
  std::size_t firstUserSheet = 0;
  // Why the sheets file could not be read; none when there is no such file.
  std::optional<lumo::Error> fileError;

  [[nodiscard]] std::span<const lumo::Sheet> userSheets() const {
    return std::span(sheets).subspan(firstUserSheet);
  }
  // The index of the sheet of that name, or -1.
  [[nodiscard]] int IndexOf(const QString& name) const;
};

[[nodiscard]] WindowSheets LoadWindowSheets();
// Offers the sheets in `box` by their titles, the one of that name chosen
// (the first when there is none).
void FillSheetBox(QComboBox* box, const WindowSheets& sheets, const QString& name);
// Writes the user's sheets to the sheets file, in place of what it held.
[[nodiscard]] lumo::Result<void> SaveUserSheets(std::span<const lumo::Sheet> sheets);

// What the window calls the sheet: its own words for the built-in sheets,
// the user's title, or the name when there is none.
[[nodiscard]] QString SheetTitle(const lumo::Sheet& sheet);

// What the print preview and the sheet dialog say of a label larger than
// the sheet's discs, which prints beyond their edges; empty when it is not.
[[nodiscard]] QString BleedNote(const lumo::Sheet& sheet, double labelDiameterMm);

// The sheet printed on last and its positions (counted from 0): the centred
// sheet the first time.
struct SheetChoice {
  QString name;
  QList<int> positions;
};
[[nodiscard]] SheetChoice LastSheetChoice();
void SaveSheetChoice(const SheetChoice& choice);
// That sheet among those there are now; the centred sheet when it is gone.
[[nodiscard]] lumo::Sheet LastUsedSheet();

// Whether the preview shows the disc's edge and hole.
[[nodiscard]] bool DiscGuideShown();
void SetDiscGuideShown(bool shown);
