// The icons the program carries: the style icons that stand in for missing files, and the
// application's icon and desktop name.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QIcon>

#include "gwl/app_identity.h"
#include "gwl/icon.h"

namespace vorax::gwl {
namespace {

TEST(BuiltInIcons, StyleIconNamesFallBackOthersStayNull)
{
    for (const char* name : {"Bold.ico", "Italic.ico", "Underline.ico"})
        EXPECT_FALSE(load_icon_file(std::string("/nonexistent/uir/") + name).is_null()) << name;
    EXPECT_TRUE(load_icon_file("/nonexistent/uir/Strike.ico").is_null());
    EXPECT_TRUE(load_icon_file("/nonexistent/uir/").is_null());
    EXPECT_TRUE(load_icon_file("").is_null());
}

TEST(BuiltInIcons, ApplicationNamesItselfToTheDesktop)
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
