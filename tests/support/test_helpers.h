#pragma once
// Helpers shared by the test suites: waiting while the event loop runs, temporary folders.

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

namespace vorax::testing {

// Processes events until `done` holds or the time runs out; returns whether it holds.
bool wait_until(const std::function<bool()>& done,
                std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));

// A folder of its own for one test, removed afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes a file below the folder (creating folders on the way) and returns its path.
    std::filesystem::path write(const std::string& relative, const std::string& content) const;

private:
    std::filesystem::path path_;
};

// The path of a file in the source tree, e.g. source_path("examples/plane_frame.dat").
std::string source_path(const std::string& relative);

// Makes a FIFO; true when made.
bool make_fifo(const std::filesystem::path& path);
// Opens the FIFO for writing and closes it at once: a reader that waits on it goes on (reading
// nothing), so that a test of code that should never have waited ends instead of hanging.
void release_fifo_reader(const std::filesystem::path& path);

// The built vorax program; empty when it is not built.
std::string vorax_program();

// Runs a shell command; its exit status (-1 when it did not exit) and what it wrote on standard
// output and standard error together.
struct CommandRun {
    int status = -1;
    std::string output;
};
CommandRun run_command(const std::string& command);

// A name quoted for the shell.
std::string shell_quoted(const std::string& text);

} // namespace vorax::testing
