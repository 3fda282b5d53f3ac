// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/windows/frame.h"

#include <filesystem>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>

#include <algorithm>
#include <atomic>

#include "core/program_exit.h"
#include "gwl/platform/qt_text.h"
#include "gwl/platform/run_state.h"
#include "gwl/prompts.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/surface/picture_io.h"
#include "gwl/windows/frame_place.h"
#include "gwl/windows/graphics_window.h"
#include "gwl/windows/list_window.h"
#include "gwl/windows/text_window.h"

namespace vorax::gwl {

std::string with_mnemonic(const std::string& text)
{
    if (text.find('&') != std::string::npos)
        return text;
    return "&" + text;
}

namespace {

// What the frame keeps between runs, in the program's settings.
struct FrameMemory {
    std::optional<WindowRect> place; // outside position, inside size
    bool status_bar = true;
};

// The settings are the program's own also where no application name was given (in tests).
const QString kSettingsOwner = QStringLiteral("VORAX");
const QString kFrameGroup = QStringLiteral("frame");

FrameMemory read_frame_memory()
{
    QSettings settings(kSettingsOwner, kSettingsOwner);
    settings.beginGroup(kFrameGroup);
    FrameMemory memory;
    memory.status_bar = settings.value(QStringLiteral("statusBar"), true).toBool();
    bool ok[4] = {false, false, false, false};
    const WindowRect place{settings.value(QStringLiteral("x")).toInt(&ok[0]),
                           settings.value(QStringLiteral("y")).toInt(&ok[1]),
                           settings.value(QStringLiteral("height")).toInt(&ok[2]),
                           settings.value(QStringLiteral("width")).toInt(&ok[3])};
    if (ok[0] && ok[1] && ok[2] && ok[3])
        memory.place = place;
    return memory;
}

// The screen's available area, where the frame opens.
WindowRect screen_room()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return {0, 0, 800, 1111}; // without a screen: nine tenths of this, about 1000 x 720
    const QRect r = screen->availableGeometry();
    return {r.x(), r.y(), r.height(), r.width()};
}

} // namespace

// A text of the status bar that never widens the frame: when the room is short it is shown with
// an ellipsis where `mode` says, the whole text in its tool tip.
class ElidedLabel final : public QLabel {
public:
    ElidedLabel(Qt::TextElideMode mode, QWidget* parent) : QLabel(parent), mode_(mode) {}

    void set_whole_text(const QString& text)
    {
        whole_ = text;
        updateGeometry();
        fit();
    }
    const QString& whole_text() const { return whole_; }

    QSize sizeHint() const override
    {
        return {fontMetrics().horizontalAdvance(whole_) + 2 * margin(), QLabel::sizeHint().height()};
    }
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QLabel::resizeEvent(event);
        fit();
    }

private:
    void fit()
    {
        const QString shown = fontMetrics().elidedText(whole_, mode_, contentsRect().width());
        setText(shown);
        setToolTip(shown == whole_ ? QString() : whole_);
    }

    Qt::TextElideMode mode_;
    QString whole_;
};

Frame::Frame()
{
    setWindowTitle(QStringLiteral("VORAX"));
    mdi_ = new QMdiArea(this);
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    // What the pointer rests on loses its end when short of room; a note (which version of the
    // model is shown) its middle, so that the file's name and the version both stay.
    status_label_ = new ElidedLabel(Qt::ElideRight, this);
    statusBar()->addWidget(status_label_, 1);
    note_label_ = new ElidedLabel(Qt::ElideMiddle, this);
    statusBar()->addPermanentWidget(note_label_);
    magnification_label_ = new QLabel(this);
    statusBar()->addPermanentWidget(magnification_label_);
    build_builtin_menus();
    add_shortcuts();
    activation_ = connect(mdi_, &QMdiArea::subWindowActivated, this, [this] { show_size_to_fit_state(); });

    const FrameMemory memory = read_frame_memory();
    remembered_ = memory.place;
    const WindowRect size = starting_frame_size(screen_room(), remembered_);
    resize(size.width, size.height);
    statusBar()->setVisible(memory.status_bar);
    status_bar_action_->setChecked(memory.status_bar);
    set_owner_window(this);
    GraphicsWindow::set_status_line_hook([this](const std::string& text) {
        std::string previous = status_text();
        set_status_text(text);
        return previous;
    });
}

