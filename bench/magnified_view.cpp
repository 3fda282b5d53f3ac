// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of looking around the largest graph: a graph window holding the lattice of 10^6 nodes
// and elements (bench/lattice_model.h) drawn on 1600 x 1200 pixels, repainted whole in a
// 1400 x 1000 viewport at each magnification from the fitted view to 16 times, scrolled to the
// middle of the picture. Fitted and 1:1 show the drawing's pixels; above 1:1 the window draws
// the graph again from its record, only what falls in view. Also the time to build the record's
// index by place, which the drawing thread pays once as a window's drawing ends.
//
//   cmake --preset release && cmake --build --preset release --target bench_magnified_view -- -j2
//   build/release/bench/bench_magnified_view [FOLDER [MAGNIFICATION...]]

#include <QApplication>
#include <QPixmap>
#include <QScrollBar>

#include <algorithm>
#include <utility>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "app/info_command.h"
#include "bench_support.h"
#include "graph/graph_drawing.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/windows/graphics_window.h"
#include "lattice_model.h"
#include "model/model_reader.h"
#include "timing.h"

namespace {

using vorax::bench::Clock;
using vorax::bench::seconds_since;

constexpr int kWidth = 1600;
constexpr int kHeight = 1200;
constexpr int kRepaints = 7;

} // namespace

int main(int argc, char** argv)
{
    vorax::bench::use_offscreen_platform();
    int qt_argc = 1;
    QApplication app(qt_argc, argv);
    const std::filesystem::path path =
        vorax::bench::lattice_file(vorax::bench::bench_folder(argc > 1 ? argv[1] : nullptr), 1000000);
    vorax::ReadResult read = vorax::read_model(path);
    if (!read.ok()) {
        std::fprintf(stderr, "cannot read %s: %s\n", path.c_str(), read.message.c_str());
        return 1;
    }
    vorax::SettingsState settings;
    vorax::prepare_loaded_model(read.model, settings.current_settings);
    vorax::gwl::GraphicsWindow window({kWidth, kHeight});
    const vorax::GraphPlan plan = vorax::plan_graph(read.model, settings, 1);
    vorax::draw_graph(window.surface(), read.model, settings, plan, {"VORAX:", read.model.problem_title, {}});
    window.resize(1400 + 2 * window.frameWidth() + 20, 1000 + 2 * window.frameWidth() + 20);
    window.show();
    QApplication::processEvents();

    std::size_t ops = 0;
    window.surface().read_record([&](const vorax::gwl::DrawRecord& record) { ops = record.ops().size(); });
    const auto index_start = Clock::now();
    window.surface().index_record(); // as a window's drawing does when it ends
    const double index_ms = seconds_since(index_start) * 1e3;
    std::printf("lattice of %d nodes and %d elements, %zu drawing operations on %d x %d pixels\n",
                read.model.node_count, read.model.element_count, ops, kWidth, kHeight);
    std::printf("  index of the record by place: %.0f ms (made on the drawing thread as a drawing ends)\n", index_ms);

    window.set_size_to_fit(true);
    std::vector<double> magnifications{0.0, 1.0};
    for (int k = 1; k <= 16; ++k)
        magnifications.push_back(std::exp2(k / 4.0));
    if (argc > 2) { // the magnifications to time, in place of all
        magnifications.clear();
        for (int i = 2; i < argc; ++i)
            magnifications.push_back(std::atof(argv[i]));
    }
    const auto time_grabs = [&window](int count) {
        std::vector<double> times;
        for (int i = 0; i < count; ++i) {
            const auto start = Clock::now();
            (void)window.viewport()->grab();
            times.push_back(seconds_since(start) * 1e3);
        }
        std::sort(times.begin(), times.end());
        return std::pair{times.front(), times[times.size() / 2]};
    };
    std::printf("  magnification  new view (best, median)   repaint      scroll by 64 pixels\n");
    for (const double m : magnifications) {
        std::vector<double> fresh;
        for (int run = 0; run < kRepaints; ++run) {
            // Out and back in: each run draws the view at this magnification anew.
            window.set_size_to_fit(true);
            (void)window.viewport()->grab();
            const auto start = Clock::now();
            if (m > 0.0) {
                // A hair off the step in each run, so that no run finds the last one's picture kept.
                window.set_magnification(m * (1.0 + (m < 16.0 ? 1e-7 : -1e-7) * run), QRectF(window.viewport()->rect()).center());
                window.horizontalScrollBar()->setValue(window.horizontalScrollBar()->maximum() / 2);
                window.verticalScrollBar()->setValue(window.verticalScrollBar()->maximum() / 2);
            }
            (void)window.viewport()->grab();
            fresh.push_back(seconds_since(start) * 1e3);
        }
        std::sort(fresh.begin(), fresh.end());
        const auto [repaint_best, repaint_median] = time_grabs(kRepaints);
        std::vector<double> scrolls;
        for (int run = 0; run < kRepaints; ++run) {
            window.horizontalScrollBar()->setValue(window.horizontalScrollBar()->value() + (run % 2 == 0 ? 64 : -64));
            const auto start = Clock::now();
            (void)window.viewport()->grab();
            scrolls.push_back(seconds_since(start) * 1e3);
        }
        std::sort(scrolls.begin(), scrolls.end());
        std::printf("  %-7s        %7.1f %7.1f ms        %5.1f %5.1f ms  %6.1f %6.1f ms\n",
                    vorax::gwl::magnification_text(window.magnification()).c_str(), fresh.front(),
                    fresh[fresh.size() / 2], repaint_best, repaint_median, scrolls.front(),
                    scrolls[scrolls.size() / 2]);
    }
    return 0;
}
