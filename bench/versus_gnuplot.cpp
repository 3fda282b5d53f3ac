// SPDX-License-Identifier: GPL-3.0-or-later
// The export against gnuplot, measured in the same run, whole process both. For each model of
// about 10^6 nodes and elements (the lattice, the grid and the cube of lattice_model.h) the
// benchmark leaves the model and its projected element lines (MODEL.segments) in the folder,
// then runs, RUNS times in turn:
//   vorax --export OUT.png MODEL --size 1600x1200
//   gnuplot -c seg-png.gp OUT.png MODEL.segments     (pngcairo, 1600x1200, one-pixel lines)
// and prints the median and best wall time of each, the ratio of the medians and VORAX's peak
// memory. gnuplot draws lines that are already projected, so it does less of the job: it
// neither reads a model nor checks, plans or labels it.
//
// Usage: bench_versus_gnuplot [VORAX] [RUNS] [FOLDER]
//   VORAX defaults to the program built beside the benchmarks (build/release/vorax), RUNS to 7,
//   FOLDER to /tmp/vorax-bench.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <QGuiApplication>

#include "bench_support.h"
#include "process_run.h"

namespace {

using vorax::bench::ProcessRun;
using vorax::bench::run_process;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Timing {
    std::vector<double> wall;
    long peak_kb = 0;

    bool add(const ProcessRun& run)
    {
        wall.push_back(run.wall);
        peak_kb = std::max(peak_kb, run.peak_kb);
        return run.ok;
    }
};

} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path own = std::filesystem::canonical("/proc/self/exe");
    const std::string vorax = argc > 1 ? argv[1] : (own.parent_path().parent_path() / "vorax").string();
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    const std::filesystem::path folder = vorax::bench::bench_folder(argc > 3 ? argv[3] : nullptr);

    vorax::bench::use_offscreen_platform();
    int qt_argc = 1;
    QGuiApplication app(qt_argc, argv); // the segments are planned as the export plans them

    const bool gnuplot = run_process({"gnuplot", "--version"}).ok;
    if (!gnuplot)
        std::printf("gnuplot is not on PATH: only VORAX is timed\n");
    const std::filesystem::path script = folder / "seg-png.gp";
    vorax::bench::write_gnuplot_script(script, "set terminal pngcairo size 1600,1200\nset output ARG1\n", "ARG2");
    const std::string picture = (folder / "versus.png").string();

    std::printf("%-22s %8s %10s %10s %10s %10s %7s %9s\n", "model", "file MB", "VORAX med",
                "VORAX best", "gnuplot med", "gnuplot best", "ratio", "peak MB");
    const std::vector<std::filesystem::path> models{vorax::bench::lattice_file(folder, 1000000),
                                                    vorax::bench::grid_file(folder, 1000000),
                                                    vorax::bench::cube_file(folder, 100)};
    for (const std::filesystem::path& model : models) {
        const std::string segments = model.string() + ".segments";
        if (!std::filesystem::exists(segments))
            vorax::bench::write_plot_segments(model, segments);
        Timing ours, theirs;
        for (int run = 0; run < runs; ++run) {
            if (!ours.add(run_process({vorax, "--export", picture, model.string(), "--size", "1600x1200"}))) {
                std::fprintf(stderr, "bench_versus_gnuplot: %s --export failed on %s\n", vorax.c_str(),
                             model.c_str());
                return 1;
            }
            if (gnuplot && !theirs.add(run_process({"gnuplot", "-c", script.string(), picture, segments}))) {
                std::fprintf(stderr, "bench_versus_gnuplot: gnuplot failed on %s\n", segments.c_str());
                return 1;
            }
        }
        const double our_median = median(ours.wall);
        const double their_median = gnuplot ? median(theirs.wall) : 0.0;
        std::printf("%-22s %8.1f %10.3f %10.3f %10.3f %10.3f %6.1fx %9.1f\n",
                    model.filename().c_str(), double(std::filesystem::file_size(model)) / 1e6,
                    our_median, *std::min_element(ours.wall.begin(), ours.wall.end()), their_median,
                    gnuplot ? *std::min_element(theirs.wall.begin(), theirs.wall.end()) : 0.0,
                    gnuplot ? their_median / our_median : 0.0, double(ours.peak_kb) / 1024.0);
        std::fflush(stdout);
    }
    std::filesystem::remove(picture);
    return 0;
}
