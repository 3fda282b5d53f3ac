// Reading speed of the model reader on a large spatial model.
//
// Writes a model of 1,000,000 nodes and 1,000,000 elements (NGL 3, about 80 MB of text) into a
// temporary file, reads it three times and prints the time, the throughput and the peak
// resident memory. Usage: bench_model_read [NODES]  (the element count follows the nodes).
// For an outside figure of the peak memory: /usr/bin/time -v ./bench_model_read

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>

#include "lattice_model.h"
#include "model/model_reader.h"

namespace {

long peak_resident_kb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    const long nodes = argc > 1 ? std::max(1L, std::atol(argv[1])) : 1000000L;
    const auto path = std::filesystem::temp_directory_path() / "vorax_bench_model.dat";
    const std::uintmax_t size = vorax::bench::write_lattice_model(path, nodes);
    const double megabytes = double(size) / 1e6;
    std::printf("model file: %ld nodes, %ld elements, %.1f MB\n", nodes, nodes, megabytes);
    std::printf("peak resident memory after writing: %.1f MB\n", peak_resident_kb() / 1024.0);

    double best = 1e30;
    std::size_t arrays = 0;
    for (int run = 1; run <= 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        vorax::ReadResult result = vorax::read_model(path);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!result.ok()) {
            std::fprintf(stderr, "bench_model_read: %s\n", result.message.c_str());
            std::filesystem::remove(path);
            return 1;
        }
        arrays = result.model.nodes.size() * sizeof(vorax::Node)
            + result.model.elements.size() * sizeof(vorax::Element);
        best = std::min(best, seconds);
        std::printf("read %d: %.3f s, %.0f MB/s\n", run, seconds, megabytes / seconds);
    }
    std::filesystem::remove(path);

    std::printf("best: %.3f s, %.0f MB/s\n", best, megabytes / best);
    std::printf("model arrays: %.1f MB; peak resident memory: %.1f MB (limit: file + 2 x arrays = %.1f MB)\n",
                arrays / 1e6 * 1.0, peak_resident_kb() * 1024.0 / 1e6, megabytes + 2.0 * arrays / 1e6);
    return 0;
}
