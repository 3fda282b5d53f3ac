// SPDX-License-Identifier: GPL-3.0-or-later
// What Find takes for a node or an element.

#include <gtest/gtest.h>

#include "app/look_around.h"

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
        {"0", std::nullopt},                  {"-3", std::nullopt},
        {"x17", std::nullopt},                {"17 18", std::nullopt},
        {"1.5", std::nullopt},                {"2147483648", std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(parse_find_text(row.text), row.item) << '"' << row.text << '"';
}

} // namespace
} // namespace vorax
