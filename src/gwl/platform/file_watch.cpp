// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/platform/file_watch.h"

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSettings>
#include <QTimer>

#include <sys/stat.h>

#include <cstdint>
#include <optional>

namespace vorax::gwl {

namespace {

// What tells one state of the file from the next: whether it is there, the file it is (a file
// renamed over it is another one), its size and its time of change to the nanosecond.
struct FileState {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t changed_ns = 0;

    bool operator==(const FileState&) const = default;
};

FileState state_of(const QString& path)
{
    FileState state;
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return state;
    state.exists = true;
    state.device = info.st_dev;
    state.inode = info.st_ino;
    state.size = info.st_size;
    state.changed_ns = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return state;
}

const QString kPreferenceGroup = QStringLiteral("preferences");

} // namespace

struct FileWatch::Impl {
    Settled settled;
    std::string path;
    QString qpath;
    QString folder;
    QFileSystemWatcher watcher;
    QTimer settle;
    FileState told_state;             // the state last told (or found when the watch began)
    std::optional<FileState> waiting; // the state when the last event came
    int told = 0;

    void heard()
    {
        // A file renamed over the old one, or made anew, is another file for the system's
        // watch: it is watched again each time.
        if (!watcher.files().contains(qpath) && QFileInfo::exists(qpath))
            watcher.addPath(qpath);
        if (!folder.isEmpty() && !watcher.directories().contains(folder) && QFileInfo::exists(folder))
            watcher.addPath(folder);
        waiting = state_of(qpath);
        settle.start();
    }

    void quiet()
    {
        const FileState now = state_of(qpath);
        if (waiting && now != *waiting) {
            waiting = now; // still changing: wait for it to settle
            settle.start();
            return;
        }
        waiting.reset();
        if (now == told_state)
            return; // another file of the folder, or the same content touched back
        if (settled && !settled()) {
            waiting = now;
            settle.start();
            return;
        }
        told_state = now;
        ++told;
    }
};

FileWatch::FileWatch(Settled settled) : d_(std::make_unique<Impl>())
{
    d_->settled = std::move(settled);
    d_->settle.setSingleShot(true);
    d_->settle.setInterval(kSettleMs);
    QObject::connect(&d_->settle, &QTimer::timeout, [this] { d_->quiet(); });
    QObject::connect(&d_->watcher, &QFileSystemWatcher::fileChanged, [this] { d_->heard(); });
    QObject::connect(&d_->watcher, &QFileSystemWatcher::directoryChanged, [this] { d_->heard(); });
}

FileWatch::~FileWatch() = default;

void FileWatch::watch(const std::string& path)
{
    const QStringList files = d_->watcher.files();
    const QStringList folders = d_->watcher.directories();
    if (!files.isEmpty())
        d_->watcher.removePaths(files);
    if (!folders.isEmpty())
        d_->watcher.removePaths(folders);
    d_->settle.stop();
    d_->waiting.reset();
    d_->path = path;
    d_->qpath = QString::fromStdString(path);
    d_->folder.clear();
    if (path.empty())
        return;
    d_->folder = QFileInfo(d_->qpath).absolutePath();
    d_->told_state = state_of(d_->qpath);
    if (QFileInfo::exists(d_->qpath))
        d_->watcher.addPath(d_->qpath);
    if (QFileInfo::exists(d_->folder))
        d_->watcher.addPath(d_->folder);
}

bool FileWatch::watching() const { return !d_->path.empty(); }
const std::string& FileWatch::path() const { return d_->path; }
void FileWatch::set_settle_ms(int milliseconds) { d_->settle.setInterval(milliseconds); }
int FileWatch::told() const { return d_->told; }

bool read_preference(std::string_view key, bool fallback)
{
    QSettings settings(QStringLiteral("VORAX"), QStringLiteral("VORAX"));
    settings.beginGroup(kPreferenceGroup);
    return settings.value(QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())), fallback)
        .toBool();
}

void write_preference(std::string_view key, bool value)
{
    QSettings settings(QStringLiteral("VORAX"), QStringLiteral("VORAX"));
    settings.beginGroup(kPreferenceGroup);
    settings.setValue(QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())), value);
}

} // namespace vorax::gwl
