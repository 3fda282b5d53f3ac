#include "gwl/icon.h"

#include <QImageReader>

#include "gwl/icon_data.h"

namespace vorax::gwl {

IconHandle load_icon_file(const std::string& path)
{
    IconHandle handle;
    QImageReader reader(QString::fromStdString(path));
    QImage image = reader.read();
    if (image.isNull())
        return handle;
    handle.data_ = std::make_shared<const IconData>(IconData{std::move(image)});
    return handle;
}

} // namespace vorax::gwl
