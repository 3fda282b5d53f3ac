// SPDX-License-Identifier: GPL-3.0-or-later
// The application's name, desktop entry and window icon.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QIcon>

#include "gwl/platform/app_identity.h"

namespace vorax::gwl {
namespace {

TEST(AppIdentity, ApplicationNamesItselfToTheDesktop)
{
    identify_application();
    EXPECT_EQ(QGuiApplication::desktopFileName(), QLatin1String(kDesktopEntryName));
    EXPECT_EQ(QCoreApplication::applicationName(), QLatin1String("VORAX"));
    EXPECT_FALSE(QCoreApplication::organizationName().isEmpty());
    const QList<QSize> sizes = QGuiApplication::windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(256, 256)));
}

} // namespace
} // namespace vorax::gwl
