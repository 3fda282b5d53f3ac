// SPDX-License-Identifier: GPL-3.0-or-later
// The lines a reload writes when it shows the version read before, in both languages.

#include <gtest/gtest.h>

#include "app/model_reload.h"

namespace vorax {
namespace {

struct LineRow {
    UiLanguage language;
    long line;
    const char* reason;
    const char* expected;
};

TEST(ReloadLines, AFileThatDoesNotReadNamesItsLineAndTheVersionShown)
{
    const LineRow rows[] = {
        {UiLanguage::english, 14, "The element block ends early.",
         "plane_frame.dat line 14: The element block ends early — showing the version read at 10:42:07"},
        {UiLanguage::romanian, 3, "x",
         "plane_frame.dat linia 3: x — se arata versiunea citita la 10:42:07"},
        {UiLanguage::english, 0, "Cannot open \"a\": Permission denied.",
         "plane_frame.dat: Cannot open \"a\": Permission denied — showing the version read at 10:42:07"},
    };
    for (const LineRow& row : rows)
        EXPECT_EQ(reload_failure_line("plane_frame.dat", row.line, row.reason, "10:42:07", row.language),
                  row.expected);
}

TEST(ReloadLines, AGoneFileIsSaidWithTheVersionShown)
{
    EXPECT_EQ(file_gone_line("a.dat", "09:00:01", UiLanguage::english),
              "a.dat: the file is gone — showing the version read at 09:00:01");
    EXPECT_EQ(file_gone_line("a.dat", "09:00:01", UiLanguage::romanian),
              "a.dat: fisierul nu mai exista — se arata versiunea citita la 09:00:01");
}

TEST(ReloadLines, TheClockTimeIsHoursMinutesSeconds)
{
    const std::string time = clock_time();
    ASSERT_EQ(time.size(), 8u);
    EXPECT_EQ(time[2], ':');
    EXPECT_EQ(time[5], ':');
}

} // namespace
} // namespace vorax
