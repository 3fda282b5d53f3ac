// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: the forms it takes and refuses, the values it takes, names that are bytes,
// the help made from the option list, and what the program does with them without a display.

#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <sstream>

#include "app/command_line.h"
#include "test_helpers.h"

namespace vorax {
namespace {

struct Form {
    const char* name;
    std::vector<std::string> arguments;
    std::optional<Mode> mode; // none: refused
    const char* problem = ""; // part of the refusal
};

TEST(CommandLine, AcceptedAndRefusedForms)
{
    const std::optional<Mode> refused;
    const Form forms[] = {
        {"nothing", {}, Mode::window},
        {"model", {"m.dat"}, Mode::window},
        {"area_and_model", {"--area", "800x600", "m.dat"}, Mode::window},
        {"model_and_area_glued", {"m.dat", "--area=800x600"}, Mode::window},
        {"toolkit_options", {"-platform", "offscreen", "-style=fusion", "-reverse", "m.dat"}, Mode::window},
        {"dashes_end_the_options", {"--", "--m.dat"}, Mode::window},
        {"dashes_before_the_operand_of_a_mode", {"--info", "--", "-m.dat"}, Mode::info},
        {"dashes_before_export_model", {"--export", "o.png", "--", "-m.dat"}, Mode::export_picture},
        {"dashes_before_both_diff_files", {"--diff", "--", "-a.dat", "-b.dat"}, Mode::diff},
        {"export_to_standard_output", {"--export", "-", "m.dat"}, Mode::export_picture},
        {"two_models", {"a.dat", "b.dat"}, Mode::window}, // the second is ignored
        {"bad_area", {"--area", "800"}, refused, "--area wants a size such as 1600x1200 (16..32767 each way), not \"800\""},
        {"unknown_option", {"--colour", "red"}, refused, "Unknown option 'colour'"},
        {"unknown_options_all_named", {"-x", "--colour=red", "---y"}, refused, "Unknown options: x, colour, -y."},
        {"a_bad_value_before_unknown_options", {"--colour", "--reverse=1", "--hue"}, refused, "Unexpected value after '--reverse'."},
        {"the_last_bad_value", {"-v=1", "--info"}, refused, "Missing value after '--info'."},
        {"single_dash_words", {"-info", "m.dat", "-h"}, Mode::help},
        {"dashes_in_place_of_a_value", {"--info", "--"}, refused, "Missing value after '--info'."},
        {"dashes_before_export_out", {"--export", "--", "-o.png", "m.dat"}, Mode::export_picture},
        {"an_equals_sign_alone_is_a_file", {"="}, Mode::window},
        {"export_option_alone", {"m.dat", "--size", "800x600"}, refused, "--size is an option of --export"},

        {"help", {"--help"}, Mode::help},
        {"help_short", {"-h"}, Mode::help},
        {"help_question_mark", {"-?"}, Mode::help},
        {"help_all", {"--help-all"}, Mode::help_all},
        {"version", {"--version"}, Mode::version},
        {"version_short", {"-v"}, Mode::version},
        {"export_help", {"--export", "--help"}, Mode::help},
        {"help_beside_a_mode", {"--info", "m.dat", "--help"}, Mode::help},
        {"help_with_a_value", {"--help=all"}, refused, "Unexpected value after '--help'"},

        {"info", {"--info", "m.dat"}, Mode::info},
        {"info_glued", {"--info=m.dat"}, Mode::info},
        {"check", {"--check", "m.dat"}, Mode::check},
        {"check_glued", {"--check=m.dat"}, Mode::check},
        {"info_missing", {"--info"}, refused, "Missing value after '--info'"},
        {"info_empty", {"--info="}, refused, "name the model file to read (vorax --info MODEL)"},
        {"check_followed_by_an_option", {"--check", "--info", "m.dat"}, refused, "(vorax --check MODEL)"},
        {"info_followed_by_an_unknown_option", {"--info", "--bogus", "m.dat"}, refused, "Unknown option 'bogus'"},
        {"diff_followed_by_an_unknown_option", {"--diff", "-x=1", "a.dat", "b.dat"}, refused, "Unknown option 'x'"},
        {"info_extra", {"--info", "m.dat", "x.dat"}, refused, "unexpected argument \"x.dat\""},
        {"info_and_export", {"--info", "m.dat", "--export", "o.png", "m.dat"}, refused, "--info and --export cannot be used together"},
        {"check_and_export", {"--export", "o.png", "m.dat", "--check", "m.dat"}, refused, "--export and --check cannot be used together"},
        {"info_and_check", {"--check=m.dat", "--info=m.dat"}, refused, "--check and --info cannot be used together"},
        {"info_twice", {"--info", "a.dat", "--info", "b.dat"}, refused, "--info is given more than once"},
        {"area_with_info", {"--info", "m.dat", "--area", "800x600"}, refused, "--area is an option of the windows, not of --info"},
        {"toolkit_with_check", {"-platform", "xcb", "--check", "m.dat"}, refused, "-platform is an option of the windows, not of --check"},
        {"export_option_with_info", {"--info", "m.dat", "--size", "800x600"}, refused, "--size is an option of --export"},
        {"diff", {"--diff", "old.dat", "new.dat"}, Mode::diff},
        {"diff_glued_new_first", {"new.dat", "--diff=old.dat"}, Mode::diff},
        {"diff_without_new", {"--diff", "old.dat"}, refused, "name the two model files to compare (vorax --diff OLD NEW)"},
        {"diff_extra", {"--diff", "a.dat", "b.dat", "c.dat"}, refused, "unexpected argument \"c.dat\""},
        {"diff_and_check", {"--diff", "a.dat", "b.dat", "--check", "c.dat"}, refused, "--diff and --check cannot be used together"},

        {"export", {"--export", "out.png", "model.dat"}, Mode::export_picture},
        {"export_glued", {"--export=out.png", "model.dat"}, Mode::export_picture},
        {"export_all_options",
         {"--export", "out.bmp", "model.dat", "--size", "800x600", "--format", "bmp", "--lang", "ro",
          "--reverse-vertical", "--reverse-y", "--nodes", "1-3, 7", "--node-indices", "off",
          "--element-indices", "on", "--grid", "off", "--scheme", "allblack", "--factor", "2.5"},
         Mode::export_picture},
        {"export_options_first", {"--grid=off", "--size=640x480", "--export", "out.png", "model.dat"}, Mode::export_picture},
        {"export_model_first", {"model.dat", "--export", "out.png"}, Mode::export_picture},
        {"export_factor_auto", {"--export", "out.png", "model.dat", "--factor", "auto"}, Mode::export_picture},
        {"export_factor_fraction", {"--export", "out.png", "model.dat", "--factor", ".5"}, Mode::export_picture},
        {"export_factor_zero_is_auto", {"--export", "out.png", "model.dat", "--factor", "0.00"}, Mode::export_picture},
        {"export_factor_smallest", {"--export", "out.png", "model.dat", "--factor", "0.01"}, Mode::export_picture},
        {"export_factor_largest", {"--export", "out.png", "model.dat", "--factor", "1000000"}, Mode::export_picture},
        {"export_without_model", {"--export", "out.png"}, refused, "name the model file to draw (vorax --export OUT MODEL)"},
        {"export_option_before_out", {"--export", "--grid=off", "out.png", "model.dat"}, refused, "right after --export"},
        {"export_extra", {"--export", "out.png", "model.dat", "more"}, refused, "unexpected argument \"more\""},
        {"export_unknown_option", {"--export", "out.png", "model.dat", "--colour", "red"}, refused, "Unknown option 'colour'"},
        {"export_size_without_x", {"--export", "o.png", "m.dat", "--size", "800"}, refused, "--size wants a size such as 1600x1200 (16..32767 each way), not \"800\""},
        {"export_size_too_small", {"--export", "o.png", "m.dat", "--size", "8x8"}, refused, "--size wants"},
        {"export_size_too_large", {"--export", "o.png", "m.dat", "--size", "40000x100"}, refused, "--size wants"},
        {"export_first_of_two_sizes_bad", {"--export", "o.png", "m.dat", "--size", "8", "--size", "80x80"}, refused, "not \"8\""},
        {"export_bad_format", {"--export", "o.png", "m.dat", "--format", "gif"}, refused, "--format wants png, bmp, svg or pdf, not \"gif\""},
        {"export_bad_lang", {"--export", "o.png", "m.dat", "--lang", "de"}, refused, "--lang wants en or ro, not \"de\""},
        {"export_bad_switch", {"--export", "o.png", "m.dat", "--grid", "yes"}, refused, "--grid wants on or off, not \"yes\""},
        {"export_bad_scheme", {"--export", "o.png", "m.dat", "--scheme", "custom"}, refused, "--scheme wants standard or allblack, not \"custom\""},
        {"export_bad_factor", {"--export", "o.png", "m.dat", "--factor", "2x"}, refused, "--factor wants auto or a decimal number from 0.01 to 1000000, not \"2x\""},
        {"export_factor_nan", {"--export", "o.png", "m.dat", "--factor", "nan"}, refused, "--factor wants"},
        {"export_factor_inf", {"--export", "o.png", "m.dat", "--factor=inf"}, refused, "--factor wants"},
        {"export_factor_negative", {"--export", "o.png", "m.dat", "--factor", "-1"}, refused, "--factor wants"},
        {"export_factor_huge", {"--export", "o.png", "m.dat", "--factor", "1e308"}, refused, "--factor wants"},
        {"export_factor_tiny", {"--export", "o.png", "m.dat", "--factor", "1e-30"}, refused, "--factor wants"},
        {"export_factor_below_the_smallest", {"--export", "o.png", "m.dat", "--factor", "0.0099"}, refused, "--factor wants"},
        {"export_factor_above_the_largest", {"--export", "o.png", "m.dat", "--factor", "1000000.5"}, refused, "--factor wants"},
        {"export_factor_hexadecimal", {"--export", "o.png", "m.dat", "--factor", "0x10"}, refused, "--factor wants"},
        {"export_value_missing", {"--export", "o.png", "m.dat", "--nodes"}, refused, "Missing value after '--nodes'"},
        {"export_view", {"--export", "o.png", "m.dat", "--view", "plan"}, Mode::export_picture},
        {"export_view_glued_any_case", {"--view=ISO", "--export", "o.png", "m.dat"}, Mode::export_picture},
        {"export_bad_view", {"--export", "o.png", "m.dat", "--view", "top"}, refused, "--view wants oblique, front, side, plan or iso, not \"top\""},
        {"export_view_missing", {"--export", "o.png", "m.dat", "--view"}, refused, "Missing value after '--view'"},
        {"view_without_export", {"m.dat", "--view", "side"}, refused, "--view is an option of --export"},
        {"view_with_check", {"--check", "m.dat", "--view=front"}, refused, "--view is an option of --export"},
        {"export_switch_with_value", {"--export", "o.png", "m.dat", "--reverse-y=1"}, refused, "Unexpected value after '--reverse-y'"},
    };
    for (const Form& form : forms) {
        SCOPED_TRACE(form.name);
        const auto parsed = parse_command_line(form.arguments);
        if (form.mode) {
            ASSERT_TRUE(std::holds_alternative<CommandLine>(parsed)) << std::get<CommandLineRefusal>(parsed).problem;
            EXPECT_EQ(std::get<CommandLine>(parsed).mode, *form.mode);
        } else {
            ASSERT_TRUE(std::holds_alternative<CommandLineRefusal>(parsed));
            const std::string& problem = std::get<CommandLineRefusal>(parsed).problem;
            EXPECT_NE(problem.find(form.problem), std::string::npos) << problem;
        }
    }
}

CommandLine parsed(const std::vector<std::string>& arguments)
{
    auto result = parse_command_line(arguments);
    EXPECT_TRUE(std::holds_alternative<CommandLine>(result));
    return std::holds_alternative<CommandLine>(result) ? std::get<CommandLine>(result) : CommandLine{};
}

// Names reach the file system as the bytes they were: a Latin-1 "é" is no UTF-8.
TEST(CommandLine, ValuesAreTakenAndNamesStayBytes)
{
    const ExportOptions o = parsed({"--lang", "RO", "--export", "\xe9.bmp", "m\xe9.dat", "--size", "800x600",
                                    "--nodes", "1-3, 7", "--node-indices", "off", "--scheme",
                                    "allblack", "--factor", "3", "--factor", "2.5", "--reverse-y",
                                    "--format", "Png", "--view", "Side"})
                                .export_options;
    EXPECT_EQ(o.output, "\xe9.bmp");
    EXPECT_EQ(o.model, "m\xe9.dat");
    EXPECT_EQ(o.format, gwl::PictureFormat::png);
    EXPECT_EQ(o.width, 800);
    EXPECT_EQ(o.height, 600);
    EXPECT_EQ(o.language, UiLanguage::romanian);
    EXPECT_EQ(o.nodes, std::optional<std::string>("1-3, 7"));
    EXPECT_EQ(o.node_indices, std::optional<bool>(false));
    EXPECT_FALSE(o.element_indices.has_value());
    EXPECT_EQ(o.color_scheme, 2);
    EXPECT_EQ(o.factor, std::optional<float>(2.5f)); // the last one given
    EXPECT_TRUE(o.reverse_y);
    EXPECT_FALSE(o.reverse_vertical);
    EXPECT_TRUE(o.grid);
    EXPECT_EQ(o.view, GraphView::side);
    EXPECT_EQ(parsed({"--export", "o.png", "m.dat"}).export_options.view, GraphView::oblique);

    const CommandLine window = parsed({"caf\xe9.dat", "--area", "1600x1200"});
    EXPECT_EQ(window.model, std::optional<std::string>("caf\xe9.dat"));
    EXPECT_EQ(window.area, (gwl::DrawingAreaSize{1600, 1200}));
    EXPECT_FALSE(parsed({}).model.has_value());
    EXPECT_EQ(parsed({"--info=caf\xe9.dat"}).model, std::optional<std::string>("caf\xe9.dat"));
    EXPECT_EQ(parsed({"--check", "\xff"}).model, std::optional<std::string>("\xff"));
    const CommandLine diff = parsed({"n\xe9w.dat", "--diff", "\xff"});
    EXPECT_EQ(diff.model, std::optional<std::string>("\xff"));
    EXPECT_EQ(diff.new_model, std::optional<std::string>("n\xe9w.dat"));
    EXPECT_EQ(parsed({"--info", "--", "-m.dat"}).model, std::optional<std::string>("-m.dat"));
    const CommandLine dashed = parsed({"--diff", "--", "-a.dat", "-b.dat"});
    EXPECT_EQ(dashed.model, std::optional<std::string>("-a.dat"));
    EXPECT_EQ(dashed.new_model, std::optional<std::string>("-b.dat"));
    EXPECT_EQ(parsed({"--export", "-", "--", "-m.dat"}).export_options.model, "-m.dat");
    const CommandLine extra = parsed({"a.dat", "\xe9\xff.dat", "--", "-x"});
    EXPECT_EQ(extra.model, std::optional<std::string>("a.dat"));
    EXPECT_EQ(extra.ignored, (std::vector<std::string>{"\xe9\xff.dat", "-x"}));
}

// Every value a choice names in the help is taken, in any case; any other is refused by naming
// them.
TEST(CommandLine, EachChoiceOfTheHelpIsTaken)
{
    int choices = 0;
    for (const OptionSpec& spec : command_line_options()) {
        if (spec.value.find('|') == std::string_view::npos)
            continue;
        SCOPED_TRACE(spec.name);
        ASSERT_EQ(spec.group, OptionGroup::export_picture);
        const std::string option = "--" + std::string(spec.name);
        std::string values(spec.value);
        for (std::size_t at = 0; at <= values.size();) {
            const std::size_t end = std::min(values.find('|', at), values.size());
            std::string value = values.substr(at, end - at);
            at = end + 1;
            if (value == "F") // the factor's number
                continue;
            for (std::string written : {value, std::string(1, static_cast<char>(std::toupper(value[0]))) + value.substr(1)}) {
                EXPECT_TRUE(std::holds_alternative<CommandLine>(
                    parse_command_line({"--export", "o.png", "m.dat", option, written})))
                    << written;
                ++choices;
            }
        }
        const auto refused = parse_command_line({"--export", "o.png", "m.dat", option + "=nonesuch"});
        ASSERT_TRUE(std::holds_alternative<CommandLineRefusal>(refused));
        EXPECT_NE(std::get<CommandLineRefusal>(refused).problem.find(" or "), std::string::npos);
    }
    EXPECT_GE(choices, 2 * 13);
}

TEST(CommandLine, HelpNamesEveryOptionWithinTheLineWidth)
{
    const std::string help = help_text(false);
    const std::string all = help_text(true);
    EXPECT_EQ(help.rfind(usage_text(), 0), 0u);
    EXPECT_EQ(all.rfind(help.substr(0, help.find("\nAn option's value")), 0), 0u);
    for (const OptionSpec& spec : command_line_options()) {
        SCOPED_TRACE(spec.name);
        const bool toolkit = spec.group == OptionGroup::toolkit;
        std::string entry = "\n  ";
        for (char alias : spec.aliases)
            entry += std::string("-") + alias + ", ";
        entry += (toolkit ? "-" : "--") + std::string(spec.name);
        const std::string& text = toolkit ? all : help;
        EXPECT_NE(text.find(entry + (spec.value.empty() ? "" : " " + std::string(spec.value))), std::string::npos);
        if (toolkit) {
            EXPECT_EQ(help.find(entry), std::string::npos);
        } else if (spec.group == OptionGroup::export_picture || spec.group == OptionGroup::window) {
            EXPECT_NE(usage_text().find("[--" + std::string(spec.name)), std::string::npos);
        }
    }
    std::istringstream lines(all);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 79u) << line;
        EXPECT_TRUE(line.empty() || line.back() != ' ') << line;
    }
    EXPECT_EQ(refusal_text({"it is wrong"}), "vorax: it is wrong\n" + usage_text());
}