Frame::~Frame()
{
    // The area's children go after this destructor and activate one another on their way: by
    // then the members the slot reads are gone.
    disconnect(activation_);
    if (owner_window() == this) {
        set_owner_window(nullptr);
        GraphicsWindow::set_status_line_hook({});
    }
}

// ---------------------------------------------------------------------------------------------
// Menus

void Frame::build_builtin_menus()
{
    auto add = [this](const char* title) {
        TopMenu top;
        top.menu = menuBar()->addMenu(QString::fromLatin1(title));
        menus_.push_back(top);
        return static_cast<int>(menus_.size());
    };
    auto builtin = [this](int menu, const char* text, std::function<void()> f) {
        append_menu_item(menu, menu_flag::kEnabled, text, menu_routine(std::move(f)));
        return menus_[static_cast<std::size_t>(menu - 1)].items.back().action;
    };
    auto separator = [this](int menu) {
        append_menu_item(menu, menu_flag::kSeparator, {}, menu_no_action());
    };

    const int file = add("&File");
    builtin(file, "&Print...", [this] { print_active(); });
    builtin(file, "&Save...", [this] { save_active(); });
    separator(file);
    append_menu_item(file, menu_flag::kEnabled, "E&xit", menu_exit_action());

    const int edit = add("&Edit");
    builtin(edit, "Select &All", [this] { select_all_active(); });
    builtin(edit, "&Copy", [this] { copy_active(); });
    builtin(edit, "&Paste", [this] { paste_into_active(); });

    const int view = add("&View");
    size_to_fit_action_ = builtin(view, "&Size To Fit", [this] { toggle_size_to_fit(); });
    size_to_fit_action_->setCheckable(true);
    full_screen_action_ = builtin(view, "&Full Screen", [this] {
        if (isFullScreen())
            showNormal();
        else
            showFullScreen();
        full_screen_action_->setChecked(isFullScreen());
    });
    full_screen_action_->setCheckable(true);
    status_bar_action_ = builtin(view, "&Status Bar", [this] {
        statusBar()->setHidden(!statusBar()->isHidden());
        status_bar_action_->setChecked(!statusBar()->isHidden());
    });
    status_bar_action_->setCheckable(true);
    status_bar_action_->setChecked(true);

    const int state = add("&State");
    pause_action_ = builtin(state, "&Pause", [this] {
        set_program_paused(true);
        set_status_text("Paused");
        pause_action_->setEnabled(false);
        resume_action_->setEnabled(true);
    });
    resume_action_ = builtin(state, "&Resume", [this] {
        set_program_paused(false);
        set_status_text("Running");
        pause_action_->setEnabled(true);
        resume_action_->setEnabled(false);
    });
    resume_action_->setEnabled(false);

    const int window = add("&Window");
    builtin(window, "&Cascade", [this] { mdi_->cascadeSubWindows(); });
    builtin(window, "&Tile", [this] { mdi_->tileSubWindows(); });
    builtin(window, "&Arrange Icons", [this] { arrange_icons(); });
    window_menu_ = menus_[static_cast<std::size_t>(window - 1)].menu;
    connect(window_menu_, &QMenu::aboutToShow, this, [this] { fill_window_list(); });

    const int help = add("&Help");
    builtin(help, "&Contents", [] {});
    builtin(help, "Using &Help", [] {});
    builtin(help, "&About", [this] { show_about(); });
}

