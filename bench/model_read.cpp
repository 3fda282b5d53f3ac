// SPDX-License-Identifier: GPL-3.0-or-later
// Reading speed of the model reader on the lattice of lattice_model.h, in process.
//
// For each node count (the element count follows the nodes; 10^3 .. 10^6 by default) writes the
// lattice into a temporary file and reads it repeatedly in each of three ways: value by value,
// plain records whole on one thread, and plain records whole with the helper thread (what the
// program does). Prints the best time of each, the throughput and the time per node, then the
// peak resident memory. Usage: bench_model_read [NODES...]
// For the whole process of `vorax --info`, see bench_info_growth.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>
#include <sys/resource.h>

#include "lattice_model.h"
#include "timing.h"
#include "model/model_reader.h"

namespace {

long peak_resident_kb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct Way {
    const char* name;
    vorax::ReadOptions options;
};

std::vector<Way> ways()
{
    Way by_value{"value by value", {}};
    by_value.options.whole_records = false;
    Way one_thread{"whole, one thread", {}};
    one_thread.options.read_ahead_length = 0;
    return {by_value, one_thread, {"whole, two threads", {}}};
}

// Best time of reading `path` the given way, over at least three reads and half a second.
double best_read(const std::filesystem::path& path, const vorax::ReadOptions& options, std::size_t& arrays)
{
    double best = 1e30;
    double total = 0.0;
    for (int run = 0; run < 3 || total < 0.5; ++run) {
        const auto start = vorax::bench::Clock::now();
        vorax::ReadResult result = vorax::read_model(path, options);
        const double seconds = vorax::bench::seconds_since(start);
        if (!result.ok()) {
            std::fprintf(stderr, "bench_model_read: %s\n", result.message.c_str());
            std::filesystem::remove(path);
            std::exit(1);
        }
        arrays = result.model.nodes.size() * sizeof(vorax::Node)
            + result.model.elements.size() * sizeof(vorax::Element);
        best = std::min(best, seconds);
        total += seconds;
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<long> counts;
    for (int i = 1; i < argc; ++i)
        counts.push_back(std::max(1L, std::atol(argv[i])));
    if (counts.empty())
        counts = {1000, 10000, 100000, 1000000};

    const auto path = std::filesystem::temp_directory_path() / "vorax_bench_model.dat";
    std::printf("%10s %9s  %-20s %9s %8s %10s\n", "nodes", "MB", "way", "best s", "MB/s", "ns/node");
    std::size_t arrays = 0;
    double megabytes = 0.0;
    for (long nodes : counts) {
        megabytes = double(vorax::bench::write_lattice_model(path, nodes)) / 1e6;
        for (const Way& way : ways()) {
            const double best = best_read(path, way.options, arrays);
            std::printf("%10ld %9.2f  %-20s %9.4f %8.0f %10.1f\n", nodes, megabytes, way.name, best,
                        megabytes / best, best * 1e9 / double(nodes));
        }
    }
    std::filesystem::remove(path);
    std::printf("largest model: arrays %.1f MB, file %.1f MB; peak resident memory of this process %.1f MB\n",
                arrays / 1e6, megabytes, peak_resident_kb() * 1024.0 / 1e6);
    return 0;
}
