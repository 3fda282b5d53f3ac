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
    const char* reason_ro;
    const char* expected;
};

TEST(ReloadLines, AFileThatDoesNotReadNamesItsLineAndTheVersionShown)
{
    const LineRow rows[] = {
        {UiLanguage::english, 14, "The element block ends early.", "Blocul se termina.",
         "plane_frame.dat line 14: The element block ends early — showing the version read at 10:42:07"},
        {UiLanguage::romanian, 3, "x", "Sfarsit de fisier.",
         "plane_frame.dat linia 3: Sfarsit de fisier — se arata versiunea citita la 10:42:07"},
        {UiLanguage::romanian, 1, "x", "", "plane_frame.dat linia 1: x — se arata versiunea citita la 10:42:07"},
        {UiLanguage::english, 0, "Cannot open \"a\": Permission denied.", "",
         "plane_frame.dat: Cannot open \"a\": Permission denied — showing the version read at 10:42:07"},
    };
    for (const LineRow& row : rows) {
        ReadResult failed;
        failed.line = row.line;
        failed.message = row.reason;
        failed.message_ro = row.reason_ro;
        EXPECT_EQ(reload_failure_line("plane_frame.dat", failed, "10:42:07", row.language), row.expected);
    }
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
