// SPDX-License-Identifier: GPL-3.0-or-later
// What Find takes for a node or an element.

#include <gtest/gtest.h>

#include "app/look_around.h"
#include "app/pointing.h"
#include "model/model_reader.h"
#include "model/record_lines.h"

namespace vorax {
namespace {

TEST(LookAround, FindTextNamesANodeOrAnElement)
{
    using K = HitItem::Kind;
    struct Row {
        const char* text;
        std::optional<HitItem> item;
    };
    const Row rows[] = {
        {"17", HitItem{K::node, 17}},         {"node 17", HitItem{K::node, 17}},
        {"  N17 ", HitItem{K::node, 17}},     {"nodul 4", HitItem{K::node, 4}},
        {"element 31", HitItem{K::element, 31}}, {"E31", HitItem{K::element, 31}},
        {"el 2", HitItem{K::element, 2}},     {"2147483647", HitItem{K::node, 2147483647}},
        {"", std::nullopt},                   {"node", std::nullopt},
        {"e0", HitItem{K::element, 0}},       {"-3", std::nullopt},
        {"x17", std::nullopt},                {"17 18", std::nullopt},
        {"1.5", std::nullopt},                {"2147483648", std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(parse_find_text(row.text), row.item) << '"' << row.text << '"';
}

TEST(LookAround, TheLineAnItemOpensAt)
{
    // Node 3 is named only by a code record (line 4), node 4 by no record; element 1 by its own
    // record, element 2 by none.
    const ReadResult read = read_model_text("T\n4 2 2 1 0\n1 1 1 1\n3 3 0 1\nC\nV\n-\n-\n-\n-\n1 0 0\n2 1 0\n"
                                            "C\n1 1 2\nE\n");
    ASSERT_TRUE(read.ok()) << read.message;
    const RecordLines lines(read.notes);
    using K = HitItem::Kind;
    struct Row {
        HitItem item;
        long line;
    };
    const Row rows[] = {{{K::node, 2}, 12}, {{K::node, 3}, 4}, {{K::node, 4}, 0},
                        {{K::element, 1}, 14}, {{K::element, 2}, 0}, {{K::none, 0}, 0}};
    for (const Row& row : rows)
        EXPECT_EQ(item_line(read.model, lines, row.item), row.line) << row.item.number;
}

} // namespace
} // namespace vorax
