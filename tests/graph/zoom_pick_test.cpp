// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <QTimer>

#include "graph/zoom_pick.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/windows/graphics_window.h"
#include "scripted_prompter.h"

namespace vorax {
namespace {

using gwl::GraphicsWindow;
using gwl::MouseEventResult;

StructureModel grid_of_nodes()
{
    // Nodes on a 5 x 5 grid at plot positions 0..4.
    StructureModel m;
    m.node_count = 25;
    m.nodes.resize(25);
    for (int i = 0; i < 25; ++i) {
        m.nodes[static_cast<std::size_t>(i)].plot_x = static_cast<float>(i % 5);
        m.nodes[static_cast<std::size_t>(i)].plot_y = static_cast<float>(i / 5);
    }
    return m;
}

TEST(SelectNodesInRectangle, BothDragDirectionsAndEdgesCount)
{
    StructureModel m = grid_of_nodes();
    const std::vector<bool> all(m.nodes.size(), true);
    const int forward = select_nodes_in_rectangle(m, {{1.0, 1.0}, {2.0, 3.0}}, all);
    std::vector<bool> first;
    for (const Node& n : m.nodes)
        first.push_back(n.selected);
    const int backward = select_nodes_in_rectangle(m, {{2.0, 3.0}, {1.0, 1.0}}, all);
    EXPECT_EQ(forward, 6); // x 1..2, y 1..3, edges included
    EXPECT_EQ(backward, forward);
    for (std::size_t i = 0; i < m.nodes.size(); ++i)
        EXPECT_EQ(m.nodes[i].selected, first[i]) << i;

    EXPECT_EQ(select_nodes_in_rectangle(m, {{0.5, 0.5}, {0.6, 0.6}}, all), 0);
    EXPECT_EQ(select_nodes_in_rectangle(m, {{3.0, 4.0}, {3.0, 4.0}}, all), 1); // a single point
    EXPECT_TRUE(m.nodes[23].selected);
    // A node the last graph did not draw is never picked.
    std::vector<bool> drawn = all;
    drawn[23] = false;
    EXPECT_EQ(select_nodes_in_rectangle(m, {{3.0, 4.0}, {3.0, 4.0}}, drawn), 0);
    EXPECT_EQ(select_nodes_in_rectangle(m, {{0, 0}, {4, 4}}, {true, true}), 2);
}

testing::ScriptedPrompter::MouseScript act(std::function<void(QWidget*)> events)
{
    return testing::ScriptedPrompter::send_events(std::move(events));
}

class ZoomPick : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(220, 140);
        window.show();
        gwl::DrawSurface& s = window.surface();
        s.set_window(true, 0.0, 0.0, 199.0, 99.0); // one window unit per pixel, y up
        s.set_bk_color_rgb(kWhite);
        s.clear_screen(0);
        s.set_color_rgb(kBlack);
        s.move_to_w(10, 10);
        s.line_to_w(150, 80);
    }

    ZoomWindow area{0.0, 199.0, 0.0, 99.0, false};
    GraphicsWindow window{gwl::DrawingAreaSize{200, 100}};
    testing::ScriptedPrompter prompter;
};

TEST_F(ZoomPick, DragReturnsPressAndReleasePointsAndRestoresThePicture)
{
    const QImage before = window.surface().image_copy();
    prompter.mouse_scripts.push_back(act([](QWidget* w) {
        QTest::mousePress(w, Qt::LeftButton, {}, QPoint(20, 30));
    }));
    prompter.mouse_scripts.push_back(act([](QWidget* w) { QTest::mouseMove(w, QPoint(60, 50)); }));
    QImage resting; // while the pointer rests after the move, before the release
    prompter.mouse_scripts.push_back(act([&](QWidget* w) {
        resting = window.surface().image_copy();
        QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(80, 70));
    }));
    const auto band = pick_zoom_rectangle(window, area);
    EXPECT_NE(resting, before); // the band is still shown
    ASSERT_TRUE(band.has_value());
    // Pixel (20, 30) of a 100-pixel-high area with y up is window point (20, 69).
    EXPECT_DOUBLE_EQ(band->p0.x, 20.0);
    EXPECT_DOUBLE_EQ(band->p0.y, 69.0);
    EXPECT_DOUBLE_EQ(band->p1.x, 80.0);
    EXPECT_DOUBLE_EQ(band->p1.y, 29.0);
    EXPECT_EQ(prompter.mouse_waits, 3);
    EXPECT_EQ(window.surface().image_copy(), before);
}

TEST_F(ZoomPick, RightButtonAndDoubleClicksAreIgnored)
{
    prompter.mouse_scripts.push_back(act([](QWidget* w) {
        QTest::mousePress(w, Qt::RightButton, {}, QPoint(5, 5));
        QTest::mouseRelease(w, Qt::RightButton, {}, QPoint(5, 5));
        QTest::mousePress(w, Qt::LeftButton, {}, QPoint(30, 30));
    }));
    prompter.mouse_scripts.push_back(act([](QWidget* w) {
        QTest::mouseDClick(w, Qt::RightButton, {}, QPoint(7, 7));
        QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(40, 40));
    }));
    const auto band = pick_zoom_rectangle(window, area);
    ASSERT_TRUE(band.has_value());
    EXPECT_DOUBLE_EQ(band->p0.x, 30.0);
    EXPECT_DOUBLE_EQ(band->p1.x, 40.0);
}

TEST_F(ZoomPick, AWindowClosedDuringTheWaitPicksNothing)
{
    // A graph window closed by the user is deleted; its wait ends with -1.
    auto* doomed = new GraphicsWindow(gwl::DrawingAreaSize{200, 100});
    doomed->show();
    prompter.mouse_scripts.push_back([](GraphicsWindow& w, int mask) {
        QTimer::singleShot(0, [&w] { delete &w; });
        return w.wait_on_mouse_event(mask);
    });
    EXPECT_FALSE(pick_zoom_rectangle(*doomed, area).has_value());
}

TEST_F(ZoomPick, BandIsDottedAndErasedInWhite)
{
    gwl::DrawSurface& s = window.surface();
    const ZoomRectangle band{{20, 20}, {120, 60}};
    draw_rubber_band(s, band);
    const QImage drawn = s.image_copy();
    // Along the top edge (y = 60 is pixel row 39) black and white alternate.
    int black = 0;
    int white = 0;
    for (int x = 30; x < 60; ++x)
        (drawn.pixel(x, 39) & 0xFFFFFF) == 0 ? ++black : ++white;
    EXPECT_GT(black, 10);
    EXPECT_GT(white, 10);

    erase_rubber_band(s, band);
    const QImage erased = s.image_copy();
    for (int x = 30; x < 60; ++x)
        EXPECT_EQ(erased.pixel(x, 39) & 0xFFFFFF, 0xFFFFFFu) << x;
    // Solid lines again afterwards, in the colour that was in force.
    s.move_to_w(20, 10);
    s.line_to_w(60, 10);
    const QImage line = s.image_copy();
    for (int x = 20; x <= 60; ++x)
        EXPECT_EQ(line.pixel(x, 89) & 0xFFFFFF, 0u) << x;
}

} // namespace
} // namespace vorax
