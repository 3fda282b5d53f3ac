// SPDX-License-Identifier: GPL-3.0-or-later
// The export against gnuplot, measured in the same run, whole process both. For each model of
// about 10^6 nodes and elements (the lattice with fixed-point and with exponent-form coordinates,
// the grid and the cube of lattice_model.h) the benchmark leaves the model and its projected
// element lines (MODEL.segments) in the folder, then, for each picture kind, runs RUNS times in
// turn:
//   vorax --export OUT.png|svg|pdf MODEL --size 1600x1200
//   gnuplot -c seg-KIND.gp OUT MODEL.segments   (pngcairo, svg, pdfcairo; 1600x1200 pixels at 96
//                                                per inch, one-pixel lines)
// and prints the best and median wall time of each, the ratio of the medians, both files' sizes
// and VORAX's peak memory. gnuplot draws lines that are already projected, so it does less of
// the job: it neither reads a model nor checks, plans or labels it.
//
// The kind "read" sets the reading alone beside a plain pass over the same file, in turns too:
//   vorax --info MODEL
//   PASS MODEL     (any program that reads the file once and converts its numbers, one thread)
//
// Usage: bench_versus_gnuplot [VORAX] [RUNS] [FOLDER] [KINDS] [PASS] [PAUSE]
//   VORAX defaults to the program built beside the benchmarks (build/release/vorax), RUNS to 7,
//   FOLDER to /tmp/vorax-bench, KINDS to "png,svg,pdf" ("read" as well when PASS is given).
//   PAUSE, in seconds (default 0), is waited before every run: runs one right after the other
//   get the memory the run before gave back, still in place, where a person opening a model
//   after a while may get memory the system has to make anew (a virtual machine's host takes
//   back what its guest leaves free for a few seconds).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
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

// A picture kind and the terminal gnuplot draws it with.
struct Kind {
    const char* name;
    const char* terminal;
};

const Kind kKinds[] = {
    {"png", "set terminal pngcairo size 1600,1200\n"},
    {"svg", "set terminal svg size 1600,1200\n"},
    {"pdf", "set terminal pdfcairo size 16.6667in,12.5in\n"}, // 1600 x 1200 pixels at 96 per inch
};

double megabytes(const std::filesystem::path& file)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    return error ? 0.0 : double(size) / 1e6;
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

    const std::string pass = argc > 5 ? argv[5] : "";
    const auto pause = std::chrono::duration<double>(argc > 6 ? std::max(0.0, std::atof(argv[6])) : 0.0);
    const std::string kinds = argc > 4 ? argv[4] : pass.empty() ? "png,svg,pdf" : "read,png,svg,pdf";
    if (kinds.find("read") != std::string::npos && pass.empty()) {
        std::fprintf(stderr, "bench_versus_gnuplot: the kind \"read\" needs the plain pass (PASS)\n");
        return 2;
    }

    const bool gnuplot = run_process({"gnuplot", "--version"}).ok;
    if (!gnuplot)
        std::printf("gnuplot is not on PATH: only VORAX is timed\n");

    std::printf("%-22s %4s %7s %9s %9s %9s %9s %7s %9s %9s %8s\n", "model", "kind", "file MB",
                "VORAX min", "VORAX med", "other min", "other med", "ratio", "VORAX MB", "other MB", "peak MB");
    const std::vector<std::filesystem::path> models{vorax::bench::lattice_file(folder, 1000000),
                                                    vorax::bench::lattice_file(folder, 1000000, true),
                                                    vorax::bench::grid_file(folder, 1000000),
                                                    vorax::bench::cube_file(folder, 100)};
    for (const std::filesystem::path& model : models) {
        const std::string segments = model.string() + ".segments";
        if (!std::filesystem::exists(segments))
            vorax::bench::write_plot_segments(model, segments);
        // Runs ours and theirs in turns, RUNS times, and prints the line of `kind`.
        const auto compare = [&](const char* kind, const std::vector<std::string>& our_run,
                                 const std::vector<std::string>& their_run, const std::string& ours_out,
                                 const std::string& theirs_out, bool others) {
            Timing ours, theirs;
            const auto after_pause = [&](const std::vector<std::string>& arguments) {
                std::this_thread::sleep_for(pause);
                return run_process(arguments);
            };
            for (int run = 0; run < runs; ++run) {
                if (!ours.add(after_pause(our_run))) {
                    std::fprintf(stderr, "bench_versus_gnuplot: %s %s failed on %s\n", vorax.c_str(),
                                 our_run[1].c_str(), model.c_str());
                    return false;
                }
                if (others && !theirs.add(after_pause(their_run))) {
                    std::fprintf(stderr, "bench_versus_gnuplot: %s failed on %s\n", their_run[0].c_str(),
                                 model.c_str());
                    return false;
                }
            }
            const double our_median = median(ours.wall);
            const double their_median = others ? median(theirs.wall) : 0.0;
            std::printf("%-22s %4s %7.1f %9.3f %9.3f %9.3f %9.3f %6.1fx %9.2f %9.2f %8.1f\n",
                        model.filename().c_str(), kind, double(std::filesystem::file_size(model)) / 1e6,
                        *std::min_element(ours.wall.begin(), ours.wall.end()), our_median,
                        others ? *std::min_element(theirs.wall.begin(), theirs.wall.end()) : 0.0,
                        their_median, others ? their_median / our_median : 0.0, megabytes(ours_out),
                        others ? megabytes(theirs_out) : 0.0, double(ours.peak_kb) / 1024.0);
            std::fflush(stdout);
            for (const std::string& out : {ours_out, theirs_out})
                if (!out.empty())
                    std::filesystem::remove(out);
            return true;
        };
        if (kinds.find("read") != std::string::npos
            && !compare("read", {vorax, "--info", model.string()}, {pass, model.string()}, "", "", true))
            return 1;
        for (const Kind& kind : kKinds) {
            if (kinds.find(kind.name) == std::string::npos)
                continue;
            const std::filesystem::path script = folder / (std::string("seg-") + kind.name + ".gp");
            vorax::bench::write_gnuplot_script(script, std::string(kind.terminal) + "set output ARG1\n", "ARG2");
            const std::string ours_out = (folder / (std::string("versus.") + kind.name)).string();
            const std::string theirs_out = (folder / (std::string("versus-gnuplot.") + kind.name)).string();
            if (!compare(kind.name, {vorax, "--export", ours_out, model.string(), "--size", "1600x1200"},
                         {"gnuplot", "-c", script.string(), theirs_out, segments}, ours_out, theirs_out, gnuplot))
                return 1;
        }
    }
    return 0;
}
