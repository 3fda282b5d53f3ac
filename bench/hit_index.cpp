// SPDX-License-Identifier: GPL-3.0-or-later
// Pointing on the largest graph: the lattice of 10^6 nodes and elements (bench/lattice_model.h),
// drawn with all nodes onto a 1600 x 1200 drawing area as "NEW Graph ..." then "DRAW" draws it
// (numbers off above 200 nodes: the 10^4 supported nodes get marks, the free ones none). Figures:
// reading the model file, planning and drawing the graph (best of three); building the index of
// what it drew beside them (best of three), and the index's memory; then searches at random
// points of the area, at 1:1 (a slack of 3 pixels) and fitted at a third (9 pixels): the mean
// and the slowest.
//
//   cmake --preset release && cmake --build --preset release --target bench_hit_index -- -j2
//   build/release/bench/bench_hit_index [folder]
//
// The folder (default /tmp/vorax-bench) keeps the generated model between runs.

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>

#include "app/info_command.h"
#include "bench_support.h"
#include "core/beside.h"
#include "graph/graph_drawing.h"
#include "graph/hit_index.h"
#include "gwl/surface/draw_surface.h"
#include "model/model_reader.h"

namespace {

using vorax::bench::best_of;
using vorax::bench::Clock;
using vorax::bench::seconds_since;

constexpr int kWidth = 1600;
constexpr int kHeight = 1200;
constexpr int kRuns = 3;
constexpr int kSearches = 1000000;

} // namespace

int main(int argc, char** argv)
{
    vorax::bench::use_offscreen_platform();
    int qt_argc = 1;
    QGuiApplication app(qt_argc, argv);
    const std::filesystem::path path = vorax::bench::lattice_file(vorax::bench::bench_folder(argc > 1 ? argv[1] : nullptr), 1000000);

    const auto read_start = Clock::now();
    vorax::ReadResult read = vorax::read_model(path);
    const double reading = seconds_since(read_start);
    if (!read.ok()) {
        std::fprintf(stderr, "cannot read %s: %s\n", path.c_str(), read.message.c_str());
        return 1;
    }
    vorax::SettingsState settings;
    vorax::prepare_loaded_model(read.model, settings.current_settings);
    const vorax::GraphSettings& g = settings.current_settings;

    // Planning and drawing, best of three, each on a new surface made outside the time.
    const vorax::GraphTexts texts{"VORAX:", read.model.problem_title, {}};
    std::unique_ptr<vorax::gwl::DrawSurface> surface;
    const auto new_surface = [&] { surface = std::make_unique<vorax::gwl::DrawSurface>(kWidth, kHeight); };
    vorax::GraphPlan plan;
    const double draw = best_of(
        kRuns,
        [&] {
            plan = vorax::plan_graph(read.model, settings, 1);
            vorax::draw_graph(*surface, read.model, settings, plan, texts);
        },
        new_surface);

    // Building the index, best of three.
    vorax::HitIndex index;
    const double build = best_of(
        kRuns, [&] { index = vorax::index_drawn_items(read.model, g, plan.view, kWidth, kHeight); });

    // Plan and draw with the index built beside the drawing, on the other processor, as a graph
    // window gets it: what the index adds to the drawing's wall time.
    const double beside = best_of(
        kRuns,
        [&] {
            plan = vorax::plan_graph(read.model, settings, 1);
            auto built = vorax::start_beside([&] {
                return vorax::index_drawn_items(read.model, g, plan.view, kWidth, kHeight);
            });
            vorax::draw_graph(*surface, read.model, settings, plan, texts);
            index = built.get();
        },
        new_surface);

    std::printf("lattice of %d nodes and %d elements on %d x %d pixels\n", read.model.node_count,
                read.model.element_count, kWidth, kHeight);
    std::printf("  read the model file    %8.3f s\n", reading);
    std::printf("  plan and draw          %8.3f s\n", draw);
    std::printf("  build the index        %8.3f s  (%.1f %% of the draw)\n", build, 100.0 * build / draw);
    std::printf("  plan, draw, index beside %5.3f s  (+%.1f %% on the draw)\n", beside, 100.0 * (beside - draw) / draw);
    std::printf("  index: %zu nodes, %zu elements, cells of %d pixels, %.1f MB\n", index.node_count(),
                index.element_count(), index.cell_side(), index.memory_bytes() / 1e6);

    std::mt19937 random(7);
    std::uniform_real_distribution<double> x(0.0, kWidth - 1), y(0.0, kHeight - 1);
    for (double slack : {3.0, 9.0}) {
        double slowest = 0.0;
        long found[3] = {0, 0, 0};
        const auto all = Clock::now();
        for (int i = 0; i < kSearches; ++i) {
            const auto start = Clock::now();
            const vorax::HitItem item = index.find(x(random), y(random), slack);
            slowest = std::max(slowest, seconds_since(start));
            ++found[static_cast<int>(item.kind)];
        }
        const double mean = seconds_since(all) / kSearches;
        std::printf("  search, slack %3.0f px: mean %6.2f us, slowest %7.1f us  "
                    "(%ld nodes, %ld elements, %ld nothing)\n",
                    slack, mean * 1e6, slowest * 1e6, found[1], found[2], found[0]);
    }
    return 0;
}
