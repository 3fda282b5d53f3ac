// SPDX-License-Identifier: GPL-3.0-or-later
#include "person.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QTest>

#include "gwl/windows/text_window.h"
#include "test_helpers.h"

namespace vorax::testing {

Person::Person(std::chrono::milliseconds patience) : patience_(patience)
{
    waiting_since_ = std::chrono::steady_clock::now();
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
    timer_.start();
}

Person::~Person()
{
    timer_.stop();
    if (gave_up_)
        take_back_exit_request();
}

Person& Person::then(Sees sees, Acts acts)
{
    if (steps_.empty())
        waiting_since_ = std::chrono::steady_clock::now();
    steps_.emplace_back(std::move(sees), std::move(acts));
    return *this;
}

void Person::look()
{
    if (gave_up_)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (steps_.empty()) {
        // Nothing more to do: only a window left waiting for nobody is a reason to give up.
        if (QApplication::activeModalWidget() == nullptr)
            waiting_since_ = now;
    } else if (QWidget* widget = steps_.front().first()) {
        // The action runs from a timer of its own: it may start an event loop (a click that
        // opens a box), inside which this timer must go on looking.
        Acts acts = std::move(steps_.front().second);
        steps_.pop_front();
        waiting_since_ = now;
        QTimer::singleShot(0, &timer_, [acts = std::move(acts), target = QPointer<QWidget>(widget)] {
            if (target)
                acts(target);
        });
        return;
    }
    if (now - waiting_since_ > patience_) {
        gave_up_ = true;
        QCoreApplication::exit(1);
    }
}

Person::Sees Person::modal(const char* class_name, const std::string& title)
{
    return [class_name, title]() -> QWidget* {
        QWidget* w = QApplication::activeModalWidget();
        if (w == nullptr || !w->inherits(class_name) || !w->isVisible())
            return nullptr;
        if (!title.empty() && !w->windowTitle().contains(QString::fromStdString(title)))
            return nullptr;
        return w;
    };
}

Person::Sees Person::reading(std::function<gwl::TextWindow*()> window)
{
    return [window = std::move(window)]() -> QWidget* {
        gwl::TextWindow* w = window();
        return w != nullptr && w->reading() ? w : nullptr;
    };
}

void Person::type(QWidget* widget, const std::string& text)
{
    // Keys of letters outside ASCII have no key code of their own: they come as text.
    for (const QChar c : QString::fromStdString(text)) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void Person::double_click(QWidget* widget, QPoint at)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

void Person::press(QWidget* widget, int key) { QTest::keyClick(widget, static_cast<Qt::Key>(key)); }

bool Person::click_button(QWidget* window, const std::string& text)
{
    const QString wanted = QString::fromStdString(text);
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->text().remove(QLatin1Char('&')) != wanted || !button->isVisible()
            || !button->isEnabled())
            continue;
        QTest::mouseClick(button, Qt::LeftButton);
        return true;
    }
    return false;
}

} // namespace vorax::testing
