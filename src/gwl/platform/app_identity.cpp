// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/platform/app_identity.h"

#include <QGuiApplication>
#include <QIcon>

namespace vorax::gwl {

void identify_application()
{
    QCoreApplication::setApplicationName(QStringLiteral("VORAX"));
    QCoreApplication::setOrganizationName(QStringLiteral("VORAX"));
    QGuiApplication::setDesktopFileName(QLatin1String(kDesktopEntryName));
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    // The PNG sizes rather than the SVG: reading an SVG needs a plugin the system may lack.
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/appicon/%1x%1/apps/vorax.png").arg(size), QSize(size, size));
    QGuiApplication::setWindowIcon(icon);
}

} // namespace vorax::gwl
