// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading the pixels of a drawn surface or picture back as program colours (0x00BBGGRR).

#include <QImage>

#include "core/color.h"
#include "gwl/surface/draw_surface.h"

namespace vorax::testing {

// The picture of a surface, read once.
class Pixels {
public:
    explicit Pixels(const gwl::DrawSurface& surface) : image_(surface.image_copy()) {}
    explicit Pixels(QImage image) : image_(std::move(image)) {}

    Rgb at(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
            return 0xFF000000u; // outside: no colour of the program
        const QRgb p = image_.pixel(x, y);
        return make_rgb(qRed(p), qGreen(p), qBlue(p));
    }
    // Pixels of the colour in the rectangle [x0, x1] x [y0, y1].
    int count(Rgb color, int x0, int y0, int x1, int y1) const
    {
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                n += at(x, y) == color;
        return n;
    }
    int count(Rgb color) const
    {
        return count(color, 0, 0, image_.width() - 1, image_.height() - 1);
    }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    const QImage& image() const { return image_; }
    friend bool operator==(const Pixels& a, const Pixels& b) { return a.image_ == b.image_; }

private:
    QImage image_;
};

} // namespace vorax::testing
