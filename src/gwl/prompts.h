// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one seam for everything that waits for a person.
//
// Message boxes, the file chooser, the colour chooser, reading a line typed into a text window,
// running a modal dialog and waiting for the mouse all go through Prompter. The program uses the
// Qt implementation; tests install a scripted one (tests/support) whose answers are queued in
// advance and whose calls are recorded. Windows, menus and drawing stay real in both cases.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/color.h"
#include "gwl/types.h"

class QWidget;

namespace vorax::gwl {

class DialogHandle;
class TextWindow;
class GraphicsWindow;

struct FileFilter {
    std::string name;    // "Data Files (*.dat)"
    std::string pattern; // "*.dat"
};

struct OpenFileRequest {
    std::string title;
    std::string initial_folder; // empty: no initial folder
    std::vector<FileFilter> filters;
    int filter_index = 1;       // 1-based, the filter selected at first
    std::string default_extension;
    std::string file_name;      // the buffer the dialog starts from
    bool path_must_exist = true; // the folder of the name must exist; the file need not
};

class Prompter {
public:
    virtual ~Prompter() = default;

    // A message box with Win32-style bits (gwl::mb); returns the id of the button pressed.
    virtual int message_box(std::string_view text, std::string_view caption, unsigned style) = 0;
    // The open-file dialog; nullopt when cancelled.
    virtual std::optional<std::string> choose_open_file(const OpenFileRequest& request) = 0;
    // The colour chooser starting at `initial`; nullopt when cancelled. `custom_colors` is the
    // chooser's row of custom colours, read and written back.
    virtual std::optional<Rgb> choose_color(Rgb initial, std::array<Rgb, 16>& custom_colors) = 0;
    // One line typed by the user into the text window, up to Enter.
    virtual std::string read_line(TextWindow& window) = 0;
    // A line typed into a small box with a caption and a prompt, starting from `initial`, its
    // cancel button named `cancel`; nullopt when cancelled.
    virtual std::optional<std::string> ask_text(std::string_view caption, std::string_view prompt,
                                                std::string_view initial, std::string_view cancel) = 0;
    // Runs a dialog modally; returns the id of the button that ended it, or -1.
    virtual int run_modal(DialogHandle& dialog) = 0;
    // Waits for one of the masked mouse events in the window.
    virtual MouseEventResult wait_mouse(GraphicsWindow& window, int mask) = 0;
};

// The Qt implementation: real dialogs owned by the frame window.
class QtPrompter final : public Prompter {
public:
    int message_box(std::string_view text, std::string_view caption, unsigned style) override;
    std::optional<std::string> choose_open_file(const OpenFileRequest& request) override;
    std::optional<Rgb> choose_color(Rgb initial, std::array<Rgb, 16>& custom_colors) override;
    std::string read_line(TextWindow& window) override;
    std::optional<std::string> ask_text(std::string_view caption, std::string_view prompt,
                                        std::string_view initial, std::string_view cancel) override;
    int run_modal(DialogHandle& dialog) override;
    MouseEventResult wait_mouse(GraphicsWindow& window, int mask) override;
};

// The prompter in force: the Qt one unless a test installed another.
Prompter& prompter();
// Installs a prompter (not owned); nullptr restores the Qt one.
void set_prompter(Prompter* prompter);

// The window that owns message boxes and dialogs (the frame window); may be null.
QWidget* owner_window();
void set_owner_window(QWidget* owner);

} // namespace vorax::gwl
