// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line of every mode: one option list, from which the parser, `vorax --help` and the
// manual page's OPTIONS section are all made.
//
// Arguments are bytes: a model or picture name reaches the file system exactly as it was given,
// even when it is no valid text.
//
// Contents: Mode, OptionGroup, OptionSpec (the option list), CommandLine, parse_command_line, the
// texts (usage_text, help_text, refusal_text, group_heading) and kCommandLineRefused.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "app/export_command.h"
#include "gwl/surface/drawing_area.h"

namespace vorax {

// Exit status of arguments that are refused.
inline constexpr int kCommandLineRefused = 2;

enum class Mode {
    window,         // the frame window, optionally with the MODEL "NEW Graph ..." loads
    info,           // --info MODEL
    check,          // --check MODEL
    diff,           // --diff OLD NEW
    export_picture, // --export OUT MODEL [options]
    help,           // -h, -?, --help
    help_all,       // --help-all: the help with the toolkit's options
    version,        // -v, --version
};

// Where an option belongs; the help and the manual page list the groups in this order.
enum class OptionGroup {
    mode,           // --info, --check, --diff, --export: one of them at most
    window,         // options of the window mode
    export_picture, // options of --export
    general,        // help and version, allowed anywhere
    toolkit,        // Qt's own options of the window mode, handed to it (shown by --help-all)
};

struct CommandLine;

// One option. A switch has no value name; a choice lists its values in it ("en|ro").
struct OptionSpec {
    std::string_view name;     // long name: --name (a toolkit option is written -name)
    std::string_view aliases;  // one-letter names, each written -X
    std::string_view value;    // the value's name in the help; empty for a switch
    std::string_view operands; // what follows the value in the usage ("MODEL" of --export)
    OptionGroup group;
    std::string_view help;     // what it does, with its default in parentheses
    // What a refused value should have been ("a size such as 1600x1200"); empty for a choice,
    // whose values say it.
    std::string_view wants;
    // Takes one value (for a switch, its presence) into the command line; false when the value
    // is refused. Null for the modes, help and version, and the toolkit's options.
    bool (*take)(std::string_view value, CommandLine& line);
    // For the options of the group `mode`, the mode each one chooses.
    Mode mode = Mode::window;
};

// Every option, group by group.
std::span<const OptionSpec> command_line_options();

// What the arguments ask for.
struct CommandLine {
    Mode mode = Mode::window;
    std::optional<std::string> model;          // window: [MODEL]; --info and --check: MODEL;
                                               // --diff: OLD
    std::optional<std::string> new_model;      // --diff: NEW
    std::optional<gwl::DrawingAreaSize> area;  // --area
    ExportOptions export_options;              // --export OUT MODEL and its options
    std::vector<std::string> ignored;          // window: the arguments after MODEL
};

// Why the arguments were refused (exit status 2).
struct CommandLineRefusal {
    std::string problem;
};

// Parses the arguments that follow the program's name. Options are written --name VALUE or
// --name=VALUE, in any order around the operands; "--" ends the options. Help and version win
// over everything but an argument that cannot be parsed.
std::variant<CommandLine, CommandLineRefusal> parse_command_line(const std::vector<std::string>& arguments);

// "usage: vorax ..." with a line per mode.
std::string usage_text();
// The usage, what the program does, every option by group and the rules of the command line;
// the toolkit's options only with `with_toolkit`.
std::string help_text(bool with_toolkit);
// "vorax: PROBLEM" and the usage, for standard error.
std::string refusal_text(const CommandLineRefusal& refusal);
// The heading of a group in the help and the manual page.
std::string_view group_heading(OptionGroup group);
// How option names and values are written, and the exit status of a refusal: the closing
// paragraph of the help, the opening one of the manual page's options.
std::string_view command_line_rules();

} // namespace vorax
