#pragma once
// What the benchmark programs share: Qt's offscreen platform unless another is named, the folder
// of their models and pictures, the lattice model kept there between runs, and graph 1 of a model
// drawn as the export draws it.

#include <QtGlobal>

#include <filesystem>
#include <string>

#include "app/model_loading.h"
#include "graph/graph_drawing.h"
#include "gwl/surface/draw_surface.h"
#include "lattice_model.h"
#include "model/model_reader.h"

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

// Graph 1 of a model file drawn onto `surface` as `vorax --export` draws it; the settings it was
// drawn with.
inline SettingsState draw_first_graph(const std::filesystem::path& model_path,
                                      gwl::DrawSurface& surface)
{
    ReadResult read = read_model(model_path);
    SettingsState settings;
    prepare_loaded_model(read.model, settings.current_settings);
    const GraphPlan plan = plan_graph(read.model, settings, 1);
    draw_graph(surface, read.model, settings, plan, {"VORAX:", read.model.problem_title, {}});
    return settings;
}

} // namespace vorax::bench
