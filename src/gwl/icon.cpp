#include "gwl/icon.h"

#include <QFile>
#include <QImageReader>

#include <unistd.h>

#include "gwl/icon_data.h"
#include "gwl/system.h"

namespace vorax::gwl {

IconHandle load_icon_file(const std::string& path)
{
    IconHandle handle;
    const int fd = open_regular_file(path);
    if (fd < 0)
        return handle;
    QFile file;
    QImage image;
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        image = QImageReader(&file).read();
    else
        ::close(fd);
    if (image.isNull())
        return handle;
    handle.data_ = std::make_shared<const IconData>(IconData{std::move(image)});
    return handle;
}

} // namespace vorax::gwl
