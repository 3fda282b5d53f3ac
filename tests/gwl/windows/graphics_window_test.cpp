// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "gwl/prompts.h"
#include "gwl/surface/drawing_area.h"
#include "gwl/windows/graphics_window.h"
#include "surface_test_support.h"
#include "test_helpers.h"

namespace vorax::gwl {
namespace {

using testing::prepare_paper;

QMouseEvent* mouse_event(QEvent::Type type, QPoint at, Qt::MouseButton button,
                         Qt::MouseButtons held, Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    return new QMouseEvent(type, QPointF(at), QPointF(at), button, held, keys);
}

// Posts the events to the window's viewport as soon as the event loop runs, that is from
// inside the wait.
void post_soon(GraphicsWindow& window, std::vector<QMouseEvent*> events)
{
    QTimer::singleShot(0, &window, [&window, events] {
        for (QMouseEvent* event : events)
            QCoreApplication::postEvent(window.viewport(), event);
    });
}

// Delivers an event at once (sendEvent leaves the event to the caller).
void send_now(GraphicsWindow& window, QMouseEvent* event)
{
    const std::unique_ptr<QMouseEvent> owned(event);
    QCoreApplication::sendEvent(window.viewport(), owned.get());
}

QMouseEvent* press(QPoint at, Qt::MouseButton button = Qt::LeftButton,
                   Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    return mouse_event(QEvent::MouseButtonPress, at, button, button, keys);
}
QMouseEvent* release(QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    return mouse_event(QEvent::MouseButtonRelease, at, button, Qt::NoButton);
}
QMouseEvent* move(QPoint at, Qt::MouseButtons held = Qt::NoButton)
{
    return mouse_event(QEvent::MouseMove, at, Qt::NoButton, held);
}
QMouseEvent* double_click(QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    return mouse_event(QEvent::MouseButtonDblClick, at, button, button);
}

class WindowTest : public ::testing::Test {
protected:
    WindowTest() : window({400, 300})
    {
        window.setWindowTitle(QStringLiteral("1 Plane frame"));
        window.resize(220, 170);
        window.show();
    }
    GraphicsWindow window;
};

TEST_F(WindowTest, MaskWithoutEventBitsReturnsAtOnceAndTheQtPrompterWaitsOnTheWindow)
{
    for (int mask : {0, 128, 256, -128}) {
        const MouseEventResult result = window.wait_on_mouse_event(mask);
        EXPECT_EQ(result.event, -1) << mask;
    }
    QtPrompter prompter;
    EXPECT_EQ(prompter.wait_mouse(window, 0).event, -1);
    post_soon(window, {press({3, 4})});
    EXPECT_EQ(prompter.wait_mouse(window, 1).event, 1);
}

TEST_F(WindowTest, ReleaseAndMoveDuringADragWithTheKeyState)
{
    post_soon(window, {release({10, 20})});
    MouseEventResult result = window.wait_on_mouse_event(67);
    EXPECT_EQ(result.event, 2);
    EXPECT_EQ(result.x, 10);
    EXPECT_EQ(result.y, 20);
    EXPECT_EQ(result.key_state, 0);

    post_soon(window, {move({30, 40}, Qt::LeftButton)});
    result = window.wait_on_mouse_event(67);
    EXPECT_EQ(result.event, 64);
    EXPECT_EQ(result.x, 30);
    EXPECT_EQ(result.key_state, mouse::kKeyLeftButton);

    post_soon(window, {mouse_event(QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton,
                                   Qt::LeftButton | Qt::MiddleButton,
                                   Qt::ShiftModifier | Qt::ControlModifier)});
    EXPECT_EQ(window.wait_on_mouse_event(1).key_state, 1 | 4 | 8 | 16);
}

TEST_F(WindowTest, OnlyArmedEventsEndTheWait)
{
    // Right button and double clicks do not end a wait for the left button.
    post_soon(window, {press({5, 5}, Qt::RightButton), release({5, 5}, Qt::RightButton),
                       double_click({6, 6}), move({7, 7}), press({8, 9})});
    const MouseEventResult result = window.wait_on_mouse_event(mouse::kLeftDown);
    EXPECT_EQ(result.event, 1);
    EXPECT_EQ(result.x, 8);
    EXPECT_EQ(result.y, 9);
    // The right button counts when armed.
    post_soon(window, {press({5, 5}, Qt::RightButton)});
    EXPECT_EQ(window.wait_on_mouse_event(mouse::kRightDown | mouse::kLeftDown).event, 8);
    post_soon(window, {double_click({5, 5}, Qt::RightButton)});
    EXPECT_EQ(window.wait_on_mouse_event(mouse::kRightDoubleClick).event, 32);
}

TEST_F(WindowTest, EventsBeforeTheCallDoNotCountAndTheLowestBitWinsWhenSeveralHappened)
{
    send_now(window, press({1, 1}));
    post_soon(window, {move({2, 2})});
    EXPECT_EQ(window.wait_on_mouse_event(mouse::kLeftDown | mouse::kMove).event, 64);
    // Both events arrive in one go, before the wait gets back control.
    post_soon(window, {move({3, 3}, Qt::LeftButton), release({4, 4})});
    const MouseEventResult result = window.wait_on_mouse_event(67);
    EXPECT_EQ(result.event, 2);
    EXPECT_EQ(result.x, 4);
}

TEST_F(WindowTest, ScrolledPositionsAddTheScrollOffsets)
{
    ASSERT_GT(window.horizontalScrollBar()->maximum(), 30);
    ASSERT_GT(window.verticalScrollBar()->maximum(), 20);
    window.horizontalScrollBar()->setValue(30);
    window.verticalScrollBar()->setValue(20);
    EXPECT_EQ(window.drawing_pixel_at({5, 7}), (PixelPoint{35, 27}));
    post_soon(window, {press({5, 7})});
    const MouseEventResult result = window.wait_on_mouse_event(1);
    EXPECT_EQ(result.x, 35);
    EXPECT_EQ(result.y, 27);
}

TEST_F(WindowTest, FittedPositionsAreScaledToTheDrawingArea)
{
    window.set_size_to_fit(true);
    EXPECT_TRUE(window.size_to_fit());
    EXPECT_EQ(window.horizontalScrollBar()->maximum(), 0);
    const QSize view = window.viewport()->size();
    ASSERT_LT(view.width(), 400);
    // One scale on both axes: the 400 x 300 area keeps its proportions and fills the width.
    const QSize shown = window.fitted_view().shown();
    EXPECT_EQ(shown.width(), view.width());
    EXPECT_EQ(shown.height(), view.width() * 300 / 400);
    struct Case {
        QPoint at;
        PixelPoint expected; // floor(at * area / shown)
    };
    const Case cases[] = {
        {{0, 0}, {0, 0}},
        {{shown.width() / 2, shown.height() / 2},
         {shown.width() / 2 * 400 / shown.width(), shown.height() / 2 * 300 / shown.height()}},
        {{shown.width() - 1, shown.height() - 1},
         {(shown.width() - 1) * 400 / shown.width(), (shown.height() - 1) * 300 / shown.height()}},
    };
    for (const Case& c : cases) {
        post_soon(window, {press(c.at)});
        const MouseEventResult result = window.wait_on_mouse_event(1);
        EXPECT_EQ(result.x, c.expected.x) << c.at.x();
        EXPECT_EQ(result.y, c.expected.y) << c.at.y();
    }
    // The far corner of the picture is within a pixel of the far corner of the area.
    EXPECT_GE(window.drawing_pixel_at(QPointF(shown.width() - 1, shown.height() - 1)).x, 398);
    window.set_size_to_fit(false);
    EXPECT_GT(window.horizontalScrollBar()->maximum(), 0);
}

TEST_F(WindowTest, StatusLineShowsTheWaitAndGetsItsTextBack)
{
    std::vector<std::string> shown;
    std::string line = "Running";
    GraphicsWindow::set_status_line_hook([&](const std::string& text) {
        shown.push_back(text);
        return std::exchange(line, text);
    });
    post_soon(window, {press({1, 1})});
    window.wait_on_mouse_event(1);
    GraphicsWindow::set_status_line_hook(nullptr);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "Mouse input pending in 1 Plane frame");
    EXPECT_EQ(line, "Running");
}

TEST_F(WindowTest, WaitFromAnotherThread)
{
    std::atomic<bool> armed{false};
    GraphicsWindow::set_status_line_hook([&](const std::string& text) {
        if (text.rfind("Mouse input pending", 0) == 0)
            armed = true;
        return std::string("Running");
    });
    MouseEventResult result;
    std::thread program([&] { result = window.wait_on_mouse_event(67); });
    while (!armed)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    send_now(window, release({12, 13}));
    program.join();
    QCoreApplication::processEvents();
    GraphicsWindow::set_status_line_hook(nullptr);
    EXPECT_EQ(result.event, 2);
    EXPECT_EQ(result.x, 12);
}

TEST(GraphicsWindowLife, ClosingTheWindowEndsTheWait)
{
    auto* window = new GraphicsWindow({200, 100});
    window->show();
    const std::shared_ptr<DrawSurface> surface = window->shared_surface();
    QTimer::singleShot(0, [window] { delete window; });
    const MouseEventResult result = window->wait_on_mouse_event(1);
    EXPECT_EQ(result.event, -1);
    // Whoever still holds the surface can go on drawing into it.
    surface->move_to_w(0, 0);
    EXPECT_EQ(surface->line_to_w(10, 10), 1);
}

TEST_F(WindowTest, ConfigurationCarriesTheTitleAndTheWindowShowsWhatTheSurfaceDrew)
{
    WindowConfig config;
    window.get_window_config(config);
    EXPECT_EQ(config.pixels_x, 400);
    EXPECT_EQ(config.pixels_y, 300);
    EXPECT_EQ(config.title, "1 Plane frame");

    prepare_paper(window.surface());
    window.surface().rectangle_w(kFillInterior, 0, 0, 9, 9);
    QImage shown = window.viewport()->grab().toImage();
    EXPECT_EQ(shown.pixel(5, 5), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(15, 15), qRgb(255, 255, 255));

    window.horizontalScrollBar()->setValue(5);
    shown = window.viewport()->grab().toImage();
    EXPECT_EQ(shown.pixel(2, 5), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(6, 5), qRgb(255, 255, 255));

    // Fitted, the whole area is on screen: the black squares shrink into its corners.
    window.set_size_to_fit(true);
    window.surface().rectangle_w(kFillInterior, 390, 290, 399, 299);
    const QSize picture = window.fitted_view().shown();
    shown = window.viewport()->grab().toImage();
    EXPECT_EQ(shown.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(picture.width() - 2, picture.height() - 2), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(picture.width() / 2, picture.height() / 2), qRgb(255, 255, 255));
}

// A turn of the wheel at a viewport position, as the mouse sends it.
void wheel(GraphicsWindow& window, QPointF at, int delta)
{
    QWheelEvent event(at, window.viewport()->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(window.viewport(), &event);
}

// The dark pixels of a viewport column between two rows.
int dark_in_column(const QImage& image, int x, int from, int to)
{
    int n = 0;
    for (int y = from; y <= to; ++y)
        n += qGray(image.pixel(x, y)) < 128;
    return n;
}

TEST_F(WindowTest, TheWheelKeysAndDragsMagnifyAboutThePointerAndPan)
{
    prepare_paper(window.surface());
    window.surface().move_to_w(50, 100);
    window.surface().line_to_w(350, 100);
    window.surface().rectangle_w(kFillInterior, 200, 200, 203, 203);
    window.set_size_to_fit(true);
    const double fitted = window.magnification();
    ASSERT_LT(fitted, 1.0);

    // The wheel zooms about the pointer: the drawing under it stays there, step after step,
    // through 1:1 up to 16 times and no further.
    const QPointF at = QPointF(window.viewport_rect_of({200, 100, 1, 1}).center());
    std::vector<double> steps;
    for (int turn = 0; turn < 30; ++turn) {
        wheel(window, at, 120);
        steps.push_back(window.magnification());
        const PixelPoint under = window.drawing_pixel_at(at);
        EXPECT_LE(std::abs(under.x - 200), 1) << window.magnification();
        EXPECT_LE(std::abs(under.y - 100), 1) << window.magnification();
    }
    EXPECT_FALSE(window.size_to_fit());
    EXPECT_NE(std::find(steps.begin(), steps.end(), 1.0), steps.end());
    EXPECT_EQ(steps.back(), GraphicsWindow::kMostMagnification);
    EXPECT_EQ(magnification_text(1.0), "1:1");
    EXPECT_EQ(magnification_text(steps.back()), "1600%");

    // Above 1:1 the graph is drawn again: the line stays one screen pixel thick, the mark grows.
    window.set_magnification(4.0, at);
    const QImage shown = window.viewport()->grab().toImage();
    const QRect line = window.viewport_rect_of({200, 100, 1, 1});
    EXPECT_EQ(dark_in_column(shown, line.center().x(), line.top() - 6, line.bottom() + 6), 1);
    EXPECT_EQ(window.drawing_pixels_per_screen_pixel(), 0.25);
    EXPECT_EQ(window.drawing_pixel_at(QPointF(line.center())), (PixelPoint{200, 100}));
    post_soon(window, {press(window.viewport_rect_of({201, 100, 1, 1}).center())});
    const MouseEventResult pressed = window.wait_on_mouse_event(1);
    EXPECT_EQ(pressed.x, 201);
    EXPECT_EQ(pressed.y, 100);

    // A drag with the middle button moves the picture with the pointer. What it keeps and the
    // strips it draws anew make the picture a window drawing it whole there shows.
    const QPoint scrolled(window.horizontalScrollBar()->value(), window.verticalScrollBar()->value());
    send_now(window, press({60, 60}, Qt::MiddleButton));
    send_now(window, move({40, 50}, Qt::MiddleButton));
    send_now(window, release({40, 50}, Qt::MiddleButton));
    EXPECT_EQ(window.horizontalScrollBar()->value(), scrolled.x() + 20);
    EXPECT_EQ(window.verticalScrollBar()->value(), scrolled.y() + 10);
    GraphicsWindow whole(window.shared_surface());
    whole.resize(window.size());
    whole.show();
    whole.set_magnification(4.0, {});
    QCoreApplication::processEvents(); // the scroll bars take their place
    ASSERT_EQ(whole.viewport()->size(), window.viewport()->size());
    whole.horizontalScrollBar()->setValue(window.horizontalScrollBar()->value());
    whole.verticalScrollBar()->setValue(window.verticalScrollBar()->value());
    EXPECT_EQ(window.viewport()->grab().toImage(), whole.viewport()->grab().toImage());

    // The keys: - one step down, + one up, Ctrl+0 the fitted view.
    QTest::keyClick(&window, Qt::Key_Minus);
    EXPECT_NEAR(window.magnification(), 4.0 / std::exp2(0.25), 1e-9);
    QTest::keyClick(&window, Qt::Key_Plus);
    EXPECT_NEAR(window.magnification(), 4.0, 1e-9);
    // Down to the fitted view with the wheel, which it does not go below; Ctrl+0 back to it.
    for (int turn = 0; turn < 20; ++turn)
        wheel(window, at, -120);
    EXPECT_TRUE(window.size_to_fit());
    EXPECT_EQ(window.magnification(), fitted);
    QTest::keyClick(&window, Qt::Key_Plus);
    EXPECT_FALSE(window.size_to_fit());
    QTest::keyClick(&window, Qt::Key_0, Qt::ControlModifier);
    EXPECT_TRUE(window.size_to_fit());
    EXPECT_EQ(window.magnification(), fitted);
}

TEST(DrawingArea, DefaultIsTheScreenAtLeast1024By768AndCanBeSet)
{
    const DrawingAreaSize screen = default_drawing_area();
    EXPECT_GE(screen.width, 1024);
    EXPECT_GE(screen.height, 768);
    set_default_drawing_area(500, 40000);
    EXPECT_EQ(default_drawing_area(), (DrawingAreaSize{500, 32767}));
    set_default_drawing_area(640, 480);
    const GraphicsWindow window;
    EXPECT_EQ(window.surface().width(), 640);
    EXPECT_EQ(window.surface().height(), 480);
    set_default_drawing_area(0, 0);
    EXPECT_EQ(default_drawing_area(), screen);
}

TEST(DrawingArea, SizesAsTypedOnTheCommandLine)
{
    EXPECT_EQ(parse_area_size("1600x1200"), (DrawingAreaSize{1600, 1200}));
    EXPECT_EQ(parse_area_size("16X32767"), (DrawingAreaSize{16, 32767}));
    for (const char* refused : {"", "800", "x600", "800x", "15x600", "800x32768", "+800x600",
                                "800x600 ", "100000x600", "8a0x600", "-16x16"})
        EXPECT_FALSE(parse_area_size(refused)) << refused;
}

// Pointing: the program's source says what lies at a drawing-area point; the window asks it on
// every move and shows the answer in the status line at once and in a tooltip after a rest.
class PointingTest : public WindowTest {
protected:
    PointingTest()
    {
        GraphicsWindow::set_status_line_hook(
            [this](const std::string& text) { return std::exchange(line, text); });
        window.set_pointing_source([this](double x, double y, double per_screen_pixel) {
            asked = {x, y, per_screen_pixel};
            return x < 20 && y < 20 ? std::string("Node 1") : std::string();
        });
    }
    ~PointingTest() override { GraphicsWindow::set_status_line_hook(nullptr); }

    std::string line = "Running";
    std::array<double, 3> asked{};
};

TEST_F(PointingTest, StatusLineAtOnceTooltipAfterARestAndBackWhenLeft)
{
    send_now(window, move({5, 6}));
    EXPECT_EQ(asked, (std::array<double, 3>{5, 6, 1}));
    EXPECT_EQ(line, "Node 1");
    EXPECT_FALSE(QToolTip::isVisible());
    ASSERT_TRUE(vorax::testing::wait_until([] { return QToolTip::isVisible(); }));
    EXPECT_EQ(QToolTip::text(), "Node 1");

    // Off the item: the status line gets its text back, the tooltip goes.
    send_now(window, move({50, 60}));
    EXPECT_EQ(line, "Running");
    EXPECT_TRUE(vorax::testing::wait_until([] { return !QToolTip::isVisible(); }));

    // Something else writes the status line meanwhile: leaving keeps that.
    send_now(window, move({5, 6}));
    line = "Paused";
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(window.viewport(), &leave);
    EXPECT_EQ(line, "Paused");
    EXPECT_TRUE(window.pointed_text().empty());

    // A drag is no pointing.
    send_now(window, move({5, 6}, Qt::LeftButton));
    EXPECT_EQ(line, "Paused");

    // Scrolled, the point is the drawing-area pixel under the pointer.
    window.horizontalScrollBar()->setValue(30);
    send_now(window, move({5, 6}));
    EXPECT_EQ(asked, (std::array<double, 3>{35, 6, 1}));
    EXPECT_EQ(line, "Paused");

    // Fitted, it is the middle of the box of drawing-area pixels under the pointer, and a screen
    // pixel spans several of them.
    window.set_size_to_fit(true);
    const double span = 400.0 / window.fitted_view().shown().width();
    send_now(window, move({5, 6}));
    EXPECT_NEAR(asked[0], 5.5 * span - 0.5, 0.02);
    EXPECT_NEAR(asked[1], 6.5 * 300.0 / window.fitted_view().shown().height() - 0.5, 0.02);
    EXPECT_NEAR(asked[2], span, 0.02);
    EXPECT_EQ(line, "Node 1");
}

TEST_F(PointingTest, NothingWhileAMouseWaitIsPending)
{
    std::vector<std::string> shown;
    GraphicsWindow::set_status_line_hook([&](const std::string& text) {
        shown.push_back(text);
        return std::exchange(line, text);
    });
    // Pointing at the item when the wait begins: the wait's note replaces the pointed text, and
    // its end gives the status line back as it was before the pointing.
    send_now(window, move({5, 6}));
    ASSERT_EQ(line, "Node 1");
    post_soon(window, {move({6, 6}), move({7, 7}), press({8, 8})});
    window.wait_on_mouse_event(mouse::kLeftDown);
    EXPECT_EQ(shown, (std::vector<std::string>{"Node 1", "Running", "Mouse input pending in 1 Plane frame",
                                                "Running"}));
    EXPECT_FALSE(QToolTip::isVisible());
    EXPECT_TRUE(window.pointed_text().empty());
}

} // namespace
} // namespace vorax::gwl
