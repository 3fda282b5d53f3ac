// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <algorithm>
#include <cstdlib>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <utility>

#include "core/text.h"
#include "settings/graph_settings.h"

namespace vorax {

namespace {

// --- Values ---------------------------------------------------------------------------------

// The value among `choices` (any case) into `target`; false when it is none of them.
template <typename T>
bool pick(std::string_view value, std::initializer_list<std::pair<std::string_view, T>> choices,
          T& target)
{
    for (const auto& [name, meaning] : choices)
        if (equals_ignore_case(value, name)) {
            target = meaning;
            return true;
        }
    return false;
}

template <typename T>
bool pick(std::string_view value, std::initializer_list<std::pair<std::string_view, T>> choices,
          std::optional<T>& target)
{
    T meaning{};
    if (!pick(value, choices, meaning))
        return false;
    target = meaning;
    return true;
}

template <typename Target>
bool pick_on_off(std::string_view value, Target& target)
{
    return pick<bool>(value, {{"on", true}, {"off", false}}, target);
}

bool take_size(std::string_view value, std::optional<gwl::DrawingAreaSize>& size)
{
    size = gwl::parse_area_size(value);
    return size.has_value();
}

// The factors that the Graph Settings dialog's field (ten characters, two decimals) can show:
// anything smaller shows as 0.00, anything larger as asterisks.
constexpr double kSmallestFactor = 0.01;
constexpr double kLargestFactor = 1.0e6;

// "auto", or a decimal number (digits, an optional fraction and exponent) within the factor's
// range, or zero, which means Auto as in the dialog. Not taken: nan, inf, hexadecimal, anything
// after the number.
bool take_factor(std::string_view text, std::optional<float>& factor)
{
    if (equals_ignore_case(text, "auto")) {
        factor.reset();
        return true;
    }
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

// --- The option list ------------------------------------------------------------------------

constexpr std::string_view kSizeWanted = "a size such as 1600x1200 (16..32767 each way)";

using G = OptionGroup;

const OptionSpec kOptions[] = {
    {"info", "", "MODEL", "", G::mode,
     "Print what the info window shows after loading MODEL (the title and the extents), then a "
     "line with its counts. Exit status 0, or 1 when MODEL cannot be read.",
     "", nullptr, Mode::info},
    {"check", "", "MODEL", "", G::mode,
     "List what looks mistyped in MODEL, one finding per line in file order (MODEL:LINE: "
     "warning: TEXT [KIND]), then a summary. "
     "Exit status 0 without findings, 3 with findings, 1 when MODEL cannot be read.",
     "", nullptr, Mode::check},
    {"diff", "", "OLD", "NEW", G::mode,
     "List what changed from the model file OLD to NEW, nodes and elements matched by number, "
     "one change per line in NEW's file order (NEW:LINE: node 7 moved from (12.000, 3.500) to "
     "(12.000, 4.000)), then a summary. Exit status 0 when they are the same, 3 when they "
     "differ, 1 when either cannot be read.",
     "", nullptr, Mode::diff},
    {"export", "", "OUT", "MODEL", G::mode,
     "Draw graph 1 of MODEL as \"NEW Graph ...\" followed by \"DRAW\" would, and write the "
     "drawing area to the picture OUT in the format its extension names: .png or .bmp pixels, "
     ".svg or .pdf lines and text (any other extension is refused with 2). Standard output gets "
     "the lines the info window would get, standard error when OUT is standard output. "
     "Exit status 0, or 1 when MODEL cannot be read or OUT cannot be written; a node range with "
     "a bad group is refused with 2.",
     "", nullptr, Mode::export_picture},

    {"area", "", "WxH", "", G::window,
     "Drawing area of the graph windows in pixels, 16..32767 each way (the screen's size, at "
     "least 1024x768).",
     kSizeWanted,
     [](std::string_view v, CommandLine& line) { return take_size(v, line.area); }},

    {"size", "", "WxH", "", G::export_picture,
     "Drawing area in pixels, 16..32767 each way (that of a graph window).", kSizeWanted,
     [](std::string_view v, CommandLine& line) {
         std::optional<gwl::DrawingAreaSize> size;
         if (!take_size(v, size))
             return false;
         line.export_options.width = size->width;
         line.export_options.height = size->height;
         return true;
     }},
    {"format", "", "png|bmp|svg|pdf", "", G::export_picture,
     "Picture format of an OUT without an extension, such as /dev/stdout (png); with an "
     "extension it must name the same format.", "",
     [](std::string_view v, CommandLine& line) {
         return pick<gwl::PictureFormat>(
             v, {{"png", gwl::PictureFormat::png}, {"bmp", gwl::PictureFormat::bmp},
                 {"svg", gwl::PictureFormat::svg}, {"pdf", gwl::PictureFormat::pdf}},
             line.export_options.format);
     }},
    {"lang", "", "en|ro", "", G::export_picture, "Language of the heading and the node line (en).",
     "",
     [](std::string_view v, CommandLine& line) {
         return pick<UiLanguage>(v, {{"en", UiLanguage::english}, {"ro", UiLanguage::romanian}},
                                 line.export_options.language);
     }},
    {"reverse-vertical", "", "", "", G::export_picture,
     "Reverse the vertical axis, as the Graph Settings switch \"Z / Y (vertical axis)\" does "
     "(off).",
     "",
     [](std::string_view, CommandLine& line) { return line.export_options.reverse_vertical = true; }},
    {"reverse-y", "", "", "", G::export_picture,
     "Reverse the Y axis of a spatial model, as the switch \"Y (For: NGL =3)\" does (off).", "",
     [](std::string_view, CommandLine& line) { return line.export_options.reverse_y = true; }},
    {"view", "", "oblique|front|side|plan|iso", "", G::export_picture,
     "View of a spatial model: oblique with Y at 45 degrees, front (X-Z), side (Y-Z), plan (X-Y) "
     "or isometric; the grid and scale lie in the plane through the origin that faces the "
     "viewer. A plane model takes only oblique, its own plane; another view of it is refused "
     "with 2 (oblique).",
     "",
     [](std::string_view v, CommandLine& line) {
         return pick<GraphView>(v,
                                {{"oblique", GraphView::oblique}, {"front", GraphView::front},
                                 {"side", GraphView::side}, {"plan", GraphView::plan},
                                 {"iso", GraphView::iso}},
                                line.export_options.view);
     }},
    {"nodes", "", "RANGES", "", G::export_picture,
     "Draw the nodes of a selection as typed in \"Range\", for example \"1-7, 13 20\" (all "
     "nodes).",
     "",
     [](std::string_view v, CommandLine& line) {
         line.export_options.nodes = std::string(v);
         return true;
     }},
    {"node-indices", "", "on|off", "", G::export_picture,
     "Node numbers (on for at most 200 nodes).", "",
     [](std::string_view v, CommandLine& line) {
         return pick_on_off(v, line.export_options.node_indices);
     }},
    {"element-indices", "", "on|off", "", G::export_picture,
     "Element numbers (on for at most 200 elements).", "",
     [](std::string_view v, CommandLine& line) {
         return pick_on_off(v, line.export_options.element_indices);
     }},
    {"grid", "", "on|off", "", G::export_picture, "Grid and scale (on).", "",
     [](std::string_view v, CommandLine& line) { return pick_on_off(v, line.export_options.grid); }},
    {"scheme", "", "standard|allblack", "", G::export_picture, "Colour scheme (standard).", "",
     [](std::string_view v, CommandLine& line) {
         return pick<int>(v, {{"standard", ColorScheme::standard}, {"allblack", ColorScheme::all_black}},
                          line.export_options.color_scheme);
     }},
    {"factor", "", "F|auto", "", G::export_picture,
     "Increasing factor for the minimum size, a decimal number from 0.01 to 1000000; 0 counts as "
     "auto (auto).",
     "auto or a decimal number from 0.01 to 1000000",
     [](std::string_view v, CommandLine& line) { return take_factor(v, line.export_options.factor); }},

    {"help", "h?", "", "", G::general, "Print this help and end.", "", nullptr},
    {"help-all", "", "", "", G::general,
     "Print this help with the options of the Qt toolkit that the windows take, and end.", "",
     nullptr},
    {"version", "v", "", "", G::general, "Print the program's name and version and end.", "",
     nullptr},

    // Handed to Qt, which takes them out of the arguments when the windows start.
    {"platform", "", "NAME", "", G::toolkit, "Platform plugin: xcb, wayland, offscreen, ...", "", nullptr},
    {"platformpluginpath", "", "PATH", "", G::toolkit, "Folder of the platform plugins.", "", nullptr},
    {"platformtheme", "", "NAME", "", G::toolkit, "Platform theme.", "", nullptr},
    {"plugin", "", "NAME", "", G::toolkit, "An additional plugin to load.", "", nullptr},
    {"display", "", "DISPLAY", "", G::toolkit, "X display to use (xcb).", "", nullptr},
    {"geometry", "", "GEOMETRY", "", G::toolkit, "Geometry of the frame window (xcb).", "", nullptr},
    {"qwindowgeometry", "", "GEOMETRY", "", G::toolkit, "Geometry of the frame window.", "", nullptr},
    {"qwindowicon", "", "FILE", "", G::toolkit, "Icon of the windows.", "", nullptr},
    {"qwindowtitle", "", "TITLE", "", G::toolkit, "Title of the frame window.", "", nullptr},
    {"reverse", "", "", "", G::toolkit, "Lay the windows out from right to left.", "", nullptr},
    {"session", "", "NAME", "", G::toolkit, "Session to restore.", "", nullptr},
    {"style", "", "STYLE", "", G::toolkit, "Widget style: fusion, windows, ...", "", nullptr},
    {"stylesheet", "", "FILE", "", G::toolkit, "Style sheet of the widgets.", "", nullptr},
    {"widgetcount", "", "", "", G::toolkit, "Report the widgets left at the end.", "", nullptr},
};

// The option a name of the parser stands for (a long name or an alias), if any.
const OptionSpec* spec_of(std::string_view name)
{
    for (const OptionSpec& spec : kOptions)
        if (spec.name == name || (name.size() == 1 && spec.aliases.find(name[0]) != std::string_view::npos))
            return &spec;
    return nullptr;
}

// An option as it is written: --name, or -name for the toolkit.
std::string written(const OptionSpec& spec)
{
    return (spec.group == G::toolkit ? "-" : "--") + std::string(spec.name);
}

// What a choice's values allow: "en|ro" is "en or ro", "a|b|c" is "a, b or c".
std::string alternatives(std::string_view value)
{
    std::string text(value);
    const std::size_t last = text.rfind('|');
    if (last != std::string::npos)
        text.replace(last, 1, " or ");
    std::replace(text.begin(), text.end(), '|', ',');
    for (std::size_t at = text.find(','); at != std::string::npos; at = text.find(',', at + 2))
        text.insert(at + 1, " ");
    return text;
}

// --- Parsing ----------------------------------------------------------------------------------
// Arguments are bytes throughout: a name that is no valid text comes through unchanged.

CommandLineRefusal refused(std::string problem)
{
    return {std::move(problem)};
}

// The option a value looks like ("--help" right after --export), if it is one of ours.
const OptionSpec* option_written_as(std::string_view value)
{
    if (value.size() < 2 || value[0] != '-')
        return nullptr;
    value.remove_prefix(value.size() > 2 && value[1] == '-' ? 2 : 1);
    return spec_of(value);
}

constexpr std::string_view kDiffOperands = "name the two model files to compare (vorax --diff OLD NEW)";

std::string_view mode_operands_problem(const OptionSpec& mode)
{
    switch (mode.mode) {
    case Mode::diff: return kDiffOperands;
    case Mode::export_picture: return "name the picture to write right after --export (vorax --export OUT MODEL)";
    case Mode::info: return "name the model file to read (vorax --info MODEL)";
    default: return "name the model file to read (vorax --check MODEL)";
    }
}

// The group whose options go with the mode; the modes that only read models take none.
OptionGroup group_of_mode(Mode mode)
{
    return mode == Mode::window ? G::window : mode == Mode::export_picture ? G::export_picture : G::general;
}

std::string not_with_mode(const OptionSpec& spec, const OptionSpec* mode)
{
    if (spec.group == G::export_picture)
        return written(spec) + " is an option of --export";
    return written(spec) + " is an option of the windows, not of " + written(*mode);
}

} // namespace

std::span<const OptionSpec> command_line_options()
{
    return kOptions;
}

namespace {

// The arguments as options and operands. An option is written -name or --name alike, one letter
// or a word ("-platform" is one option, as Qt writes its own, and "-info" is "--info"), its value
// after "=" or as the next argument, whatever that looks like. "--" ends the options in every
// mode: what follows it are file names, also where an option wants its value ("--info --
// -m.dat"). Options and operands may come in any order. The refusals are worded as Qt's own
// parser words them, which this one replaced so that `vorax` starts without Qt.
class Arguments {
public:
    struct Given {
        const OptionSpec* spec;
        std::string value;    // empty for a switch
        bool operand = false; // the value followed "--": a file name, whatever it looks like
    };

