// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers shared by the test suites: waiting while the event loop runs, temporary folders,
// example models, other programs.

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "model/structure_model.h"

namespace vorax::testing {

// Processes events until `done` holds or the time runs out; returns whether it holds.
bool wait_until(const std::function<bool()>& done,
                std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));

// Runs the application's event loop once. An exit request (QCoreApplication::exit outside the
// application's own loop) keeps every later event loop from running; this takes it back.
void take_back_exit_request();

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

// The whole content of a file (empty when it cannot be read).
std::string file_text(const std::filesystem::path& path);

// The path of a file in the source tree, e.g. source_path("examples/plane_frame.dat").
std::string source_path(const std::string& relative);

// An example model as read from examples/ (a failed read fails the test).
StructureModel example_model(const std::string& name);

bool make_fifo(const std::filesystem::path& path);
// Opens the FIFO for writing and closes it: a reader waiting on it goes on, so that a test of
// code that should never have waited there ends instead of hanging.
void release_fifo_reader(const std::filesystem::path& path);

// The built vorax program; empty when it is not built.
std::string vorax_program();

// A shell command's exit status (-1 when it did not exit) and its standard output and error.
struct CommandRun {
    int status = -1;
    std::string output;
};
CommandRun run_command(const std::string& command);
std::string shell_quoted(const std::string& text);

// Runs the built vorax program with `arguments` (shell words) without a display and expects
// the exit status, and a standard output and error that begin with the texts given (and are
// empty exactly when these are).
void expect_vorax_run(const std::string& arguments, int status, const std::string& output,
                      const std::string& error, const std::string& program = vorax_program());

// The text of a plane model of `n` nodes in a row 1 apart, elements between neighbours, node 1
// fixed; the node `moved` (when given) lifted by 2. Coordinates on lines 9.., elements after
// "ELEMENTS".
std::string row_model(int n, int moved = 0, const std::string& title = "ROW OF NODES");

} // namespace vorax::testing
