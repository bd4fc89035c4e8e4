// A label image as an 8-bit grey PNG: the bitmap's pixels and resolution in
// a file a fraction of its size.
#pragma once

#include "Surface.h"

namespace lumo {

// Writes `image` as a grey PNG with a pHYs chunk of PixelsPerMetre(dpi) on
// both axes; returns 0 or an errno (ENOMEM when the encoder gives up). The
// label is drawn in greys, so every pixel's green byte is its level.
[[nodiscard]] int WriteLabelPng(int fd, const Surface& image, double resolutionDpi);

}  // namespace lumo
