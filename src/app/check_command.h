// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// `vorax --check MODEL`: reads a model exactly as the program does, without any window, and
// lists what the model check finds (model/model_check.h); and the line the program writes after
// a load when the check finds anything.
//
// Exit status: 0 no findings; 3 findings; 1 the model file could not be read (reported as by
// `vorax --info`).

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "core/language.h"

namespace vorax {

inline constexpr int kCheckClean = 0;
inline constexpr int kCheckUnreadable = 1;
inline constexpr int kCheckFindings = 3;

// Reads the model at `path` and writes one line per finding to `out`, those tied to a line in
// file order, then those about the whole model, then a note per kind with findings beyond the
// listed ones, then the summary ("N warnings" or "no findings"). Returns the exit status.
int run_check_command(const std::string& path, std::ostream& out, std::ostream& err);

// What lists the findings: the command in a terminal, or the program's Model Check window (F8).
enum class CheckLister { command, window };

// The info line after a load with `warnings` findings: " * Model check: N warnings (vorax
// --check MODEL lists them)", or "(F8 lists them)" where the window lists them, in the
// language; nothing for a clean model. `model` is put in as it is (see check_command_name).
std::optional<std::string> model_check_line(std::int64_t warnings, std::string_view model,
                                            UiLanguage language,
                                            CheckLister lister = CheckLister::command);

// The model file's name for a command to type in a terminal: the name the person gave when it
// names the file that was read from the current directory, else the path of that file; quoted
// for the shell when it holds characters the shell would take apart.
std::string check_command_name(const std::string& given, const std::string& read_path);

} // namespace vorax
