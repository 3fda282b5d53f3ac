// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which installation the program was started from, and the language of its texts.
//
// The host is read off the first letter of the top-level directory of the current directory
// (T for TAVELS, M for MURIKS). The language comes from language.dat in the current directory,
// or else from the sibling program's settings file (Comtav.dat / Commur.dat in the working
// directory that work_dir.dat in the file-system root names), or else it is English.

#include <string>

#include "core/language.h"

namespace vorax {

enum HostProgram : int { kHostNone = 0, kHostTavels = 1, kHostMuriks = 2 };

// Where the start-up files are looked for; tests point these at temporary folders.
struct StartupPaths {
    std::string current_directory; // holds language.dat
    std::string root_directory;    // holds work_dir.dat ("the root of the current drive")
};

// The paths of this process: its current directory and the file-system root.
StartupPaths process_startup_paths();

struct HostInfo {
    int host_program = kHostNone;
    std::string program_label; // "VORAX:", "TAVELS:" or "MURIKS:" (no padding)
};

struct LanguageInfo {
    std::string language_text; // up to 20 characters, trailing blanks removed
    UiLanguage language = UiLanguage::english;
};

HostInfo determine_host(const std::string& current_directory);
LanguageInfo determine_language(int host_program, const StartupPaths& paths);
// The language text of the sibling program's settings file, or "English".
std::string read_host_language(int host_program, const StartupPaths& paths);

} // namespace vorax
