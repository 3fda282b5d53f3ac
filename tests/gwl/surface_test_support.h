#pragma once
// Helpers for the drawing surface tests: reading pixels back as program colours.

#include <QImage>

#include "core/color.h"
#include "gwl/draw_surface.h"

namespace vorax::gwl::testing {

// The picture of a surface, read once, with pixels as 0x00BBGGRR colours.
class Picture {
public:
    explicit Picture(const DrawSurface& surface) : image_(surface.image_copy()) {}
    Rgb at(int x, int y) const
    {
        const QRgb p = image_.pixel(x, y);
        return make_rgb(qRed(p), qGreen(p), qBlue(p));
    }
    int count(Rgb color) const
    {
        int n = 0;
        for (int y = 0; y < image_.height(); ++y)
            for (int x = 0; x < image_.width(); ++x)
                n += at(x, y) == color;
        return n;
    }
    const QImage& image() const { return image_; }
    friend bool operator==(const Picture& a, const Picture& b) { return a.image_ == b.image_; }

private:
    QImage image_;
};

inline constexpr Rgb kRed = make_rgb(255, 0, 0);
inline constexpr Rgb kBlue = make_rgb(0, 0, 255);

// A small surface on white paper with black ink and the identity mapping.
inline void prepare_paper(DrawSurface& surface)
{
    surface.set_bk_color_rgb(kWhite);
    surface.clear_screen(0);
    surface.set_color_rgb(kBlack);
}

} // namespace vorax::gwl::testing
