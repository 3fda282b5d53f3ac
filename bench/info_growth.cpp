// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-process cost of `vorax --info` on the lattice of lattice_model.h, from 10^3 to 10^7
// nodes and as many elements (the 10^7 file is about 0.9 GB; the folder needs room for it).
//
// For each size writes the lattice into a temporary file, runs the program RUNS times and prints
// the best wall time with the user and system time of that run, the throughput, the time per
// node, the spread of the wall times and the peak resident memory, beside the file's size and
// the arrays of the model (`--info` keeps no reader notes).
// Usage: bench_info_growth VORAX [RUNS] [NODES...]
//   e.g. build/release/bench/bench_info_growth build/release/vorax 7

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "lattice_model.h"
#include "process_run.h"
#include "model/model_reader.h"

namespace {

using vorax::bench::ProcessRun;

// Runs `vorax --info path`; exits when it fails.
ProcessRun run_info(const std::string& vorax, const std::string& path)
{
    const ProcessRun run = vorax::bench::run_process({vorax, "--info", path});
    if (!run.ok) {
        std::fprintf(stderr, "bench_info_growth: %s --info %s failed\n", vorax.c_str(), path.c_str());
        std::exit(1);
    }
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_info_growth VORAX [RUNS] [NODES...]\n");
        return 2;
    }
    const std::string vorax = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    std::vector<long> counts;
    for (int i = 3; i < argc; ++i)
        counts.push_back(std::max(1L, std::atol(argv[i])));
    if (counts.empty())
        counts = {1000, 10000, 100000, 1000000, 10000000};

    const auto path = std::filesystem::temp_directory_path() / "vorax_bench_info.dat";
    std::printf("%9s %8s %8s %8s %8s %6s %8s %9s %8s %8s\n", "nodes", "file MB", "best s", "user s",
                "sys s", "MB/s", "ns/node", "spread s", "peak MB", "model MB");
    for (long nodes : counts) {
        const double megabytes = double(vorax::bench::write_lattice_model(path, nodes)) / 1e6;
        std::vector<ProcessRun> all;
        for (int i = 0; i < runs; ++i)
            all.push_back(run_info(vorax, path.string()));
        const auto best = *std::min_element(all.begin(), all.end(), [](const ProcessRun& a, const ProcessRun& b) { return a.wall < b.wall; });
        const auto worst = *std::max_element(all.begin(), all.end(), [](const ProcessRun& a, const ProcessRun& b) { return a.wall < b.wall; });
        const auto peak = std::max_element(all.begin(), all.end(), [](const ProcessRun& a, const ProcessRun& b) { return a.peak_kb < b.peak_kb; })->peak_kb;
        const double model = double(nodes) * double(sizeof(vorax::Node) + sizeof(vorax::Element)) / 1e6;
        std::printf("%9ld %8.1f %8.3f %8.3f %8.3f %6.0f %8.1f %9.3f %8.1f %8.1f\n", nodes, megabytes, best.wall,
                    best.user, best.system, megabytes / best.wall, best.wall * 1e9 / double(nodes),
                    worst.wall - best.wall, double(peak) * 1024.0 / 1e6, model);
        std::fflush(stdout);
    }
    std::filesystem::remove(path);
    return 0;
}
