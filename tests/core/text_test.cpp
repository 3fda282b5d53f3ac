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
    // A character of several bytes is kept whole or left out; bytes that are no such character stay.
    EXPECT_EQ(cut("ab\u2603", 4), "ab");
    EXPECT_EQ(cut("ab\u2603", 5), "ab\u2603");
    EXPECT_EQ(cut("a\U0001F600", 4), "a");
    EXPECT_EQ(cut("a\u0800", 3), "a");
    EXPECT_EQ(cut("ab\xb0\xb0\xb0", 3), "ab\xb0");
    EXPECT_EQ(pad_right("a\u00e9", 2), "a ");
    EXPECT_EQ(pad_right("ab", 5), "ab   ");
    EXPECT_EQ(pad_right("abcdef", 4), "abcd");
    EXPECT_EQ(left_adjust("   -12.50"), "-12.50   ");
    EXPECT_TRUE(equals_ignore_case("Tms Rmn", "tms rmn"));
    EXPECT_FALSE(equals_ignore_case("Tms", "Tms "));
}

} // namespace
} // namespace vorax
