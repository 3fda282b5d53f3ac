#include "app/export_command.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <charconv>
#include <cmath>
#include <memory>
#include <new>
#include <ostream>
#include <string_view>

#include "app/check_command.h"
#include "app/model_loading.h"
#include "app/startup_files.h"
#include "core/text.h"
#include "graph/graph_drawing.h"
#include "graph/graph_texts.h"
#include "gwl/platform/file_writer.h"
#include "gwl/platform/qt_text.h"
#include "gwl/platform/system.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/surface/drawing_area.h"
#include "model/model_check.h"
#include "model/model_info.h"
#include "model/model_reader.h"
#include "settings/graph_settings.h"
#include "settings/node_ranges.h"

namespace vorax {

namespace {

constexpr std::string_view kOption = "--export";

std::optional<bool> on_off(std::string_view text)
{
    if (equals_ignore_case(text, "on"))
        return true;
    if (equals_ignore_case(text, "off"))
        return false;
    return std::nullopt;
}

// The factors that the Graph Settings dialog's field (ten characters, two decimals) can show:
// anything smaller shows as 0.00, anything larger as asterisks.
constexpr double kSmallestFactor = 0.01;
constexpr double kLargestFactor = 1.0e6;

// A decimal number (digits, an optional fraction and exponent) within the factor's range, or
// zero, which means Auto as in the dialog (nullopt). Not taken: nan, inf, hexadecimal, anything
// after the number.
bool parse_factor(std::string_view text, std::optional<float>& factor)
{
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value,
                                              std::chars_format::general);
    if (error != std::errc{} || end != text.data() + text.size())
        return false;
    if (value == 0.0) {
        factor.reset();
        return true;
    }
    if (!std::isfinite(value) || value < kSmallestFactor || value > kLargestFactor)
        return false;
    factor = static_cast<float>(value);
    return true;
}

bool names_info_mode(std::string_view argument)
{
    return argument == "--info" || argument.rfind("--info=", 0) == 0;
}

} // namespace

const char* export_usage()
{
    return "usage: vorax --export OUT MODEL [--size WxH] [--lang en|ro] [--reverse-vertical]\n"
           "       [--reverse-y] [--nodes RANGES] [--node-indices on|off]\n"
           "       [--element-indices on|off] [--grid on|off] [--scheme standard|allblack]\n"
           "       [--factor F|auto] [--format png|bmp|svg|pdf]\n"
           "OUT's extension (.png .bmp .svg .pdf) names the format; --format names it for a\n"
           "name without one, such as /dev/stdout (PNG otherwise). When OUT is standard\n"
           "output, the info lines go to standard error.\n";
}

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

// Sets the option `name` (with its "--") from its value; returns what is wrong with them, or
// nothing.
std::optional<std::string> set_option(const std::string& name, const std::string& value,
                                      ExportOptions& options)
{
    const std::string not_value = ", not \"" + value + "\"";
    if (name == "--size") {
        const auto size = gwl::parse_area_size(value);
        if (!size)
            return "--size wants a size such as 1600x1200 (16..32767 each way)" + not_value;
        options.width = size->width;
        options.height = size->height;
    } else if (name == "--lang") {
        if (equals_ignore_case(value, "en"))
            options.language = UiLanguage::english;
        else if (equals_ignore_case(value, "ro"))
            options.language = UiLanguage::romanian;
        else
            return "--lang wants en or ro" + not_value;
    } else if (name == "--nodes") {
        options.nodes = value;
    } else if (name == "--node-indices" || name == "--element-indices" || name == "--grid") {
        const std::optional<bool> on = on_off(value);
        if (!on)
            return name + " wants on or off" + not_value;
        if (name == "--grid")
            options.grid = *on;
        else
            (name == "--node-indices" ? options.node_indices : options.element_indices) = *on;
    } else if (name == "--scheme") {
        if (equals_ignore_case(value, "standard"))
            options.color_scheme = ColorScheme::standard;
        else if (equals_ignore_case(value, "allblack"))
            options.color_scheme = ColorScheme::all_black;
        else
            return "--scheme wants standard or allblack" + not_value;
    } else if (name == "--format") {
        options.format = gwl::picture_format_named(value);
        if (!options.format)
            return "--format wants png, bmp, svg or pdf" + not_value;
    } else if (name == "--factor") {
        if (equals_ignore_case(value, "auto"))
            options.factor.reset();
        else if (!parse_factor(value, options.factor))
            return "--factor wants auto or a decimal number from 0.01 to 1000000" + not_value;
    } else {
        return "unknown option " + name;
    }
    return std::nullopt;
}

} // namespace

