// Where faces are: the label's face the user chose (a family or a font file),
// by default the fixed-pitch Japanese face fontconfig matches for
// "MS UI Gotic"; and, for a character that face lacks, a face that has it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "Result.h"

namespace lumo {

struct FontLocation {
  std::string path;
  int index = 0;  // the face within a collection file

  friend bool operator==(const FontLocation&, const FontLocation&) = default;
};

// The face `choice` names: a font file when it holds a "/" or names a file
// here, otherwise a family fontconfig knows (NoFace naming it when none
// goes by that name); the default face when empty. An error when fontconfig
// has no default face covering Japanese (a face without it would draw every
// character as a box).
[[nodiscard]] Result<FontLocation> LocateFace(std::string_view choice);

// The face the user's choice gives: `option` (lumo-render's --font) when
// given, then $LUMO_FONT, then `saved` (the window's choice), then the
// default. Looked up anew on every call.
[[nodiscard]] Result<FontLocation> LocateChosenFace(std::optional<std::string_view> option,
                                                    std::string_view saved);

// An installed outline face that has `codePoint`, as fontconfig ranks them;
// colour faces (bitmap emoji) are passed over, since their glyphs cannot be
// turned. Nothing when no installed face has it.
[[nodiscard]] std::optional<FontLocation> FaceHaving(char32_t codePoint);

}  // namespace lumo
