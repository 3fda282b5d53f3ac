// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/platform/file_writer.h"

#include <QIODevice>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <cerrno>
#include <climits>
#include <random>
#include <system_error>
#include "core/open_file.h"
#include "gwl/platform/qt_text.h"

namespace vorax::gwl {

namespace {

constexpr int kMaximumLinkHops = 40;

std::string system_reason(int error) { return std::generic_category().message(error); }

std::string folder_of(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The name a chain of symbolic links ends at; the name itself when it is no link. The end need
// not exist: a dangling link names the file to create.
std::string link_target(std::string path)
{
    for (int hop = 0; hop < kMaximumLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        std::array<char, PATH_MAX> buffer{};
        const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size() - 1);
        if (length <= 0)
            return path;
        std::string target(buffer.data(), static_cast<std::size_t>(length));
        if (target.front() != '/')
            target = (path.find('/') == std::string::npos ? "" : folder_of(path) + "/") + target;
        path = std::move(target);
    }
    return path;
}

// An open descriptor as a device for Qt's writers: every byte goes straight to the system, and
// the first error is kept with its cause (Qt's own file device loses the cause).
class DescriptorDevice final : public QIODevice {
public:
    explicit DescriptorDevice(int fd) : fd_(fd) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    int failure() const { return failure_; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        if (failure_ != 0)
            return -1;
        qint64 written = 0;
        while (written < size) {
            const ssize_t n = ::write(fd_, data + written, static_cast<std::size_t>(size - written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                failure_ = n < 0 ? errno : EIO;
                setErrorString(qt_text(system_reason(failure_)));
                return written > 0 ? written : -1;
            }
            written += n;
        }
        return written;
    }

private:
    int fd_;
    int failure_ = 0;
};

// Writes the content onto an open descriptor, which stays open.
std::string write_content(int fd, const ContentWriter& write)
{
    DescriptorDevice device(fd);
    const std::string reason = write(device);
    // The system's reason explains a writer's failure better than the writer does, and a writer
    // may not have noticed it at all.
    if (device.failure() != 0)
        return system_reason(device.failure());
    return reason;
}

// The named temporary file being written, for the signal handler: removed when the process is
// ended by SIGTERM or SIGINT while it exists. (An unnamed one needs no care: it goes with the
// process.)
char g_named_temporary[PATH_MAX];
volatile std::sig_atomic_t g_temporary_named = 0;

extern "C" void remove_temporary_and_end(int signal_number)
{
    if (g_temporary_named != 0)
        ::unlink(g_named_temporary);
    std::signal(signal_number, SIG_DFL);
    std::raise(signal_number);
}

// The handlers are set once, and only where the signal would end the process anyway.
void watch_ending_signals()
{
    static const bool watched = [] {
        for (const int signal_number : {SIGTERM, SIGINT}) {
            struct sigaction current {};
            if (::sigaction(signal_number, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
                struct sigaction action {};
                action.sa_handler = remove_temporary_and_end;
                sigemptyset(&action.sa_mask);
                ::sigaction(signal_number, &action, nullptr);
            }
        }
        return true;
    }();
    (void)watched;
}

std::string random_name(const std::string& stem)
{
    static thread_local std::mt19937 random{std::random_device{}()};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = stem;
    for (int i = 0; i < 10; ++i)
        name += kLetters[random() % (sizeof kLetters - 1)];
    return name;
}

// A new, empty file in the folder of `target` that only this call uses; -1 with errno when none
// could be made. Where the file system allows it the file has no name until it is complete
// (`name` stays empty), so that not even SIGKILL leaves a part of it behind; otherwise it is a
// hidden name beside the target. Its permissions come from the file mode mask like any new
// file's.
int create_temporary(const std::string& target, std::string& name)
{
    name.clear();
    const std::string folder = folder_of(target);
#ifdef O_TMPFILE
    if (const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666); fd >= 0)
        return fd;
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return -1;
#endif
    watch_ending_signals();
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = random_name(folder + "/.vorax-");
        if (name.size() < sizeof g_named_temporary) {
            g_temporary_named = 0;
            std::memcpy(g_named_temporary, name.c_str(), name.size() + 1);
        }
        g_temporary_named = name.size() < sizeof g_named_temporary ? 1 : 0;
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            if (fd < 0)
                g_temporary_named = 0;
            return fd;
        }
    }
    g_temporary_named = 0;
    return -1;
}

// Gives the complete temporary file the target's name. An unnamed file is linked in under a
// hidden name first (a name cannot be replaced by linking), which the rename then moves.
int put_in_place(int fd, const std::string& temporary, const std::string& target)
{
    if (!temporary.empty()) {
        const int result = ::rename(temporary.c_str(), target.c_str());
        g_temporary_named = 0;
        return result;
    }
    const std::string descriptor = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = random_name(folder_of(target) + "/.vorax-");
        if (::linkat(AT_FDCWD, descriptor.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            if (errno == EEXIST)
                continue;
            return -1;
        }
        if (::rename(name.c_str(), target.c_str()) != 0) {
            const int error = errno;
            ::unlink(name.c_str());
            errno = error;
            return -1;
        }
        return 0;
    }
    errno = EEXIST;
    return -1;
}

// The temporary file, synced, takes the place of `target` (a regular file or none).
std::string replace_file(const std::string& target, const struct stat* existing,
                         const ContentWriter& write)
{
    std::string temporary;
    const int fd = create_temporary(target, temporary);
    if (fd < 0) {
        // The target itself may be writable: say that it is the folder that refused.
        const int error = errno;
        if (error != EACCES && error != EPERM && error != EROFS)
            return system_reason(error);
        return "cannot make a temporary file in " + folder_of(target) + ": " + system_reason(error)
               + "; " + target + " was not changed";
    }
    if (existing != nullptr) {
        // The new file keeps what the old one had, as far as this process may set it.
        (void)::fchown(fd, existing->st_uid, existing->st_gid);
        (void)::fchmod(fd, existing->st_mode & 07777);
    }
    std::string reason = write_content(fd, write);
    if (reason.empty() && ::fsync(fd) != 0)
        reason = system_reason(errno);
    if (reason.empty() && put_in_place(fd, temporary, target) != 0)
        reason = system_reason(errno);
    if (::close(fd) != 0 && reason.empty())
        reason = system_reason(errno);
    if (!reason.empty()) {
        if (!temporary.empty())
            ::unlink(temporary.c_str());
        g_temporary_named = 0;
        return reason;
    }
    // The rename itself reaches the disk with the folder.
    if (const int folder = ::open(folder_of(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        folder >= 0) {
        (void)::fsync(folder);
        ::close(folder);
    }
    return {};
}

} // namespace

bool names_standard_output(const std::string& path) { return descriptor_names(STDOUT_FILENO, path); }

std::string write_file(const std::string& path, const ContentWriter& write)
{
    if (path.empty())
        return system_reason(ENOENT);
    // Standard output, however it is named, is written where it is, at its offset: it may be a
    // file that holds what came before (`>>`, or a group of commands redirected together).
    if (path == "-" || names_standard_output(path)) {
        std::fflush(stdout);
        return write_content(STDOUT_FILENO, write);
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT)
            return system_reason(errno);
        return replace_file(link_target(path), nullptr, write);
    }
    if (S_ISDIR(st.st_mode))
        return system_reason(EISDIR);
    if (S_ISREG(st.st_mode)) {
        // A file the user may not write is left as it is, though its folder would let a new
        // one take its place.
        if (::access(path.c_str(), W_OK) != 0)
            return system_reason(errno);
        return replace_file(link_target(path), &st, write);
    }

    // A device or a FIFO: written where it is. Opening a FIFO waits for its reader.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return system_reason(errno);
    struct stat opened {};
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode)) {
        // Replaced by a regular file meanwhile: that one is written the safe way.
        ::close(fd);
        return replace_file(link_target(path), &opened, write);
    }
    std::string reason = write_content(fd, write);
    if (::close(fd) != 0 && reason.empty())
        reason = system_reason(errno);
    return reason;
}

} // namespace vorax::gwl
