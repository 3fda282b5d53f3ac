// The frame as a person meets it: its size and place on the screen and between runs, the
// shortcut keys of its commands, and the list of windows in its Window menu.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTest>

#include <tuple>

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

// The settings that a test wrote are gone for the next one.
struct ForgetFrame {
    ~ForgetFrame() { QSettings(QStringLiteral("VORAX"), QStringLiteral("VORAX")).remove("frame"); }
};

TEST(FramePlace, NineTenthsOfTheScreenOrTheRememberedSizeAndPlace)
{
    const WindowRect small{0, 0, 1024, 1280};
    const WindowRect large{0, 27, 1053, 1920}; // below a panel
    struct Row {
        WindowRect room;
        std::optional<WindowRect> remembered;
        WindowRect size;
    };
    const Row sizes[] = {
        {small, std::nullopt, {0, 0, 921, 1152}},
        {large, std::nullopt, {0, 0, 947, 1728}},
        {small, WindowRect{5, 5, 700, 1000}, {0, 0, 700, 1000}},
        {small, WindowRect{5, 5, 947, 1728}, {0, 0, 921, 1152}}, // from a larger screen
        {large, WindowRect{5, 5, 100, 100}, {0, 0, 947, 1728}},  // too small to be meant
    };
    for (const Row& row : sizes)
        EXPECT_EQ(as_tuple(starting_frame_size(row.room, row.remembered)), as_tuple(row.size))
            << row.room.width;

    // The frame's outside is a little larger than the remembered inside.
    const WindowRect frame{0, 0, 925, 1156};
    const WindowRect kept{100, 50, 921, 1152};
    EXPECT_EQ(as_tuple(*restored_frame_place(small, kept, frame)),
              as_tuple(WindowRect{100, 50, 925, 1156}));
    EXPECT_FALSE(restored_frame_place(small, WindowRect{126, 50, 921, 1152}, frame)); // off the right
    EXPECT_FALSE(restored_frame_place(large, WindowRect{0, 0, 921, 1152}, frame)); // under the panel
    EXPECT_FALSE(restored_frame_place(small, WindowRect{96, 24, 972, 1728}, frame)); // size not kept
    EXPECT_FALSE(restored_frame_place(large, std::nullopt, frame));
}

// The real frame on the screen this process has (the next test starts it on other screens).
TEST(FramePlace, RealFrameTakesNineTenthsOfThisScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QString wanted = qEnvironmentVariable("VORAX_TEST_SCREEN");
    if (!wanted.isEmpty())
        EXPECT_EQ(QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height()), wanted);
    Frame frame;
    frame.show();
    // The inside: the decorations, which the window system adds, are unknown until shown.
    EXPECT_EQ(frame.size(), QSize(screen.width() * 9 / 10, screen.height() * 9 / 10));
}

TEST(FramePlace, RealFrameOnASmallAndALargeScreen)
{
    const testing::TempDir folder;
    for (const auto& [width, height] : {std::pair{1024, 768}, std::pair{2560, 1440}}) {
        const auto config = folder.write(
            "screen.json", "{\"screens\": [{\"name\": \"s\", \"x\": 0, \"y\": 0, \"width\": "
                               + std::to_string(width) + ", \"height\": " + std::to_string(height)
                               + ", \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}");
        const std::string size = std::to_string(width) + "x" + std::to_string(height);
        const testing::CommandRun run = testing::run_command(
            "QT_QPA_PLATFORM=offscreen:configfile=" + testing::shell_quoted(config.string())
            + " VORAX_TEST_SCREEN=" + size + " "
            + testing::shell_quoted(QCoreApplication::applicationFilePath().toStdString())
            + " --gtest_filter=FramePlace.RealFrameTakesNineTenthsOfThisScreen 2>&1");
        EXPECT_EQ(run.status, 0) << size << "\n" << run.output;
        EXPECT_NE(run.output.find("[  PASSED  ] 1 test"), std::string::npos) << run.output;
    }
}

