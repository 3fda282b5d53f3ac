// SPDX-License-Identifier: GPL-3.0-or-later
// The edit-look loop in the running program: the model file changed on disk the ways editors
// change it, the graph windows drawn again in place, the info block of a reload, a file that
// does not read or is gone, and the marks of what changed.

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/model_reload.h"
#include "app/program.h"
#include "graph/change_marks.h"
#include "gwl/platform/file_watch.h"
#include "gwl/platform/system.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/surface/drawing_area.h"
#include "gwl/windows/frame.h"
#include "gwl/windows/graphics_window.h"
#include "gwl/windows/menus.h"
#include "pixels.h"
#include "session_fixture.h"

namespace vorax {
namespace {

using testing::Pixels;
using testing::ScriptedPrompter;
using testing::SessionRun;
using testing::wait_until;

using testing::row_model;

// The ways editors save a file.
enum class Save { in_place, rename_over, delete_and_make, truncate_then_write };

void save(const std::filesystem::path& file, const std::string& content, Save how)
{
    auto write = [](const std::filesystem::path& to, const std::string& text,
                    std::ios::openmode mode = std::ios::trunc) {
        std::ofstream out(to, std::ios::binary | mode);
        out << text;
    };
    switch (how) {
    case Save::in_place: write(file, content); break;
    case Save::rename_over: {
        const auto temporary = file.parent_path() / (".#" + file.filename().string() + ".tmp");
        write(temporary, content);
        std::filesystem::rename(temporary, file);
        break;
    }
    case Save::delete_and_make:
        std::filesystem::remove(file);
        QTest::qWait(20);
        write(file, content);
        break;
    case Save::truncate_then_write:
        write(file, "");
        QTest::qWait(20);
        write(file, content, std::ios::app);
        break;
    }
}

class ReloadFlow : public ::testing::Test {
protected:
    void SetUp() override
    {
        gwl::set_default_drawing_area(600, 400);
        ASSERT_TRUE(run.start());
    }

    void draw_first_graph(const std::string& text)
    {
        model = run.draw_model("row.dat", text);
        ASSERT_FALSE(model.empty());
        reload().watch().set_settle_ms(80);
    }

    ModelReload& reload() { return run.session->reload(); }
    gwl::GraphicsWindow* window(int unit) { return run.session->frame().graphics_window(unit); }
    std::string status() { return run.session->frame().status_note(); }
    bool press_f5() { return run.choose(gwl::kFileMenu, reload().menu_items().reload); }
    // Waits until the watch has reloaded `count` times in all, then a little longer for more.
    bool reloaded(int count)
    {
        const bool reached = wait_until([&] { return reload().reloads() >= count; });
        QTest::qWait(250);
        return reached && reload().reloads() == count;
    }
    int lines_with(const std::string& start)
    {
        int n = 0;
        for (const std::string& line : run.info_lines())
            n += line.rfind(start, 0) == 0;
        return n;
    }
    int mark_pixels(int unit) { return Pixels(window(unit)->surface()).count(kMarkColor); }

    SessionRun run;
    std::filesystem::path model;
};

TEST_F(ReloadFlow, ReloadRedrawsTheSameWindowAndWritesOneBlock)
{
    draw_first_graph(row_model(5));
    const std::string title = run.session->frame().unit_title(10);
    gwl::GraphicsWindow* before = window(10);
    save(model, row_model(6, 3, "ROW AGAIN"), Save::in_place);
    ASSERT_TRUE(press_f5());

    EXPECT_EQ(window(10), before);
    EXPECT_EQ(run.session->frame().unit_title(10), title);
    EXPECT_EQ(window(11), nullptr);
    EXPECT_EQ(run.state.last_graph_unit, 10); // no graph number used
    EXPECT_EQ(run.state.model.node_count, 6);
    EXPECT_TRUE(run.info_has_line(" ROW AGAIN"));
    EXPECT_TRUE(run.info_has_line(
        " * Reloaded: 6 nodes, 5 elements; 1 node added, 1 node moved, 1 element added, title changed"));
    EXPECT_EQ(status(), "Watching row.dat");
    EXPECT_EQ(run.session->frame().status_text(), "Running"); // the program's own state stays
    EXPECT_GT(mark_pixels(10), 0);
}

TEST_F(ReloadFlow, AModelWithFindingsEndsTheBlockWithTheCheckLine)
{
    draw_first_graph(row_model(5));
    std::string coincident = row_model(5);
    coincident.replace(coincident.find("5 4.0 0.0"), 9, "5 3.0 0.0"); // node 5 on node 4
    save(model, coincident, Save::in_place);
    ASSERT_TRUE(press_f5());
    const std::vector<std::string> lines = run.info_lines();
    const auto reloaded = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind(" * Reloaded: ", 0) == 0;
    });
    ASSERT_NE(reloaded, lines.end());
    ASSERT_NE(reloaded + 1, lines.end());
    EXPECT_EQ((reloaded + 1)->rfind(" * Model check: 2 warnings", 0), 0u) << *(reloaded + 1);
}

