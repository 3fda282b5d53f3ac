// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/platform/ui_thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <atomic>

namespace vorax::gwl {

namespace {

std::atomic<bool> shut_down{false};
// The run that calls belong to; open_ui_calls starts the next one. A call posted by an earlier
// run may still sit in Qt's event queue after its waiter was released: it must not run then,
// since its work refers to the stack of a thread that has gone on.
std::atomic<unsigned> current_run{0};
std::atomic<int> pending{0};

// Every waiting call shares this so that shut_down_ui_calls can wake them all.
std::mutex wait_mutex;
std::condition_variable wait_signal;

struct PostedTask {
    std::function<void()> work;
    unsigned run = 0;
    bool done = false;
};

} // namespace

bool on_ui_thread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app == nullptr || QThread::currentThread() == app->thread();
}

void shut_down_ui_calls()
{
    {
        std::lock_guard lock(wait_mutex);
        shut_down = true;
    }
    wait_signal.notify_all();
}

bool ui_calls_shut_down() { return shut_down; }

void open_ui_calls()
{
    {
        std::lock_guard lock(wait_mutex);
        ++current_run;
        shut_down = false;
    }
    wait_signal.notify_all();
}

int pending_ui_calls() { return pending; }

bool detail::post_and_wait(std::function<void()> work)
{
    auto task = std::make_shared<PostedTask>();
    task->work = std::move(work);
    {
        std::lock_guard lock(wait_mutex);
        if (shut_down)
            return false;
        task->run = current_run;
    }
    ++pending;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [task] {
            --pending;
            // Shutting down and opening the next run happen on this thread too, so the answer
            // holds while the work runs.
            if (!shut_down && task->run == current_run)
                task->work();
            {
                std::lock_guard lock(wait_mutex);
                task->done = true;
            }
            wait_signal.notify_all();
        },
        Qt::QueuedConnection);

    std::unique_lock lock(wait_mutex);
    wait_signal.wait(lock, [&] { return task->done || shut_down || task->run != current_run; });
    return task->done;
}

} // namespace vorax::gwl
