// SPDX-License-Identifier: GPL-3.0-or-later
// The file watch: a change told once after the file is quiet, other files of the folder not at
// all, "not now" asked again, and nothing after the watch stops.

#include <gtest/gtest.h>

#include <QTest>

#include <filesystem>
#include <fstream>

#include "gwl/platform/file_watch.h"
#include "test_helpers.h"

namespace vorax {
namespace {

using testing::TempDir;

void write(const std::filesystem::path& file, const std::string& text) { std::ofstream(file) << text; }

struct Watched {
    TempDir folder;
    std::filesystem::path file = folder.write("m.dat", "one\n");
    int calls = 0;
    bool answer = true;
    gwl::FileWatch watch{[this] {
        ++calls;
        return answer;
    }};
    Watched()
    {
        watch.set_settle_ms(60);
        watch.watch(file.string());
    }
};

TEST(FileWatch, TellsAChangeOnceAfterTheFileIsQuiet)
{
    Watched w;
    EXPECT_TRUE(w.watch.watching());
    write(w.file, "two\n");
    QTest::qWait(20);
    EXPECT_EQ(w.calls, 0); // not yet quiet
    ASSERT_TRUE(testing::wait_until([&] { return w.calls == 1; }));
    QTest::qWait(200);
    EXPECT_EQ(w.calls, 1);
    EXPECT_EQ(w.watch.told(), 1);
}

TEST(FileWatch, OtherFilesOfTheFolderAreNotItsChanges)
{
    Watched w;
    w.folder.write("other.dat", "x\n");
    QTest::qWait(300);
    EXPECT_EQ(w.calls, 0);
}

TEST(FileWatch, NotNowIsAskedAgain)
{
    Watched w;
    w.answer = false;
    write(w.file, "two\n");
    ASSERT_TRUE(testing::wait_until([&] { return w.calls >= 2; }));
    EXPECT_EQ(w.watch.told(), 0);
    w.answer = true;
    ASSERT_TRUE(testing::wait_until([&] { return w.watch.told() == 1; }));
}

TEST(FileWatch, AStoppedWatchTellsNothing)
{
    Watched w;
    w.watch.stop();
    EXPECT_FALSE(w.watch.watching());
    write(w.file, "two\n");
    QTest::qWait(300);
    EXPECT_EQ(w.calls, 0);
}

TEST(FileWatch, PreferencesAreKept)
{
    gwl::write_preference("testSwitch", false);
    EXPECT_FALSE(gwl::read_preference("testSwitch", true));
    gwl::write_preference("testSwitch", true);
    EXPECT_TRUE(gwl::read_preference("testSwitch", false));
    EXPECT_TRUE(gwl::read_preference("neverWritten", true));
}

} // namespace
} // namespace vorax
