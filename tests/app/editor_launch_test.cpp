// SPDX-License-Identifier: GPL-3.0-or-later
// Which command opens the model file at a line: the three ways in their order, the words of a
// command split as a shell would without expanding anything, and editors that need a terminal.

#include <gtest/gtest.h>

#include <map>

#include "app/editor_launch.h"

namespace vorax {
namespace {

using Words = std::vector<std::string>;

TEST(EditorLaunch, TheWayAndTheArguments)
{
    struct Row {
        const char* name;
        std::map<std::string, std::string> environment;
        std::string file;
        long line;
        EditorLaunch::Way way;
        Words arguments;
    };
    using W = EditorLaunch::Way;
    const Row rows[] = {
        {"VoraxEditorFillsFileAndLine", {{"VORAX_EDITOR", "kate --line %l %f"}, {"EDITOR", "vi"}},
         "/m/a.dat", 14, W::editor_command, {"kate", "--line", "14", "/m/a.dat"}},
        {"WithinAWordAndAPercent", {{"VORAX_EDITOR", "code -g %f:%l --x=100%% %q"}},
         "/m/a.dat", 7, W::editor_command, {"code", "-g", "/m/a.dat:7", "--x=100%", "%q"}},
        {"UnknownLineIsTheFirst", {{"VORAX_EDITOR", "ed +%l %f"}}, "a.dat", 0, W::editor_command,
         {"ed", "+1", "a.dat"}},
        {"HostileNameStaysOneWord", {{"VORAX_EDITOR", "gedit +%l %f"}}, "/m/a b'$(rm x)\";`\xff.dat", 3,
         W::editor_command, {"gedit", "+3", "/m/a b'$(rm x)\";`\xff.dat"}},
        {"VisualBeforeEditor", {{"VISUAL", "gedit"}, {"EDITOR", "nano"}}, "/m/a.dat", 5, W::editor_variable,
         {"gedit", "+5", "/m/a.dat"}},
        {"TerminalEditorInTheTerminal", {{"EDITOR", "/usr/bin/vim -u NONE"}}, "/m/a.dat", 9, W::editor_variable,
         {"x-terminal-emulator", "-e", "/usr/bin/vim", "-u", "NONE", "+9", "/m/a.dat"}},
        {"EmacsInAWindow", {{"EDITOR", "emacs"}}, "a.dat", 2, W::editor_variable, {"emacs", "+2", "a.dat"}},
        {"EmacsWithoutWindow", {{"EDITOR", "emacs -nw"}}, "a.dat", 2, W::editor_variable,
         {"x-terminal-emulator", "-e", "emacs", "-nw", "+2", "a.dat"}},
        {"NoLineNoPlus", {{"EDITOR", "gedit"}}, "a.dat", 0, W::editor_variable, {"gedit", "a.dat"}},
        {"DashedNameNotAnOption", {{"EDITOR", "gedit"}}, "-m.dat", 4, W::editor_variable,
         {"gedit", "+4", "./-m.dat"}},
        {"BlankOrBrokenVariablesPassOn", {{"VORAX_EDITOR", "  "}, {"VISUAL", "'open"}, {"EDITOR", "nano"}},
         "a.dat", 6, W::editor_variable, {"x-terminal-emulator", "-e", "nano", "+6", "a.dat"}},
        {"NothingSetIsTheDesktop", {}, "a.dat", 6, W::desktop, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Environment environment = [&row](const char* name) -> std::optional<std::string> {
            const auto it = row.environment.find(name);
            return it == row.environment.end() ? std::nullopt : std::optional<std::string>(it->second);
        };
        const EditorLaunch launch = editor_launch(environment, row.file, row.line);
        EXPECT_EQ(launch.way, row.way);
        EXPECT_EQ(launch.arguments, row.arguments);
    }
}

TEST(EditorLaunch, CommandWordsAsAShellSplitsThem)
{
    struct Row {
        const char* command;
        std::optional<Words> words;
    };
    const Row rows[] = {
        {"  a\tb  c ", Words{"a", "b", "c"}},
        {"'a b' \"c d\" e\\ f", Words{"a b", "c d", "e f"}},
        {"'$(x)' \"\\\"q\\\" \\$HOME \\n\"", Words{"$(x)", "\"q\" $HOME \\n"}},
        {"a''b \"\"", Words{"ab", ""}},
        {"'open", std::nullopt},
        {"\"open", std::nullopt},
        {"", Words{}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(command_words(row.command), row.words) << row.command;
}

} // namespace
} // namespace vorax
