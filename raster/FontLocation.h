// Where the label's face is: the file named by $LUMO_FONT, or the fixed-pitch
// Japanese face fontconfig matches for "MS UI Gotic".
#pragma once

#include <string>

#include "Result.h"

namespace lumo {

struct FontLocation {
  std::string path;
  int index = 0;  // the face within a collection file
};

// Looked up once per process. An error when fontconfig has no face covering
// Japanese (a face without it would draw every character as a box).
[[nodiscard]] const Result<FontLocation>& LabelFaceLocation();

}  // namespace lumo
