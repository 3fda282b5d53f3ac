// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What an IconHandle holds; for the layer's own widgets only.

#include <QImage>

#include "gwl/dialogs/icon.h"

namespace vorax::gwl {

// A QImage rather than a QIcon: icons are loaded on the program thread at start-up, and only
// images (not pixmaps) may be made away from the user-interface thread.
struct IconData {
    QImage image;
};

} // namespace vorax::gwl
