// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The windows, menus and message boxes as the program sees them.
//
// Layer is the program's door to the frame window: numbered units with their child windows,
// numbered menus, message boxes and the active window. Every call may come from the program
// thread or the user-interface thread; calls from elsewhere are carried over to the UI thread
// and waited for.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "gwl/types.h"
#include "gwl/windows/menus.h"

class QWidget;

namespace vorax::gwl {

class Frame;
class DrawSurface;
class GraphicsWindow;
class TextWindow;

class Layer {
public:
    explicit Layer(Frame& frame);

    Frame& frame() { return frame_; }

    // ---- Units
    // Opens the child window of a unit (file name "user") with a title and makes it active;
    // an open unit is made active again and keeps its contents.
    bool open_unit(Unit unit, WindowKind kind, std::string_view file_name, std::string_view title);
    // Appends a line to the unit's window.
    void write_line(Unit unit, std::string_view text);
    // Writes text without ending the line (a prompt).
    void write_text(Unit unit, std::string_view text);
    // Waits for a line typed into the unit's text window; cut to `length`, trailing blanks removed.
    std::string read_line(Unit unit, std::size_t length);
    // Closes the unit with status "keep": the window stays on screen.
    void close_unit(Unit unit);

    // ---- The active window
    bool get_window_config(WindowConfig& config);
    bool set_active_window(Unit unit);
    Unit active_window();
    Unit inquire_focus();
    bool display_cursor(bool on);  // returns the previous setting
    Rgb set_text_color_rgb(Rgb color); // text windows; returns the previous colour
    DrawSurface* active_surface();
    GraphicsWindow* graphics_window(Unit unit);
    // What a graphics unit's window tells about the item under the pointer; kept with the unit.
    void set_pointing_source(Unit unit, PointingSource source);

    // ---- Window positions (kFrameWindow or a unit)
    WindowRect get_window_size(Unit window);
    bool set_window_size(Unit window, const WindowRect& rect);
    // The part of the frame's screen that windows may take (without panels and docks).
    WindowRect screen_area();
    // Where the person left the frame in an earlier run, when the frame, as large as it is now,
    // still lies wholly inside the screen's available area there.
    std::optional<WindowRect> remembered_frame_place();

    // ---- Message boxes and menus
    int message_box(std::string_view text, std::string_view caption, unsigned style);
    bool insert_menu_item(int menu, int item, unsigned flags, std::string_view text,
                          MenuAction action);
    bool append_menu_item(int menu, unsigned flags, std::string_view text, MenuAction action);
    bool set_menu_item_flags(int menu, int item, unsigned flags);
    void set_about_text(std::string_view text);
    bool set_menu_item_shortcut(int menu, int item, std::string_view keys);
    void set_model_file(std::string_view path);
    void set_status_text(std::string_view text);
    void set_status_note(std::string_view text);

    // On the user-interface thread: runs the routine as a menu action, unless one runs now;
    // false then, and nothing ran.
    bool run_when_idle(const std::function<void()>& routine);

    // Runs a routine of the program on the user-interface thread and waits for it.
    void run_on_ui(const std::function<void()>& routine);

    // ---- Long work
    // Runs `work` on a thread of its own and returns when it has ended, passing on what it
    // threw. Called on the user-interface thread, the windows are served meanwhile: they repaint,
    // the menus stay drawn and open, and a menu action chosen meanwhile is refused as while any
    // action runs; layer calls that `work` makes are carried over as from the program thread.
    // Once the work has taken longer than kProgressDelayMs, the status line shows what
    // `progress` says, renewed a few times a second, and gets its own text back at the end.
    // Called on another thread, `work` simply runs there.
    static constexpr int kProgressDelayMs = 500;
    void run_long(const std::function<void()>& work, const std::function<std::string()>& progress);
    // For tests: the delay before the progress shows, in place of kProgressDelayMs.
    static void set_progress_delay(int milliseconds);

    // ---- Ending the program (both throw ProgramExit)
    [[noreturn]] void stop_with_message(std::string_view text);
    [[noreturn]] void exit_program(int status);

private:
    // The frame itself for kFrameWindow, else the unit's child window; null when there is none.
    QWidget* window_widget(Unit window);

    Frame& frame_;
};

} // namespace vorax::gwl
