// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/dialogs/icon.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <unistd.h>

#include "gwl/dialogs/icon_data.h"
#include "gwl/platform/file_names.h"
#include "gwl/platform/system.h"

namespace vorax::gwl {

namespace {

QImage read_image(const QString& path)
{
    QImageReader reader(path);
    return reader.read();
}

} // namespace

IconHandle load_icon_file(const std::string& path)
{
    IconHandle handle;
    QImage image;
    const int fd = open_regular_file(path);
    if (fd >= 0) {
        QFile file;
        if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
            image = QImageReader(&file).read();
        else
            ::close(fd);
    }
    // An installed program is seldom started where its uir/ folder is, so the icons it carries
    // stand in for files of the same name that are missing or unreadable.
    if (image.isNull() && !path.empty())
        image = read_image(QStringLiteral(":/uir/") + QFileInfo(shown_file_name(path)).fileName());
    if (image.isNull())
        return handle;
    handle.data_ = std::make_shared<const IconData>(IconData{std::move(image)});
    return handle;
}

} // namespace vorax::gwl
