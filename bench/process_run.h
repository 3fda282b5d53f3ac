// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A program run whole, as a person runs it from the shell, for whole-process figures: its wall
// time, its user and system time and its peak resident memory.

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace vorax::bench {

struct ProcessRun {
    double wall = 0.0;
    double user = 0.0;
    double system = 0.0;
    long peak_kb = 0;
    bool ok = false; // ended normally with exit status 0
};

// Runs `arguments` (the program first, looked up on PATH) with standard output and standard
// error thrown away, and waits for it.
inline ProcessRun run_process(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    ProcessRun run;
    if (child < 0)
        return run;
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
    run.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.user = seconds(usage.ru_utime);
    run.system = seconds(usage.ru_stime);
    run.peak_kb = usage.ru_maxrss;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

} // namespace vorax::bench
