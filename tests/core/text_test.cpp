// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "core/text.h"

namespace vorax {
namespace {

TEST(FixedText, TrimPadCutAndAdjust)
{
    EXPECT_EQ(trim_right("abc   "), "abc");
    EXPECT_EQ(trim_right("   "), "");
    EXPECT_EQ(trim_left("  a b "), "a b ");
    EXPECT_EQ(cut("abcdef", 3), "abc");
    EXPECT_EQ(cut("ab", 3), "ab");
    EXPECT_EQ(pad_right("ab", 5), "ab   ");
    EXPECT_EQ(pad_right("abcdef", 4), "abcd");
    EXPECT_EQ(left_adjust("   -12.50"), "-12.50   ");
    EXPECT_TRUE(equals_ignore_case("Tms Rmn", "tms rmn"));
    EXPECT_FALSE(equals_ignore_case("Tms", "Tms "));
}

} // namespace
} // namespace vorax
