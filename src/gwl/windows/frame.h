// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frame window: a main window with an MDI area holding the child windows of the units, the
// built-in menus "&File", "&Edit", "&View", "&State", "&Window", "&Help" (numbered 1..6), the
// program's own menus inserted after them, and the status line.
//
// It opens at nine tenths of the screen, or at the size of the last run (frame_place.h); its
// place and the state of the status line are kept between runs in the program's settings. The
// Window menu ends with a list of the units' windows, from which a closed one comes back.

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gwl/types.h"
#include "gwl/windows/menus.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace vorax::gwl {

class ElidedLabel;
class TextWindow;
class GraphicsWindow;
class ListWindow;
class DrawSurface;

class Frame : public QMainWindow {
    Q_OBJECT
public:
    Frame();
    ~Frame() override;

    // ---- Menus (numbered from 1 in bar order; items from 1, separators counted; item 0 is the
    // top-level menu itself).
    bool insert_menu_item(int menu, int item, unsigned flags, const std::string& text,
                          MenuAction action);
    bool append_menu_item(int menu, unsigned flags, const std::string& text, MenuAction action);
    bool set_menu_item_flags(int menu, int item, unsigned flags);
    int menu_count() const;
    int menu_item_count(int menu) const;
    std::string menu_item_text(int menu, int item) const; // item 0: the menu's title
    unsigned menu_item_flags(int menu, int item) const;
    // Chooses the item as a person would; false when it is not selectable.
    bool choose_menu_item(int menu, int item);
    QAction* menu_item_action(int menu, int item) const;
    // Gives the item a key ("F5", "Ctrl+R"), shown beside its text.
    bool set_menu_item_shortcut(int menu, int item, const std::string& keys);
    // Runs a routine of the program as a menu action would run, unless an action runs now (one
    // may be waiting for the person): then returns false without running it.
    bool run_when_idle(const std::function<void()>& routine);

    // ---- Child windows of units.
    // Opens (or re-activates) the window of a unit and makes it the active window.
    bool open_unit(Unit unit, WindowKind kind, const std::string& title);
    void close_unit(Unit unit);
    bool unit_is_open(Unit unit) const;
    TextWindow* text_window(Unit unit) const;
    GraphicsWindow* graphics_window(Unit unit) const;
    ListWindow* list_window(Unit unit) const;
    // The drawing surface of a graphics unit, also after its window was closed.
    DrawSurface* surface(Unit unit) const;
    QMdiSubWindow* sub_window(Unit unit) const;
    std::string unit_title(Unit unit) const;
    Unit active_unit() const { return active_unit_; }
    bool set_active_unit(Unit unit);
    Unit focus_unit() const; // unit of the child window that has the input focus
    bool give_focus(Unit unit);
    // Shows the unit's window and gives it the focus, as the Window menu's list does: a hidden
    // window is shown again, a closed graph window is made anew over the picture it left.
    bool bring_back(Unit unit);
    // What the graph window of a unit tells about the item under the pointer; it stays with the
    // unit when its window is closed and brought back.
    void set_pointing_source(Unit unit, PointingSource source);
    // What the person's clicks, double-clicks and Escape on a graph window's picture do outside
    // a mouse wait (GraphicsWindow::Gesture): the action gets the unit and the drawing-area
    // point as pointing does.
    using GraphGesture = std::function<void(Unit unit, int gesture, double x, double y, double per_screen_pixel)>;
    void set_graph_gesture(GraphGesture action) { graph_gesture_ = std::move(action); }

    // ---- Place on the screen
    // Where the frame was left in an earlier run, for its present size, when it lies wholly
    // inside `room` there.
    std::optional<WindowRect> restored_place(const WindowRect& room) const;
    // Keeps the frame's place and size (out of full screen) and the status line's state for the
    // next run.
    void remember_place() const;

    // ---- Status line and about text.
    void set_status_text(const std::string& text);
    std::string status_text() const;
    // A note at the right end of the status line, beside its text (what file is watched).
    void set_status_note(const std::string& text);
    std::string status_note() const;
    // The magnification of the active graph window as the status line shows it ("1:1", "250%").
    std::string magnification_shown() const;
    void set_about_text(const std::string& text);
    const std::string& about_text() const { return about_text_; }
    // The model file the graphs show: Save proposes names after it.
    void set_model_file(const std::string& path) { model_file_ = path; }
    // The name Save proposes for the active graph window.
    std::string proposed_save_name() const;

    // The program's status when a menu action ended it; -1 while it runs on.
    int exit_status() const { return exit_status_; }

protected:
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Item {
        QAction* action = nullptr;
        unsigned flags = menu_flag::kEnabled;
        MenuAction what;
    };
    struct TopMenu {
        QMenu* menu = nullptr;
        unsigned flags = menu_flag::kEnabled;
        std::vector<Item> items;
    };
    struct UnitWindow {
        WindowKind kind = WindowKind::text;
        QPointer<QMdiSubWindow> sub;
        QPointer<QWidget> widget;
        std::string title;
        // A graphics unit's surface outlives its window: drawing into a closed window goes on
        // into an image nobody sees.
        std::shared_ptr<DrawSurface> surface;
        PointingSource pointing; // a graphics unit's
    };

    void build_builtin_menus();
    void add_shortcuts();
    void fill_window_list();
    // Puts the unit's widget into a new child window of the MDI area and shows it.
    void attach_window(Unit unit);
    void note_place();
    void show_size_to_fit_state();
    Item make_item(QMenu* menu, QAction* before, unsigned flags, const std::string& text,
                   MenuAction what);
    void apply_flags(Item& item, unsigned flags);
    void run_item(const TopMenu* top, const Item* item);
    void run_action(const MenuAction& what);
    const UnitWindow* find_unit(Unit unit) const;
    QWidget* active_child_widget() const;

    void save_active();
    void copy_active();
    void paste_into_active();
    void select_all_active();
    void print_active();
    void toggle_size_to_fit();
    void arrange_icons();
    void show_about();

    QMdiArea* mdi_ = nullptr;
    ElidedLabel* status_label_ = nullptr;
    ElidedLabel* note_label_ = nullptr;
    QLabel* magnification_label_ = nullptr;
    std::vector<TopMenu> menus_;
    std::map<Unit, UnitWindow> units_;
    Unit active_unit_ = kNoUnit;
    std::string about_text_;
    QMetaObject::Connection activation_; // the MDI area's window activation
    std::string model_file_;
    GraphGesture graph_gesture_;
    std::string last_save_folder_; // empty until a picture was saved
    bool action_running_ = false; // a second program menu action is refused meanwhile
    int exit_status_ = -1;
    QAction* pause_action_ = nullptr;
    QAction* resume_action_ = nullptr;
    QAction* status_bar_action_ = nullptr;
    QAction* full_screen_action_ = nullptr;
    QAction* size_to_fit_action_ = nullptr;
    QMenu* window_menu_ = nullptr;
    std::vector<QAction*> window_list_; // the list's entries at the end of the Window menu
    std::optional<WindowRect> remembered_; // place and size from the last run
    WindowRect normal_place_;              // outside position and inside size, out of full screen
};

} // namespace vorax::gwl
