// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "settings/node_ranges.h"

namespace vorax {
namespace {

// Applies a range text to a model of `node_count` nodes whose selection starts as `initial`.
struct Applied {
    int groups = 0;
    std::set<int> selected;
    std::vector<std::string> errors; // the error texts of the bad groups, in order
};

Applied apply(const std::string& text, int node_count, UiLanguage language = UiLanguage::english,
              std::set<int> initial = {})
{
    Applied a;
    a.groups = static_cast<int>(split_node_ranges(text).size());
    a.selected = std::move(initial);
    const std::vector<BadGroup> bad = apply_node_ranges(text, node_count, [&](int node, bool on) {
        if (on)
            a.selected.insert(node);
        else
            a.selected.erase(node);
    });
    for (const BadGroup& group : bad)
        a.errors.push_back(group_error_text(group, language));
    return a;
}

std::set<int> range(int first, int last)
{
    std::set<int> s;
    for (int i = first; i <= last; ++i)
        s.insert(i);
    return s;
}

TEST(NodeRanges, GoodTextsSelectTheirNodes)
{
    struct Row {
        const char* text;
        int groups;
        std::set<int> selected;
    };
    std::set<int> example = range(1, 7);
    example.insert({13, 20});
    std::set<int> mixed = range(1, 3);
    mixed.merge(range(7, 9));
    const Row rows[] = {
        {"1-7, 13  20", 3, example},
        {"5-5", 1, {5}},
        {"1-2-3", 1, {1, 2}},        // the last node is read up to the second dash
        {"7-9, 1 2 3", 4, mixed},
        {"3,5,", 2, {3, 5}},         // a trailing separator adds no group
        {"2-4,3-6", 2, range(2, 6)}, // overlapping groups select the union
        {"7a", 1, {7}},              // a number is read up to the first other character
        {"+4", 1, {4}},
        {"1-20", 1, range(1, 20)},
    };
    for (const Row& row : rows) {
        const Applied a = apply(row.text, 20, UiLanguage::english, {11});
        EXPECT_EQ(a.groups, row.groups) << row.text;
        EXPECT_EQ(a.selected, row.selected) << row.text;
        EXPECT_TRUE(a.errors.empty()) << row.text;
    }
}

TEST(NodeRanges, BadGroupsAreReportedInOrderInTheLanguageOfTheRunAndChangeNothing)
{
    struct Row {
        const char* text;
        std::vector<std::string> errors;
    };
    const Row rows[] = {
        {"7-3", {"Error in group No. 1: 7-3"}},
        {"0", {"Error in group No. 1: 0-0"}},
        {"21", {"Error in group No. 1: 21-21"}},
        {"1 - 7", {"Error in group No. 2: 0-0"}}, // the dash alone is a group
        {"4, 13-5, 0", {"Error in group No. 2: 13-5", "Error in group No. 3: 0-0"}},
        {" 5", {"Error in group No. 1: 0-0"}},    // a leading separator: empty group 1
        {",5", {"Error in group No. 1: 0-0"}},
        {"", {"Error in group No. 1: 0-0"}},      // an all-blank text is one empty group
        {"     ", {"Error in group No. 1: 0-0"}},
        {"1--5", {"Error in group No. 1: 1--5"}},
        {"99999999999999", {"Error in group No. 1: 2147483647-2147483647"}},
    };
    for (const Row& row : rows) {
        const Applied a = apply(row.text, 20, UiLanguage::english, {11});
        EXPECT_EQ(a.errors, row.errors) << row.text;
        EXPECT_EQ(a.selected, std::set<int>{11}) << row.text;
    }
    const Applied romanian = apply("1, 13-5", 20, UiLanguage::romanian);
    EXPECT_EQ(romanian.errors, std::vector<std::string>{"Eroare in grupul nr. 2: 13-5"});
}

TEST(NodeRanges, AnyNumberOfGroupsOfAnyLengthWithValidNodes)
{
    // More groups than nodes, and a group of 16 characters: all name valid nodes.
    Applied a = apply("1 2 3 3", 3);
    EXPECT_TRUE(a.errors.empty());
    EXPECT_EQ(a.groups, 4);
    EXPECT_EQ(a.selected, (std::set<int>{1, 2, 3}));
    a = apply("0000000000000002", 20);
    EXPECT_TRUE(a.errors.empty());
    EXPECT_EQ(a.selected, std::set<int>{2});
    a = apply("000000000000001-0000000000000000003", 20);
    EXPECT_EQ(a.selected, (std::set<int>{1, 2, 3}));
}

TEST(NodeRanges, FormatWritesCompactRunsThatReadBack)
{
    const std::set<int> selection{1, 2, 3, 7, 9, 10};
    auto is_in = [](const std::set<int>& s) { return [&s](int n) { return s.count(n) > 0; }; };
    const std::string text = format_node_ranges(12, is_in(selection));
    EXPECT_EQ(text, "1-3,7,9-10");
    EXPECT_EQ(apply(text, 12).selected, selection);

    EXPECT_EQ(format_node_ranges(10, is_in(std::set<int>{5, 6})), "5-6");
    EXPECT_EQ(format_node_ranges(10, is_in(std::set<int>{4})), "4");
    EXPECT_EQ(format_node_ranges(250, [](int) { return true; }), "1-250");
    EXPECT_EQ(format_node_ranges(10, [](int) { return false; }), "");

    // Every other node of a large model: the text ends after the last whole group within 255
    // characters, never inside a number, so that reading it back selects only picked nodes.
    const std::string even = format_node_ranges(10000, [](int n) { return n % 2 == 0; });
    EXPECT_EQ(even.size(), 254u);
    EXPECT_EQ(even.substr(0, 8), "2,4,6,8,");
    EXPECT_EQ(even.substr(even.size() - 4), ",154");
    const std::string odd = format_node_ranges(10000, [](int n) { return n % 2 == 1; });
    EXPECT_EQ(odd.size(), 252u);
    EXPECT_EQ(odd.substr(odd.size() - 4), ",153");
    for (int n : apply(odd, 10000).selected)
        EXPECT_EQ(n % 2, 1) << n;
    // A text of exactly 255 characters is written whole and reads back whole.
    const auto up_to_255 = [](int n) { return (n % 2 == 0 && n <= 152) || n == 1549; };
    const std::string full = format_node_ranges(2000, up_to_255);
    EXPECT_EQ(full.size(), 255u);
    EXPECT_EQ(full.substr(full.size() - 5), ",1549");
    EXPECT_TRUE(apply(full, 2000).selected.count(1549));
}

} // namespace
} // namespace vorax
