// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <functional>
#include <new>
#include <string>

#include "core/program_exit.h"
#include "gwl/platform/ui_thread.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/surface/drawing_area.h"
#include "gwl/windows/frame.h"
#include "gwl/windows/graphics_window.h"
#include "gwl/windows/layer.h"
#include "gwl/windows/text_window.h"
#include "surface_test_support.h"
#include "test_helpers.h"

namespace vorax::gwl {
namespace {

TEST(FrameUnits, GraphicsUnitGetsASurfaceAndIsActive)
{
    open_ui_calls();
    set_default_drawing_area(640, 480);
    Frame frame;
    frame.show();
    Layer layer(frame);
    ASSERT_TRUE(layer.open_unit(9, WindowKind::text, "user", "VORAX: Info"));
    ASSERT_TRUE(layer.open_unit(10, WindowKind::graphics, "user", "(1) Frame"));
    EXPECT_EQ(layer.active_window(), 10);
    EXPECT_EQ(layer.inquire_focus(), 10);

    WindowConfig config;
    ASSERT_TRUE(layer.get_window_config(config));
    EXPECT_EQ(config.pixels_x, 640);
    EXPECT_EQ(config.pixels_y, 480);
    EXPECT_GT(config.text_rows, 0);
    EXPECT_GT(config.text_columns, 0);
    EXPECT_EQ(config.title, "(1) Frame");

    DrawSurface* surface = layer.active_surface();
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->width(), 640);

    // Re-opening an open unit keeps its window and surface and makes it active again.
    layer.set_active_window(9);
    EXPECT_EQ(layer.active_surface(), nullptr);
    ASSERT_TRUE(layer.open_unit(10, WindowKind::graphics, "user", "(1) Frame"));
    EXPECT_EQ(layer.active_surface(), surface);
    // A unit cannot change its kind.
    EXPECT_FALSE(layer.open_unit(10, WindowKind::text, "user", "other"));
    set_default_drawing_area(0, 0);
}

TEST(FrameUnits, ClosedGraphWindowKeepsItsSurfaceForDrawing)
{
    open_ui_calls();
    set_default_drawing_area(320, 200);
    Frame frame;
    frame.show();
    Layer layer(frame);
    ASSERT_TRUE(layer.open_unit(11, WindowKind::graphics, "user", "(2) Frame"));
    DrawSurface* surface = layer.active_surface();
    frame.sub_window(11)->close();
    ASSERT_TRUE(vorax::testing::wait_until([&] { return !frame.unit_is_open(11); }));
    EXPECT_EQ(frame.graphics_window(11), nullptr);
    EXPECT_EQ(layer.active_surface(), surface);
    surface->set_color_rgb(0x0000FF);
    surface->move_to_w(0, 0);
    EXPECT_NE(surface->line_to_w(10, 10), 0);
    set_default_drawing_area(0, 0);
}

TEST(FrameUnits, NewGraphWindowFillsTheWindowAreaAndShowsTheWholeDrawingArea)
{
    set_default_drawing_area(1600, 1200);
    Frame frame;
    frame.show();
    ASSERT_TRUE(frame.open_unit(10, WindowKind::graphics, "1  FRAME"));
    set_default_drawing_area(0, 0);
    EXPECT_EQ(frame.sub_window(10)->geometry(), frame.findChild<QMdiArea*>()->viewport()->rect());
    GraphicsWindow* window = frame.graphics_window(10);
    ASSERT_TRUE(window->size_to_fit());
    // The marks in the area's corners are on screen, with paper between them.
    gwl::testing::prepare_paper(window->surface());
    window->surface().rectangle_w(kFillInterior, 0, 0, 3, 3);
    window->surface().rectangle_w(kFillInterior, 1596, 1196, 1599, 1199);
    const QImage shown = window->viewport()->grab().toImage();
    const QSize corner = window->fitted_view().shown() - QSize(1, 1);
    EXPECT_TRUE(QRect(QPoint(0, 0), shown.size()).contains(QRect(QPoint(0, 0), corner)));
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(corner.width(), corner.height()), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(corner.width() / 2, corner.height() / 2), qRgb(255, 255, 255));
}

// What long work throws reaches the caller (the memory running out in the model check or the
// drawing, the end of the program after a font error), and the status line, which showed the
// progress meanwhile, gets its own text back whichever way the work ends.
TEST(FrameUnits, LongWorkPassesOnWhatItThrowsAndGivesTheStatusLineBack)
{
    open_ui_calls();
    Frame frame;
    frame.show();
    Layer layer(frame);
    frame.set_status_text("Running");
    Layer::set_progress_delay(0);
    struct Row {
        const char* name;
        std::function<void()> end;
        const char* caught;
    };
    const Row rows[] = {
        {"done", [] {}, ""},
        {"out of memory", [] { throw std::bad_alloc(); }, "out of memory"},
        {"font error", [&layer] { layer.exit_program(0); }, "program exit"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string shown;
        std::string caught;
        try {
            layer.run_long(
                [&] {
                    for (int i = 0; i < 500 && shown != "Drawing … 50%"; ++i) {
                        QThread::msleep(10);
                        layer.run_on_ui([&] { shown = frame.status_text(); });
                    }
                    row.end();
                },
                [] { return std::string("Drawing … 50%"); });
        } catch (const std::bad_alloc&) {
            caught = "out of memory";
        } catch (const ProgramExit&) {
            caught = "program exit";
        }
        EXPECT_EQ(shown, "Drawing … 50%");
        EXPECT_EQ(caught, row.caught);
        EXPECT_EQ(frame.status_text(), "Running");
    }
    Layer::set_progress_delay(Layer::kProgressDelayMs);
}

TEST(FrameUnits, MouseWaitShowsPendingNoteInTheStatusLine)
{
    open_ui_calls();
    set_default_drawing_area(320, 200);
    Frame frame;
    frame.show();
    frame.set_status_text("Running");
    ASSERT_TRUE(frame.open_unit(10, WindowKind::graphics, "(1) Beam"));
    GraphicsWindow* window = frame.graphics_window(10);
    ASSERT_NE(window, nullptr);
    std::string seen;
    QTimer::singleShot(0, window, [&] {
        seen = frame.status_text();
        QTest::mouseClick(window->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    });
    EXPECT_EQ(window->wait_on_mouse_event(mouse::kLeftDown).event, mouse::kLeftDown);
    EXPECT_EQ(seen, "Mouse input pending in (1) Beam");
    EXPECT_EQ(frame.status_text(), "Running");
    set_default_drawing_area(0, 0);
}

} // namespace
} // namespace vorax::gwl
