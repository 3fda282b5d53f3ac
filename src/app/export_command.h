// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// `vorax --export OUT MODEL [options]`: draws graph 1 of a model without any window, as "NEW
// Graph ..." followed by "DRAW" would with the chosen settings, and writes the graph window's
// drawing area to a picture file: PNG or BMP pixels, or an SVG or PDF drawing of lines and text,
// as OUT's extension says (--format for a name without one). Standard output gets the lines the
// info window would get; standard error gets them instead when OUT is standard output itself.
//
// Exit status: 0 done; 1 the model file could not be read (or the picture not drawn or
// written); 2 bad arguments, a bad node range and a view other than the oblique one for a plane
// model included.

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "core/language.h"
#include "gwl/surface/picture_io.h"
#include "settings/graph_settings.h"

namespace vorax {

inline constexpr int kExportOk = 0;
inline constexpr int kExportFailed = 1;
inline constexpr int kExportBadArguments = 2;

struct ExportOptions {
    std::string output;               // picture file; its extension names the format
    std::string model;                // model data file
    int width = 0;                    // drawing area; 0 x 0 is a graph window's default
    int height = 0;
    UiLanguage language = UiLanguage::english;
    bool reverse_vertical = false;
    bool reverse_y = false;
    std::optional<std::string> nodes; // range text as typed in "Range"; none draws all nodes
    std::optional<bool> node_indices; // none: on when the model has at most 200 nodes
    std::optional<bool> element_indices;
    bool grid = true;
    int color_scheme = 1;             // 1 standard, 2 all black
    std::optional<float> factor;      // none: Auto
    std::optional<gwl::PictureFormat> format; // --format, for an output without an extension
    GraphView view = GraphView::oblique; // any other view needs a spatial model
};

// The format of the picture: the one OUT's extension names (.png .bmp .svg .pdf, any case); for
// a name without an extension (a device, a pipe) the one --format names, else PNG. Otherwise a
// message saying why not: an extension of another format, or one that --format contradicts.
std::variant<gwl::PictureFormat, std::string> export_format(const std::string& output,
                                                            std::optional<gwl::PictureFormat> named);

// The value of --view that names a view: oblique, front, side, plan or iso.
std::string_view view_option_name(GraphView view);

// Draws and writes the picture. Needs a Qt GUI application (fonts); returns the exit status.
int run_export(const ExportOptions& options, std::ostream& out, std::ostream& err);

// run_export on an offscreen GUI application made for it when none exists (no display is
// needed); `argc` and `argv` are the program's.
int run_export_offscreen(const ExportOptions& options, int& argc, char** argv, std::ostream& out,
                         std::ostream& err);

} // namespace vorax
