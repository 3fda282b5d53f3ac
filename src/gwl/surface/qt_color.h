// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's colours (0x00BBGGRR) as Qt takes them, for the pixels and for the drawings
// replayed from a record alike.

#include <QColor>

#include "core/color.h"

namespace vorax::gwl {

inline QColor qcolor_of(Rgb color)
{
    return QColor(static_cast<int>(red_of(color)), static_cast<int>(green_of(color)),
                  static_cast<int>(blue_of(color)));
}

} // namespace vorax::gwl
