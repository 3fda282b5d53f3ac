// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/zoom_pick.h"

#include <algorithm>

#include "gwl/platform/system.h"
#include "gwl/prompts.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/windows/graphics_window.h"
#include "settings/node_ranges.h"

namespace vorax {

namespace {

constexpr std::uint16_t kDotted = 0xAAAA;
constexpr std::uint16_t kSolid = 0xFFFF;
constexpr int kDragEvents = gwl::mouse::kLeftDown | gwl::mouse::kLeftUp | gwl::mouse::kMove;

} // namespace

void draw_rubber_band(gwl::DrawSurface& surface, const ZoomRectangle& band)
{
    surface.set_line_style(kDotted);
    surface.rectangle_w(gwl::kFillOutline, band.p0.x, band.p0.y, band.p1.x, band.p1.y);
}

void erase_rubber_band(gwl::DrawSurface& surface, const ZoomRectangle& band)
{
    const Rgb previous = surface.set_color_rgb(kWhite);
    surface.rectangle_w(gwl::kFillOutline, band.p0.x, band.p0.y, band.p1.x, band.p1.y);
    surface.set_color_rgb(previous);
    surface.set_line_style(kSolid);
}

std::optional<ZoomRectangle> pick_zoom_rectangle(gwl::GraphicsWindow& window, const ZoomWindow& area)
{
    // The surface stays alive even if the user closes the window during the pick.
    const std::shared_ptr<gwl::DrawSurface> kept = window.shared_surface();
    gwl::DrawSurface& surface = *kept;

    // The whole picture is kept, to wipe each band out again.
    const double x_lo = std::min(area.x1, area.x2);
    const double x_hi = std::max(area.x1, area.x2);
    const double y_lo = std::min(area.y1, area.y2);
    const double y_hi = std::max(area.y1, area.y2);
    const gwl::WindowPoint top_left{x_lo, area.reverse_vertical ? y_lo : y_hi};
    gwl::ImageBuffer picture(surface.image_size_w(x_lo, y_lo, x_hi, y_hi));
    surface.get_image_w(x_lo, y_lo, x_hi, y_hi, picture);

    const gwl::MouseEventResult press = gwl::prompter().wait_mouse(window, gwl::mouse::kLeftDown);
    if (press.event < 0)
        return std::nullopt;
    ZoomRectangle band{surface.get_window_coord(press.x, press.y), {}};
    band.p1 = band.p0;

    // A band stays on the screen until the next mouse event, so that a pointer at rest shows
    // what it would pick; the picture under it comes back just before the next band is drawn.
    auto restore = [&] { surface.put_image_w(top_left.x, top_left.y, picture, gwl::kActionCopy); };
    bool band_shown = false;
    for (;;) {
        const gwl::MouseEventResult event = gwl::prompter().wait_mouse(window, kDragEvents);
        if (band_shown)
            restore();
        if (event.event < 0)
            return std::nullopt;
        band.p1 = surface.get_window_coord(event.x, event.y);
        draw_rubber_band(surface, band);
        // The band must be on the screen while the pause holds the thread.
        window.show_changes_now();
        const bool released = event.event == gwl::mouse::kLeftUp;
        gwl::sleep_ms(released ? kFinalBandPauseMs : kBandPauseMs);
        band_shown = true;
        if (released) {
            restore();
            return band;
        }
    }
}

std::int32_t select_nodes_in_rectangle(StructureModel& model, const ZoomRectangle& rectangle,
                                       const std::vector<bool>& drawn)
{
    const double x_lo = std::min(rectangle.p0.x, rectangle.p1.x);
    const double x_hi = std::max(rectangle.p0.x, rectangle.p1.x);
    const double y_lo = std::min(rectangle.p0.y, rectangle.p1.y);
    const double y_hi = std::max(rectangle.p0.y, rectangle.p1.y);
    for (std::size_t i = 0; i < model.nodes.size(); ++i) {
        Node& node = model.nodes[i];
        const double x = node.plot_x;
        const double y = node.plot_y;
        node.selected = i < drawn.size() && drawn[i] && x_lo <= x && x <= x_hi && y_lo <= y
                        && y <= y_hi;
    }
    return selected_node_count(model);
}

} // namespace vorax
