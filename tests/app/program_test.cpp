// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QColor>
#include <QImage>
#include <QMenu>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTest>

#include <tuple>

#include "app/program.h"
#include "gwl/dialogs/icon_data.h"
#include "gwl/surface/drawing_area.h"
#include "gwl/types.h"
#include "gwl/windows/frame.h"
#include "gwl/windows/menus.h"
#include "gwl/windows/text_window.h"
#include "session_fixture.h"

namespace vorax {
namespace {

using namespace gwl::menu_flag;
using testing::SessionRun;
using testing::wait_until;

TEST(StartUp, InfoWindowAndEnglishMenus)
{
    SessionRun run;
    ASSERT_TRUE(run.start());
    EXPECT_EQ(run.info_lines(), std::vector<std::string>{" * VORAX Started"});
    EXPECT_EQ(run.session->frame().unit_title(gwl::kInfoUnit), "VORAX: Info");
    EXPECT_EQ(run.session->frame().status_text(), "Running");

    // The program's menu follows "&Help".
    EXPECT_EQ(run.menu_text(6, 0), "Help");
    EXPECT_EQ(run.menu_text(7, 0), "NEW GRAPH");
    const std::vector<std::pair<std::string, unsigned>> items{
        {"BACK to Settings ...", kDisabled}, {"ZOOM (Mouse) ...", kDisabled}, {"", kSeparator},
        {"NEW Graph ...", kEnabled},         {"", kSeparator},               {"EXIT", kEnabled}};
    ASSERT_EQ(run.session->frame().menu_item_count(7), 6);
    for (int i = 1; i <= 6; ++i) {
        EXPECT_EQ(run.menu_text(7, i), items[i - 1].first) << i;
        EXPECT_EQ(run.menu_flags(7, i), items[i - 1].second) << i;
    }
    // Disabled is not grayed: the item is drawn normally but cannot be chosen.
    EXPECT_TRUE(run.session->frame().menu_item_action(7, 1)->isEnabled());
    EXPECT_FALSE(run.choose(7, 1));
    EXPECT_FALSE(run.choose(7, 2));

    // Help: "&Contents" and "Using &Help" disabled, "&About" usable and showing the about text.
    EXPECT_EQ(run.menu_flags(6, 1), kDisabled);
    EXPECT_EQ(run.menu_flags(6, 2), kDisabled);
    EXPECT_TRUE(run.choose(6, 3));
    ASSERT_EQ(run.prompter.message_boxes.size(), 1u);
    EXPECT_EQ(run.prompter.message_boxes[0].text.substr(0, 42),
              "VORAX\nStructure Graph for TAVELS & MURIKS\n");
    EXPECT_LE(run.state.about_text.size(), 99u);
    EXPECT_NE(run.state.about_text.find("GPL-3.0-or-later"), std::string::npos);

    EXPECT_EQ(run.state.last_graph_unit, 9);
    EXPECT_EQ(run.state.zoom_refusal_message,
              "ZOOM (Mouse) is allowed only for the last drawn graph (last window).\r"
              "For this window, first redraw the graph via the menu:\r"
              "\"NEW GRAPH\" -> NEW Graph or BACK to settings.");
}

TEST(StartUp, RomanianMenusAndMessages)
{
    SessionRun run("Romanian");
    ASSERT_TRUE(run.start());
    EXPECT_EQ(run.menu_text(7, 0), "NOU GRAF");
    EXPECT_EQ(run.menu_text(7, 1), "INAPOI la Setari ...");
    EXPECT_EQ(run.menu_text(7, 2), "ZOOM (Mouse) ...");
    EXPECT_EQ(run.menu_text(7, 4), "NOU Graf ...");
    EXPECT_EQ(run.menu_text(7, 6), "IESIRE");
    EXPECT_EQ(run.state.graph_limit_message, "S-a atins limita de 10 grafuri.\rRuleaza din nou VORAX");
    EXPECT_EQ(run.state.zoom_refusal_message.substr(0, 81),
              "ZOOM (Mouse) este permis numai pentru ultimul graf construit (ultima fereastra).\r");
}

// Alt+N opens the program's menu in both languages; its title only gains the underline.
TEST(StartUp, AltNOpensTheProgramMenu)
{
    for (const auto& [language, title] : {std::pair{"", "&NEW GRAPH"}, std::pair{"Romanian", "&NOU GRAF"}}) {
        SessionRun run(language);
        ASSERT_TRUE(run.start());
        gwl::Frame& frame = run.session->frame();
        EXPECT_EQ(frame.menu_item_text(kProgramMenu, 0), title);
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
        QTest::keyClick(&frame, Qt::Key_N, Qt::AltModifier);
        EXPECT_EQ(QApplication::activePopupWidget(),
                  static_cast<QWidget*>(frame.menu_item_action(kProgramMenu, 0)->menu()));
    }
}

// A run from a folder without uir/ (an installed program) shows the icons it carries; a file in
// uir/ that cannot be read is replaced by the built-in one of its name.
TEST(StartUp, IconsInUirAreFoundAndMissingOnesAreBuiltIn)
{
    const auto image = [](const gwl::IconHandle& icon) {
        return icon.is_null() ? QImage() : icon.data()->image;
    };
    const auto built_in = [](const char* name) {
        return QImage(QString(VORAX_SOURCE_DIR "/resources/uir/") + QLatin1String(name));
    };
    SessionRun without;
    ASSERT_TRUE(without.start());
    EXPECT_EQ(without.state.icon_folder, (without.folder.path() / "cwd").string() + "/uir/");
    EXPECT_FALSE(built_in("Bold.ico").isNull());
    EXPECT_EQ(image(without.state.bold_icon), built_in("Bold.ico"));
    EXPECT_EQ(image(without.state.italic_icon), built_in("Italic.ico"));
    EXPECT_EQ(image(without.state.underline_icon), built_in("Underline.ico"));

    SessionRun with;
    std::filesystem::create_directories(with.folder.path() / "cwd" / "uir");
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::black);
    for (const char* name : {"Bold.ico", "Underline.ico"})
        ASSERT_TRUE(icon.save(QString::fromStdString((with.folder.path() / "cwd" / "uir" / name).string()), "PNG"));
    with.folder.write("cwd/uir/Italic.ico", "not an image");
    ASSERT_TRUE(with.start());
    EXPECT_EQ(image(with.state.bold_icon).pixelColor(8, 8), QColor(Qt::black));
    EXPECT_EQ(image(with.state.underline_icon).pixelColor(8, 8), QColor(Qt::black));
    EXPECT_EQ(image(with.state.italic_icon), built_in("Italic.ico"));
}

TEST(StartUp, FrameIsCentredOnTheScreenWithItsMenuBarInReach)
{
    struct Row {
        gwl::WindowRect screen;
        int x, y; // of a 1000 x 720 frame
    };
    const Row rows[] = {
        {{0, 0, 1200, 1600}, 300, 210},  // centred, raised by 30
        {{0, 0, 600, 800}, 0, 0},        // larger than the screen: its top-left corner shows
        {{1600, 40, 760, 1600}, 1900, 40}, // a second screen below a panel: raised up to its top
    };
    for (const Row& row : rows) {
        const gwl::WindowRect placed = centered_frame(row.screen, {5, 5, 720, 1000});
        EXPECT_EQ(std::make_tuple(placed.x, placed.y, placed.height, placed.width),
                  std::make_tuple(row.x, row.y, 720, 1000));
    }
    // A drawing area far larger than the screen does not move the real frame off it.
    gwl::set_default_drawing_area(4000, 3000);
    SessionRun run;
    ASSERT_TRUE(run.start());
    gwl::set_default_drawing_area(0, 0);
    const QRect screen = run.session->frame().screen()->availableGeometry();
    const QRect frame = run.session->frame().frameGeometry();
    const gwl::WindowRect expected = centered_frame(
        {screen.x(), screen.y(), screen.height(), screen.width()}, {0, 0, frame.height(), frame.width()});
    EXPECT_EQ(frame.topLeft(), QPoint(expected.x, expected.y));
    EXPECT_TRUE(screen.contains(frame.topLeft()));
}

// A FIFO named language.dat neither holds the start-up before the menu appears nor the exit.
TEST(StartUp, FifoNamedLanguageDatHoldsNeitherStartUpNorExit)
{
    SessionRun run;
    const auto fifo = run.folder.path() / "cwd" / "language.dat";
    ASSERT_TRUE(testing::make_fifo(fifo));
    const bool started = run.start();
    if (!started)
        testing::release_fifo_reader(fifo); // so that the test ends
    EXPECT_TRUE(started);
    EXPECT_TRUE(run.session->finish(std::chrono::milliseconds(500)));
}

// Every graph drawn counts; the request that would make an eleventh graph ends the run.
TEST(GraphLimit, EleventhRequestGraysMenuShowsMessageAndExits)
{
    SessionRun run;
    int graphs_drawn = 0;
    run.session->program().model_input = [&] {
        ++graphs_drawn;
        ++run.state.graphs_drawn;
        return true;
    };
    // The counter is under test, not the drawing: "BACK to Settings ..." only counts a window.
    run.session->program().graph_command = [&] { ++run.state.graphs_drawn; };
    ASSERT_TRUE(run.start());
    run.state.model.node_count = 3;
    run.state.model.nodes.resize(3);
    run.state.model_loaded = true;

    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(run.choose(7, i == 0 ? 4 : 1)) << i; // NEW Graph, then BACK to Settings
    EXPECT_EQ(run.state.last_graph_unit, 19);
    EXPECT_EQ(run.menu_flags(7, 1), kEnabled);
    EXPECT_EQ(run.menu_flags(7, 2), kEnabled);
    EXPECT_EQ(graphs_drawn, 1);

    // The eleventh request does no work of its own.
    ASSERT_TRUE(run.choose(7, 4));
    EXPECT_EQ(graphs_drawn, 1);
    EXPECT_EQ(run.state.last_graph_unit, 20);

    ASSERT_TRUE(wait_until([&] { return run.info_has_line(" * VORAX Exited"); }));
    // The model was released.
    EXPECT_FALSE(run.state.model_loaded);
    EXPECT_TRUE(run.state.model.nodes.empty());
    EXPECT_EQ(run.menu_flags(7, 0), kGrayed);
    EXPECT_FALSE(run.session->frame().menu_item_action(7, 0)->isEnabled());
    EXPECT_FALSE(run.choose(7, 4));
    ASSERT_FALSE(run.prompter.message_boxes.empty());
    const auto& box = run.prompter.message_boxes.back();
    EXPECT_EQ(box.text, "10 graphs limit is reaches.\rRun a new instance of VORAX");
    EXPECT_EQ(box.caption, "VORAX Message:");
    EXPECT_EQ(box.style & gwl::mb::kIconMask, gwl::mb::kIconInformation);

    // " * VORAX Exited" is written in white.
    auto* info = run.session->frame().text_window(gwl::kInfoUnit);
    QTextCursor cursor(info->document()->lastBlock());
    cursor.movePosition(QTextCursor::NextCharacter);
    EXPECT_EQ(cursor.charFormat().foreground().color(), QColor(Qt::white));
    ASSERT_TRUE(wait_until([&] { return run.session->frame().status_text() == "Finished"; }));
}

TEST(GraphLimit, RequestsAfterTheLimitKeepTheCounterAtTheLimit)
{
    SessionRun run;
    run.session->program().model_input = [] { return true; };
    // No start: the wait loop is not running, so the counter is observed directly.
    run.state.last_graph_unit = 19;
    run.session->program().on_new_graph();
    run.session->program().on_back_to_settings();
    run.session->program().on_new_graph();
    EXPECT_EQ(run.state.last_graph_unit, 20);
}

TEST(GraphNumbering, TitlesOfNewAndBackRequests)
{
    SessionRun run;
    std::vector<std::string> titles;
    run.session->program().model_input = [&] {
        titles.push_back(run.state.graph_title);
        ++run.state.graphs_drawn;
        return true;
    };
    run.session->program().graph_command = [&] {
        titles.push_back(run.state.graph_title);
        ++run.state.graphs_drawn;
    };
    ASSERT_TRUE(run.start());
    run.state.problem_title = "Portal frame";

    ASSERT_TRUE(run.choose(7, 4)); // graph 1
    ASSERT_TRUE(run.choose(7, 1)); // graph 2
    ASSERT_EQ(titles.size(), 2u);
    EXPECT_EQ(titles[1], "2  Portal frame");

    run.state.last_graph_unit = 18;
    ASSERT_TRUE(run.choose(7, 1)); // graph 10
    EXPECT_EQ(titles.back(), "10 Portal frame");
    EXPECT_EQ(Program::numbered_title(3, "A very long title   "), "3  A very long title");
}

// A number is used by a window drawn: a command cancelled on its way gives it back, so that
// any number of cancels neither skips a number nor reaches the limit.
TEST(GraphNumbering, CancelledCommandsKeepTheNumberAndDoNotCountTowardsTheLimit)
{
    SessionRun run;
    bool draw = false;
    std::vector<std::string> titles;
    run.session->program().model_input = [&] {
        titles.push_back(run.state.graph_title);
        run.state.graphs_drawn += draw ? 1 : 0;
        return draw;
    };
    run.session->program().graph_command = [&] { titles.push_back(run.state.graph_title); };
    ASSERT_TRUE(run.start());
    run.state.problem_title = "Portal frame";
    ASSERT_TRUE(run.choose(7, 4));
    EXPECT_EQ(run.state.last_graph_unit, 9);
    EXPECT_EQ(run.menu_flags(7, 1), kDisabled);
    EXPECT_EQ(run.menu_flags(7, 2), kDisabled);
    draw = true;
    ASSERT_TRUE(run.choose(7, 4)); // graph 1
    draw = false;
    for (int i = 0; i < 12; ++i) {
        ASSERT_TRUE(run.choose(7, i % 2 == 0 ? 4 : 1)) << i; // cancelled NEW and BACK
        ASSERT_EQ(run.state.last_graph_unit, 10) << i;
    }
    EXPECT_EQ(titles.back(), "2  Portal frame");
    EXPECT_FALSE(run.info_has_line(" * VORAX Exited"));
}

TEST(Zoom, RefusedUnlessTheFocusIsOnTheLastGraphWhereItPreparesTheZoomTitle)
{
    SessionRun run;
    int graph_runs = 0;
    run.session->program().graph_command = [&] { ++graph_runs; };
    ASSERT_TRUE(run.start());
    run.state.last_graph_unit = 10; // a graph exists, but the info window has the focus
    run.session->program().on_zoom();
    EXPECT_EQ(graph_runs, 0);
    EXPECT_FALSE(run.state.zoom_requested);
    ASSERT_EQ(run.prompter.message_boxes.size(), 1u);
    EXPECT_EQ(run.prompter.message_boxes[0].text, run.state.zoom_refusal_message);
    EXPECT_EQ(run.prompter.message_boxes[0].caption, "Vorax Message");
    EXPECT_EQ(run.prompter.message_boxes[0].style & gwl::mb::kIconMask, gwl::mb::kIconError);

    run.state.problem_title = "Tower";
    // A text window stands in for graph 3 (unit 12) here; what matters is the focus.
    run.session->frame().open_unit(12, gwl::WindowKind::text, "3  Tower");
    run.state.last_graph_unit = 12;
    run.session->program().on_zoom();
    EXPECT_EQ(graph_runs, 1);
    EXPECT_TRUE(run.state.zoom_requested);
    EXPECT_EQ(run.state.zoom_title, "4  Tower:  ZOOM");
    EXPECT_EQ(run.prompter.message_boxes.size(), 1u); // no new box

    // With the focus on an older window the zoom is refused.
    run.session->frame().open_unit(13, gwl::WindowKind::text, "4  Tower:  ZOOM");
    run.session->frame().give_focus(12);
    run.state.last_graph_unit = 13;
    run.session->program().on_zoom();
    EXPECT_EQ(graph_runs, 1);
    EXPECT_EQ(run.prompter.message_boxes.size(), 2u);
}

TEST(Menus, AppendGivesMnemonicAndInsertPlacesMenus)
{
    gwl::Frame frame;
    EXPECT_EQ(frame.menu_count(), 6);
    EXPECT_TRUE(frame.insert_menu_item(7, 0, kEnabled, "EXTRA", gwl::menu_no_action()));
    EXPECT_TRUE(frame.append_menu_item(7, kEnabled, "first", gwl::menu_no_action()));
    EXPECT_TRUE(frame.append_menu_item(7, kEnabled, "Se&cond", gwl::menu_no_action()));
    EXPECT_EQ(frame.menu_item_text(7, 1), "&first");
    EXPECT_EQ(frame.menu_item_text(7, 2), "Se&cond");
    EXPECT_FALSE(frame.append_menu_item(9, kEnabled, "nowhere", gwl::menu_no_action()));
    EXPECT_FALSE(frame.set_menu_item_flags(7, 3, kGrayed));

    // A menu inserted at position 3 pushes the later ones right.
    EXPECT_TRUE(frame.insert_menu_item(3, 0, kEnabled, "MIDDLE", gwl::menu_no_action()));
    EXPECT_EQ(frame.menu_item_text(3, 0), "MIDDLE");
    EXPECT_EQ(frame.menu_item_text(4, 0), "&View");

    // Graying a top-level menu makes all its items unreachable.
    int chosen = 0;
    frame.append_menu_item(8, kEnabled, "count", gwl::menu_routine([&] { ++chosen; }));
    EXPECT_TRUE(frame.choose_menu_item(8, 3));
    EXPECT_TRUE(frame.set_menu_item_flags(8, 0, kGrayed));
    EXPECT_FALSE(frame.choose_menu_item(8, 3));
    EXPECT_EQ(chosen, 1);
}

} // namespace
} // namespace vorax
