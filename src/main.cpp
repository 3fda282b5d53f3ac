// SPDX-License-Identifier: GPL-3.0-or-later
// VORAX entry point. The modes that only print (help, version, --info, --check, --diff) run here,
// in a program that loads no graphical library and so starts at once; the windows and --export
// are handed to the graph program, which is started in this process's place.

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <unistd.h>

#include "app/terminal_modes.h"
#include "app/terminal_output.h"
#include "core/freed_memory.h"
#include "gwl/platform/system.h"

namespace {

// The folder this program was started from, symbolic links resolved; empty when it cannot be
// told.
std::string own_folder(const char* name)
{
    char link[4096];
    const ssize_t length = ::readlink("/proc/self/exe", link, sizeof link);
    const std::string path = length > 0 && static_cast<std::size_t>(length) < sizeof link
                                 ? std::string(link, static_cast<std::size_t>(length))
                                 : std::string(name);
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string{} : path.substr(0, slash == 0 ? 1 : slash);
}

// Replaces this process with the graph program, found where it is installed beside this one or,
// in a build, in this program's own folder; what went wrong when it cannot be started.
int start_graph_program(char** argv)
{
    const std::string folder = own_folder(argv[0]);
    std::string tried;
    int error = ENOENT;
    if (!folder.empty()) {
        ::setenv(vorax::gwl::kProgramFolderVariable, folder.c_str(), 1);
        for (const char* place : {VORAX_GRAPH_PROGRAM_PLACE, VORAX_GRAPH_PROGRAM_NAME}) {
            tried = folder + "/" + place;
            ::execv(tried.c_str(), argv);
            error = errno;
            if (error != ENOENT)
                break;
        }
    }
    std::cerr << "vorax: cannot start the graph program"
              << (tried.empty() ? std::string{} : " \"" + tried + "\"") << ": " << std::strerror(error) << '\n';
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    // A file that reaches the size limit of the process fails its write, which is reported; the
    // signal would end the program before it could say so.
    std::signal(SIGXFSZ, SIG_IGN);
    vorax::keep_freed_memory();

    // Names and titles reach a terminal with their control characters escaped.
    const vorax::TerminalEscapes terminal_out(std::cout, STDOUT_FILENO);
    const vorax::TerminalEscapes terminal_err(std::cerr, STDERR_FILENO);

    if (const auto drawing = vorax::command_line_that_draws(argc, argv); std::holds_alternative<int>(drawing))
        return std::get<int>(drawing);
    std::cout.flush();
    return start_graph_program(argv);
}