std::variant<ExportOptions, std::string> parse_export_arguments(const std::vector<std::string>& arguments)
{
    ExportOptions options;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        if (name.rfind("--", 0) != 0) {
            positional.push_back(name);
            continue;
        }
        std::optional<std::string> inline_value;
        if (const std::size_t eq = name.find('='); eq != std::string::npos) {
            inline_value = name.substr(eq + 1);
            name.resize(eq);
        }
        if (name == "--reverse-vertical" || name == "--reverse-y") {
            if (inline_value)
                return name + " takes no value";
            (name == "--reverse-y" ? options.reverse_y : options.reverse_vertical) = true;
            continue;
        }
        if (!inline_value && i + 1 >= arguments.size())
            return name + " needs a value";
        const std::string value = inline_value ? *inline_value : arguments[++i];
        if (auto problem = set_option(name, value, options))
            return *problem;
    }
    if (positional.size() < 2)
        return "name the picture to write and the model file to draw";
    if (positional.size() > 2)
        return "unexpected argument \"" + positional[2] + "\"";
    options.output = positional[0];
    options.model = positional[1];
    auto format = export_format(options.output, options.format);
    if (const std::string* problem = std::get_if<std::string>(&format))
        return *problem;
    options.format = std::get<gwl::PictureFormat>(format);
    return options;
}

namespace {

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
int write_graph_picture(const ExportOptions& options, gwl::PictureFormat format,
                        const StructureModel& model, const SettingsState& settings,
                        const GraphPlan& plan, std::ostream& out, std::ostream& err)
{
    gwl::DrawingAreaSize area{options.width, options.height};
    if (area.width <= 0 || area.height <= 0)
        area = gwl::default_drawing_area();
    const auto out_of_memory = [&] {
        out.flush();
        err << "vorax --export: not enough memory for a " << area.width << 'x' << area.height
            << " picture\n";
        return kExportFailed;
    };
    try {
        gwl::DrawSurface surface(area.width, area.height);
        // A drawing area the system could not give has no pixels.
        if (surface.width() != area.width || surface.height() != area.height)
            return out_of_memory();
        // The heading names the program as the window would: from the current directory.
        const GraphTexts texts{determine_host(gwl::current_directory()).program_label,
                               model.problem_title, options.language};
        if (draw_graph(surface, model, settings, plan, texts) == DrawOutcome::font_error) {
            out << " ** Font Initialization Error\n";
            out.flush();
            err << "vorax --export: no fonts could be initialised\n";
            return kExportFailed;
        }
        out.flush();

        const std::string reason = gwl::write_surface_picture(
            surface, options.output, format, gwl::qt_text(title_text(model.problem_title)));
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

int run_export(const ExportOptions& options, std::ostream& standard_output, std::ostream& err)
{
    const auto chosen = export_format(options.output, options.format);
    if (const std::string* problem = std::get_if<std::string>(&chosen)) {
        err << "vorax --export: " << *problem << '\n';
        return kExportBadArguments;
    }
    // A picture written to standard output must not get the info lines mixed into its bytes.
    std::ostream& out = gwl::names_standard_output(options.output) ? err : standard_output;
    std::optional<ReadResult> read = read_export_model(options.model, err);
    if (!read)
        return kExportFailed;
    StructureModel* model = &read->model;
    const std::int64_t warnings = check_model(*model, read->notes).count();
    SettingsState settings;
    std::vector<std::string> lines = prepare_loaded_model(*model, settings.current_settings);
    // The info window gets the check's line after the load lines, and so does the output.
    if (const auto line = model_check_line(
            warnings, check_command_name(options.model, options.model), options.language))
        lines.push_back(*line);
    choose_settings(options, settings);
    if (options.nodes
        && !select_range(*options.nodes, options, *model, settings.current_settings, err))
        return kExportBadArguments;

    // The graph, as graph 1 draws it.
    const GraphPlan plan = plan_graph(*model, settings, 1);
    lines.insert(lines.end(), plan.info_lines.begin(), plan.info_lines.end());
    for (const std::string& line : lines)
        out << line << '\n';
    return write_graph_picture(options, std::get<gwl::PictureFormat>(chosen), *model, settings,
                               plan, out, err);
}

std::optional<int> run_export_option(int& argc, char** argv, std::ostream& out, std::ostream& err)
{
    int at = -1;
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == kOption) {
            at = i;
            break;
        }
    if (at < 0)
        return std::nullopt;
    for (int i = 1; i < argc; ++i)
        if (names_info_mode(argv[i])) {
            err << "vorax --export: --info and --export cannot be used together\n" << export_usage();
            return kExportBadArguments;
        }
    std::vector<std::string> arguments(argv + at + 1, argv + argc);
    for (const std::string& a : arguments)
        if (a == "--help" || a == "-h") {
            out << export_usage();
            return 0;
        }
    auto parsed = parse_export_arguments(arguments);
    if (const std::string* problem = std::get_if<std::string>(&parsed)) {
        err << "vorax --export: " << *problem << '\n' << export_usage();
        return kExportBadArguments;
    }
    // Text needs fonts, and fonts need a GUI application; the offscreen platform needs no
    // display.
    std::unique_ptr<QGuiApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    return run_export(std::get<ExportOptions>(parsed), out, err);
}

} // namespace vorax