struct ProgramRun {
    std::string arguments;
    int status;
    std::string output; // the start of standard output
    std::string error;  // the start of standard error
};

// The built program without a display: the help and the version on standard output, a refusal
// with the usage on standard error and exit status 2.
TEST(CommandLine, ProgramAnswersWithoutADisplay)
{
    if (testing::vorax_program().empty())
        GTEST_SKIP() << "the vorax program is not built";
    const ProgramRun rows[] = {
        {"--help", 0, help_text(false), ""},
        {"--export --help", 0, help_text(false), ""},
        {"-platform nonesuch --help-all", 0, help_text(true), ""},
        {"--version", 0, "VORAX ", ""},
        {"--bogus", 2, "", "vorax: Unknown option 'bogus'.\n" + usage_text()},
        {"--info m.dat --export o.png m.dat", 2, "", "vorax: --info and --export cannot be used together\nusage: vorax"},
        {"--export o.png m.dat --nodes", 2, "", "vorax: Missing value after '--nodes'.\nusage: vorax"},
    };
    for (const ProgramRun& row : rows) {
        SCOPED_TRACE(row.arguments);
        testing::expect_vorax_run(row.arguments, row.status, row.output, row.error);
    }
}

// `vorax` alone, without the graph program beside it: what only prints still works, what draws
// says that the graph program cannot be started.
TEST(CommandLine, ThePrintingModesNeedNoGraphProgram)
{
    if (testing::vorax_program().empty())
        GTEST_SKIP() << "the vorax program is not built";
    testing::TempDir dir;
    const std::filesystem::path alone = dir.path() / "vorax";
    std::filesystem::copy_file(testing::vorax_program(), alone);
    const std::string model = testing::shell_quoted(dir.write("m.dat", testing::row_model(3)).string());
    const auto cannot_start = [&](const std::string& why) {
        return "vorax: cannot start the graph program \"" + (dir.path() / "vorax-graph").string() + "\": " + why + "\n";
    };
    const std::string missing = cannot_start("No such file or directory");
    const ProgramRun rows[] = {
        {"--version", 0, "VORAX ", ""},
        {"--info " + model, 0, " ROW OF NODES\n", ""},
        {"--check " + model, 0, "no findings\n", ""},
        {"--export o.png " + model, 1, "", missing},
        {model, 1, "", missing},
    };
    for (const ProgramRun& row : rows) {
        SCOPED_TRACE(row.arguments);
        testing::expect_vorax_run(row.arguments, row.status, row.output, row.error, alone.string());
    }
    // A graph program that cannot be run is named with the system's reason.
    dir.write("vorax-graph", "not a program");
    testing::expect_vorax_run(model, 1, "", cannot_start("Permission denied"), alone.string());
}

} // namespace
} // namespace vorax
