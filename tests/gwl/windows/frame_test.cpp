// SPDX-License-Identifier: GPL-3.0-or-later
// The frame as a person meets it: its size and place on the screen and between runs, the
// shortcut keys of its commands, and the list of windows in its Window menu.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTest>

#include <algorithm>
#include <tuple>
#include <vector>

#include "gwl/surface/draw_surface.h"
#include "gwl/surface/drawing_area.h"
#include "gwl/windows/frame.h"
#include "gwl/windows/frame_place.h"
#include "gwl/windows/graphics_window.h"
#include "gwl/windows/text_window.h"
#include "person.h"
#include "scripted_prompter.h"
#include "test_helpers.h"

namespace vorax::gwl {
namespace {

using testing::Person;
using testing::wait_until;

auto as_tuple(const WindowRect& r) { return std::make_tuple(r.x, r.y, r.height, r.width); }

struct ForgetFrame { // the settings a test wrote are gone for the next one
    ~ForgetFrame() { QSettings(QStringLiteral("VORAX"), QStringLiteral("VORAX")).remove("frame"); }
};

TEST(FramePlace, NineTenthsOfTheScreenOrTheRememberedSizeAndPlace)
{
    const WindowRect small{0, 0, 1024, 1280};
    const WindowRect large{0, 27, 1053, 1920}; // below a panel
    const std::tuple<WindowRect, std::optional<WindowRect>, WindowRect> sizes[] = {
        {small, std::nullopt, {0, 0, 921, 1152}},
        {large, std::nullopt, {0, 0, 947, 1728}},
        {small, WindowRect{5, 5, 700, 1000}, {0, 0, 700, 1000}},
        {small, WindowRect{5, 5, 947, 1728}, {0, 0, 921, 1152}}, // from a larger screen
        {large, WindowRect{5, 5, 100, 100}, {0, 0, 947, 1728}},  // too small to be meant
        {small, WindowRect{0, 0, 1024, 1280}, {0, 0, 1024, 1280}}, // the whole room
    };
    for (const auto& [room, remembered, size] : sizes)
        EXPECT_EQ(as_tuple(starting_frame_size(room, remembered)), as_tuple(size)) << room.width;

    const WindowRect outside{0, 0, 925, 1156}; // a little larger than the remembered inside
    EXPECT_EQ(as_tuple(*restored_frame_place(small, WindowRect{100, 50, 921, 1152}, outside)),
              as_tuple(WindowRect{100, 50, 925, 1156}));
    for (const auto& [room, kept] : {std::pair{small, WindowRect{126, 50, 921, 1152}}, // off the right
                                     std::pair{large, WindowRect{0, 0, 921, 1152}},    // under the panel
                                     std::pair{small, WindowRect{96, 24, 972, 1728}}}) // size not kept
        EXPECT_FALSE(restored_frame_place(room, kept, outside)) << kept.x;
    EXPECT_FALSE(restored_frame_place(large, std::nullopt, outside));
    // A frame as large as the room, remembered there, comes back there.
    EXPECT_EQ(as_tuple(*restored_frame_place(large, WindowRect{0, 27, 1053, 1920}, {0, 0, 1053, 1920})),
              as_tuple(large));
}

// The real frame: nine tenths of this screen (its inside; decorations come on top), then what
// the next run brings back.
TEST(FramePlace, RealFrameAndWhatTheNextRunBringsBack)
{
    const ForgetFrame forget;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    {
        Frame first;
        first.show();
        EXPECT_EQ(first.size(), QSize(screen.width() * 9 / 10, screen.height() * 9 / 10));
        first.move(40, 30);
        first.resize(500, 400);
        ASSERT_TRUE(wait_until([&] { return first.frameGeometry().topLeft() == QPoint(40, 30); }));
        ASSERT_TRUE(first.choose_menu_item(kViewMenu, 3)); // "&Status Bar" off
        first.showFullScreen(); // left out: the place kept is the one to come back to
        first.remember_place();
    }
    Frame second;
    EXPECT_EQ(second.size(), QSize(500, 400));
    EXPECT_TRUE(second.statusBar()->isHidden());
    EXPECT_FALSE(second.menu_item_action(kViewMenu, 3)->isChecked());
    second.show();
    const QSize outside = second.frameGeometry().size();
    EXPECT_EQ(as_tuple(second.restored_place({screen.x(), screen.y(), screen.height(), screen.width()})
                           .value_or(WindowRect{})),
              as_tuple(WindowRect{40, 30, outside.height(), outside.width()}));
    EXPECT_FALSE(second.restored_place({0, 0, 420, 520})); // a smaller screen now
}

TEST(FrameStatusBar, LongTextsKeepTheFrameNarrowAndTheEndsThatMatter)
{
    const ForgetFrame forget;
    Frame frame;
    frame.resize(420, 300);
    frame.show();
    const std::string note = "plane_frame.dat line 3: End of file inside the comment and title lines of "
                             "\"/tmp/a/very/long/folder/plane_frame.dat\" after line 3 — showing the "
                             "version read at 10:42:07";
    const std::string text = "Node 17  (12.500, 3.000)  codes 1 1 0  values 0 0 0" + std::string(200, '.');
    frame.set_status_note(note);
    frame.set_status_text(text);
    std::vector<QString> shown;
    wait_until([&] {
        shown.clear();
        for (const QLabel* label : frame.statusBar()->findChildren<QLabel*>())
            if (label->text().contains(QChar(0x2026))) // elided: the whole text is in the tool tip
                shown.push_back(label->text() + '|' + label->toolTip());
        return shown.size() == 2;
    });
    EXPECT_EQ(frame.width(), 420);
    EXPECT_EQ(frame.status_note(), note);
    EXPECT_EQ(frame.status_text(), text);
    ASSERT_EQ(shown.size(), 2u);
    std::sort(shown.begin(), shown.end());
    EXPECT_TRUE(shown[0].startsWith("Node 17")) << shown[0].toStdString();
    EXPECT_TRUE(shown[1].startsWith("plane_frame.dat") && shown[1].contains("10:42:07|")) << shown[1].toStdString();
    frame.set_status_note("");
    EXPECT_EQ(frame.status_note(), "");
}

class FrameWithWindows : public ::testing::Test {
protected:
    FrameWithWindows()
    {
        set_default_drawing_area(320, 200);
        frame.show();
        frame.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&frame));
        frame.open_unit(kInfoUnit, WindowKind::text, "VORAX: Info");
        frame.text_window(kInfoUnit)->write(" * VORAX Started", true);
        frame.open_unit(10, WindowKind::graphics, "1  BEAM");
        frame.open_unit(11, WindowKind::graphics, "2  R&D");
        set_default_drawing_area(0, 0);
    }
    ~FrameWithWindows() override { testing::take_back_exit_request(); }

