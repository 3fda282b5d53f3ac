#include "app/export_command.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>

#include <charconv>
#include <cmath>
#include <memory>
#include <new>
#include <ostream>
#include <string_view>

#include "app/check_command.h"
#include "app/startup_files.h"
#include "core/text.h"
#include "graph/graph_drawing.h"
#include "gwl/draw_surface.h"
#include "gwl/drawing_area.h"
#include "gwl/picture_io.h"
#include "gwl/system.h"
#include "model/model_check.h"
#include "model/model_info.h"
#include "model/model_reader.h"
#include "settings/graph_settings.h"
#include "settings/node_ranges.h"

namespace vorax {

namespace {

constexpr std::string_view kOption = "--export";
constexpr int kMinimumSide = 16;
constexpr int kIndexLimit = 200; // the loading turns numbers off above this many

std::optional<bool> on_off(std::string_view text)
{
    if (equals_ignore_case(text, "on"))
        return true;
    if (equals_ignore_case(text, "off"))
        return false;
    return std::nullopt;
}

bool parse_size(std::string_view text, int& width, int& height)
{
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos)
        return false;
    auto number = [](std::string_view digits, int& value) {
        if (digits.empty() || digits.size() > 5)
            return false;
        value = 0;
        for (char c : digits) {
            if (c < '0' || c > '9')
                return false;
            value = value * 10 + (c - '0');
        }
        return true;
    };
    return number(text.substr(0, x), width) && number(text.substr(x + 1), height);
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
           "       [--factor F|auto]\n";
}

std::variant<ExportOptions, std::string> parse_export_arguments(const std::vector<std::string>& arguments)
{
    ExportOptions options;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> inline_value;
        if (name.rfind("--", 0) == 0) {
            if (const std::size_t eq = name.find('='); eq != std::string::npos) {
                inline_value = name.substr(eq + 1);
                name.resize(eq);
            }
        } else {
            positional.push_back(name);
            continue;
        }
        if (name == "--reverse-vertical" || name == "--reverse-y") {
            if (inline_value)
                return name + " takes no value";
            (name == "--reverse-y" ? options.reverse_y : options.reverse_vertical) = true;
            continue;
        }
        std::string value;
        if (inline_value) {
            value = *inline_value;
        } else {
            if (i + 1 >= arguments.size())
                return name + " needs a value";
            value = arguments[++i];
        }
        if (name == "--size") {
            if (!parse_size(value, options.width, options.height) || options.width < kMinimumSide
                || options.height < kMinimumSide || options.width > gwl::kMaximumAreaSide
                || options.height > gwl::kMaximumAreaSide)
                return "--size wants a size such as 1600x1200 (16..32767 each way), not \"" + value + "\"";
        } else if (name == "--lang") {
            if (equals_ignore_case(value, "en"))
                options.language = UiLanguage::English;
            else if (equals_ignore_case(value, "ro"))
                options.language = UiLanguage::Romanian;
            else
                return "--lang wants en or ro, not \"" + value + "\"";
        } else if (name == "--nodes") {
            options.nodes = value;
        } else if (name == "--node-indices" || name == "--element-indices" || name == "--grid") {
            const std::optional<bool> on = on_off(value);
            if (!on)
                return name + " wants on or off, not \"" + value + "\"";
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
                return "--scheme wants standard or allblack, not \"" + value + "\"";
        } else if (name == "--factor") {
            if (equals_ignore_case(value, "auto"))
                options.factor.reset();
            else if (!parse_factor(value, options.factor))
                return "--factor wants auto or a decimal number from 0.01 to 1000000, not \"" + value
                       + "\"";
        } else {
            return "unknown option " + name;
        }
    }
    if (positional.size() < 2)
        return "name the picture to write and the model file to draw";
    if (positional.size() > 2)
        return "unexpected argument \"" + positional[2] + "\"";
    options.output = positional[0];
    options.model = positional[1];
    return options;
}

int run_export(const ExportOptions& options, std::ostream& out, std::ostream& err)
{
    ReadResult result = read_model(options.model);
    switch (result.status) {
    case ReadStatus::ok:
        break;
    case ReadStatus::wrong_input_file:
        err << "vorax --export: Wrong Input File: " << result.file_name << '\n'
            << "  " << result.message << '\n';
        return kExportFailed;
    case ReadStatus::end_of_file:
    case ReadStatus::cannot_open:
        err << "vorax --export: " << result.message << '\n';
        return kExportFailed;
    }
    StructureModel& model = result.model;

    // What the loading sets after a successful read.
    SettingsState settings;
    GraphSettings& g = settings.current_settings;
    g.all_nodes = true;
    g.selected_element_count = model.element_count;
    update_extents(model, true);
    std::vector<std::string> lines = model_info_lines(model);
    // The info window gets the check's line after the load lines, and so does the output.
    if (const auto line = model_check_line(check_model(model, result.notes).count(),
                                           check_command_name(options.model, options.model),
                                           options.language))
        lines.push_back(*line);
    g.show_node_indices = model.node_count <= kIndexLimit;
    g.show_element_indices = model.element_count <= kIndexLimit;

    // What the Graph Settings dialog leaves on "DRAW".
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
    std::string range_text;
    if (options.nodes) {
        g.all_nodes = false;
        range_text = cut(*options.nodes, kRangeTextLength);
        const std::vector<NodeGroup> groups = split_node_ranges(range_text);
        bool bad = false;
        for (std::size_t i = 0; i < groups.size(); ++i) {
            if (is_bad_group(groups[i], model.node_count)) {
                err << group_error_text(i + 1, groups[i], options.language) << '\n';
                bad = true;
            }
        }
        if (bad)
            return kExportBadArguments;
        for (Node& node : model.nodes)
            node.selected = false;
        for (const NodeGroup& group : groups)
            for (std::int32_t n = group.first; n <= group.last; ++n)
                model.node(n).selected = true;
        g.selected_node_count = 0;
        for (const Node& node : model.nodes)
            g.selected_node_count += node.selected ? 1 : 0;
        if (g.selected_node_count == 0) {
            err << "vorax --export: the node range \"" << range_text << "\" names no node\n";
            return kExportBadArguments;
        }
    } else {
        for (Node& node : model.nodes)
            node.selected = true;
        g.selected_node_count = model.node_count;
    }

    // The graph, as graph 1 draws it.
    const GraphPlan plan = plan_graph(model, settings, 1);
    lines.insert(lines.end(), plan.info_lines.begin(), plan.info_lines.end());
    for (const std::string& line : lines)
        out << line << '\n';

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
        ViewMapping view = plan.view;
        // The heading names the program as the window would: from the current directory.
        const GraphTexts texts{determine_host(gwl::current_directory()).program_label,
                               model.problem_title, options.language};
        if (draw_graph(surface, model, settings, view, plan.box, texts, range_text)
            == DrawOutcome::font_error) {
            out << " ** Font Initialization Error\n";
            out.flush();
            err << "vorax --export: no fonts could be initialised\n";
            return kExportFailed;
        }
        out.flush();

        // Written from the surface itself: a copy would double the memory a large area needs.
        std::string reason;
        surface.read_image(
            [&](const QImage& picture) { reason = gwl::write_picture(picture, options.output); });
        if (!reason.empty()) {
            err << "vorax --export: cannot write " << options.output << ": " << reason << '\n';
            return kExportFailed;
        }
    } catch (const std::bad_alloc&) {
        return out_of_memory();
    }
    return kExportOk;
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
