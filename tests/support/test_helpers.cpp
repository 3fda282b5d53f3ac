#include "test_helpers.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <fstream>
#include <random>

namespace vorax::testing {

bool wait_until(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        // Windows closed meanwhile are deleted as the main loop would delete them.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(2);
    }
    return true;
}

void take_back_exit_request()
{
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

TempDir::TempDir()
{
    std::random_device random;
    path_ = std::filesystem::temp_directory_path()
            / ("vorax-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempDir::write(const std::string& relative, const std::string& content) const
{
    const std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    return file;
}

std::string source_path(const std::string& relative)
{
    return std::string(VORAX_SOURCE_DIR) + "/" + relative;
}

} // namespace vorax::testing
