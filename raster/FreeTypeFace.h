// FreeType's face behind a LabelFace, for a file that uses FreeType itself and
// hands the face on (the vector export gives it to cairo).
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include "LabelFace.h"

namespace lumo {

// Valid while the lease is held, and only for the lease's holder.
[[nodiscard]] FT_Face FreeTypeFaceOf(const LabelFace::Lease& lease) noexcept;

}  // namespace lumo