TEST(FramePlace, SizePlaceAndStatusLineComeBackInTheNextRun)
{
    const ForgetFrame forget;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const WindowRect room{screen.x(), screen.y(), screen.height(), screen.width()};
    {
        Frame first;
        first.show();
        first.move(40, 30);
        first.resize(500, 400);
        ASSERT_TRUE(wait_until([&] { return first.frameGeometry().topLeft() == QPoint(40, 30); }));
        ASSERT_TRUE(first.choose_menu_item(kViewMenu, 3)); // "&Status Bar" off
        // Full screen is left out: the place kept is the one to come back to.
        first.showFullScreen();
        wait_until([&] { return first.isFullScreen(); }, std::chrono::milliseconds(500));
        first.remember_place();
    }
    Frame second;
    EXPECT_EQ(second.size(), QSize(500, 400));
    EXPECT_TRUE(second.statusBar()->isHidden());
    EXPECT_FALSE(second.menu_item_action(kViewMenu, 3)->isChecked());
    second.show();
    const QSize outside = second.frameGeometry().size();
    EXPECT_EQ(as_tuple(second.restored_place(room).value_or(WindowRect{})),
              as_tuple(WindowRect{40, 30, outside.height(), outside.width()}));
    EXPECT_FALSE(second.restored_place({0, 0, 420, 520})); // a smaller screen now
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

    // A key pressed in the frame, which a person brings to the front first (this platform does
    // not give it back the activation after a dialog).
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
    std::vector<QAction*> window_list()
    {
        key(Qt::Key_W, Qt::AltModifier);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        std::vector<QAction*> entries;
        if (menu == nullptr)
            return entries;
        const QList<QAction*> actions = menu->actions();
        for (qsizetype i = frame.menu_item_count(kWindowMenu) + 1; i < actions.size(); ++i)
            entries.push_back(actions[i]);
        return entries;
    }
    void click(QAction* entry)
    {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
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

    key(Qt::Key_0, Qt::ControlModifier); // Size To Fit: off, then on again
    EXPECT_FALSE(graph->size_to_fit());
    EXPECT_FALSE(frame.menu_item_action(kViewMenu, 1)->isChecked());
    key(Qt::Key_0, Qt::ControlModifier);
    EXPECT_TRUE(graph->size_to_fit());
    EXPECT_TRUE(frame.menu_item_action(kViewMenu, 1)->isChecked());

    key(Qt::Key_F11);
    EXPECT_TRUE(wait_until([&] { return frame.isFullScreen(); }));
    key(Qt::Key_F11);
    EXPECT_TRUE(wait_until([&] { return !frame.isFullScreen(); }));

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

    std::vector<QAction*> entries = window_list();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0]->text(), "VORAX: Info");
    EXPECT_EQ(entries[1]->text(), "1  BEAM");
    EXPECT_EQ(entries[2]->text(), "2  R&&D"); // shown as "2  R&D", no mnemonic
    EXPECT_FALSE(entries[0]->isChecked());
    EXPECT_FALSE(entries[1]->isChecked());
    EXPECT_TRUE(entries[2]->isChecked());

    click(entries[1]);
    GraphicsWindow* back = frame.graphics_window(10);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(&back->surface(), surface);
    EXPECT_TRUE(back->size_to_fit());
    EXPECT_EQ(frame.focus_unit(), 10);

    entries = window_list();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_TRUE(entries[1]->isChecked());
    click(entries[0]);
    EXPECT_TRUE(frame.sub_window(kInfoUnit)->isVisible());
    EXPECT_EQ(frame.text_window(kInfoUnit)->lines(), std::vector<std::string>{" * VORAX Started"});
    EXPECT_EQ(frame.focus_unit(), kInfoUnit);
}

} // namespace
} // namespace vorax::gwl
