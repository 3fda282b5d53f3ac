#include "gwl/system.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <cstdlib>

#include "gwl/ui_thread.h"

namespace vorax::gwl {

namespace {
std::vector<std::string> arguments;
}

void sleep_ms(int milliseconds)
{
    if (milliseconds <= 0)
        return;
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

Tone beep(int frequency, int duration)
{
    const Tone tone{std::clamp(frequency, 37, 32767), duration < 0 ? 1 : duration};
    // The platform offers one system tone; its pitch and length are the desktop's.
    if (!ui_calls_shut_down() && QCoreApplication::instance() != nullptr)
        ui_call([] { QApplication::beep(); });
    return tone;
}

int get_drive_directory(std::string& path) { return static_cast<int>(path.size()); }

std::string current_directory() { return QDir::currentPath().toStdString(); }

std::string find_file_on_path(const std::string& name)
{
    if (name.empty())
        return {};
    const QString qname = QString::fromLocal8Bit(name.data(), static_cast<qsizetype>(name.size()));
    auto found = [](const QString& path) {
        const QFileInfo info(path);
        return info.exists() && info.isFile() ? info.absoluteFilePath().toStdString()
                                              : std::string{};
    };
    if (QDir::isAbsolutePath(qname))
        return found(qname);

    QStringList folders;
    if (QCoreApplication::instance() != nullptr)
        folders << QCoreApplication::applicationDirPath();
    folders << QDir::currentPath();
    if (const char* path = std::getenv("PATH"))
        folders << QString::fromLocal8Bit(path).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& folder : folders)
        if (std::string hit = found(QDir(folder).filePath(qname)); !hit.empty())
            return hit;
    return {};
}

const std::vector<std::string>& program_arguments() { return arguments; }

void set_program_arguments(std::vector<std::string> args) { arguments = std::move(args); }

} // namespace vorax::gwl
