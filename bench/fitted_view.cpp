// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of a fitted graph window's repaint: a whole drawing area shrunk into the viewport of a
// new graph window, each viewport pixel chosen from its box (what one full repaint costs), beside
// the smooth scaling of the painter that it replaced.
//
//   cmake --preset release && cmake --build --preset release --target bench_fitted_view -- -j2
//   build/release/bench/bench_fitted_view

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <random>

#include "bench_support.h"
#include "gwl/windows/fitted_view.h"

namespace {

using vorax::bench::Clock;
using vorax::bench::seconds_since;

constexpr int kRepaints = 50;

// A white area with a few thousand black one-pixel lines up to 200 pixels long and as many
// numbers, about what a large graph leaves.
QImage drawn_area(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    std::mt19937 random(42);
    std::uniform_int_distribution<int> x(0, size.width() - 1);
    std::uniform_int_distribution<int> y(0, size.height() - 1);
    std::uniform_int_distribution<int> step(-200, 200);
    QPainter painter(&image);
    painter.setPen(QColor(0, 0, 0));
    for (int i = 0; i < 3000; ++i) {
        const QPoint from(x(random), y(random));
        painter.drawLine(from, from + QPoint(step(random), step(random)));
        painter.drawText(QPoint(x(random), y(random)), QString::number(i));
    }
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    vorax::bench::use_offscreen_platform();
    QGuiApplication app(argc, argv);

    const struct {
        QSize area, viewport;
    } cases[] = {{{1280, 1024}, {1140, 830}}, {{1920, 1080}, {1716, 860}}, {{1600, 1200}, {1420, 1010}}};
    for (const auto& c : cases) {
        const QImage image = drawn_area(c.area);
        const vorax::gwl::FittedView view(c.area, c.viewport);
        const QRect whole(QPoint(0, 0), view.shown());
        const auto start = Clock::now();
        long long checksum = 0;
        for (int i = 0; i < kRepaints; ++i)
            checksum += view.sample(image, whole, vorax::kWhite).pixel(i, i);
        const double ms = seconds_since(start) * 1e3 / kRepaints;
        QImage screen(view.shown(), QImage::Format_RGB32);
        const auto smooth_start = Clock::now();
        for (int i = 0; i < kRepaints; ++i) {
            QPainter painter(&screen);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(whole, image);
        }
        const double smooth_ms = seconds_since(smooth_start) * 1e3 / kRepaints;
        std::printf("%dx%d area in a %dx%d viewport (shown %dx%d): %.2f ms per full repaint, "
                    "smooth scaling %.2f ms (%lld)\n",
                    c.area.width(), c.area.height(), c.viewport.width(), c.viewport.height(),
                    view.shown().width(), view.shown().height(), ms, smooth_ms, checksum % 7);
    }
    return 0;
}
