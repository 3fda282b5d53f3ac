#include "gwl/ui_thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <atomic>

namespace vorax::gwl {

namespace {

std::atomic<bool> shut_down{false};

// Every waiting call shares this so that shut_down_ui_calls can wake them all.
std::mutex wait_mutex;
std::condition_variable wait_signal;

struct PostedTask {
    std::function<void()> work;
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

void open_ui_calls() { shut_down = false; }

bool detail::post_and_wait(std::function<void()> work)
{
    if (shut_down)
        return false;
    auto task = std::make_shared<PostedTask>();
    task->work = std::move(work);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [task] {
            if (!shut_down)
                task->work();
            {
                std::lock_guard lock(wait_mutex);
                task->done = true;
            }
            wait_signal.notify_all();
        },
        Qt::QueuedConnection);

    std::unique_lock lock(wait_mutex);
    wait_signal.wait(lock, [&] { return task->done || shut_down; });
    return task->done;
}

} // namespace vorax::gwl
