// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/surface/drawing_area.h"

#include <algorithm>
#include <atomic>

#include <QGuiApplication>
#include <QScreen>

#include "gwl/surface/qt_fonts.h"

namespace vorax::gwl {

namespace {

std::atomic<int> chosen_width{0};
std::atomic<int> chosen_height{0};

DrawingAreaSize screen_default()
{
    DrawingAreaSize size = kMinimumDefaultArea;
    if (gui_available()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            size.width = std::max(size.width, screen->size().width());
            size.height = std::max(size.height, screen->size().height());
        }
    }
    size.width = std::min(size.width, kMaximumAreaSide);
    size.height = std::min(size.height, kMaximumAreaSide);
    return size;
}

} // namespace

DrawingAreaSize default_drawing_area()
{
    const int width = chosen_width.load();
    const int height = chosen_height.load();
    if (width > 0 && height > 0)
        return {width, height};
    return screen_default();
}

void set_default_drawing_area(int width, int height)
{
    if (width <= 0 || height <= 0) {
        chosen_width = 0;
        chosen_height = 0;
        return;
    }
    chosen_width = std::min(width, kMaximumAreaSide);
    chosen_height = std::min(height, kMaximumAreaSide);
}

} // namespace vorax::gwl
