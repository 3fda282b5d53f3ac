// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A whole run of the desktop program inside a test: the real frame, layer and program thread on
// the offscreen platform, start-up files in a temporary folder, and the scripted prompter.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/gui_session.h"
#include "scripted_prompter.h"
#include "test_helpers.h"

namespace vorax::testing {

class SessionRun {
public:
    // `language` is written into language.dat unless empty.
    explicit SessionRun(const std::string& language = "");
    ~SessionRun();

    // Starts the program and waits until " * VORAX Started" is in the info window.
    bool start();
    // Makes an example model the loaded one, as the loading leaves it before the graph command.
    void load_example(const std::string& name);
    // Writes `text` as the model file `name` in the folder, names it on the command line and
    // draws its first graph with NEW Graph and DRAW, as a person would; returns the file, or
    // nothing when no graph window came.
    std::filesystem::path draw_model(const std::string& name, const std::string& text);
    // The lines of the info window.
    std::vector<std::string> info_lines();
    bool info_has_line(const std::string& line);

    // Menu states and texts of the frame (the mnemonic "&" removed from texts).
    std::string menu_text(int menu, int item);
    unsigned menu_flags(int menu, int item);
    bool choose(int menu, int item);

    AppState state;
    ScriptedPrompter prompter;
    TempDir folder;
    std::unique_ptr<GuiSession> session;
};

} // namespace vorax::testing
