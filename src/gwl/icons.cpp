#include "gwl/icons.h"

#include <QImageReader>

namespace vorax::gwl {

bool icon_file_loadable(const std::string& path)
{
    QImageReader reader(QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size())));
    return reader.canRead();
}

} // namespace vorax::gwl
