// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Starting another program beside this one (a text editor), without a shell and without waiting
// for it, and handing a file to the desktop's own application for it.

#include <string>
#include <vector>

namespace vorax::gwl {

// Starts `arguments` (the program first, looked up on PATH) in a session of its own; the program
// runs on when this one ends. Returns at once: empty when it started, else why not ("x: No such
// file or directory"). Each argument reaches the program byte for byte.
std::string start_program(const std::vector<std::string>& arguments);

// Opens the file with the desktop's application for its type; false when none could be asked.
bool open_with_desktop(const std::string& path);

} // namespace vorax::gwl
