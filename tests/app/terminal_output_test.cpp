// SPDX-License-Identifier: GPL-3.0-or-later
// What reaches a terminal: control characters written out, other characters as they are, also
// when they come byte by byte through a stream.

#include <gtest/gtest.h>

#include "app/terminal_output.h"

namespace vorax {
namespace {

TEST(TerminalOutput, ControlsAreWrittenOutAndCharactersPass)
{
    struct Row {
        const char* text;
        const char* shown;
    };
    const Row rows[] = {
        {"plain\ttext\n", "plain\ttext\n"},
        {"\x1b[2J\r\x07", "\\e[2J\\r\\x07"},
        {"\xc3\xa9t\xc3\xa9 \xe2\x98\x83 \xf0\x9f\x98\x80", "\xc3\xa9t\xc3\xa9 \xe2\x98\x83 \xf0\x9f\x98\x80"},
        {"a\xc2\x9b" "b", "a\\xc2\\x9bb"},   // U+009B, the one-character escape
        {"a\x9b" "b\xe2\x98", "a\\x9bb\\xe2\\x98"}, // bytes of no character, one cut at the end
        {"\xe2" "A\x7f", "\\xe2A\\x7f"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(escaped_for_terminal(row.text), row.shown) << row.text;
}

} // namespace
} // namespace vorax
