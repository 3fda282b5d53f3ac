// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmark of the headless export: generated plane models of 10^3 .. 10^6 nodes and as many
// elements, read, drawn and written as PNG the way `vorax --export` does it. Node and element
// numbers are on up to 10^5 and off for the largest model. Columns: reading the model file; the
// whole export (read, draw, write the PNG) without numbers, best of three, and per 10^6 nodes;
// the export with node and element numbers (up to 10^5); planning and drawing alone with the
// numbers as for that size; the same with node numbers only.
//
// Build and run:  cmake --preset release && cmake --build --preset release --target
//                 bench_graph_export -- -j2 && build/release/bench/bench_graph_export [folder]
// The folder (default /tmp/vorax-bench) receives the models, the pictures and, for comparison
// with other plotting tools, segments-N.txt: the element lines already projected, one
// "x1 y1\nx2 y2\n\n" block per element.

#include <QGuiApplication>

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench_support.h"
#include "app/export_command.h"
#include "graph/graph_drawing.h"
#include "gwl/surface/draw_surface.h"
#include "model/model_reader.h"

namespace {

using vorax::bench::Clock;
using vorax::bench::seconds_since;

// Plan and draw alone, on a surface of the export's size, with the numbers as given.
double draw_seconds(const vorax::StructureModel& loaded, bool node_indices, bool element_indices)
{
    vorax::StructureModel model = loaded;
    vorax::SettingsState settings;
    vorax::GraphSettings& g = settings.current_settings;
    g.all_nodes = true;
    g.selected_node_count = model.node_count;
    g.selected_element_count = model.element_count;
    g.show_node_indices = node_indices;
    g.show_element_indices = element_indices;
    const auto start = Clock::now();
    const vorax::GraphPlan plan = vorax::plan_graph(model, settings, 1);
    vorax::gwl::DrawSurface surface(1024, 768);
    vorax::draw_graph(surface, model, settings, plan, {"VORAX:", model.problem_title, {}});
    return seconds_since(start);
}

} // namespace

int main(int argc, char** argv)
{
    vorax::bench::use_offscreen_platform();
    int qt_argc = 1;
    QGuiApplication app(qt_argc, argv);
    const std::filesystem::path folder = vorax::bench::bench_folder(argc > 1 ? argv[1] : nullptr);

    std::printf("%10s %9s %11s %11s %12s %12s %12s\n", "nodes", "read (s)", "export (s)",
                "per 10^6", "numbered (s)", "draw (s)", "node nos (s)");
    for (long n : {1000L, 10000L, 100000L, 1000000L}) {
        const std::filesystem::path model = vorax::bench::grid_file(folder, n);
        const bool indices = n < 1000000;

        auto start = Clock::now();
        vorax::ReadResult r = vorax::read_model(model);
        const double read = seconds_since(start);
        if (!r.ok()) {
            std::fprintf(stderr, "cannot read %s: %s\n", model.c_str(), r.message.c_str());
            return 1;
        }

        // The whole export, best of three.
        auto export_seconds = [&](bool numbers) {
            vorax::ExportOptions options;
            options.model = model.string();
            options.output = (folder / ("grid-" + std::to_string(n) + (numbers ? "-numbers" : "") + ".png")).string();
            options.width = 1024;
            options.height = 768;
            options.node_indices = numbers;
            options.element_indices = numbers;
            return vorax::bench::best_export_seconds(options);
        };
        const double plain = export_seconds(false);
        const double numbered = indices ? export_seconds(true) : 0.0;
        const double draw = draw_seconds(r.model, indices, indices);
        const double nodes_only = indices ? draw_seconds(r.model, true, false) : 0.0;
        std::printf("%10ld %9.3f %11.3f %11.3f %12.3f %12.3f %12.3f\n", n, read, plain,
                    plain * 1e6 / static_cast<double>(n), numbered, draw, nodes_only);
        if (n == 1000000)
            vorax::bench::write_plot_segments(model, folder / "segments-1000000.txt");
    }
    return 0;
}
