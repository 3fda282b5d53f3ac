// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The modes whose whole work is on the terminal: help, version, and those that only read models
// (--info, --check, --diff). They need no display and no graphical library, so `vorax` runs them
// itself and starts the graph program only for the windows and --export.

#include <functional>
#include <variant>

#include "app/command_line.h"

namespace vorax {

// Runs a mode without windows and gives its exit status once all it wrote is out: the memory
// running out anywhere in it, or a report that could not be written (a full disk, a closed
// pipe), is said on standard error and is a failure, not a crash.
int run_headless(const std::function<int()>& mode);

// The program's arguments (argv[1] on) as the command line of the windows or --export; for any
// other the exit status, once the refusal (with the usage) or the terminal mode is written.
std::variant<CommandLine, int> command_line_that_draws(int argc, char** argv);

} // namespace vorax