    // A key pressed in the frame, brought to the front first (after a dialog this platform
    // leaves no window active).
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        if (QApplication::activeWindow() != &frame) {
            frame.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&frame));
        }
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused != nullptr ? focused : &frame, key, modifiers);
    }
    // The entries of the Window menu's list, opened with Alt+W as a person would.
    QList<QAction*> window_list()
    {
        key(Qt::Key_W, Qt::AltModifier);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        return menu != nullptr ? menu->actions().mid(frame.menu_item_count(kWindowMenu) + 1)
                               : QList<QAction*>{};
    }
    // Clicks the entry in the open menu.
    static void click(QAction* entry)
    {
        auto* menu = static_cast<QMenu*>(QApplication::activePopupWidget());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
    }

    testing::ScriptedPrompter prompter;
    Frame frame;
};

TEST_F(FrameWithWindows, ShortcutKeysRunTheCommands)
{
    frame.give_focus(11);
    GraphicsWindow* graph = frame.graphics_window(11);
    graph->setFocus();
    ASSERT_TRUE(graph->size_to_fit());

    ASSERT_TRUE(frame.menu_item_action(kViewMenu, 1)->isChecked());
    key(Qt::Key_0, Qt::ControlModifier); // Size To Fit: off
    EXPECT_FALSE(graph->size_to_fit());
    EXPECT_FALSE(frame.menu_item_action(kViewMenu, 1)->isChecked());

    key(Qt::Key_F11);
    EXPECT_TRUE(frame.isFullScreen());
    key(Qt::Key_F11);
    EXPECT_FALSE(frame.isFullScreen());

    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(320, 200));

    key(Qt::Key_F1);
    ASSERT_EQ(prompter.message_boxes.size(), 1u);
    EXPECT_EQ(prompter.message_boxes[0].caption, "About VORAX");

    for (const auto& [keys, dialog] :
         {std::pair{Qt::Key_S, "QFileDialog"}, std::pair{Qt::Key_P, "QPrintDialog"}}) {
        Person person;
        person.then(Person::modal(dialog), [](QWidget* w) { Person::press(w, Qt::Key_Escape); });
        key(keys, Qt::ControlModifier);
        EXPECT_TRUE(person.done()) << dialog;
        EXPECT_FALSE(person.gave_up()) << dialog;
    }

    EXPECT_EQ(frame.exit_status(), -1);
    key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(frame.exit_status(), 0);
}

TEST_F(FrameWithWindows, WindowListBringsBackClosedWindows)
{
    const DrawSurface* surface = frame.surface(10);
    frame.sub_window(10)->close();
    frame.sub_window(kInfoUnit)->close();
    ASSERT_TRUE(wait_until([&] { return frame.graphics_window(10) == nullptr; }));
    frame.give_focus(11);

    QList<QAction*> entries = window_list();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0]->text(), "VORAX: Info");
    EXPECT_EQ(entries[1]->text(), "1  BEAM");
    EXPECT_EQ(entries[2]->text(), "2  R&&D"); // shown as "2  R&D", no mnemonic
    EXPECT_EQ(std::make_tuple(entries[0]->isChecked(), entries[1]->isChecked(), entries[2]->isChecked()),
              std::make_tuple(false, false, true));

    click(entries[1]);
    GraphicsWindow* back = frame.graphics_window(10);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(&back->surface(), surface);
    EXPECT_TRUE(back->size_to_fit());
    EXPECT_EQ(frame.focus_unit(), 10);

    entries = window_list();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_TRUE(entries[1]->isChecked());
    click(entries[0]);
    EXPECT_TRUE(frame.sub_window(kInfoUnit)->isVisible());
    EXPECT_EQ(frame.text_window(kInfoUnit)->lines(), std::vector<std::string>{" * VORAX Started"});
    EXPECT_EQ(frame.focus_unit(), kInfoUnit);
}

} // namespace
} // namespace vorax::gwl
