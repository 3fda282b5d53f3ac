// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which command opens the model file in the person's text editor at a line.
//
// In this order:
//   VORAX_EDITOR   a command with %f for the file and %l for the line ("kate --line %l %f",
//                  "code -g %f:%l"); %% is a percent sign;
//   VISUAL, EDITOR a command given "+LINE FILE", which vi, vim, nano, emacs and gedit take;
//                  an editor that runs in a terminal is started inside the desktop's terminal
//                  emulator (x-terminal-emulator -e);
//   neither        the desktop's own application for the file, without a line.
// A command is split into words as a shell would split it (blanks, quotes, backslashes) but
// nothing in it is expanded and no shell runs it: the file name is one argument whatever
// characters it holds.
//
// Contents: EditorLaunch, editor_launch, command_words, runs_in_terminal.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorax {

struct EditorLaunch {
    enum class Way { editor_command, editor_variable, desktop };
    Way way = Way::desktop;
    std::vector<std::string> arguments; // the program first; empty for the desktop's way
};

// The value of an environment variable; nothing when it is not set.
using Environment = std::function<std::optional<std::string>(const char* name)>;
// The process's own environment.
std::optional<std::string> process_environment(const char* name);

// How to open `file` at `line` (0: the line is not known; the editor opens at the start).
EditorLaunch editor_launch(const Environment& environment, const std::string& file, long line);

// The words of a command as a POSIX shell splits them, without expanding anything: blanks
// separate, '...' keeps everything, "..." keeps all but \" \\ \$ \`, a backslash keeps the next
// character. Nothing for an unclosed quote.
std::optional<std::vector<std::string>> command_words(std::string_view command);

// Whether an editor command runs in a terminal (vi, vim, nano, emacs -nw, ...), not in a window
// of its own.
bool runs_in_terminal(const std::vector<std::string>& words);

} // namespace vorax
