// A label image as an 8-bit grey PNG: the bitmap's pixels and resolution in
// a file a fraction of its size.
#pragma once

#include "Result.h"
#include "Surface.h"

namespace lumo {

// Writes `image` as a grey PNG with a pHYs chunk of PixelsPerMetre(dpi) on
// both axes; CannotWrite with ENOMEM when the encoder gives up.
[[nodiscard]] Result<void> WriteLabelPng(int fd, const Surface& image, double resolutionDpi);

}  // namespace lumo
