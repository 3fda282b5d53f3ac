// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup_files.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <optional>

#include <unistd.h>

#include "core/text.h"
#include "gwl/platform/system.h"

namespace vorax {

namespace {

constexpr std::size_t kLanguageLength = 20;
constexpr std::size_t kPathLength = 260;

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// A start-up file, opened only when it is a regular file: a FIFO or a device of that name
// would hold the start-up until someone writes to it.
File open_startup_file(const std::string& path)
{
    const int fd = gwl::open_regular_file(path);
    std::FILE* file = fd >= 0 ? ::fdopen(fd, "rb") : nullptr;
    if (file == nullptr && fd >= 0)
        ::close(fd);
    return {file, &std::fclose};
}

// One whole-line read: the line without its line break (CR LF or LF), cut to `length`. Only
// the kept characters are held, however long the line.
std::optional<std::string> read_line(std::FILE* in, std::size_t length)
{
    std::string line;
    int c = std::getc(in);
    if (c == EOF)
        return std::nullopt;
    for (; c != EOF && c != '\n'; c = std::getc(in))
        if (line.size() <= length) // one more than kept, so that a CR before LF can be seen
            line.push_back(static_cast<char>(c));
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return std::string(trim_right(cut(line, length)));
}

std::string join(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    const char last = folder.back();
    return last == '/' || last == '\\' ? folder + name : folder + "/" + name;
}

} // namespace

StartupPaths process_startup_paths()
{
    std::string current = gwl::current_directory();
    return {std::move(current), "/"};
}

HostInfo determine_host(const std::string& current_directory)
{
    std::string directory = cut(current_directory, kPathLength);
    gwl::get_drive_directory(directory);

    // The top-level folder is the part after the first path separator, up to the next one;
    // without a separator the whole text is taken. Its name, not only its initial, tells the
    // host: /tmp and /mnt are no installation of either program.
    const auto separator = directory.find_first_of("/\\");
    const std::size_t start = separator == std::string::npos ? 0 : separator + 1;
    const std::string_view rest = std::string_view(directory).substr(std::min(start, directory.size()));
    const std::string_view top = rest.substr(0, rest.find_first_of("/\\"));
    auto names = [top](std::string_view host) {
        return top.size() >= host.size()
               && std::equal(host.begin(), host.end(), top.begin(), [](char h, char c) {
                      return h == std::toupper(static_cast<unsigned char>(c));
                  });
    };
    if (names("TAVELS"))
        return {kHostTavels, "TAVELS:"};
    if (names("MURIKS"))
        return {kHostMuriks, "MURIKS:"};
    return {kHostNone, "VORAX:"};
}

std::string read_host_language(int host_program, const StartupPaths& paths)
{
    const std::string fallback = "English";
    const File work_dir_file = open_startup_file(join(paths.root_directory, "work_dir.dat"));
    if (!work_dir_file)
        return fallback;
    const std::optional<std::string> work_dir = read_line(work_dir_file.get(), kPathLength);
    if (!work_dir)
        return fallback;

    std::string settings_name;
    if (host_program == kHostTavels)
        settings_name = "Comtav.dat";
    else if (host_program == kHostMuriks)
        settings_name = "Commur.dat";
    else
        return fallback;

    const File settings = open_startup_file(join(*work_dir, settings_name));
    if (!settings)
        return fallback;
    std::optional<std::string> last;
    while (auto line = read_line(settings.get(), kLanguageLength))
        last = std::move(line);
    // An empty settings file names no language.
    return last ? *last : fallback;
}

LanguageInfo determine_language(int host_program, const StartupPaths& paths)
{
    LanguageInfo info;
    const File language_file = open_startup_file(join(paths.current_directory, "language.dat"));
    std::optional<std::string> text;
    if (language_file)
        text = read_line(language_file.get(), kLanguageLength);
    // A missing or empty language.dat leaves the choice to the sibling program's settings.
    info.language_text = text ? *text : read_host_language(host_program, paths);
    const char first = info.language_text.empty() ? ' ' : info.language_text.front();
    info.language = first == 'R' || first == 'r' ? UiLanguage::romanian : UiLanguage::english;
    return info;
}

} // namespace vorax