struct EditorCase {
    const char* name;
    Save how;
};

class EditorSaves : public ReloadFlow, public ::testing::WithParamInterface<EditorCase> {};

TEST_P(EditorSaves, AreSeenAndGiveOneReloadOfTheNewContent)
{
    draw_first_graph(row_model(5));
    save(model, row_model(5, 4), GetParam().how);
    ASSERT_TRUE(reloaded(1));
    EXPECT_EQ(run.state.model.node(4).coords[1], 2.0f);
    EXPECT_TRUE(run.info_has_line(" * Reloaded: 5 nodes, 4 elements; 1 node moved"));
    // The watch goes on after the save, whichever way it came.
    save(model, row_model(5, 2), GetParam().how);
    ASSERT_TRUE(reloaded(2));
    EXPECT_EQ(run.state.model.node(2).coords[1], 2.0f);
}

INSTANTIATE_TEST_SUITE_P(Editors, EditorSaves,
                         ::testing::Values(EditorCase{"InPlace", Save::in_place},
                                           EditorCase{"RenameOver", Save::rename_over},
                                           EditorCase{"DeleteAndMake", Save::delete_and_make},
                                           EditorCase{"TruncateThenWrite", Save::truncate_then_write}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReloadFlow, AFileRenamedOverIsWatchedForWritesInPlace)
{
    // After an editor renamed a new file over the old one, the next editor writes in place: the
    // new file is watched itself, not only through its folder, which hears no write.
    draw_first_graph(row_model(5));
    save(model, row_model(5, 4), Save::rename_over);
    ASSERT_TRUE(reloaded(1));
    save(model, row_model(5, 2), Save::in_place);
    ASSERT_TRUE(reloaded(2));
    EXPECT_EQ(run.state.model.node(2).coords[1], 2.0f);
}

TEST_F(ReloadFlow, FiftyQuickWritesGiveOneReloadOfTheLast)
{
    draw_first_graph(row_model(5));
    for (int i = 1; i <= 50; ++i) {
        save(model, row_model(5 + i % 7, 0, "WRITE " + std::to_string(i)), Save::in_place);
        QTest::qWait(5);
    }
    ASSERT_TRUE(reloaded(1));
    EXPECT_EQ(run.state.model.problem_title, "WRITE 50");
    EXPECT_EQ(lines_with(" * Reloaded: "), 1);
}

TEST_F(ReloadFlow, AHalfWrittenFileChangesNothingAndSaysWhy)
{
    draw_first_graph(row_model(5));
    const Pixels picture(window(10)->surface());
    const std::string full = row_model(5, 3);
    save(model, full.substr(0, full.find("ELEMENTS")), Save::in_place);
    ASSERT_TRUE(wait_until([&] { return status().find("showing the version read at") != std::string::npos; }));
    QTest::qWait(200);
    EXPECT_EQ(reload().reloads(), 0);
    EXPECT_EQ(run.state.model.node(3).coords[1], 0.0f);
    EXPECT_TRUE(Pixels(window(10)->surface()) == picture);
    EXPECT_EQ(run.prompter.message_boxes.size(), 0u);
    EXPECT_EQ(status().rfind("row.dat line ", 0), 0u) << status();
    EXPECT_EQ(lines_with(" row.dat line "), 1);
    EXPECT_EQ(status().substr(status().size() - 8), run.state.model_read_time);
    // The next readable version reloads as usual.
    save(model, full, Save::in_place);
    ASSERT_TRUE(reloaded(1));
    EXPECT_EQ(run.state.model.node(3).coords[1], 2.0f);
}

TEST_F(ReloadFlow, AGoneFileIsSaidOnceAndReloadedWhenBack)
{
    draw_first_graph(row_model(5));
    std::filesystem::remove(model);
    ASSERT_TRUE(wait_until([&] { return lines_with(" row.dat: the file is gone") == 1; }));
    ASSERT_TRUE(press_f5());
    EXPECT_EQ(lines_with(" row.dat: the file is gone"), 1);
    EXPECT_NE(window(10), nullptr);
    save(model, row_model(7), Save::in_place);
    ASSERT_TRUE(reloaded(1));
    EXPECT_EQ(run.state.model.node_count, 7);
}

TEST_F(ReloadFlow, WindowsKeepTheirViewAndAZoomWindowItsNodes)
{
    gwl::set_default_drawing_area(1500, 1200);
    draw_first_graph(row_model(9));
    // Graph 2: nodes 6..9 of the row, picked as the zoom picks them.
    run.state.settings.current_settings.all_nodes = false;
    for (int i = 1; i <= 9; ++i)
        run.state.model.node(i).selected = i >= 6;
    remember_drawn_graph(run.state, 10, 1);
    gwl::GraphicsWindow* w = window(10);
    w->set_size_to_fit(false);
    w->horizontalScrollBar()->setValue(123);
    w->verticalScrollBar()->setValue(45);
    const gwl::PixelPoint scroll = w->scroll_position();

    save(model, row_model(7, 6), Save::in_place); // nodes 8 and 9 gone
    ASSERT_TRUE(press_f5());
    EXPECT_EQ(window(10), w);
    EXPECT_FALSE(w->size_to_fit());
    EXPECT_EQ(w->scroll_position().x, scroll.x);
    EXPECT_EQ(w->scroll_position().y, scroll.y);
    ASSERT_EQ(run.state.drawn_graphs.size(), 1u);
    EXPECT_EQ(run.state.drawn_graphs[0].nodes, (std::vector<std::int32_t>{6, 7}));
    EXPECT_EQ(run.state.drawn_nodes,
              (std::vector<bool>{false, false, false, false, false, true, true}));
}

TEST_F(ReloadFlow, PointingGivesTheLinesOfTheNewFile)
{
    draw_first_graph(row_model(3));
    save(model, "// a comment line\n// and another\n" + row_model(3), Save::in_place);
    ASSERT_TRUE(press_f5());
    gwl::GraphicsWindow* w = window(10);
    w->set_size_to_fit(false);
    const gwl::PixelPoint pixel
        = w->surface().to_pixel({run.state.model.node(2).plot_x, run.state.model.node(2).plot_y});
    w->scroll_into_view({pixel.x - 5, pixel.y - 5, 11, 11});
    const QPoint shown = w->viewport_rect_of({pixel.x, pixel.y, 1, 1}).center();
    QTest::mouseMove(w->viewport(), shown - QPoint(2, 1));
    QTest::mouseMove(w->viewport(), shown);
    EXPECT_NE(w->pointed_text().find("Node 2"), std::string::npos) << w->pointed_text();
    EXPECT_NE(w->pointed_text().find("(line 13)"), std::string::npos) << w->pointed_text();
}

TEST_F(ReloadFlow, WithoutChangesOrWithShowChangesOffThePictureIsTheOneDrawn)
{
    draw_first_graph(row_model(5));
    const Pixels drawn(window(10)->surface());
    ASSERT_TRUE(press_f5()); // unchanged
    EXPECT_TRUE(run.info_has_line(" * Reloaded: 5 nodes, 4 elements; unchanged"));
    EXPECT_TRUE(Pixels(window(10)->surface()) == drawn);

    save(model, row_model(5, 3), Save::in_place);
    ASSERT_TRUE(press_f5());
    EXPECT_GT(mark_pixels(10), 0);
    const int show = reload().menu_items().show_changes;
    EXPECT_NE(run.menu_flags(gwl::kViewMenu, show) & gwl::menu_flag::kChecked, 0u);
    ASSERT_TRUE(run.choose(gwl::kViewMenu, show));
    EXPECT_EQ(mark_pixels(10), 0);
    EXPECT_EQ(run.menu_flags(gwl::kViewMenu, show) & gwl::menu_flag::kChecked, 0u);
    ASSERT_TRUE(run.choose(gwl::kViewMenu, show));
    EXPECT_GT(mark_pixels(10), 0);
}

TEST_F(ReloadFlow, MarksSitOnTheMovedNodeTheNewElementAndTheRemovedLine)
{
    draw_first_graph(row_model(5));
    gwl::DrawSurface& surface = window(10)->surface();
    const auto pixel_of = [&](double x, double y) { return surface.to_pixel({x, y}); };
    // The old element 4 ran from node 4 to node 5 at (1, 0)..(2, 0) centred.
    save(model, row_model(4, 2), Save::in_place);
    ASSERT_TRUE(press_f5());
    const Pixels marked(surface);
    const Node& moved = run.state.model.node(2);
    const gwl::PixelPoint ring = pixel_of(moved.plot_x, moved.plot_y);
    EXPECT_GT(marked.count(kMarkColor, ring.x - 12, ring.y - 12, ring.x + 12, ring.y + 12), 8);
    // Where element 4 ran, beyond node 4: its dashed line.
    const Node& four = run.state.model.node(4);
    const gwl::PixelPoint beyond = pixel_of(four.plot_x, four.plot_y);
    EXPECT_GT(marked.count(kMarkColor, beyond.x + 20, beyond.y - 2, beyond.x + 60, beyond.y + 2), 6)
        << "the removed element's dashed line";
    // Node 3 has not changed: no ring there.
    const Node& three = run.state.model.node(3);
    const gwl::PixelPoint still = pixel_of(three.plot_x, three.plot_y);
    EXPECT_EQ(marked.count(kMarkColor, still.x - 12, still.y - 12, still.x + 12, still.y + 12), 0);

    // Element 4 and node 5 back: a band under the element's line, a ring on the node.
    save(model, row_model(5), Save::in_place);
    ASSERT_TRUE(press_f5());
    const Pixels again(surface);
    const Node& five = run.state.model.node(5);
    const Node& four_now = run.state.model.node(4);
    const gwl::PixelPoint middle
        = pixel_of((four_now.plot_x + five.plot_x) / 2, (four_now.plot_y + five.plot_y) / 2);
    EXPECT_GT(again.count(kMarkColor, middle.x - 3, middle.y - 3, middle.x + 3, middle.y + 3), 12);
    EXPECT_EQ(again.at(middle.x, middle.y), run.state.settings.current_settings.colors[0])
        << "the element's own line stays on top of its band";
    const gwl::PixelPoint ring5 = pixel_of(five.plot_x, five.plot_y);
    EXPECT_GT(again.count(kMarkColor, ring5.x - 12, ring5.y - 12, ring5.x + 12, ring5.y + 12), 8);
}

TEST_F(ReloadFlow, WatchModelFileIsRememberedAndOffStopsTheWatch)
{
    draw_first_graph(row_model(5));
    const int watch = reload().menu_items().watch;
    EXPECT_EQ(run.menu_text(gwl::kFileMenu, watch), "Watch Model File");
    EXPECT_NE(run.menu_flags(gwl::kFileMenu, watch) & gwl::menu_flag::kChecked, 0u);
    ASSERT_TRUE(run.choose(gwl::kFileMenu, watch));
    EXPECT_FALSE(gwl::read_preference("watchModelFile", true));
    save(model, row_model(5, 3), Save::in_place);
    QTest::qWait(400);
    EXPECT_EQ(reload().reloads(), 0);
    ASSERT_TRUE(run.choose(gwl::kFileMenu, watch));
    EXPECT_TRUE(gwl::read_preference("watchModelFile", false));
    EXPECT_EQ(status(), "Watching row.dat");
}

TEST_F(ReloadFlow, MarkItemsBringsTheMarksIntoView)
{
    gwl::set_default_drawing_area(3000, 2000);
    draw_first_graph(row_model(9));
    gwl::GraphicsWindow* w = window(10);
    w->set_size_to_fit(false);
    w->horizontalScrollBar()->setValue(0);
    w->verticalScrollBar()->setValue(0);
    reload().mark_items({{9}, {}, {}}, true);
    const Node& nine = run.state.model.node(9);
    const gwl::PixelPoint p = w->surface().to_pixel({nine.plot_x, nine.plot_y});
    EXPECT_TRUE(w->viewport()->rect().contains(w->viewport_rect_of({p.x, p.y, 1, 1})));
    EXPECT_GT(mark_pixels(10), 0);
}

} // namespace
} // namespace vorax
