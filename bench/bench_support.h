#pragma once
// What the benchmark programs share: Qt's offscreen platform unless another is named, the folder
// of their models and pictures, and the lattice model kept there between runs.

#include <QtGlobal>

#include <filesystem>
#include <string>

#include "lattice_model.h"

namespace vorax::bench {

// Benchmarks need no display: Qt's offscreen platform, unless the environment names another.
inline void use_offscreen_platform()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The folder `named` (a program argument), /tmp/vorax-bench when null; made when missing.
inline std::filesystem::path bench_folder(const char* named = nullptr)
{
    const std::filesystem::path folder = named != nullptr ? named : "/tmp/vorax-bench";
    std::filesystem::create_directories(folder);
    return folder;
}

// The lattice of `nodes` nodes in `folder` (lattice-NODES.dat), written first when missing.
inline std::filesystem::path lattice_file(const std::filesystem::path& folder, long nodes)
{
    const std::filesystem::path path = folder / ("lattice-" + std::to_string(nodes) + ".dat");
    if (!std::filesystem::exists(path))
        write_lattice_model(path, nodes);
    return path;
}

} // namespace vorax::bench
