// SPDX-License-Identifier: GPL-3.0-or-later
// Entry point of every test executable: a QApplication on the offscreen platform (unless the
// environment names another), then GoogleTest. The program's settings go to a temporary folder
// of the run (for this process and the programs it starts), never into the home folder.

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir settings_home;
    if (!settings_home.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", settings_home.path().toLocal8Bit());
    QApplication app(argc, argv);
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, settings_home.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
