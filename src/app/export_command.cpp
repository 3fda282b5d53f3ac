// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/export_command.h"

#include <filesystem>

#include <QCoreApplication>
#include <QFontDatabase>
#include <QGuiApplication>

#include <atomic>
#include <clocale>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <new>
#include <ostream>
#include <sstream>
#include <string_view>
#include <utility>

#include <unistd.h>

#include "app/check_command.h"
#include "app/info_command.h"
#include "app/model_loading.h"
#include "core/beside.h"
#include "core/open_file.h"
#include "app/startup_files.h"
#include "core/text.h"
#include "graph/graph_drawing.h"
#include "graph/graph_texts.h"
#include "gwl/platform/file_writer.h"
#include "gwl/platform/qt_text.h"
#include "gwl/platform/system.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/surface/drawing_area.h"
#include "gwl/surface/picture_io.h"
#include "model/model_check.h"
#include "model/model_info.h"
#include "model/model_reader.h"
#include "settings/graph_settings.h"
#include "settings/node_ranges.h"

namespace vorax {

std::variant<gwl::PictureFormat, std::string> export_format(const std::string& output,
                                                            std::optional<gwl::PictureFormat> named)
{
    const std::optional<std::string> extension = gwl::file_extension(output);
    if (!extension)
        return named.value_or(gwl::PictureFormat::png);
    const std::optional<gwl::PictureFormat> format = gwl::picture_format_named(*extension);
    if (!format)
        return "cannot write \"" + output + "\": the extension names the format, and it must be"
               " .png, .bmp, .svg or .pdf (a name without one is PNG, or what --format names)";
    if (named && named != format)
        return std::string("--format ") + gwl::picture_format_name(*named)
               + " does not match the extension of \"" + output + "\"";
    return *format;
}

namespace {

// Whether two names reach one file (through links too).
bool same_file(const std::string& a, const std::string& b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

// The model with the reader's notes, or nothing after saying on `err` why it could not be read.
std::optional<ReadResult> read_export_model(const std::string& path, std::ostream& err)
{
    ReadResult result = read_model(path);
    switch (result.status) {
    case ReadStatus::ok:
        return result;
    case ReadStatus::wrong_input_file:
        err << "vorax --export: Wrong Input File: " << result.file_name << '\n'
            << "  " << result.message << '\n';
        return std::nullopt;
    case ReadStatus::end_of_file:
    case ReadStatus::cannot_open:
        break;
    }
    err << "vorax --export: " << result.message << '\n';
    return std::nullopt;
}

// What the Graph Settings dialog would leave on "DRAW" with the options' choices.
void choose_settings(const ExportOptions& options, SettingsState& settings)
{
    GraphSettings& g = settings.current_settings;
    g.reverse_vertical = options.reverse_vertical;
    g.reverse_y = options.reverse_y;
    if (options.node_indices)
        g.show_node_indices = *options.node_indices;
    if (options.element_indices)
        g.show_element_indices = *options.element_indices;
    g.show_grid_and_scale = options.grid;
    g.view = options.view;
    settings.color_scheme = options.color_scheme;
    g.colors = scheme_colors(settings, options.color_scheme);
    if (options.factor) {
        g.min_size_factor = *options.factor;
        g.min_size_factor_auto = false;
    }
}

// Selects the nodes of the range text as the "Range" field would; false, after saying why on
// `err`, when a group is bad or no node is named.
bool select_range(const std::string& typed, const ExportOptions& options, StructureModel& model,
                  GraphSettings& g, std::ostream& err)
{
    g.all_nodes = false;
    const std::string range_text = cut(typed, kRangeTextLength);
    const std::vector<BadGroup> bad = apply_node_ranges(range_text, model);
    for (const BadGroup& group : bad)
        err << group_error_text(group, options.language) << '\n';
    if (!bad.empty())
        return false;
    g.selected_node_count = selected_node_count(model);
    if (g.selected_node_count > 0)
        return true;
    err << "vorax --export: the node range \"" << range_text << "\" names no node\n";
    return false;
}

// Draws the planned graph on a surface of the options' size and writes it to the picture file.
// `report` writes the info lines; it runs once, after the drawing and the writing and before
// any word on a failure, as the info window would have them by then.
int write_graph_picture(const ExportOptions& options, gwl::PictureFormat format,
                        const StructureModel& model, const SettingsState& settings,
                        const GraphPlan& plan, const std::function<void()>& report,
                        std::ostream& out, std::ostream& err)
{
    bool reported = false;
    const auto report_once = [&] {
        if (!std::exchange(reported, true))
            report();
    };
    gwl::DrawingAreaSize area{options.width, options.height};
    if (area.width <= 0 || area.height <= 0)
        area = gwl::default_drawing_area();
    const auto out_of_memory = [&] {
        report_once();
        out.flush();
        err << "vorax --export: not enough memory for a " << area.width << 'x' << area.height
            << " picture\n";
        return kExportFailed;
    };
    try {
        // A drawing is written from the record of what was drawn, an image from the pixels:
        // neither needs the other.
        gwl::DrawSurface surface(area.width, area.height,
                                 gwl::drawn_from_record(format) ? gwl::SurfaceDrawing::record_only
                                                                : gwl::SurfaceDrawing::pixels_only);
        // A drawing area the system could not give has no pixels.
        if (surface.width() != area.width || surface.height() != area.height)
            return out_of_memory();
        // The heading names the program as the window would: from the current directory.
        const GraphTexts texts{determine_host(gwl::current_directory()).program_label,
                               model.problem_title, options.language};
        const DrawOutcome outcome = draw_graph(surface, model, settings, plan, texts);
        // The picture is written while the model check may still run on the other processor;
        // the lines, whose last one may be the check's, come after it.
        const bool drawn = outcome != DrawOutcome::font_error;
        const std::string reason = drawn ? gwl::write_surface_picture(surface, options.output, format,
                                                                      gwl::qt_text(title_text(model.problem_title)))
                                         : std::string();
        report_once();
        if (!drawn) {
            out << " ** Font Initialization Error\n";
            out.flush();
            err << "vorax --export: no fonts could be initialised\n";
            return kExportFailed;
        }
        out.flush();
        if (!reason.empty()) {
            err << "vorax --export: cannot write " << options.output << ": " << reason << '\n';
            return kExportFailed;
        }
    } catch (const std::bad_alloc&) {
        return out_of_memory();
    }
    return kExportOk;
}

} // namespace

std::string_view view_option_name(GraphView view)
{
    switch (view) {
    case GraphView::front:
        return "front";
    case GraphView::side:
        return "side";
    case GraphView::plan:
        return "plan";
    case GraphView::iso:
        return "iso";
    case GraphView::oblique:
        break;
    }
    return "oblique";
}

namespace {

// Where the picture goes and in which format, once the arguments allow it to be drawn.
struct ExportTarget {
    gwl::PictureFormat format;
    bool to_standard_output;
};

// The target, or nothing after saying on `err` why the arguments allow no picture.
std::optional<ExportTarget> export_target(const ExportOptions& options, std::ostream& err)
{
    const auto chosen = export_format(options.output, options.format);
    if (const std::string* problem = std::get_if<std::string>(&chosen)) {
        err << "vorax --export: " << *problem << '\n';
        return std::nullopt;
    }
    // A picture written to standard output must not get the info lines mixed into its bytes.
    const ExportTarget target{std::get<gwl::PictureFormat>(chosen),
                              options.output == "-" || gwl::names_standard_output(options.output)};
    if (!target.to_standard_output && same_file(options.output, options.model)) {
        err << "vorax --export: " << options.output << " is the model file itself; it is left as it is\n";
        return std::nullopt;
    }
    // The bytes of a picture would garble a terminal; an SVG is text and may be read there.
    if (target.to_standard_output && target.format != gwl::PictureFormat::svg && ::isatty(STDOUT_FILENO) != 0) {
        err << "vorax --export: a " << gwl::picture_format_name(target.format)
            << " picture is not written to a terminal; redirect standard output or name a file\n";
        return std::nullopt;
    }
    // The picture, or the info lines, sent by the shell into the model file.
    if (descriptor_names(STDOUT_FILENO, options.model, true)) {
        err << "vorax --export: standard output is the model file itself; it is left as it is\n";
        return std::nullopt;
    }
    return target;
}

// Everything after the reading: the load lines, the check, the graph and its picture.
int export_after_reading(const ExportOptions& options, const ExportTarget& target,
                         std::optional<ReadResult> read, std::ostream& standard_output, std::ostream& err)
{
    std::ostream& out = target.to_standard_output ? err : standard_output;
    if (!read)
        return kExportFailed;
    StructureModel* model = &read->model;
    std::future<std::int64_t> check;
    SettingsState settings;
    std::vector<std::string> lines = prepare_loaded_model(*model, settings.current_settings);
    choose_settings(options, settings);
    const auto write_lines = [&](const std::vector<std::string>& more) {
        // The info window gets the check's line after the load lines, and so does the output.
        if (const auto line = model_check_line(check.get(),
                                               check_command_name(options.model, options.model),
                                               options.language))
            lines.push_back(*line);
        lines.insert(lines.end(), more.begin(), more.end());
        for (const std::string& line : lines)
            out << line << '\n';
    };
    // A plane model is drawn in its own plane only; asking for another view of it is a mistake
    // better said than drawn past.
    if (model->NGL != 3 && options.view != GraphView::oblique) {
        err << "vorax --export: --view " << view_option_name(options.view)
            << " needs a spatial model (NGL = 3); " << options.model
            << " is a plane model, drawn in its own plane (--view oblique)\n";
        return kExportBadArguments;
    }
    if (options.nodes
        && !select_range(*options.nodes, options, *model, settings.current_settings, err))
        return kExportBadArguments;

    // The graph, as graph 1 draws it.
    const GraphPlan plan = plan_graph(*model, settings, 1);
    // The check reads what the drawing leaves alone (coordinates, codes, elements, counts): it
    // runs beside the drawing, on the other processor. Beside the plan, whose pass over the
    // nodes is bound by memory as much as the check's, it slowed the plan down by more than the
    // check took.
    check = start_beside([model, &notes = read->notes] { return check_model(*model, notes).count(); });
    return write_graph_picture(options, target.format, *model, settings, plan,
                               [&] { write_lines(plan.info_lines); }, out, err);
}

} // namespace

int run_export(const ExportOptions& options, std::ostream& standard_output, std::ostream& err)
{
    const std::optional<ExportTarget> target = export_target(options, err);
    if (!target)
        return kExportBadArguments;
    return export_after_reading(options, *target, read_export_model(options.model, err), standard_output, err);
}

namespace {

std::atomic<QtMessageHandler> qt_messages{nullptr}; // where the messages of Qt went before

// Without a runtime folder from the session (a root shell, a CI job) Qt says on standard error
// that it makes one of its own. An export needs none, and its standard error may carry the info
// lines (a picture written to standard output): the notice is left out, every other message
// goes where it went.
void without_runtime_folder_notice(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(u"QStandardPaths: XDG_RUNTIME_DIR not set"))
        return;
    if (const QtMessageHandler before = qt_messages.load())
        before(type, context, message);
}

} // namespace

int run_export_offscreen(const ExportOptions& options, int& argc, char** argv, std::ostream& out,
                         std::ostream& err)
{
    if (QCoreApplication::instance() != nullptr)
        return run_export(options, out, err);
    const std::optional<ExportTarget> target = export_target(options, err);
    if (!target)
        return kExportBadArguments;
    // The model is read beside the making of the GUI application that text needs for its
    // fonts (the offscreen platform needs no display): neither waits for the other. The
    // environment is set before the reading starts, and so is the locale the application takes
    // from it, which the system's reasons for a failure follow. What the reading has to say
    // waits for the application, whose start may write warnings of its own.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::setlocale(LC_ALL, "");
    std::ostringstream read_errors;
    auto read = start_beside([&] { return read_export_model(options.model, read_errors); });
    if (const QtMessageHandler before = qInstallMessageHandler(without_runtime_folder_notice);
        before != without_runtime_folder_notice)
        qt_messages = before;
    QGuiApplication application(argc, argv);
    // The font list, which the first text would gather, is gathered while the reading goes on.
    static_cast<void>(QFontDatabase::families());
    std::optional<ReadResult> model = read.get();
    err << read_errors.str();
    return export_after_reading(options, *target, std::move(model), out, err);
}

} // namespace vorax
