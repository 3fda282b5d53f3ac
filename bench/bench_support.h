// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the benchmark programs share: Qt's offscreen platform unless another is named, the folder
// of their models and pictures, the generated models kept there between runs, graph 1 of a
// model drawn as the export draws it, and its element lines as other plotting tools read them.

#include <QtGlobal>

#include <filesystem>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "app/export_command.h"
#include "app/info_command.h"
#include "graph/graph_drawing.h"
#include "graph/structure_render.h"
#include "gwl/surface/draw_surface.h"
#include "lattice_model.h"
#include "model/model_reader.h"
#include "timing.h"

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

// The lattice, grid and cube models of lattice_model.h in `folder` (lattice-N.dat or, in
// exponent form, lattice-N-e.dat, grid-N.dat, cube-SIDE.dat), each written first when missing.
inline std::filesystem::path lattice_file(const std::filesystem::path& folder, long nodes,
                                          bool exponent_form = false)
{
    const std::filesystem::path path =
        folder / ("lattice-" + std::to_string(nodes) + (exponent_form ? "-e" : "") + ".dat");
    if (!std::filesystem::exists(path))
        write_lattice_model(path, nodes, exponent_form);
    return path;
}

inline std::filesystem::path grid_file(const std::filesystem::path& folder, long nodes)
{
    const std::filesystem::path path = folder / ("grid-" + std::to_string(nodes) + ".dat");
    if (!std::filesystem::exists(path))
        write_grid_model(path, nodes);
    return path;
}

inline std::filesystem::path cube_file(const std::filesystem::path& folder, long side)
{
    const std::filesystem::path path = folder / ("cube-" + std::to_string(side) + ".dat");
    if (!std::filesystem::exists(path))
        write_cube_model(path, side);
    return path;
}

// The best time of three whole exports in this process, as `vorax --export` runs them; -1 after
// saying why on standard error when one fails.
inline double best_export_seconds(const ExportOptions& options)
{
    bool failed = false;
    const double best = best_of(3, [&] {
        std::ostringstream out, err;
        if (!failed && run_export(options, out, err) != 0) {
            std::fprintf(stderr, "%s", err.str().c_str());
            failed = true;
        }
    });
    return failed ? -1.0 : best;
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

// The drawn element lines of a model planned for a graph, in its plot units, one
// "x1 y1\nx2 y2\n\n" block an element: the input of gnuplot's `plot FILE with lines`.
inline void write_plot_segments(const StructureModel& planned, const std::filesystem::path& out_path)
{
    std::ofstream out(out_path);
    for (const Element& e : planned.elements) {
        if (!element_drawn(planned, e))
            continue;
        const Node& a = planned.node(e.node1);
        const Node& b = planned.node(e.node2);
        out << a.plot_x << ' ' << a.plot_y << '\n' << b.plot_x << ' ' << b.plot_y << "\n\n";
    }
}

// A gnuplot script that draws such lines as one-pixel lines in the graph's line colour, on a page
// without key, border, tics or margins: `head` (terminal, output, ranges) before the common
// lines, then `plot DATA with lines`.
inline void write_gnuplot_script(const std::filesystem::path& path, const std::string& head,
                                 const std::string& data)
{
    std::ofstream out(path);
    out << head << "unset key; unset border; unset tics\nset margins 0,0,0,0\n"
        << "plot " << data << " with lines lw 1 lc rgb '#800000'\n";
}

// The same for graph 1 of a model file, planned as the export plans it.
inline void write_plot_segments(const std::filesystem::path& model_path,
                                const std::filesystem::path& out_path)
{
    ReadResult read = read_model(model_path);
    SettingsState settings;
    prepare_loaded_model(read.model, settings.current_settings);
    (void)plan_graph(read.model, settings, 1);
    write_plot_segments(read.model, out_path);
}

} // namespace vorax::bench
