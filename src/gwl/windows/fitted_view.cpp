// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/windows/fitted_view.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace vorax::gwl {

namespace {

// floor(a * b / c) for c > 0, also for negative a; 64 bits hold any product of two sizes.
int scaled_floor(long long a, long long b, long long c)
{
    const long long p = a * b;
    return static_cast<int>(p >= 0 ? p / c : -((-p + c - 1) / c));
}

int scaled_ceil(long long a, long long b, long long c) { return -scaled_floor(-a, b, c); }

int distance(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b))
           + std::abs(qBlue(a) - qBlue(b));
}

// Of the pixels of a box (in reading order), the first of those farthest from the paper.
QRgb farthest_of(const std::array<QRgb, 4>& box, QRgb paper)
{
    if (box[0] == box[1] && box[0] == box[2] && box[0] == box[3])
        return box[0];
    QRgb chosen = box[0];
    int farthest = distance(box[0], paper);
    for (std::size_t i = 1; i < box.size(); ++i) {
        const int d = distance(box[i], paper);
        chosen = d > farthest ? box[i] : chosen;
        farthest = d > farthest ? d : farthest;
    }
    return chosen;
}

// The area pixels from edges[i] up to edges[i + 1] make up the box of viewport pixel first + i.
std::vector<int> box_edges(int first, int count, int area, int shown)
{
    std::vector<int> edges(static_cast<std::size_t>(count) + 1);
    for (int i = 0; i <= count; ++i)
        edges[static_cast<std::size_t>(i)] = scaled_floor(first + i, area, shown);
    return edges;
}

} // namespace

FittedView::FittedView(QSize area, QSize viewport)
    : area_(area.expandedTo({1, 1})), shown_(area_)
{
    const QSize room = viewport.expandedTo({1, 1});
    if (area_.width() <= room.width() && area_.height() <= room.height())
        return;
    // The side that needs the stronger shrinking fills the viewport; the other follows it.
    const long long across = static_cast<long long>(room.width()) * area_.height();
    const long long down = static_cast<long long>(room.height()) * area_.width();
    if (across <= down)
        shown_ = {room.width(), std::max(1, scaled_floor(room.width(), area_.height(), area_.width()))};
    else
        shown_ = {std::max(1, scaled_floor(room.height(), area_.width(), area_.height())), room.height()};
}

PixelPoint FittedView::area_pixel_at(QPointF position) const
{
    const auto x = static_cast<long long>(std::floor(position.x()));
    const auto y = static_cast<long long>(std::floor(position.y()));
    return {scaled_floor(x, area_.width(), shown_.width()),
            scaled_floor(y, area_.height(), shown_.height())};
}

QPointF FittedView::area_point_at(QPointF position) const
{
    // Viewport pixel v shows the area from v * area / shown up to (v + 1) * area / shown.
    const double sx = static_cast<double>(area_.width()) / shown_.width();
    const double sy = static_cast<double>(area_.height()) / shown_.height();
    return {(std::floor(position.x()) + 0.5) * sx - 0.5, (std::floor(position.y()) + 0.5) * sy - 0.5};
}

double FittedView::area_pixels_per_view_pixel() const
{
    return std::max(static_cast<double>(area_.width()) / shown_.width(),
                    static_cast<double>(area_.height()) / shown_.height());
}

QRect FittedView::view_rect_of(const PixelRect& pixels) const
{
    if (pixels.empty())
        return {};
    // The last viewport pixel whose box starts at or before area pixel p is
    // ceil((p + 1) * shown / area) - 1.
    auto first_x = [this](int p) { return scaled_ceil(p + 1, shown_.width(), area_.width()) - 1; };
    auto first_y = [this](int p) { return scaled_ceil(p + 1, shown_.height(), area_.height()) - 1; };
    const int left = first_x(pixels.x);
    const int top = first_y(pixels.y);
    return QRect(QPoint(left, top),
                 QPoint(first_x(pixels.x + pixels.width - 1), first_y(pixels.y + pixels.height - 1)));
}

QImage FittedView::sample(const QImage& image, const QRect& part, Rgb paper) const
{
    const QRect target = part.intersected(QRect(QPoint(0, 0), shown_));
    if (target.isEmpty() || image.size() != area_)
        return {};
    const QImage source = image.format() == QImage::Format_RGB32
                              ? image
                              : image.convertToFormat(QImage::Format_RGB32);
    const QRgb paper_pixel = qRgb(static_cast<int>(red_of(paper)),
                                  static_cast<int>(green_of(paper)),
                                  static_cast<int>(blue_of(paper)));
    const std::vector<int> xs = box_edges(target.x(), target.width(), area_.width(), shown_.width());
    const std::vector<int> ys =
        box_edges(target.y(), target.height(), area_.height(), shown_.height());

    QImage out(target.size(), QImage::Format_RGB32);
    const auto* pixels = reinterpret_cast<const QRgb*>(source.constBits());
    const qsizetype stride = source.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    // Shrunk to half or less, a box is at most two pixels each way: the four corners of the
    // box are all its pixels, taken without a loop (the usual case: the frame is most of the
    // screen and the drawing area the screen).
    const bool small_boxes = shown_.width() * 2 >= area_.width() && shown_.height() * 2 >= area_.height();
    for (int row = 0; row < target.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(row));
        const int y0 = ys[static_cast<std::size_t>(row)];
        const int y1 = ys[static_cast<std::size_t>(row) + 1];
        const QRgb* top = pixels + y0 * stride;
        const QRgb* bottom = pixels + (y1 - 1) * stride;
        for (int column = 0; column < target.width(); ++column) {
            const int x0 = xs[static_cast<std::size_t>(column)];
            const int x1 = xs[static_cast<std::size_t>(column) + 1];
            if (small_boxes) {
                line[column] = farthest_of({top[x0], top[x1 - 1], bottom[x0], bottom[x1 - 1]},
                                           paper_pixel);
                continue;
            }
            // Most boxes are all paper or all of one colour: only other pixels are measured.
            QRgb chosen = top[x0];
            int farthest = chosen == paper_pixel ? 0 : distance(chosen, paper_pixel);
            for (int y = y0; y < y1; ++y) {
                const QRgb* in = pixels + y * stride;
                for (int x = x0; x < x1; ++x) {
                    const QRgb p = in[x];
                    if (p == chosen || p == paper_pixel)
                        continue;
                    if (const int d = distance(p, paper_pixel); d > farthest) {
                        farthest = d;
                        chosen = p;
                    }
                }
            }
            line[column] = chosen;
        }
    }
    return out;
}

} // namespace vorax::gwl