void Frame::add_shortcuts()
{
    struct Shortcut {
        QMenu* menu;
        const char* item;
        QKeySequence keys;
    };
    auto menu = [this](int number) { return menus_[static_cast<std::size_t>(number - 1)].menu; };
    const Shortcut shortcuts[] = {
        {menu(kFileMenu), "&Print...", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {menu(kFileMenu), "&Save...", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {menu(kFileMenu), "E&xit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {menu(kEditMenu), "Select &All", QKeySequence(Qt::CTRL | Qt::Key_A)},
        {menu(kEditMenu), "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C)},
        {menu(kEditMenu), "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V)},
        {menu(kViewMenu), "&Size To Fit", QKeySequence(Qt::CTRL | Qt::Key_0)},
        {menu(kViewMenu), "&Full Screen", QKeySequence(Qt::Key_F11)},
        {menu(kHelpMenu), "&About", QKeySequence(Qt::Key_F1)},
    };
    for (const Shortcut& shortcut : shortcuts)
        for (QAction* action : shortcut.menu->actions())
            if (action->text() == QLatin1String(shortcut.item))
                action->setShortcut(shortcut.keys);
}

Frame::Item Frame::make_item(QMenu* menu, QAction* before, unsigned flags, const std::string& text,
                             MenuAction what)
{
    Item item;
    item.what = std::move(what);
    if ((flags & menu_flag::kSeparator) != 0) {
        item.action = new QAction(menu);
        item.action->setSeparator(true);
    } else {
        item.action = new QAction(qt_text(text), menu);
    }
    menu->insertAction(before, item.action);
    apply_flags(item, flags);
    return item;
}

void Frame::apply_flags(Item& item, unsigned flags)
{
    item.flags = flags;
    // Grayed items are shown gray and cannot be chosen; disabled ones look normal but choosing
    // them does nothing (run_item checks the flag).
    item.action->setEnabled((flags & menu_flag::kGrayed) == 0);
    if ((flags & (menu_flag::kChecked | menu_flag::kUnchecked)) != 0) {
        item.action->setCheckable(true);
        item.action->setChecked((flags & menu_flag::kChecked) != 0);
    }
}

bool Frame::insert_menu_item(int menu, int item, unsigned flags, const std::string& text,
                             MenuAction action)
{
    if (item == 0) {
        // A new top-level menu at position `menu` (1 .. count + 1).
        if (menu < 1 || menu > menu_count() + 1)
            return false;
        QAction* before = menu <= menu_count()
                              ? menus_[static_cast<std::size_t>(menu - 1)].menu->menuAction()
                              : nullptr;
        auto* qmenu = new QMenu(qt_text(text), menuBar());
        menuBar()->insertMenu(before, qmenu);
        TopMenu top;
        top.menu = qmenu;
        top.flags = flags;
        qmenu->menuAction()->setEnabled((flags & menu_flag::kGrayed) == 0);
        menus_.insert(menus_.begin() + (menu - 1), top);
        return true;
    }
    if (menu < 1 || menu > menu_count() || item < 1 || item > menu_item_count(menu) + 1)
        return false;
    TopMenu& top = menus_[static_cast<std::size_t>(menu - 1)];
    QAction* before = item <= menu_item_count(menu)
                          ? top.items[static_cast<std::size_t>(item - 1)].action
                          : nullptr;
    Item made = make_item(top.menu, before, flags, text, std::move(action));
    top.items.insert(top.items.begin() + (item - 1), made);
    QObject::connect(made.action, &QAction::triggered, this, [this, act = made.action] {
        for (const TopMenu& t : menus_)
            for (const Item& i : t.items)
                if (i.action == act) {
                    run_item(&t, &i);
                    return;
                }
    });
    return true;
}

bool Frame::append_menu_item(int menu, unsigned flags, const std::string& text, MenuAction action)
{
    if (menu < 1 || menu > menu_count())
        return false;
    return insert_menu_item(menu, menu_item_count(menu) + 1, flags,
                            (flags & menu_flag::kSeparator) != 0 ? text : with_mnemonic(text),
                            std::move(action));
}

bool Frame::set_menu_item_flags(int menu, int item, unsigned flags)
{
    if (menu < 1 || menu > menu_count())
        return false;
    TopMenu& top = menus_[static_cast<std::size_t>(menu - 1)];
    if (item == 0) {
        top.flags = flags;
        top.menu->menuAction()->setEnabled((flags & menu_flag::kGrayed) == 0);
        menuBar()->update();
        return true;
    }
    if (item < 1 || item > menu_item_count(menu))
        return false;
    apply_flags(top.items[static_cast<std::size_t>(item - 1)], flags);
    menuBar()->update();
    return true;
}

int Frame::menu_count() const { return static_cast<int>(menus_.size()); }

int Frame::menu_item_count(int menu) const
{
    if (menu < 1 || menu > menu_count())
        return 0;
    return static_cast<int>(menus_[static_cast<std::size_t>(menu - 1)].items.size());
}

std::string Frame::menu_item_text(int menu, int item) const
{
    if (menu < 1 || menu > menu_count())
        return {};
    const TopMenu& top = menus_[static_cast<std::size_t>(menu - 1)];
    if (item == 0)
        return program_text(top.menu->title());
    if (item < 1 || item > menu_item_count(menu))
        return {};
    return program_text(top.items[static_cast<std::size_t>(item - 1)].action->text());
}

unsigned Frame::menu_item_flags(int menu, int item) const
{
    if (menu < 1 || menu > menu_count())
        return 0;
    const TopMenu& top = menus_[static_cast<std::size_t>(menu - 1)];
    if (item == 0)
        return top.flags;
    if (item < 1 || item > menu_item_count(menu))
        return 0;
    return top.items[static_cast<std::size_t>(item - 1)].flags;
}

QAction* Frame::menu_item_action(int menu, int item) const
{
    if (menu < 1 || menu > menu_count())
        return nullptr;
    const TopMenu& top = menus_[static_cast<std::size_t>(menu - 1)];
    if (item == 0)
        return top.menu->menuAction();
    if (item < 1 || item > menu_item_count(menu))
        return nullptr;
    return top.items[static_cast<std::size_t>(item - 1)].action;
}

bool Frame::choose_menu_item(int menu, int item)
{
    if (menu < 1 || menu > menu_count() || item < 1 || item > menu_item_count(menu))
        return false;
    const TopMenu& top = menus_[static_cast<std::size_t>(menu - 1)];
    const Item& it = top.items[static_cast<std::size_t>(item - 1)];
    if (!top.menu->menuAction()->isEnabled() || !it.action->isEnabled()
        || (it.flags & (menu_flag::kDisabled | menu_flag::kSeparator)) != 0)
        return false;
    it.action->trigger();
    return true;
}

void Frame::run_item(const TopMenu* top, const Item* item)
{
    if ((top->flags & (menu_flag::kGrayed | menu_flag::kDisabled)) != 0
        || (item->flags & (menu_flag::kGrayed | menu_flag::kDisabled | menu_flag::kSeparator)) != 0)
        return;
    const MenuAction what = item->what; // the item may change while the action runs
    run_action(what);
}

bool Frame::set_menu_item_shortcut(int menu, int item, const std::string& keys)
{
    QAction* action = menu_item_action(menu, item);
    if (action == nullptr)
        return false;
    action->setShortcut(QKeySequence::fromString(QString::fromStdString(keys)));
    action->setShortcutContext(Qt::ApplicationShortcut);
    return true;
}

bool Frame::run_when_idle(const std::function<void()>& routine)
{
    if (action_running_)
        return false;
    run_action(menu_routine(routine));
    return true;
}

void Frame::run_action(const MenuAction& what)
{
    switch (what.kind) {
    case MenuAction::Kind::none: return;
    case MenuAction::Kind::exit:
        exit_status_ = 0;
        QApplication::exit(0);
        return;
    case MenuAction::Kind::routine: break;
    }
    if (action_running_) {
        // Menu actions run one at a time; one is waiting for the person right now.
        QApplication::beep();
        return;
    }
    action_running_ = true;
    try {
        what.routine();
    } catch (const ProgramExit& exit) {
        action_running_ = false;
        exit_status_ = exit.status;
        QApplication::exit(exit.status);
        return;
    }
    action_running_ = false;
}

// ---------------------------------------------------------------------------------------------
// Units

const Frame::UnitWindow* Frame::find_unit(Unit unit) const
{
    auto it = units_.find(unit);
    if (it == units_.end() || it->second.sub.isNull() || it->second.widget.isNull())
        return nullptr;
    return &it->second;
}

bool Frame::open_unit(Unit unit, WindowKind kind, const std::string& title)
{
    if (const UnitWindow* existing = find_unit(unit)) {
        if (existing->kind != kind)
            return false;
        active_unit_ = unit;
        give_focus(unit);
        return true;
    }
    UnitWindow opened{kind, {}, {}, title, {}, {}};
    if (kind == WindowKind::text) {
        opened.widget = new TextWindow;
    } else if (kind == WindowKind::list) {
        opened.widget = new ListWindow;
    } else {
        auto* graphics = new GraphicsWindow;
        graphics->surface().set_name("unit" + std::to_string(unit));
        opened.surface = graphics->shared_surface();
        opened.widget = graphics;
    }
    units_[unit] = std::move(opened);
    attach_window(unit);
    active_unit_ = unit;
    give_focus(unit);
    return true;
}

void Frame::attach_window(Unit unit)
{
    UnitWindow& u = units_[unit];
    // A graph window shows the whole picture at first.
    if (auto* graphics = qobject_cast<GraphicsWindow*>(u.widget.data())) {
        graphics->setWindowTitle(qt_text(u.title));
        graphics->set_size_to_fit(true);
        graphics->set_pointing_source(u.pointing);
        connect(graphics, &GraphicsWindow::magnification_changed, this, [this, graphics] {
            if (active_child_widget() == graphics)
                show_size_to_fit_state();
        });
        graphics->set_gesture_action([this, unit](GraphicsWindow::Gesture gesture, QPointF point,
                                                  double per_screen_pixel) {
            if (graph_gesture_)
                graph_gesture_(unit, static_cast<int>(gesture), point.x(), point.y(), per_screen_pixel);
        });
    }
    QMdiSubWindow* sub = mdi_->addSubWindow(u.widget);
    sub->setWindowTitle(qt_text(u.title));
    // A closed graph window goes (ending a mouse wait on it) and leaves its surface; the info
    // window is only hidden, so that it comes back with its lines.
    sub->setAttribute(Qt::WA_DeleteOnClose, u.kind == WindowKind::graphics);
    // A graph window takes the free part of the window area, each later one a little lower and
    // to the right so that the titles of the earlier ones stay in view; the info window leaves
    // room for the graphs beside it.
    if (u.kind == WindowKind::graphics) {
        const int offset = (std::max(unit - kFirstGraphUnit, 0) % 5) * 24;
        sub->move(offset, offset);
        sub->resize(std::max(mdi_->viewport()->width() - offset, 200),
                    std::max(mdi_->viewport()->height() - offset, 150));
    } else if (u.kind == WindowKind::list) {
        // A list beside the graphs: in the lower right corner, leaving most of them in view.
        const QSize room = mdi_->viewport()->size();
        const QSize size(std::min(std::max(room.width() / 2, 300), 760), std::min(std::max(room.height() / 3, 160), 360));
        sub->resize(size);
        sub->move(std::max(room.width() - size.width(), 0), std::max(room.height() - size.height(), 0));
    } else
        sub->resize(std::min(mdi_->width() * 3 / 4 + 40, 900),
                    std::min(mdi_->height() * 3 / 4 + 40, 650));
    sub->show();
    u.sub = sub;
}

bool Frame::bring_back(Unit unit)
{
    if (find_unit(unit) == nullptr) {
        auto it = units_.find(unit);
        if (it == units_.end() || !it->second.surface)
            return false;
        it->second.widget = new GraphicsWindow(it->second.surface);
        attach_window(unit);
    }
    return give_focus(unit);
}

void Frame::set_pointing_source(Unit unit, PointingSource source)
{
    auto it = units_.find(unit);
    if (it == units_.end() || it->second.kind != WindowKind::graphics)
        return;
    it->second.pointing = std::move(source);
    if (GraphicsWindow* window = graphics_window(unit))
        window->set_pointing_source(it->second.pointing);
}

void Frame::close_unit(Unit unit)
{
    // Status "keep": the window stays on screen; only the unit's output ends.
    if (active_unit_ == unit)
        active_unit_ = kNoUnit;
}

bool Frame::unit_is_open(Unit unit) const { return find_unit(unit) != nullptr; }

TextWindow* Frame::text_window(Unit unit) const
{
    const UnitWindow* u = find_unit(unit);
    return u != nullptr && u->kind == WindowKind::text ? static_cast<TextWindow*>(u->widget.data())
                                                       : nullptr;
}

ListWindow* Frame::list_window(Unit unit) const
{
    const UnitWindow* u = find_unit(unit);
    return u != nullptr && u->kind == WindowKind::list ? static_cast<ListWindow*>(u->widget.data())
                                                       : nullptr;
}

QMdiSubWindow* Frame::sub_window(Unit unit) const
{
    const UnitWindow* u = find_unit(unit);
    return u != nullptr ? u->sub.data() : nullptr;
}

std::string Frame::unit_title(Unit unit) const
{
    const UnitWindow* u = find_unit(unit);
    return u != nullptr ? u->title : std::string{};
}

bool Frame::set_active_unit(Unit unit)
{
    if (find_unit(unit) == nullptr)
        return false;
    active_unit_ = unit;
    return true;
}

Unit Frame::focus_unit() const
{
    const QMdiSubWindow* current = mdi_->currentSubWindow();
    if (current == nullptr)
        return kNoUnit;
    for (const auto& [unit, window] : units_)
        if (window.sub == current)
            return unit;
    return kNoUnit;
}

bool Frame::give_focus(Unit unit)
{
    const UnitWindow* u = find_unit(unit);
    if (u == nullptr)
        return false;
    if (u->sub->isHidden()) {
        u->widget->show();
        u->sub->show();
    }
    if (u->sub->isMinimized())
        u->sub->showNormal();
    mdi_->setActiveSubWindow(u->sub);
    return true;
}

void Frame::fill_window_list()
{
    for (QAction* entry : window_list_)
        delete entry;
    window_list_.clear();
    window_list_.push_back(window_menu_->addSeparator());
    const Unit focused = focus_unit();
    for (const auto& [unit, window] : units_) {
        const bool shown = find_unit(unit) != nullptr && !window.sub->isHidden();
        if (find_unit(unit) == nullptr && !window.surface)
            continue;
        QString title = qt_text(window.title);
        title.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* entry = window_menu_->addAction(title);
        entry->setCheckable(true);
        entry->setChecked(shown && unit == focused);
        connect(entry, &QAction::triggered, this, [this, unit = unit] { bring_back(unit); });
        window_list_.push_back(entry);
    }
}

QWidget* Frame::active_child_widget() const
{
    const QMdiSubWindow* current = mdi_->currentSubWindow();
    return current != nullptr ? current->widget() : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Status line, about box, built-in commands

void Frame::set_status_text(const std::string& text) { status_label_->set_whole_text(qt_text(text)); }

std::string Frame::status_text() const { return program_text(status_label_->whole_text()); }

void Frame::set_status_note(const std::string& text) { note_label_->set_whole_text(qt_text(text)); }

std::string Frame::status_note() const { return program_text(note_label_->whole_text()); }

void Frame::set_about_text(const std::string& text) { about_text_ = text; }

void Frame::show_about()
{
    prompter().message_box(about_text_.empty() ? std::string("VORAX") : about_text_,
                           "About VORAX", mb::kOk | mb::kIconInformation);
}

void Frame::arrange_icons()
{
    // Minimised windows are lined up along the bottom edge of the MDI area, left to right.
    int x = 0;
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        if (!sub->isMinimized())
            continue;
        const QSize size = sub->size();
        if (x + size.width() > mdi_->viewport()->width() && x > 0)
            x = 0;
        sub->move(x, mdi_->viewport()->height() - size.height());
        x += size.width();
    }
}

void Frame::select_all_active()
{
    if (auto* text = qobject_cast<TextWindow*>(active_child_widget()))
        text->selectAll();
}

void Frame::paste_into_active()
{
    if (auto* text = qobject_cast<TextWindow*>(active_child_widget()); text != nullptr && text->reading())
        text->paste();
}

GraphicsWindow* Frame::graphics_window(Unit unit) const
{
    const UnitWindow* u = find_unit(unit);
    return u != nullptr && u->kind == WindowKind::graphics
               ? static_cast<GraphicsWindow*>(u->widget.data())
               : nullptr;
}

DrawSurface* Frame::surface(Unit unit) const
{
    auto it = units_.find(unit);
    return it != units_.end() ? it->second.surface.get() : nullptr;
}

std::string Frame::proposed_save_name() const
{
    const Unit unit = focus_unit();
    const int number = unit >= kFirstGraphUnit ? unit - kFirstGraphUnit + 1 : 1;
    return proposed_picture_name(model_file_, number, last_save_folder_);
}

void Frame::save_active()
{
    QWidget* child = active_child_widget();
    if (auto* graphics = qobject_cast<GraphicsWindow*>(child)) {
        std::string chosen;
        save_picture_as(this, graphics->surface(), graphics->windowTitle(), proposed_save_name(), &chosen);
        if (!chosen.empty())
            last_save_folder_ = std::filesystem::path(chosen).parent_path().string();
    } else if (auto* text = qobject_cast<TextWindow*>(child)) {
        save_text_as(this, text->toPlainText());
    }
}

void Frame::copy_active()
{
    QWidget* child = active_child_widget();
    if (auto* graphics = qobject_cast<GraphicsWindow*>(child))
        copy_picture(graphics->surface().image_copy());
    else if (auto* text = qobject_cast<TextWindow*>(child))
        text->copy();
}

void Frame::print_active()
{
    if (auto* graphics = qobject_cast<GraphicsWindow*>(active_child_widget()))
        print_picture(this, graphics->surface());
}

void Frame::toggle_size_to_fit()
{
    if (auto* graphics = qobject_cast<GraphicsWindow*>(active_child_widget()))
        graphics->set_size_to_fit(!graphics->size_to_fit());
    show_size_to_fit_state();
}

void Frame::show_size_to_fit_state()
{
    const auto* graphics = qobject_cast<GraphicsWindow*>(active_child_widget());
    size_to_fit_action_->setChecked(graphics != nullptr && graphics->size_to_fit());
    magnification_label_->setText(graphics != nullptr ? qt_text(magnification_text(graphics->magnification()))
                                                      : QString());
}

std::string Frame::magnification_shown() const { return program_text(magnification_label_->text()); }

// ---------------------------------------------------------------------------------------------
// Place on the screen

void Frame::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    note_place();
}

void Frame::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // A note shares the status bar with what the pointer rests on: half of it at most.
    note_label_->setMaximumWidth(std::max(width() / 2, 1));
    note_place();
}

void Frame::note_place()
{
    if (windowState() != Qt::WindowNoState)
        return;
    const QPoint corner = frameGeometry().topLeft();
    normal_place_ = {corner.x(), corner.y(), height(), width()};
}

std::optional<WindowRect> Frame::restored_place(const WindowRect& room) const
{
    const QRect outside = frameGeometry();
    return restored_frame_place(room, remembered_, {0, 0, outside.height(), outside.width()});
}

void Frame::remember_place() const
{
    QSettings settings(kSettingsOwner, kSettingsOwner);
    settings.beginGroup(kFrameGroup);
    settings.setValue(QStringLiteral("statusBar"), status_bar_action_->isChecked());
    if (normal_place_.width <= 0)
        return; // never on screen: no place to keep
    settings.setValue(QStringLiteral("x"), normal_place_.x);
    settings.setValue(QStringLiteral("y"), normal_place_.y);
    settings.setValue(QStringLiteral("width"), normal_place_.width);
    settings.setValue(QStringLiteral("height"), normal_place_.height);
}

} // namespace vorax::gwl
