// Numbers as the settings dialog shows and reads them: the unsigned text of
// its edit boxes and the dialog units its layout is given in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumo {

// The box shows the value's unsigned 32-bit form, so -1 reads 4294967295.
[[nodiscard]] std::string FormatUnsignedBox(std::int32_t value);

// Reads a box back into the 32-bit signed value it stands for: leading and
// trailing white space is skipped, and what remains must be decimal digits
// whose value fits in 32 unsigned bits ("4294967295" gives -1). Anything else
// (empty text, letters, a sign, "12abc", a number beyond 4294967295) gives 0,
// so a slip of the keyboard never turns into a value the user did not see.
[[nodiscard]] std::int32_t ParseUnsignedBox(std::string_view text) noexcept;

// The horizontal dialog base unit of a font from the width of the 52 letters
// A-Z and a-z laid side by side: their average width, rounded.
[[nodiscard]] int HorizontalBaseUnit(int widthOf52Letters) noexcept;

// Dialog units to pixels: a horizontal unit is a quarter of the horizontal base
// unit and a vertical unit an eighth of the font's height, rounded to the
// nearest pixel.
[[nodiscard]] int DialogUnitsToPixelsX(int units, int horizontalBaseUnit) noexcept;
[[nodiscard]] int DialogUnitsToPixelsY(int units, int fontHeight) noexcept;

}  // namespace lumo
