// SPDX-License-Identifier: GPL-3.0-or-later
// Reading speed of the model reader on the lattice of lattice_model.h, in process.
//
// For each node count (the element count follows the nodes; 10^3 .. 10^6 by default) writes the
// lattice into a temporary file and reads it repeatedly in each of three ways: value by value,
// plain records whole on one thread, and plain records whole with the helper thread (what the
// program does). A model file named instead of a count is read as it is. Prints the best and
// the median time of each, the throughput and the time per node (of a lattice), then the peak
// resident memory. Usage: bench_model_read [NODES | FILE...]
// For the whole process of `vorax --info`, see bench_info_growth.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
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

struct Timing {
    double best = 1e30;
    double median = 0.0;
};

// Times of reading `path` the given way, over at least five reads and half a second; nothing
// (after saying why) when it cannot be read.
std::optional<Timing> time_reads(const std::filesystem::path& path, const vorax::ReadOptions& options,
                                 std::size_t& arrays)
{
    std::vector<double> times;
    double total = 0.0;
    while (times.size() < 5 || total < 0.5) {
        const auto start = vorax::bench::Clock::now();
        vorax::ReadResult result = vorax::read_model(path, options);
        const double seconds = vorax::bench::seconds_since(start);
        if (!result.ok()) {
            std::fprintf(stderr, "bench_model_read: %s\n", result.message.c_str());
            return std::nullopt;
        }
        arrays = result.model.nodes.size() * sizeof(vorax::Node)
            + result.model.elements.size() * sizeof(vorax::Element);
        times.push_back(seconds);
        total += seconds;
    }
    std::sort(times.begin(), times.end());
    return Timing{times.front(), times[times.size() / 2]};
}

} // namespace

int main(int argc, char** argv)
{
    // Node counts of lattices to write, or model files to read as they are.
    std::vector<std::string> subjects(argv + 1, argv + argc);
    if (subjects.empty())
        subjects = {"1000", "10000", "100000", "1000000"};

    const auto temporary = std::filesystem::temp_directory_path() / "vorax_bench_model.dat";
    std::printf("%-24s %9s  %-20s %9s %9s %8s %10s\n", "model", "MB", "way", "best s", "median s", "MB/s",
                "ns/node");
    std::size_t arrays = 0;
    double megabytes = 0.0;
    for (const std::string& subject : subjects) {
        const bool file = std::filesystem::is_regular_file(subject);
        const long nodes = file ? 0 : std::max(1L, std::atol(subject.c_str()));
        const std::filesystem::path path = file ? std::filesystem::path(subject) : temporary;
        megabytes = file ? double(std::filesystem::file_size(path)) / 1e6
                         : double(vorax::bench::write_lattice_model(path, nodes)) / 1e6;
        const std::string name = file ? path.filename().string() : std::to_string(nodes) + " nodes";
        for (const Way& way : ways()) {
            const std::optional<Timing> timing = time_reads(path, way.options, arrays);
            if (!timing) {
                std::filesystem::remove(temporary);
                return 1;
            }
            const double per_node = file ? 0.0 : timing->best * 1e9 / double(nodes);
            std::printf("%-24s %9.2f  %-20s %9.4f %9.4f %8.0f %10.1f\n", name.c_str(), megabytes, way.name,
                        timing->best, timing->median, megabytes / timing->best, per_node);
        }
    }
    std::filesystem::remove(temporary);
    std::printf("largest model: arrays %.1f MB, file %.1f MB; peak resident memory of this process %.1f MB\n",
                arrays / 1e6, megabytes, peak_resident_kb() * 1024.0 / 1e6);
    return 0;
}