    explicit Arguments(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    // False, with `error` set, for a value that is missing or not wanted (the last such) or
    // else for unknown options (all of them).
    bool parse()
    {
        std::vector<std::string> unknown;
        std::string value_error;
        bool options_ended = false;
        for (std::size_t i = 0; i < arguments_.size(); ++i) {
            const std::string& argument = arguments_[i];
            if (!options_ended && argument == "--") {
                options_ended = true;
                continue;
            }
            if (options_ended || argument.size() < 2 || argument[0] != '-') {
                operands_.push_back(argument);
                continue;
            }
            const std::size_t equals = argument.find('=');
            const std::string written = argument.substr(0, equals);
            const std::string name = written.substr(written[1] == '-' ? 2 : 1);
            const OptionSpec* spec = spec_of(name);
            if (spec == nullptr) {
                unknown.push_back(name);
                continue;
            }
            Given given{spec, {}};
            if (equals != std::string::npos) {
                if (spec->value.empty()) {
                    value_error = "Unexpected value after '" + written + "'.";
                    continue;
                }
                given.value = argument.substr(equals + 1);
            } else if (!spec->value.empty()) {
                if (!options_ended && i + 1 < arguments_.size() && arguments_[i + 1] == "--") {
                    options_ended = true;
                    ++i;
                }
                if (++i == arguments_.size()) {
                    value_error = "Missing value after '" + written + "'.";
                    break;
                }
                given.value = arguments_[i];
                given.operand = options_ended;
            }
            given_.push_back(std::move(given));
        }
        if (!value_error.empty())
            error = value_error;
        else if (unknown.size() == 1)
            error = "Unknown option '" + unknown.front() + "'.";
        else if (!unknown.empty())
            error = "Unknown options: " + join(unknown, ", ") + ".";
        return error.empty();
    }

    // Every option given, in the order given; each occurrence counts.
    const std::vector<Given>& given() const { return given_; }
    const std::vector<std::string>& operands() const { return operands_; }
    // The last occurrence of an option that is set.
    const Given& last(const OptionSpec& spec) const
    {
        return *std::find_if(given_.rbegin(), given_.rend(), [&](const Given& g) { return g.spec == &spec; });
    }
    // The values of an option in the order given.
    std::vector<std::string> values(const OptionSpec& spec) const
    {
        std::vector<std::string> found;
        for (const Given& g : given_)
            if (g.spec == &spec)
                found.push_back(g.value);
        return found;
    }

    std::string error;

private:
    static std::string join(const std::vector<std::string>& parts, std::string_view between)
    {
        std::string text;
        for (std::size_t k = 0; k < parts.size(); ++k)
            text += (k == 0 ? "" : std::string(between)) + parts[k];
        return text;
    }

    const std::vector<std::string>& arguments_;
    std::vector<Given> given_;
    std::vector<std::string> operands_;
};

// The mode options the arguments name, in the order given; each occurrence counts.
std::vector<const OptionSpec*> given_modes(const Arguments& args)
{
    std::vector<const OptionSpec*> modes;
    for (const Arguments::Given& given : args.given())
        if (given.spec->group == G::mode)
            modes.push_back(given.spec);
    return modes;
}

// --help, --help-all or --version, also where a mode's operand is one of them ("--export
// --help"); and whether a mode's operand is missing (an option in its place).
struct HelpAsked {
    std::optional<Mode> mode;
    bool operand_missing = false;
    std::string unknown; // an option in its place that is none of ours, as the refusal names it
};

HelpAsked help_asked(const Arguments& args, const std::vector<const OptionSpec*>& modes)
{
    HelpAsked asked;
    bool help = false, help_all = false, version = false;
    for (const Arguments::Given& given : args.given()) {
        help = help || given.spec->name == "help";
        help_all = help_all || given.spec->name == "help-all";
        version = version || given.spec->name == "version";
    }
    for (const OptionSpec* mode : modes) {
        const Arguments::Given& last = args.last(*mode);
        if (last.operand)
            continue; // a file name after "--", whatever it looks like
        const std::string& operand = last.value;
        // "-" alone names standard output (or input), as in most programs.
        if (operand.empty() || (operand[0] == '-' && operand != "-"))
            asked.operand_missing = true;
        if (const OptionSpec* as = option_written_as(operand)) {
            help = help || as->name == "help";
            help_all = help_all || as->name == "help-all";
            version = version || as->name == "version";
        } else if (const std::string written = operand.substr(0, operand.find('='));
                   written.size() > 1 && written[0] == '-' && written != "--" && !option_written_as(written)) {
            asked.unknown = written.substr(written[1] == '-' ? 2 : 1);
        }
    }
    if (help_all || help || version)
        asked.mode = help_all ? Mode::help_all : help ? Mode::help : Mode::version;
    return asked;
}

// Why an option given does not go with the mode; nothing when all do.
std::optional<std::string> option_not_for_mode(const Arguments& args, Mode mode, const OptionSpec* mode_spec)
{
    const OptionGroup own = group_of_mode(mode);
    for (const Arguments::Given& given : args.given()) {
        const OptionSpec& spec = *given.spec;
        if (spec.group == G::mode)
            continue;
        const bool belongs = spec.group == own || (spec.group == G::toolkit && mode == Mode::window);
        if (!belongs)
            return not_with_mode(spec, mode_spec);
    }
    return std::nullopt;
}

// Takes each option's values in the order given, the last one counting; why one was refused.
std::optional<std::string> take_option_values(const Arguments& args, CommandLine& line)
{
    for (const OptionSpec& spec : kOptions) {
        std::vector<std::string> values = spec.take ? args.values(spec) : std::vector<std::string>{};
        if (spec.value.empty() && !values.empty())
            values = {""}; // a switch counts once
        for (const std::string& v : values)
            if (!spec.take(v, line))
                return written(spec) + " wants "
                       + (spec.wants.empty() ? alternatives(spec.value) : std::string(spec.wants)) + ", not \"" + v
                       + "\"";
    }
    return std::nullopt;
}

// The files the mode works on, from its own value and the arguments that are no option; why
// they do not fit.
std::optional<std::string> take_operands(const Arguments& args, const OptionSpec* mode, CommandLine& line)
{
    const std::vector<std::string>& positional = args.operands();
    const std::size_t allowed
        = line.mode == Mode::window || line.mode == Mode::export_picture || line.mode == Mode::diff ? 1 : 0;
    // The window takes the first argument as its model; what a caller passes after it is left
    // alone, not refused.
    if (line.mode == Mode::window)
        line.ignored.insert(line.ignored.end(), positional.begin() + (positional.empty() ? 0 : 1), positional.end());
    else if (positional.size() > allowed)
        return "unexpected argument \"" + positional[allowed] + "\"";
    switch (line.mode) {
    case Mode::window:
        if (!positional.empty())
            line.model = positional.front();
        break;
    case Mode::info:
    case Mode::check:
        line.model = args.last(*mode).value;
        break;
    case Mode::diff:
        if (positional.empty())
            return std::string(kDiffOperands);
        line.model = args.last(*mode).value;
        line.new_model = positional.front();
        break;
    case Mode::export_picture:
        if (positional.empty())
            return std::string("name the model file to draw (vorax --export OUT MODEL)");
        line.export_options.output = args.last(*mode).value;
        line.export_options.model = positional.front();
        break;
    default:
        break;
    }
    return std::nullopt;
}

} // namespace

std::variant<CommandLine, CommandLineRefusal> parse_command_line(const std::vector<std::string>& arguments)
{
    Arguments args(arguments);
    if (!args.parse())
        return refused(args.error);

    CommandLine line;
    const std::vector<const OptionSpec*> modes = given_modes(args);
    const HelpAsked asked = help_asked(args, modes);
    if (asked.mode) {
        line.mode = *asked.mode;
        return line;
    }

    const OptionSpec* mode = modes.empty() ? nullptr : modes.front();
    for (const OptionSpec* other : modes)
        if (other != mode)
            return refused(written(*mode) + " and " + written(*other) + " cannot be used together");
    if (modes.size() > 1)
        return refused(written(*mode) + " is given more than once");
    if (!asked.unknown.empty())
        return refused("Unknown option '" + asked.unknown + "'.");
    if (asked.operand_missing)
        return refused(std::string(mode_operands_problem(*mode)));
    line.mode = mode ? mode->mode : Mode::window;

    if (const auto problem = option_not_for_mode(args, line.mode, mode))
        return refused(*problem);
    if (const auto problem = take_option_values(args, line))
        return refused(*problem);
    if (const auto problem = take_operands(args, mode, line))
        return refused(*problem);
    return line;
}

// --- Texts --------------------------------------------------------------------------------------

namespace {

constexpr std::size_t kTextWidth = 79;

std::string wrapped(const std::vector<std::string>& units, std::string first, std::size_t indent)
{
    return wrap_units(units, std::move(first), indent, kTextWidth);
}

// "-h, -?, --help" and the value: the first column of the help.
std::string tag(const OptionSpec& spec)
{
    std::string text;
    for (char alias : spec.aliases)
        text += std::string("-") + alias + ", ";
    text += written(spec);
    if (!spec.value.empty())
        text += " " + std::string(spec.value);
    if (!spec.operands.empty())
        text += " " + std::string(spec.operands);
    return text;
}

// "[--size WxH]" for each option of the group.
std::vector<std::string> bracketed(OptionGroup group)
{
    std::vector<std::string> units;
    for (const OptionSpec& spec : kOptions)
        if (spec.group == group)
            units.push_back("[" + written(spec) + (spec.value.empty() ? "" : " " + std::string(spec.value)) + "]");
    return units;
}

constexpr std::string_view kIntroduction =
    "VORAX draws the Structure Graph of a structural model for TAVELS and MURIKS. Without a "
    "mode it opens its frame window, where \"NEW Graph ...\" loads MODEL, or asks for a file "
    "when none is given.";

} // namespace

std::string_view group_heading(OptionGroup group)
{
    switch (group) {
    case G::mode:
        return "Modes without a window (one at most)";
    case G::window:
        return "Options of the windows";
    case G::export_picture:
        return "Options of --export";
    case G::general:
        return "Help";
    case G::toolkit:
        return "Options of the Qt toolkit, for the windows";
    }
    return "";
}

std::string_view command_line_rules()
{
    return "An option's value is written after it, as --size 800x600 or --size=800x600, and "
           "options may stand before or after the file names; -- ends the options. Arguments "
           "that are refused end the program with exit status 2 and the usage on standard "
           "error.";
}

std::string usage_text()
{
    const std::string indent = "       ";
    std::vector<std::string> window = bracketed(G::window);
    window.push_back("[MODEL]");
    std::string text = wrapped(window, "usage: vorax", indent.size() + 6);
    for (const OptionSpec& spec : kOptions)
        if (spec.group == G::mode) {
            const std::string start = indent + "vorax " + tag(spec);
            text += wrapped(spec.mode == Mode::export_picture ? bracketed(G::export_picture) : std::vector<std::string>{},
                            start, start.size() + 1);
        }
    text += indent + "vorax";
    for (const OptionSpec& spec : kOptions)
        if (spec.group == G::general)
            text += (spec.name == "help" ? " " : " | ") + written(spec);
    return text + '\n';
}

std::string help_text(bool with_toolkit)
{
    std::size_t column = 0;
    for (const OptionSpec& spec : kOptions)
        column = std::max(column, spec.group == G::toolkit ? 0 : tag(spec).size());
    column = std::min<std::size_t>(column + 4, 26);

    std::string text = usage_text() + '\n' + wrapped(split_words(kIntroduction), "", 0);
    for (const OptionGroup group : {G::mode, G::window, G::export_picture, G::general, G::toolkit}) {
        if (group == G::toolkit && !with_toolkit)
            continue;
        text += '\n' + std::string(group_heading(group)) + ":\n";
        for (const OptionSpec& spec : kOptions) {
            if (spec.group != group)
                continue;
            std::string first = "  " + tag(spec);
            if (first.size() + 2 > column) {
                text += first + '\n';
                first.clear();
            }
            first.resize(column, ' ');
            text += wrapped(split_words(spec.help), first, column);
        }
    }
    return text + '\n' + wrapped(split_words(command_line_rules()), "", 0);
}

std::string refusal_text(const CommandLineRefusal& refusal)
{
    return "vorax: " + refusal.problem + '\n' + usage_text();
}

} // namespace vorax
