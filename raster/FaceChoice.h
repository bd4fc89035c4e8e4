// The label's face as the user chose it: lumo-render's --font, $LUMO_FONT,
// the window's choice (kept in the configuration folder, so that
// lumo-render takes it too), or the default.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "LabelFace.h"
#include "Result.h"

namespace lumo {

// The window's choice: a family or a font file; empty for the default (no
// choice saved, or a file that cannot be read).
[[nodiscard]] std::string SavedFaceChoice();
// Keeps `choice` (empty: the default) as the window's choice.
[[nodiscard]] Result<void> SaveFaceChoice(std::string_view choice);

// The face `option` (--font) gives, else $LUMO_FONT, else `saved`, else the
// default face (DefaultLabelFace, loaded once per process); any other is
// looked up and loaded anew.
[[nodiscard]] Result<std::shared_ptr<LabelFace>> LoadChosenFace(
    std::optional<std::string_view> option, std::string_view saved);

}  // namespace lumo
