// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <thread>

#include "core/program_exit.h"
#include "gwl/platform/ui_thread.h"
#include "gwl/windows/text_window.h"
#include "test_helpers.h"

namespace vorax::gwl {
namespace {

TEST(TextWindow, LinesAndPromptsOnTheSameLine)
{
    TextWindow window;
    window.write("", true);
    window.write(" * File not found: frame.dat", true);
    window.write(" * Enter again: ", false);
    window.write("typed", true);
    window.write("last", true);
    EXPECT_EQ(window.lines(),
              (std::vector<std::string>{"", " * File not found: frame.dat",
                                        " * Enter again: typed", "last"}));
}

TEST(TextWindow, ReadsOneTypedLineAfterThePrompt)
{
    TextWindow window;
    window.show();
    window.write(" * Enter again: ", false);
    EXPECT_FALSE(window.display_cursor(true));
    QTimer::singleShot(0, &window, [&] {
        // Backspace cannot eat the prompt.
        QTest::keyClick(&window, Qt::Key_Backspace);
        QTest::keyClicks(&window, "frame.dax");
        QTest::keyClick(&window, Qt::Key_Backspace);
        QTest::keyClicks(&window, "t");
        QTest::keyClick(&window, Qt::Key_Return);
    });
    const TextWindow::TypedLine line = window.read_line_interactive();
    EXPECT_EQ(line.text, "frame.dat");
    EXPECT_EQ(line.end, TextWindow::LineEnd::enter);
    EXPECT_TRUE(window.display_cursor(false));
    window.write("next", true);
    EXPECT_EQ(window.lines(), (std::vector<std::string>{" * Enter again: frame.dat", "next"}));
    EXPECT_TRUE(window.isReadOnly());
}

TEST(TextWindow, ClosingTheWindowEndsTheReading)
{
    TextWindow window;
    window.show();
    QTimer::singleShot(0, &window, [&] {
        QTest::keyClicks(&window, "abc");
        window.close();
    });
    const TextWindow::TypedLine line = window.read_line_interactive();
    EXPECT_EQ(line.text, "abc");
    EXPECT_EQ(line.end, TextWindow::LineEnd::window_closed);
    // A window that is not on screen cannot be typed into: no wait at all.
    EXPECT_EQ(window.read_line_interactive().end, TextWindow::LineEnd::window_closed);
}

TEST(TextWindow, AWindowDeletedWhileReadingEndsTheReadingWithWhatWasTyped)
{
    auto* window = new TextWindow;
    window->show();
    QTimer::singleShot(0, [window] {
        QTest::keyClicks(window, "ab");
        delete window;
    });
    const TextWindow::TypedLine line = window->read_line_interactive();
    EXPECT_EQ(line.text, "ab");
    EXPECT_EQ(line.end, TextWindow::LineEnd::window_closed);
}

TEST(UiCalls, ProgramThreadCallsRunOnTheUiThread)
{
    open_ui_calls();
    std::thread::id ran_on;
    std::atomic<int> result{0}; // polled by this thread while the other one writes it
    std::thread program([&] {
        result = ui_call([&] {
            ran_on = std::this_thread::get_id();
            return 42;
        });
    });
    ASSERT_TRUE(testing::wait_until([&] { return result == 42; }));
    program.join();
    EXPECT_EQ(ran_on, std::this_thread::get_id());
}

TEST(UiCalls, ExceptionsReachTheCallingThread)
{
    open_ui_calls();
    std::atomic<bool> caught{false};
    std::thread program([&] {
        try {
            ui_call([] { throw ProgramExit{3, "stop"}; });
        } catch (const ProgramExit& e) {
            caught = e.status == 3;
        }
    });
    ASSERT_TRUE(testing::wait_until([&] { return caught.load(); }));
    program.join();
}

TEST(UiCalls, ShutDownReleasesAWaitingProgramThread)
{
    open_ui_calls();
    bool released = false;
    std::thread program([&] {
        try {
            ui_call([] { return 1; }); // never runs: no event is processed
        } catch (const ProgramExit&) {
            released = true;
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    shut_down_ui_calls();
    program.join();
    EXPECT_TRUE(released);
    open_ui_calls();
}

// A layer call still in Qt's event queue when its run ends never runs in the next run of the
// process: its work lives on the stack of a thread that has gone on.
TEST(UiCalls, ACallOfAnEndedRunNeverRunsInTheNext)
{
    open_ui_calls();
    std::atomic<bool> stale_ran{false}, current_ran{false};
    std::thread ended([&] {
        EXPECT_THROW(ui_call([&] { stale_ran = true; }), ProgramExit);
    });
    // Posted, and not taken up: no events are processed meanwhile.
    for (int i = 0; i < 5000 && pending_ui_calls() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(pending_ui_calls(), 1);
    shut_down_ui_calls();
    ended.join();
    open_ui_calls();
    std::thread next([&] { ui_call([&] { current_ran = true; }); });
    EXPECT_TRUE(testing::wait_until([&] { return current_ran.load(); }));
    next.join();
    EXPECT_FALSE(stale_ran);
    EXPECT_EQ(pending_ui_calls(), 0);
}

} // namespace
} // namespace vorax::gwl
