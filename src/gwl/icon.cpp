#include "gwl/icon.h"

#include <QFileInfo>
#include <QImageReader>

#include "gwl/icon_data.h"

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
    const QString file = QString::fromStdString(path);
    QImage image = read_image(file);
    // An installed program is seldom started where its uir/ folder is, so the icons it carries
    // stand in for files of the same name that are missing or unreadable.
    if (image.isNull() && !file.isEmpty())
        image = read_image(QStringLiteral(":/uir/") + QFileInfo(file).fileName());
    if (image.isNull())
        return handle;
    handle.data_ = std::make_shared<const IconData>(IconData{std::move(image)});
    return handle;
}

} // namespace vorax::gwl
