// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small services of the platform: pauses, tones, directories, the file look-up, opening a file
// for reading and the command-line arguments.

#include <string>
#include <vector>

namespace vorax::gwl {

// Blocks the calling thread; a negative value returns at once.
void sleep_ms(int milliseconds);

// Sounds a tone: frequency held within 37..32767 Hz, a negative duration taken as 1 ms.
// Returns the values actually used.
struct Tone {
    int frequency = 0;
    int duration = 0;
};
Tone beep(int frequency, int duration);

// The full current directory of the drive named by the path's first letter. Paths on this
// system have no drive letters: the path is returned as given. Returns the new length.
int get_drive_directory(std::string& path);

// The process's current directory.
std::string current_directory();

// Finds a file: an absolute name as given; a relative one in the program's folder, the current
// folder, then the folders of PATH. Empty when not found.
std::string find_file_on_path(const std::string& name);

// The program's folder is that of the running program unless it was set: the graph program,
// started by `vorax`, looks where `vorax` is, which `vorax` passes in this environment variable.
inline constexpr const char* kProgramFolderVariable = "VORAX_PROGRAM_FOLDER";
void set_program_folder(std::string folder);

// Opens a regular file for reading and returns its descriptor (the caller closes it); -1 when
// the name is missing, unreadable or no regular file (a FIFO, a device, a folder), without
// waiting on it.
int open_regular_file(const std::string& path);

// The arguments the program was started with, without the program's own name.
const std::vector<std::string>& program_arguments();
void set_program_arguments(std::vector<std::string> arguments);

} // namespace vorax::gwl
