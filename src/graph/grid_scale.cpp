// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/grid_scale.h"

#include <array>
#include <cmath>

#include "core/number_text.h"
#include "core/text.h"
#include "gwl/surface/draw_surface.h"

namespace vorax {

namespace {

constexpr double kRatioHigh = 0.2f; // the 32-bit reals, as the thresholds are meant
constexpr double kRatioLow = 0.1f;
// A scale has at most 11 ticks; the bound only matters when rounding would stall a step.
constexpr int kMaxTicks = 32;

// Pixel lengths in real window units.
struct PixelUnits {
    double x; // real x units per pixel across
    double y; // real y units per pixel down
};

PixelUnits pixel_units(const gwl::DrawSurface& surface, const ViewMapping& view)
{
    return {(view.window_x2 - view.window_x1) / surface.width(),
            (view.window_y2 - view.window_y1) / surface.height()};
}

double vertical_sign(const GraphSettings& settings) { return window_y_down(settings) ? -1.0 : 1.0; }

// Where a grid point (x, y) is drawn: raised by the slant of a slanted grid.
double grid_y_at(const GridRect& grid, double x, double y)
{
    return grid.slope == 0.0 ? y : y + grid.slope * (x - grid.origin_x);
}

// The model coordinate that the scale writes for a grid x.
double across_value(const GridRect& grid, double x, double center_x)
{
    return grid.label_scale_x == 1.0 ? x + center_x : (x + center_x) * grid.label_scale_x;
}

} // namespace

std::string scale_label(double value) { return left_adjust(fixed_format(value, 9, 2)); }

void set_grid_steps(ViewMapping& view, const GridRect& grid)
{
    view.grid_step_x = (grid.x2 - grid.x1) / 5;
    view.grid_step_y = (grid.y2 - grid.y1) / 10;
}

void draw_grid(gwl::DrawSurface& surface, const ViewMapping& view, const GraphSettings& settings,
               const GridRect& grid)
{
    surface.set_color_rgb(settings.colors[role_index(ColorRole::grid)]);

    if (10 * view.grid_step_y != 0.0) {
        const double r = 10 * view.grid_step_y / (view.window_y2 - view.window_y1);
        int n = 5;
        double step = 2.5 * view.grid_step_y;
        if (r > kRatioHigh) {
            n = 11;
            step = view.grid_step_y;
        } else if (r > kRatioLow) {
            n = 6;
            step = 2 * view.grid_step_y;
        }
        double y = grid.y1;
        for (int i = 0; i < n; ++i) {
            surface.move_to_w(grid.x1, grid_y_at(grid, grid.x1, y));
            surface.line_to_w(grid.x2, grid_y_at(grid, grid.x2, y));
            y += step;
        }
    }

    if (5 * view.grid_step_x != 0.0) {
        const double r = 5 * view.grid_step_x / (view.window_x2 - view.window_x1);
        int n = 11;
        double step = view.grid_step_x / 2;
        if (r < kRatioHigh) {
            n = 6;
            step = view.grid_step_x;
        }
        double x = grid.x1;
        for (int i = 0; i < n; ++i) {
            surface.move_to_w(x, grid_y_at(grid, x, grid.y1));
            surface.line_to_w(x, grid_y_at(grid, x, grid.y2));
            x += step;
        }
    }
}

void draw_scale(gwl::DrawSurface& surface, const ViewMapping& view, const GraphSettings& settings,
                const GridRect& grid, double center_x, double center_y)
{
    surface.set_color_rgb(settings.colors[role_index(ColorRole::scale)]);
    const PixelUnits per_pixel = pixel_units(surface, view);
    const double sv = vertical_sign(settings);

    if (grid.y2 - grid.y1 != 0.0) {
        const float r = static_cast<float>(10 * view.grid_step_y)
                        / static_cast<float>(view.window_y2 - view.window_y1);
        int mode = 3;
        double step = 2.5 * view.grid_step_y;
        if (r > 0.2f) {
            mode = 1;
            step = view.grid_step_y;
        } else if (r > 0.1f) {
            mode = 2;
            step = 2 * view.grid_step_y;
        }
        surface.set_font(kScaleFont);
        gwl::FontInfo font;
        surface.get_font_info(font);
        const double w_top = surface.get_gtext_extent(scale_label(grid.y2 + center_y)) * per_pixel.x;
        const double gap = 1.1 * font.avg_char_width * per_pixel.x;
        const double ha = font.ascent * per_pixel.y;
        const double x_label = grid.x1 - gap - w_top;
        bool first = true;
        int ticks = 0;
        for (double y = grid.y1; y <= grid.y2 + 0.1 * step && ticks < kMaxTicks; y += step, ++ticks) {
            const double at = grid_y_at(grid, grid.x1, y);
            surface.move_to_w(grid.x1, at);
            surface.line_to_w(grid.x1 - gap, at);
            if (mode != 3 || first || y > grid.y2 - step) {
                surface.move_to_w(x_label, at + 0.5 * ha * sv);
                surface.out_gtext(scale_label(y + center_y));
            }
            first = false;
        }
    }

    if (grid.x2 - grid.x1 != 0.0) {
        double step = view.grid_step_x;
        if (static_cast<float>(grid.x2 - grid.x1) / static_cast<float>(view.window_x2 - view.window_x1)
            > 0.2f)
            step /= 2;
        surface.set_font(kScaleFont);
        gwl::FontInfo font;
        surface.get_font_info(font);
        const double w_last
            = surface.get_gtext_extent(scale_label(across_value(grid, grid.x2, center_x))) * per_pixel.x;
        const double asc = font.ascent * per_pixel.y;
        const double th = font.pixel_height * per_pixel.y;
        const bool down = window_y_down(settings);
        int ticks = 0;
        for (double x = grid.x1; x <= grid.x2 + 0.1 * step && ticks < kMaxTicks;
             x += 2 * step, ++ticks) {
            const double at = grid_y_at(grid, x, grid.y1);
            surface.move_to_w(x - 0.25 * w_last, down ? at - asc - th : at - asc);
            surface.out_gtext(scale_label(across_value(grid, x, center_x)));
            surface.move_to_w(x, at);
            surface.line_to_w(x, at - 0.5 * th);
        }
    }
}

namespace {

// The letter of the upright arrow: "Z " for a spatial model, "Y " for a plane one and in the
// plan.
const char* upright_label(const GraphSettings& settings, int NGL)
{
    return NGL == 3 && settings.view != GraphView::plan ? "Z " : "Y ";
}

// An arrow of the X arrow's size from (px, py) along the plot direction (dx, dy), shaped on the
// screen's pixels so that it keeps its form at any slant, with its label beyond the tip: to the
// right of it for an arrow that points right, to the left for one that points left.
void draw_arrow_along(gwl::DrawSurface& surface, const ViewMapping& view,
                      const GraphSettings& settings, double px, double py, double dx, double dy,
                      const char* label)
{
    gwl::FontInfo font;
    surface.get_font_info(font);
    const PixelUnits per_pixel = pixel_units(surface, view);
    const double ch = font.pixel_height * per_pixel.y;
    const double sv = vertical_sign(settings);
    // In pixels across and up the screen (the window's y may point down).
    const double ux = dx / per_pixel.x;
    const double uy = dy / per_pixel.y * sv;
    const double length = std::hypot(ux, uy);
    if (!(length > 0.0))
        return;
    const double ax = ux / length, ay = uy / length; // along
    const double nx = -ay, ny = ax;                  // across, to the left of the arrow
    const double o = view.unit_y / 36 / std::abs(per_pixel.y);
    auto at = [&](double along, double across) {
        return gwl::WindowPoint{px + (along * ax + across * nx) * o * per_pixel.x,
                                py + (along * ay + across * ny) * o * per_pixel.y * sv};
    };
    const std::array<gwl::WindowPoint, 7> p{{at(0, 0.5), at(10, 0.5), at(10, 1.5), at(12.5, 0),
                                             at(10, -1.5), at(10, -0.5), at(0, -0.5)}};
    surface.polygon_w(gwl::kFillInterior, p);
    const gwl::WindowPoint tip = p[3];
    const double width = surface.get_gtext_extent(label) * per_pixel.x;
    surface.move_to_w(ax >= 0 ? tip.x : tip.x - width, tip.y + 0.5 * ch * sv);
    surface.out_gtext(label);
}

} // namespace

void draw_axis_arrow(gwl::DrawSurface& surface, const ViewMapping& view,
                     const GraphSettings& settings, int NGL, double px, double py, int axis)
{
    gwl::FontInfo font;
    surface.get_font_info(font);
    const PixelUnits per_pixel = pixel_units(surface, view);
    const float cw = 0.7f * static_cast<float>(font.avg_char_width * per_pixel.x);
    const double ch = font.pixel_height * per_pixel.y;
    const double sv = vertical_sign(settings);
    const double sy = settings.reverse_y ? -1.0 : 1.0;
    const double s = sv * sy;

    std::array<gwl::WindowPoint, 7> p{};
    gwl::WindowPoint label_at;
    const char* label = "  ";
    if (axis == kAxisX) {
        const double o = view.unit_y / 36;
        p = {{{px, py + 0.5 * o},
              {px + 10 * o, py + 0.5 * o},
              {px + 10 * o, py + 1.5 * o},
              {px + 12.5 * o, py},
              {px + 10 * o, py - 1.5 * o},
              {px + 10 * o, py - 0.5 * o},
              {px, py - 0.5 * o}}};
        label = " X";
        label_at = {px + 12.5 * o, py + 0.5 * ch * sv};
    } else if (axis == kAxisVertical) {
        const double o = view.unit_x / 227;
        p = {{{px - 0.5 * o, py},
              {px - 0.5 * o, py + 35 * o},
              {px - 2.5 * o, py + 35 * o},
              {px, py + 42 * o},
              {px + 2.5 * o, py + 35 * o},
              {px + 0.5 * o, py + 35 * o},
              {px + 0.5 * o, py}}};
        label = upright_label(settings, NGL);
        label_at = {px - 0.5 * cw, window_y_down(settings) ? py + 42 * o : py + 42 * o + ch};
    } else {
        constexpr double c = 0.7071067811865476;
        const double q = c * view.unit_y / 48;
        auto step = [&](gwl::WindowPoint from, double ax, double ay) {
            return gwl::WindowPoint{from.x + ax * q * sy, from.y + ay * q * s};
        };
        p[0] = {px - 0.5 * q * sy, py + 0.5 * q * s};
        p[1] = step(p[0], 15, 15);
        p[2] = step(p[1], -1, 1);
        p[3] = step(p[2], 4.5, 1.5);
        p[4] = step(p[3], -1.5, -4.5);
        p[5] = step(p[4], -1, 1);
        p[6] = step(p[5], -15, -15);
        label = "Y ";
        label_at = {p[3].x, p[3].y + ch * s};
    }
    surface.polygon_w(gwl::kFillInterior, p);
    surface.move_to_w(label_at.x, label_at.y);
    surface.out_gtext(label);
}

void draw_axis_arrows(gwl::DrawSurface& surface, const ViewMapping& view,
                      const GraphSettings& settings, int NGL, double px, double py)
{
    const GraphView shown = NGL == 3 ? settings.view : GraphView::oblique;
    const double sy = settings.reverse_y ? -1.0 : 1.0;
    const double sv = settings.reverse_vertical ? -1.0 : 1.0;
    switch (shown) {
    case GraphView::oblique:
        draw_axis_arrow(surface, view, settings, NGL, px, py, kAxisX);
        draw_axis_arrow(surface, view, settings, NGL, px, py, kAxisVertical);
        if (NGL == 3)
            draw_axis_arrow(surface, view, settings, NGL, px, py, kAxisY);
        return;
    case GraphView::front:
    case GraphView::plan:
        draw_axis_arrow(surface, view, settings, NGL, px, py, kAxisX);
        draw_axis_arrow(surface, view, settings, NGL, px, py, kAxisVertical);
        return;
    case GraphView::side:
        draw_arrow_along(surface, view, settings, px, py, sy, 0.0, sy > 0 ? " Y" : "Y ");
        draw_axis_arrow(surface, view, settings, NGL, px, py, kAxisVertical);
        return;
    case GraphView::iso: {
        // The plot directions of X and Y (Projection): (k, -sv / 2) and sy (k, sv / 2).
        constexpr double k = Projection::kIsoCos;
        draw_arrow_along(surface, view, settings, px, py, k, -sv / 2, " X");
        draw_arrow_along(surface, view, settings, px, py, sy * k, sy * sv / 2, sy > 0 ? " Y" : "Y ");
        draw_axis_arrow(surface, view, settings, NGL, px, py, kAxisVertical);
        return;
    }
    }
}

void draw_origin_marker(gwl::DrawSurface& surface, const ViewMapping& view, double center_x,
                        double center_y)
{
    const double ox = -center_x;
    const double oy = -center_y;
    surface.set_color_rgb(kWhite);
    surface.ellipse_w(gwl::kFillInterior, ox - view.marker_dx, oy + view.marker_dy,
                      ox + view.marker_dx, oy - view.marker_dy);
    surface.set_color_rgb(kBlack);
    surface.ellipse_w(gwl::kFillOutline, ox - view.marker_dx, oy + view.marker_dy,
                      ox + view.marker_dx, oy - view.marker_dy);
}

} // namespace vorax
