// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/terminal_modes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include "app/check_command.h"
#include "app/diff_command.h"
#include "app/info_command.h"
#include "core/open_file.h"

namespace vorax {

namespace {

int output_written(int status)
{
    std::cout.flush();
    const bool failed = !std::cout || std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
    const int error = errno;
    if (!failed)
        return status;
    std::cerr << "vorax: cannot write standard output: " << std::strerror(error != 0 ? error : EIO) << '\n';
    return 1;
}

} // namespace

int run_headless(const std::function<int()>& mode)
{
    int status = 1;
    try {
        status = mode();
    } catch (const std::bad_alloc&) {
        std::cout.flush();
        std::cerr << "vorax: not enough memory to finish\n";
        return 1;
    }
    return output_written(status);
}

namespace {

// A mode that reads the model files of `line` and writes to standard output, unless that output
// goes into one of them (`vorax --info m.dat >> m.dat`): refused then, as naming the model as
// the picture of an export is.
int run_reading_mode(const char* name, const CommandLine& line, const std::function<int()>& mode)
{
    for (const auto* model : {&line.model, &line.new_model})
        if (*model && descriptor_names(STDOUT_FILENO, **model, true)) {
            std::cerr << "vorax " << name << ": standard output is the model file " << **model
                      << " itself; it is left as it is\n";
            return kCommandLineRefused;
        }
    return run_headless(mode);
}

// The exit status of a mode that works on the terminal alone; nothing for the windows and
// --export, which draw.
std::optional<int> run_terminal_mode(const CommandLine& line)
{
    switch (line.mode) {
    case Mode::help:
    case Mode::help_all:
        std::cout << help_text(line.mode == Mode::help_all);
        return output_written(0);
    case Mode::version:
        std::cout << "VORAX " VORAX_VERSION "\n"
                     "Copyright (c) 2026 the VORAX developers\n"
                     "License GPL-3.0-or-later: GNU GPL version 3 or later "
                     "<https://www.gnu.org/licenses/gpl.html>.\n"
                     "This is free software: you are free to change and redistribute it.\n"
                     "There is NO WARRANTY, to the extent permitted by law.\n";
        return output_written(0);
    case Mode::info:
        return run_reading_mode("--info", line, [&] { return run_info_command(*line.model, std::cout, std::cerr); });
    case Mode::check:
        return run_reading_mode("--check", line, [&] { return run_check_command(*line.model, std::cout, std::cerr); });
    case Mode::diff:
        return run_reading_mode("--diff", line, [&] {
            return run_diff_command(*line.model, *line.new_model, std::cout, std::cerr);
        });
    case Mode::export_picture:
    case Mode::window:
        break;
    }
    return std::nullopt;
}

} // namespace

std::variant<CommandLine, int> command_line_that_draws(int argc, char** argv)
{
    auto parsed = parse_command_line(std::vector<std::string>(argv + 1, argv + argc));
    if (const auto* refusal = std::get_if<CommandLineRefusal>(&parsed)) {
        std::cerr << refusal_text(*refusal);
        return kCommandLineRefused;
    }
    CommandLine& line = std::get<CommandLine>(parsed);
    if (const auto status = run_terminal_mode(line))
        return *status;
    return std::move(line);
}

} // namespace vorax
