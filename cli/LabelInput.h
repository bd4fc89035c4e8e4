// Turns lumo-render's INPUT into label text the way the window takes a drop,
// a paste or its start-up.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "Result.h"

namespace lumo::cli {

struct LabelInput {
  std::string text;     // code page 932
  std::string warning;  // one line, when a folder could not be listed
};

// No input: the start-up prompt. A name ending in ".txt": the file's first
// `capacity` bytes. "-": standard input as a paste. Anything else: the listing
// of that folder, which is empty, with a warning, when it cannot be listed.
// An error when the input cannot be read.
[[nodiscard]] Result<LabelInput> ReadLabelInput(const std::optional<std::string>& input,
                                                std::int32_t capacity);

}  // namespace lumo::cli
