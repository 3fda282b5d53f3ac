// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the comparison of two readings of a model, on the lattice of bench_model_read at
// several sizes (10^4, 10^5, 10^6 and 5*10^6 nodes and elements by default): reads each lattice
// once, then compares it with copies changed in memory - unchanged; some changes (one node in a
// thousand moved, one in a thousand with other codes, one element in a thousand joining other
// nodes, the last hundred elements removed and a hundred nodes added); every node moved, where
// the ordering of a million changes is part of the time - best of three each, with the time per
// node, which stays about the same when the comparison is linear. Last, for each size, the whole
// `vorax --diff` of the file with itself (both readings and the comparison), once.
//
// Build and run:  cmake --preset release && cmake --build --preset release --target
//                 bench_model_diff -- -j2 && build/release/bench/bench_model_diff [NODES...]

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

#include "app/diff_command.h"
#include "lattice_model.h"
#include "model/model_diff.h"
#include "model/model_reader.h"
#include "timing.h"

namespace {

using vorax::StructureModel;

StructureModel with_some_changes(const StructureModel& model)
{
    StructureModel changed = model;
    for (std::size_t i = 0; i < changed.nodes.size(); i += 1000)
        changed.nodes[i].coords[1] += 0.5f;
    for (std::size_t i = 500; i < changed.nodes.size(); i += 1000)
        changed.nodes[i].codes[2] ^= 1;
    for (std::size_t i = 250; i < changed.elements.size(); i += 1000)
        changed.elements[i].node2 = changed.elements[i].node1;
    const std::size_t removed = std::min<std::size_t>(100, changed.elements.size());
    changed.elements.resize(changed.elements.size() - removed);
    changed.element_count = static_cast<std::int32_t>(changed.elements.size());
    changed.nodes.resize(changed.nodes.size() + 100);
    changed.node_count = static_cast<std::int32_t>(changed.nodes.size());
    return changed;
}

StructureModel all_moved(const StructureModel& model)
{
    StructureModel changed = model;
    for (vorax::Node& node : changed.nodes)
        node.coords[1] += 0.5f;
    return changed;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<long> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::max(1L, std::atol(argv[i])));
    if (sizes.empty())
        sizes = {10000, 100000, 1000000, 5000000};
    // The lattices of the other benchmarks, kept between runs.
    const std::filesystem::path folder = "/tmp/vorax-bench";
    std::filesystem::create_directories(folder);
    std::printf("%10s  %-14s %10s %10s %12s\n", "nodes", "NEW", "changes", "best s", "ns per node");
    for (const long nodes : sizes) {
        const std::filesystem::path path = folder / ("lattice-" + std::to_string(nodes) + ".dat");
        if (!std::filesystem::exists(path))
            vorax::bench::write_lattice_model(path, nodes);
        const vorax::ReadResult read = vorax::read_model(path);
        if (!read.ok()) {
            std::fprintf(stderr, "bench_model_diff: %s\n", read.message.c_str());
            return 1;
        }
        const vorax::RecordLines lines(read.notes);
        const struct {
            const char* name;
            StructureModel model;
        } variants[] = {
            {"unchanged", read.model},
            {"some changes", with_some_changes(read.model)},
            {"all moved", all_moved(read.model)},
        };
        for (const auto& variant : variants) {
            std::size_t changes = 0;
            const double best = vorax::bench::best_of(3, [&] {
                changes = vorax::diff_models(read.model, lines, variant.model, lines).changes.size();
            });
            std::printf("%10ld  %-14s %10zu %10.4f %12.1f\n", nodes, variant.name, changes, best,
                        best * 1e9 / double(nodes));
        }
        std::ostringstream out, err;
        const auto start = vorax::bench::Clock::now();
        const int status = vorax::run_diff_command(path.string(), path.string(), out, err);
        std::printf("%10ld  vorax --diff of the file with itself (two readings and the comparison): %.3f s, exit %d\n",
                    nodes, vorax::bench::seconds_since(start), status);
    }
    return 0;
}
