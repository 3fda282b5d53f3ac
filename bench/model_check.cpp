// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the model check on the large lattice of bench_model_read (10^6 nodes and elements by
// default): reads it once, then checks it three times and prints the best time, the number of
// findings (none: the lattice is clean) and the peak resident memory; last the whole
// `vorax --check` (reading and checking) once.
//
// Build and run:  cmake --preset release && cmake --build --preset release --target
//                 bench_model_check -- -j2 && build/release/bench/bench_model_check [NODES]

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <sys/resource.h>

#include "app/check_command.h"
#include "lattice_model.h"
#include "timing.h"
#include "model/model_check.h"
#include "model/model_reader.h"

namespace {

using vorax::bench::Clock;
using vorax::bench::seconds_since;

double peak_resident_mb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

} // namespace

int main(int argc, char** argv)
{
    const long nodes = argc > 1 ? std::max(1L, std::atol(argv[1])) : 1000000L;
    const auto path = std::filesystem::temp_directory_path() / "vorax_bench_check.dat";
    const double megabytes = double(vorax::bench::write_lattice_model(path, nodes)) / 1e6;
    std::printf("model file: %ld nodes, %ld elements, %.1f MB\n", nodes, nodes, megabytes);

    auto start = Clock::now();
    const vorax::ReadResult result = vorax::read_model(path);
    if (!result.ok()) {
        std::fprintf(stderr, "bench_model_check: %s\n", result.message.c_str());
        std::filesystem::remove(path);
        return 1;
    }
    std::printf("read: %.3f s; peak resident memory: %.1f MB\n", seconds_since(start), peak_resident_mb());

    double best = 1e30;
    std::int64_t findings = 0;
    for (int run = 1; run <= 3; ++run) {
        start = Clock::now();
        findings = vorax::check_model(result.model, result.notes).count();
        const double seconds = seconds_since(start);
        best = std::min(best, seconds);
        std::printf("check %d: %.3f s\n", run, seconds);
    }
    std::printf("check best: %.3f s, %lld findings; peak resident memory: %.1f MB\n", best,
                static_cast<long long>(findings), peak_resident_mb());

    std::ostringstream out, err;
    start = Clock::now();
    const int status = vorax::run_check_command(path.string(), out, err);
    std::printf("vorax --check (read and check): %.3f s, exit status %d, \"%s\"\n", seconds_since(start),
                status, out.str().substr(0, out.str().find('\n')).c_str());
    std::filesystem::remove(path);
    return 0;
}
