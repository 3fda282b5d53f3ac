// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/platform/process_start.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace vorax::gwl {

std::string start_program(const std::vector<std::string>& arguments)
{
    if (arguments.empty() || arguments.front().empty())
        return "no program named";
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    // The C library reports a program that could not be run (not found, not executable) here,
    // before it returns.
    const int error = posix_spawnp(&pid, argv.front(), nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (error != 0)
        return arguments.front() + ": " + std::strerror(error);
    // Its end is collected beside the program, so that it leaves no zombie behind.
    std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
    return {};
}

bool open_with_desktop(const std::string& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(path.c_str())));
}

} // namespace vorax::gwl
