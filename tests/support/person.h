// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A person in front of the real windows, for tests of the Qt side of the prompt seam.
//
// Modal dialogs and the typed-line wait run event loops of their own, so a test cannot act
// after calling them. A Person holds a list of steps; a timer looks at the screen while those
// loops run, and each step acts (with real key and mouse events) once it sees what it waits for.
// A step that sees nothing for too long makes the person give up: every event loop is told to
// end, so a test whose window never came fails on its checks instead of hanging.

#include <QPoint>
#include <QTimer>

#include <chrono>
#include <deque>
#include <functional>
#include <string>

class QWidget;

namespace vorax::gwl {
class TextWindow;
}

namespace vorax::testing {

class Person {
public:
    using Sees = std::function<QWidget*()>; // the widget to act on, or null while not there
    using Acts = std::function<void(QWidget*)>;

    explicit Person(std::chrono::milliseconds patience = std::chrono::milliseconds(10000));
    ~Person();
    Person(const Person&) = delete;
    Person& operator=(const Person&) = delete;

    // Queues a step: once `sees` finds its widget, `acts` on it.
    Person& then(Sees sees, Acts acts);
    // Every step has been taken.
    bool done() const { return steps_.empty(); }
    bool gave_up() const { return gave_up_; }

    // What a person can see: the active modal window when it is a `class_name` (a Qt class
    // such as "QMessageBox") whose title contains `title`.
    static Sees modal(const char* class_name, const std::string& title = {});
    // The text window, once it waits for a typed line.
    static Sees reading(std::function<gwl::TextWindow*()> window);

    // What a person does, with real events.
    static void type(QWidget* widget, const std::string& text);
    static void press(QWidget* widget, int key);
    // A double-click with the left button as a person's hand gives it: press, release, the
    // second press and its release (which QTest's double-click alone leaves out).
    static void double_click(QWidget* widget, QPoint at);
    // Clicks the push button with this text (the mnemonic "&" ignored) inside `window`.
    static bool click_button(QWidget* window, const std::string& text);

private:
    void look();

    QTimer timer_;
    std::deque<std::pair<Sees, Acts>> steps_;
    std::chrono::milliseconds patience_;
    std::chrono::steady_clock::time_point waiting_since_;
    bool gave_up_ = false;
};

} // namespace vorax::testing
