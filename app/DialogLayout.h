// The layout shared by lumo's dialogs: their Japanese font and the dialog
// units their controls are placed in.
#pragma once

#include <QFont>
#include <QRect>

// "ＭＳ Ｐゴシック" at 9 points, or the nearest Japanese proportional gothic.
[[nodiscard]] QFont DialogFont();

// A rectangle given in dialog units, in pixels for `font`: a horizontal unit
// is a quarter of the font's average character width, a vertical unit an
// eighth of its height.
[[nodiscard]] QRect DialogUnitsRect(const QFont& font, int x, int y, int width, int height);
