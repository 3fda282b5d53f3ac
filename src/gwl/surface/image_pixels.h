// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pixels of a picture of 32-bit pixels as the raster drawing takes them.
//
// Contents: pixels_of.

#include <cstdint>

#include <QImage>

#include "gwl/surface/raster.h"

namespace vorax::gwl {

// bits() makes sure that nobody else shares the pixels about to be changed.
inline raster::PixelBuffer pixels_of(QImage& image)
{
    return {reinterpret_cast<std::uint32_t*>(image.bits()), image.width(), image.height(),
            image.bytesPerLine() / 4};
}

} // namespace vorax::gwl
