// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <chrono>
#include <cstdlib>

#include "gwl/platform/file_names.h"
#include "gwl/platform/system.h"
#include "test_helpers.h"

namespace vorax::gwl {
namespace {

TEST(System, BeepHoldsItsArgumentsInRangeAndTheDriveDirectoryIsThePathItself)
{
    EXPECT_EQ(beep(1000, 200).frequency, 1000);
    EXPECT_EQ(beep(10, 200).frequency, 37);
    EXPECT_EQ(beep(100000, 200).frequency, 32767);
    EXPECT_EQ(beep(1000, -5).duration, 1);
    EXPECT_EQ(beep(1000, 0).duration, 0);
    std::string path = "/home/engineer/models";
    EXPECT_EQ(get_drive_directory(path), 21);
    EXPECT_EQ(path, "/home/engineer/models");
}

TEST(System, SleepReturnsAtOnceForNegativeTimes)
{
    const auto start = std::chrono::steady_clock::now();
    sleep_ms(-1000);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}

TEST(System, FindFileOnPathLooksInProgramFolderCurrentFolderThenPath)
{
    testing::TempDir current;
    testing::TempDir on_path;
    const auto here = current.write("here.dat", "x");
    const auto there = on_path.write("there.dat", "y");
    std::filesystem::create_directories(current.path() / "folder.dat");

    const QString previous_dir = QDir::currentPath();
    const std::string previous_path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    QDir::setCurrent(QString::fromStdString(current.path().string()));
    setenv("PATH", (on_path.path().string() + ":" + previous_path).c_str(), 1);

    EXPECT_EQ(find_file_on_path("here.dat"), here.string());
    EXPECT_EQ(find_file_on_path("there.dat"), there.string());
    EXPECT_EQ(find_file_on_path(here.string()), here.string()); // absolute, as given
    EXPECT_EQ(find_file_on_path("missing.dat"), "");
    EXPECT_EQ(find_file_on_path((current.path() / "missing.dat").string()), "");
    EXPECT_EQ(find_file_on_path("folder.dat"), ""); // a folder is no model file
    ASSERT_TRUE(testing::make_fifo(current.path() / "fifo.dat"));
    EXPECT_EQ(find_file_on_path("fifo.dat"), "");   // nor is a FIFO
    const auto latin = current.write("caf\xe9.dat", "z"); // a name that is no UTF-8
    EXPECT_EQ(find_file_on_path("caf\xe9.dat"), latin.string());
    EXPECT_EQ(find_file_on_path(""), "");
    // The folder of the `vorax` that started the program comes before the current one.
    testing::TempDir program;
    const auto beside = program.write("here.dat", "w");
    set_program_folder(program.path().string());
    EXPECT_EQ(find_file_on_path("here.dat"), beside.string());
    set_program_folder("");
    EXPECT_EQ(find_file_on_path("here.dat"), here.string());

    QDir::setCurrent(previous_dir);
    setenv("PATH", previous_path.c_str(), 1);
}

// A Latin-1 "é" is no UTF-8: Qt shows it as U+FFFD and cannot encode it back by itself.
TEST(System, FileNamesThatAreNoTextComeBackFromQt)
{
    testing::TempDir folder;
    const std::string latin = folder.write("caf\xe9.dat", "x").string();
    const QString shown = shown_file_name(latin);
    ASSERT_NE(QFile::encodeName(shown).toStdString(), latin);
    EXPECT_EQ(file_name_bytes(shown), latin);
    EXPECT_EQ(file_name_bytes(QString::fromUtf8("/no/such/\xc3\xa9.png")), "/no/such/\xc3\xa9.png");
    // A second name shown alike: neither is taken for the other.
    const std::string other = folder.write("caf\xe8.dat", "y").string();
    ASSERT_EQ(shown_file_name(other), shown);
    EXPECT_NE(file_name_bytes(shown), latin);
    EXPECT_NE(file_name_bytes(shown), other);
}

} // namespace
} // namespace vorax::gwl
