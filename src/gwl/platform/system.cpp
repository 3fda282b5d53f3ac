// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/platform/system.h"

#include <QApplication>
#include <QCoreApplication>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "gwl/platform/file_names.h"
#include "gwl/platform/ui_thread.h"

namespace vorax::gwl {

namespace {
std::vector<std::string> arguments;
std::string program_folder;
}

void sleep_ms(int milliseconds)
{
    if (milliseconds <= 0)
        return;
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

Tone beep(int frequency, int duration)
{
    const Tone tone{std::clamp(frequency, 37, 32767), duration < 0 ? 1 : duration};
    // The platform offers one system tone; its pitch and length are the desktop's.
    if (!ui_calls_shut_down() && QCoreApplication::instance() != nullptr)
        ui_call([] { QApplication::beep(); });
    return tone;
}

int get_drive_directory(std::string& path) { return static_cast<int>(path.size()); }

std::string current_directory()
{
    std::string path(256, '\0');
    while (::getcwd(path.data(), path.size()) == nullptr) {
        if (errno != ERANGE)
            return {};
        path.resize(path.size() * 2);
    }
    path.resize(path.find('\0'));
    return path;
}

std::string find_file_on_path(const std::string& name)
{
    if (name.empty())
        return {};
    // Only a regular file is a model file: a folder or a FIFO is not found.
    auto is_file = [](const std::string& path) {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    };
    if (name.front() == '/')
        return is_file(name) ? name : std::string{};

    const std::string current = current_directory();
    std::vector<std::string> folders;
    if (!program_folder.empty())
        folders.push_back(program_folder);
    else if (QCoreApplication::instance() != nullptr)
        folders.push_back(file_name_bytes(QCoreApplication::applicationDirPath()));
    folders.push_back(current);
    if (const char* path = std::getenv("PATH")) {
        const std::string_view list = path;
        for (std::size_t start = 0; start <= list.size();) {
            const std::size_t end = std::min(list.find(':', start), list.size());
            if (end > start)
                folders.emplace_back(list.substr(start, end - start));
            start = end + 1;
        }
    }
    for (std::string folder : folders) {
        if (folder.empty())
            continue;
        if (folder.front() != '/')
            folder = current + "/" + folder;
        if (folder.back() != '/')
            folder += '/';
        if (is_file(folder + name))
            return folder + name;
    }
    return {};
}

int open_regular_file(const std::string& path)
{
    // Opened without waiting, so that a FIFO does not hold the caller until a writer comes.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

const std::vector<std::string>& program_arguments() { return arguments; }

void set_program_arguments(std::vector<std::string> args) { arguments = std::move(args); }

void set_program_folder(std::string folder) { program_folder = std::move(folder); }

} // namespace vorax::gwl
