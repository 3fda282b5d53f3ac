#include "gwl/drawing_area.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace vorax::gwl {

namespace {
AreaSize chosen_area{};
}

AreaSize default_drawing_area()
{
    if (chosen_area.width > 0)
        return chosen_area;
    AreaSize area{1024, 768};
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        area.width = std::max(area.width, screen->size().width());
        area.height = std::max(area.height, screen->size().height());
    }
    return area;
}

bool set_default_drawing_area(int width, int height)
{
    if (width < 16 || height < 16 || width > 16384 || height > 16384)
        return false;
    chosen_area = {width, height};
    return true;
}

} // namespace vorax::gwl
