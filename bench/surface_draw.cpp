// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the drawing surface on a 1600 x 1200 area: one-pixel solid lines (what a graph
// draws by the thousand) and graphic text of numbers (node and element indices).
//
//   cmake --preset release && cmake --build --preset release --target bench_surface_draw -- -j2
//   build/release/bench/bench_surface_draw

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bench_support.h"
#include "gwl/surface/draw_surface.h"

namespace {

using vorax::gwl::DrawSurface;
using vorax::gwl::WindowPoint;
using vorax::bench::Clock;
using vorax::bench::seconds_since;

constexpr int kWidth = 1600;
constexpr int kHeight = 1200;
constexpr int kLines = 1'000'000;
constexpr int kTexts = 100'000;

// End points of short lines (up to 20 pixels each way), each starting where the last ended.
std::vector<WindowPoint> random_walk(int count)
{
    std::mt19937 random(42);
    std::uniform_real_distribution<double> step(-20.0, 20.0);
    std::vector<WindowPoint> points;
    points.reserve(static_cast<std::size_t>(count));
    WindowPoint p{kWidth / 2.0, kHeight / 2.0};
    for (int i = 0; i < count; ++i) {
        p.x = std::clamp(p.x + step(random), 0.0, kWidth - 1.0);
        p.y = std::clamp(p.y + step(random), 0.0, kHeight - 1.0);
        points.push_back(p);
    }
    return points;
}

double time_lines(DrawSurface& surface, const std::vector<WindowPoint>& points)
{
    surface.move_to_w(kWidth / 2.0, kHeight / 2.0);
    const auto start = Clock::now();
    for (const WindowPoint& p : points)
        surface.line_to_w(p.x, p.y);
    return seconds_since(start);
}

} // namespace

int main(int argc, char** argv)
{
    vorax::bench::use_offscreen_platform();
    QGuiApplication app(argc, argv);

    DrawSurface surface(kWidth, kHeight);
    surface.set_window(true, 0, 0, kWidth - 1, kHeight - 1);
    surface.set_bk_color_rgb(vorax::kWhite);
    surface.clear_screen(0);
    surface.set_color_rgb(vorax::kBlack);

    const std::vector<WindowPoint> walk = random_walk(kLines);
    const double line_seconds = time_lines(surface, walk);
    std::printf("line_to_w, solid, 1 pixel: %d lines in %.3f s = %.2f million lines/s\n", kLines,
                line_seconds, kLines / line_seconds / 1e6);

    surface.set_line_style(0xAAAA);
    const double dotted_seconds = time_lines(surface, walk);
    std::printf("line_to_w, dotted:         %d lines in %.3f s = %.2f million lines/s\n", kLines,
                dotted_seconds, kLines / dotted_seconds / 1e6);
    surface.set_line_style(0xFFFF);

    std::vector<std::string> numbers;
    numbers.reserve(kTexts);
    for (int i = 1; i <= kTexts; ++i)
        numbers.push_back(std::to_string(i));
    surface.init_fonts();
    surface.set_font("t'tms rmn'h12b");
    const auto text_start = Clock::now();
    for (int i = 0; i < kTexts; ++i) {
        const WindowPoint& p = walk[static_cast<std::size_t>(i)];
        surface.move_to_w(p.x, p.y);
        surface.out_gtext(numbers[static_cast<std::size_t>(i)]);
    }
    const double text_seconds = seconds_since(text_start);
    std::printf("move_to_w + out_gtext:     %d numbers in %.3f s = %.0f thousand texts/s\n",
                kTexts, text_seconds, kTexts / text_seconds / 1e3);
    return 0;
}
