// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <random>

#include "model/model_reader.h"

namespace vorax::testing {

bool wait_until(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        // Windows closed meanwhile are deleted as the main loop would delete them.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(2);
    }
    return true;
}

void take_back_exit_request()
{
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

TempDir::TempDir()
{
    std::random_device random;
    path_ = std::filesystem::temp_directory_path()
            / ("vorax-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempDir::write(const std::string& relative, const std::string& content) const
{
    const std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    return file;
}

std::string file_text(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string source_path(const std::string& relative)
{
    return std::string(VORAX_SOURCE_DIR) + "/" + relative;
}

StructureModel example_model(const std::string& name)
{
    ReadResult read = read_model(source_path("examples/" + name));
    EXPECT_TRUE(read.ok()) << name << ": " << read.message;
    return std::move(read.model);
}

bool make_fifo(const std::filesystem::path& path) { return ::mkfifo(path.c_str(), 0600) == 0; }

void release_fifo_reader(const std::filesystem::path& path)
{
    if (const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0)
        ::close(fd);
}

std::string vorax_program()
{
    const std::string program = std::string(VORAX_BINARY_DIR) + "/vorax";
    return std::filesystem::exists(program) ? program : std::string{};
}

CommandRun run_command(const std::string& command)
{
    CommandRun run;
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return run;
    std::array<char, 4096> chunk{};
    std::size_t n = 0;
    while ((n = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0)
        run.output.append(chunk.data(), n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string shell_quoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

namespace {

void expect_begins(const std::string& text, const std::string& start)
{
    EXPECT_EQ(text.substr(0, start.size()), start);
    EXPECT_EQ(text.empty(), start.empty()) << text;
}

} // namespace

void expect_vorax_run(const std::string& arguments, int status, const std::string& output,
                      const std::string& error, const std::string& program)
{
    TempDir dir;
    const std::string errors = (dir.path() / "errors").string();
    const CommandRun run = run_command("{ env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "
                                       + shell_quoted(program) + " " + arguments + " 2>"
                                       + shell_quoted(errors) + "; }");
    EXPECT_EQ(run.status, status);
    expect_begins(run.output, output);
    expect_begins(file_text(errors), error);
}

std::string row_model(int n, int moved, const std::string& title)
{
    std::string text = title + "\n" + std::to_string(n) + " " + std::to_string(n - 1)
                       + " 2 1 0\n1 1 1 1\nCODES END\nVALUES END\n-\n-\n-\n-\n";
    for (int i = 1; i <= n; ++i)
        text += std::to_string(i) + " " + std::to_string(i - 1) + ".0 " + (i == moved ? "2.0" : "0.0")
                + "\n";
    text += "ELEMENTS\n";
    for (int e = 1; e < n; ++e)
        text += std::to_string(e) + " " + std::to_string(e) + " " + std::to_string(e + 1) + "\n";
    return text + "END\n";
}

} // namespace vorax::testing
