// SPDX-License-Identifier: GPL-3.0-or-later
// Where the time of `vorax --export` goes, phase by phase, on the 10^6-node, 10^6-element
// lattice of the benchmarks (bench/lattice_model.h): the start of the GUI application (fonts
// included), reading the model, the model check, preparing the loaded model, planning the graph
// (extents, projection, box, centring), the drawing surface, the drawing itself with its
// element lines apart, and the PNG. Best of three for each phase, in this process; the whole
// process is measured from outside (see below).
//
//   cmake --preset release && cmake --build --preset release --target bench_export_phases -- -j2
//   build/release/bench/bench_export_phases [MODEL] [WxH]
//   /usr/bin/time -f "%e s %M KB" build/release/vorax --export out.png MODEL --size 1600x1200
//   /usr/bin/time -f "%e s" build/release/vorax --export out.png examples/plane_frame.dat
//       (the last: process start-up, Qt and fonts, an empty-ish drawing and its PNG)
//
// bench_versus_gnuplot times the whole export beside gnuplot drawing the same lines.
//
// Without MODEL the lattice is written to /tmp/vorax-bench/lattice-1000000.dat first.

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "app/info_command.h"
#include "graph/graph_drawing.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/surface/picture_io.h"
#include "bench_support.h"
#include "timing.h"
#include "model/model_check.h"
#include "model/model_reader.h"

namespace {

using vorax::bench::best_of;
using vorax::bench::Clock;
using vorax::bench::seconds_since;

void row(const char* phase, double seconds)
{
    std::printf("  %-34s %8.3f s\n", phase, seconds);
}

} // namespace

int main(int argc, char** argv)
{
    vorax::bench::use_offscreen_platform();
    std::filesystem::path model_path = argc > 1 ? argv[1] : "";
    int width = 1600, height = 1200;
    if (argc > 2)
        std::sscanf(argv[2], "%dx%d", &width, &height);
    if (model_path.empty())
        model_path = vorax::bench::lattice_file(vorax::bench::bench_folder(), 1000000);

    auto start = Clock::now();
    int qt_argc = 1;
    QGuiApplication app(qt_argc, argv);
    const double application = seconds_since(start);

    vorax::ReadResult read;
    const double reading = best_of(3, [&] { read = vorax::read_model(model_path); });
    if (!read.ok()) {
        std::fprintf(stderr, "cannot read %s: %s\n", model_path.c_str(), read.message.c_str());
        return 1;
    }
    const vorax::StructureModel loaded = read.model;
    const double checking = best_of(3, [&] { (void)vorax::check_model(read.model, read.notes).count(); });

    vorax::StructureModel model;
    vorax::SettingsState settings;
    const double preparing = best_of(
        3, [&] { (void)vorax::prepare_loaded_model(model, settings.current_settings); },
        [&] { model = loaded; });
    vorax::GraphPlan plan;
    const double planning = best_of(
        3, [&] { plan = vorax::plan_graph(model, settings, 1); },
        [&] {
            model = loaded;
            (void)vorax::prepare_loaded_model(model, settings.current_settings);
        });

    const vorax::GraphTexts texts{"VORAX:", model.problem_title, {}};
    double surface_seconds = 1e30;
    double drawing = 1e30;
    double png = 1e30;
    for (int run = 0; run < 3; ++run) {
        start = Clock::now();
        vorax::gwl::DrawSurface surface(width, height, vorax::gwl::SurfaceDrawing::pixels_only);
        surface_seconds = std::min(surface_seconds, seconds_since(start));
        start = Clock::now();
        vorax::draw_graph(surface, model, settings, plan, texts);
        drawing = std::min(drawing, seconds_since(start));
        start = Clock::now();
        const std::string reason = vorax::gwl::write_surface_picture(
            surface, "/tmp/vorax-bench-phases.png", vorax::gwl::PictureFormat::png, {});
        png = std::min(png, seconds_since(start));
        if (!reason.empty()) {
            std::fprintf(stderr, "cannot write the picture: %s\n", reason.c_str());
            return 1;
        }
    }
    std::filesystem::remove("/tmp/vorax-bench-phases.png");

    // The drawing of an SVG or PDF export: into the record alone.
    double recording = 1e30;
    for (int run = 0; run < 3; ++run) {
        vorax::gwl::DrawSurface surface(width, height, vorax::gwl::SurfaceDrawing::record_only);
        start = Clock::now();
        vorax::draw_graph(surface, model, settings, plan, texts);
        recording = std::min(recording, seconds_since(start));
    }

    // The element lines alone, on a surface of their own (made outside the time), handed over
    // in batches of 4096 as the drawing hands them.
    std::vector<vorax::gwl::WindowLine> element_lines;
    for (const vorax::Element& e : model.elements) {
        const vorax::Node& a = model.node(e.node1);
        const vorax::Node& b = model.node(e.node2);
        element_lines.push_back({{a.plot_x, a.plot_y}, {b.plot_x, b.plot_y}});
    }
    std::unique_ptr<vorax::gwl::DrawSurface> line_surface;
    const double lines = best_of(
        3,
        [&] {
            constexpr std::size_t batch = 4096;
            const std::span<const vorax::gwl::WindowLine> all(element_lines);
            for (std::size_t first = 0; first < all.size(); first += batch)
                line_surface->lines_w(all.subspan(first, std::min(batch, all.size() - first)));
        },
        [&] {
            line_surface = std::make_unique<vorax::gwl::DrawSurface>(width, height, vorax::gwl::SurfaceDrawing::pixels_only);
            const vorax::WindowCorners c = vorax::window_corners(plan.view, false);
            line_surface->set_window(c.invert, c.x1, c.y1, c.x2, c.y2);
            line_surface->set_color_rgb(0);
        });

    std::printf("%s, %d nodes, %d elements, %dx%d\n", model_path.c_str(), loaded.node_count,
                loaded.element_count, width, height);
    row("GUI application (once)", application);
    row("read_model", reading);
    row("check_model", checking);
    row("prepare_loaded_model", preparing);
    row("plan_graph", planning);
    row("drawing surface", surface_seconds);
    row("draw_graph", drawing);
    row("  of which: the element lines alone", lines);
    row("draw_graph into the record alone", recording);
    row("PNG", png);
    return 0;
}
