// SPDX-License-Identifier: GPL-3.0-or-later
// The comparison of two readings of a model: pairs of small models with the lines that tell their
// changes, what the change marks take from it, and the summary in both languages.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/model_diff.h"
#include "model_test_support.h"

namespace vorax {
namespace {

using testing::model_file;

// A plane square of four nodes and three elements, node 1 held. Lines: 3 the code record, 10-13
// the coordinates, 15-17 the elements.
constexpr const char* kCodes = "1 1 1 1\n";
constexpr const char* kCoordinates = "1 0 0\n2 1 0\n3 1 1\n4 0 1\n";
constexpr const char* kElements = "1 1 2\n2 2 3\n3 3 4\n";

struct Parts {
    std::string header = "4 3 2 1 0";
    std::string codes = kCodes;
    std::string values;
    std::string coordinates = kCoordinates;
    std::string elements = kElements;
    std::string title = "TEST MODEL";

    std::string text() const { return model_file(header, codes, values, coordinates, elements, title); }
};

struct Compared {
    ReadResult old_read, new_read;
    ModelDiff diff;
    std::vector<std::string> lines;
};

Compared compare(const std::string& old_text, const std::string& new_text)
{
    Compared c{read_model_text(old_text, "old.dat"), read_model_text(new_text, "new.dat"), {}, {}};
    EXPECT_TRUE(c.old_read.ok() && c.new_read.ok()) << c.old_read.message << c.new_read.message;
    c.diff = diff_models(c.old_read.model, RecordLines(c.old_read.notes), c.new_read.model,
                         RecordLines(c.new_read.notes));
    for (const ModelChange& change : c.diff.changes)
        c.lines.push_back(change_line("old.dat", "new.dat", change, c.old_read.model, c.new_read.model));
    return c;
}

struct Pair {
    const char* name;
    Parts old_parts, new_parts;
    std::vector<std::string> lines;
    const char* summary = "";
};

Parts with(void (*edit)(Parts&))
{
    Parts parts;
    edit(parts);
    return parts;
}

TEST(ModelDiff, PairsAndTheirLines)
{
    const Parts square;
    const Parts grown = with([](Parts& p) {
        p.header = "5 4 2 1 0";
        p.coordinates += "5 2 1\n";
        p.elements += "4 4 5\n";
    });
    const Parts by_node = with([](Parts& p) {
        p.header = "4 2 2 0 2";
        p.elements = "1 0 1\n2 1 2\n3 2 0\n4 0 0\n"; // 1: 1-2, 2: 2-3
    });
    const Pair pairs[] = {
        {"same", square, square, {}, "4 nodes, 3 elements; unchanged"},
        {"same_floats_written_otherwise_records_moved_and_minus_zero", square,
         with([](Parts& p) { p.coordinates = "4 0 1.0\n3 10E-1 1\n1 -0 -0.0\n2 1,0\n"; }), {},
         "4 nodes, 3 elements; unchanged"},
        {"moved_in_file_order_by_one_bit", square,
         with([](Parts& p) { p.coordinates = "4 0 2\n3 1 1.0000001\n2 1 0\n1 0 0\n"; }),
         {"new.dat:10: node 4 moved from (0.000, 1.000) to (0.000, 2.000)",
          "new.dat:11: node 3 moved from (1.000, 1.000) to (1.000, 1.0000001)"},
         "4 nodes, 3 elements; 2 nodes moved"},
        {"coordinate_record_taken_out", square, with([](Parts& p) { p.coordinates = "1 0 0\n2 1 0\n3 1 1\n"; }),
         {"old.dat:13: node 4 moved from (0.000, 1.000) to (0.000, 0.000)"}},
        {"added", square, grown, {"new.dat:14: node 5 added", "new.dat:19: element 4 added"},
         "5 nodes, 4 elements; 1 node added, 1 element added"},
        {"added_without_records", square, with([](Parts& p) { p.header = "5 4 2 1 0"; }),
         {"new.dat: node 5 added", "new.dat: element 4 added"}},
        {"removed_after_the_changes_on_new_lines", grown,
         with([](Parts& p) {
             p.coordinates = "1 0 0\n2 1 0\n3 1 1\n4 0 3\n";
             p.elements = "1 1 2\n2 2 4\n3 3 4\n";
         }),
         {"new.dat:13: node 4 moved from (0.000, 1.000) to (0.000, 3.000)", "old.dat:14: node 5 removed",
          "new.dat:16: element 2 now joins 2-4 (was 2-3)", "old.dat:19: element 4 removed"},
         "4 nodes, 3 elements; 1 node removed, 1 node moved, 1 element removed, 1 element changed"},
        {"codes_given", square, with([](Parts& p) { p.codes += "2 2 0 1\n"; }),
         {"new.dat:4: node 2 supports changed: codes 0 0 -> 0 1"}, "4 nodes, 3 elements; 1 support changed"},
        {"codes_taken_out_come_before_values_given", with([](Parts& p) { p.codes += "2 2 0 1\n"; }),
         with([](Parts& p) { p.values = "3 0 -0.005\n"; }),
         {"old.dat:4: node 2 supports changed: codes 0 1 -> 0 0", "new.dat:5: support values of node 3 changed"}},
        {"values_given_even_zeros_and_changed", with([](Parts& p) { p.values = "2 0 0\n3 0 -0.005\n"; }),
         with([](Parts& p) { p.values = "3 0 -0.006\n4 0 0\n"; }),
         {"new.dat:5: support values of node 3 changed", "new.dat:6: support values of node 4 changed",
          "old.dat:5: support values of node 2 changed"},
         "4 nodes, 3 elements; 3 supports changed"},
        {"by_node_on_the_record_of_the_end_that_changed", by_node,
         with([](Parts& p) {
             p.header = "4 2 2 0 2";
             p.elements = "1 0 1\n2 1 2\n3 0 0\n4 2 0\n";
         }),
         {"new.dat:18: element 2 now joins 2-4 (was 2-3)"}},
        {"element_left_without_an_end", square, with([](Parts& p) { p.elements = "1 1 2\n2 2 3\n3 3 0\n"; }),
         {"new.dat:17: element 3 now joins 3-0 (was 3-4)"}},
        {"title_after_a_comment", square, with([](Parts& p) { p.title = "// a note\nOTHER TITLE"; }),
         {"new.dat:2: title changed"}, "4 nodes, 3 elements; title changed"},
        {"plane_to_spatial", square,
         with([](Parts& p) {
             p.header = "4 3 3 1 0";
             p.codes = "1 1 1 1 1\n";
             p.coordinates = "1 0 0 0\n2 1 0 0\n3 1 1 0\n4 0 1 0\n";
         }),
         {"new.dat:2: model now spatial: NGL 3 (was 2)", "new.dat:3: node 1 supports changed: codes 1 1 -> 1 1 1"},
         "4 nodes, 3 elements; 1 support changed, now spatial"},
    };
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(pair.name);
        const Compared c = compare(pair.old_parts.text(), pair.new_parts.text());
        EXPECT_EQ(c.lines, pair.lines);
        if (*pair.summary != '\0') {
            EXPECT_EQ(change_summary(c.diff, UiLanguage::english), pair.summary);
        }
    }
}

// What a redrawn graph marks: the kinds name the nodes and elements, the counts give the summary
// (a node whose codes and values changed is one support), and the lines that are gone keep their
// ends where they were.
TEST(ModelDiff, WhatTheMarksTake)
{
    Parts old_parts;
    old_parts.header = "5 5 2 1 0";
    old_parts.coordinates += "5 2 1\n";
    old_parts.elements += "4 4 5\n5 5 1\n";
    Parts new_parts = old_parts;
    new_parts.header = "5 4 2 1 0";
    new_parts.codes += "3 3 0 1\n";
    new_parts.values = "3 0 -0.01\n";
    new_parts.elements = "1 1 2\n2 2 3\n3 0 4\n4 4 5\n";
    const Compared c = compare(old_parts.text(), new_parts.text());
    using K = ChangeKind;
    std::vector<std::pair<K, std::int32_t>> kinds;
    for (const ModelChange& change : c.diff.changes)
        kinds.emplace_back(change.kind, change.number);
    EXPECT_EQ(kinds, (std::vector<std::pair<K, std::int32_t>>{
                         {K::codes_changed, 3}, {K::values_changed, 3}, {K::element_rejoined, 3},
                         {K::element_removed, 5}}));
    EXPECT_EQ(c.diff.supports_changed, 1);
    EXPECT_EQ(c.diff.count(K::element_removed), 1);
    EXPECT_EQ(c.diff.count(K::codes_changed), 1);
    EXPECT_EQ(c.diff.removed_lines, (std::vector<RemovedLine>{{3, {1, 1, 0}, {0, 1, 0}}, {5, {2, 1, 0}, {0, 0, 0}}}));
    EXPECT_EQ(reloaded_line(c.diff, UiLanguage::english),
              " * Reloaded: 5 nodes, 4 elements; 1 element removed, 1 element changed, 1 support changed");

    // Without the lines of the files every change still comes, on none.
    const ModelDiff bare = diff_models(c.old_read.model, {}, c.new_read.model, {});
    ASSERT_EQ(bare.changes.size(), c.diff.changes.size());
    EXPECT_EQ(change_line("o", "n", bare.changes[3], c.old_read.model, c.new_read.model), "o: element 5 removed");
    EXPECT_EQ(change_line("o", "n", bare.changes[0], c.old_read.model, c.new_read.model),
              "n: node 3 supports changed: codes 0 0 -> 0 1");
}

ModelDiff counted(std::int32_t nodes, std::int32_t elements, std::vector<std::pair<ChangeKind, std::int64_t>> counts,
                  std::int64_t supports = 0, std::int32_t ngl = 2)
{
    ModelDiff diff;
    diff.node_count = nodes;
    diff.element_count = elements;
    diff.NGL = ngl;
    diff.supports_changed = supports;
    for (const auto& [kind, count] : counts)
        diff.counts[static_cast<std::size_t>(kind)] = count;
    return diff;
}

TEST(ModelDiff, ReloadedLineInBothLanguages)
{
    using K = ChangeKind;
    struct Row {
        const char* name;
        ModelDiff diff;
        const char* english;
        const char* romanian;
    };
    const Row rows[] = {
        {"unchanged", counted(12, 15, {}), " * Reloaded: 12 nodes, 15 elements; unchanged",
         " * Reincarcat: 12 noduri, 15 elemente; neschimbat"},
        {"some", counted(12, 15, {{K::node_moved, 2}, {K::element_added, 1}, {K::codes_changed, 1}}, 1),
         " * Reloaded: 12 nodes, 15 elements; 2 nodes moved, 1 element added, 1 support changed",
         " * Reincarcat: 12 noduri, 15 elemente; 2 noduri mutate, 1 element adaugat, 1 reazem modificat"},
        {"one_of_each",
         counted(1, 1, {{K::node_added, 1}, {K::element_removed, 1}, {K::element_rejoined, 1}, {K::title_changed, 1},
                        {K::ngl_changed, 1}}, 0, 3),
         " * Reloaded: 1 node, 1 element; 1 node added, 1 element removed, 1 element changed, title changed, now spatial",
         " * Reincarcat: 1 nod, 1 element; 1 nod adaugat, 1 element eliminat, 1 element modificat, titlu modificat, acum spatial"},
        {"many_of_each",
         counted(120, 101, {{K::node_removed, 20}, {K::element_added, 119}, {K::element_removed, 100},
                            {K::element_rejoined, 1001}, {K::ngl_changed, 1}}, 1000),
         " * Reloaded: 120 nodes, 101 elements; 20 nodes removed, 119 elements added, 100 elements removed, "
         "1001 elements changed, 1000 supports changed, now plane",
         " * Reincarcat: 120 de noduri, 101 elemente; 20 de noduri eliminate, 119 elemente adaugate, "
         "100 de elemente eliminate, 1001 elemente modificate, 1000 de reazeme modificate, acum plan"},
        {"no_elements", counted(3, 0, {{K::node_added, 2}}), " * Reloaded: 3 nodes, 0 elements; 2 nodes added",
         " * Reincarcat: 3 noduri, 0 elemente; 2 noduri adaugate"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(reloaded_line(row.diff, UiLanguage::english), row.english);
        EXPECT_EQ(reloaded_line(row.diff, UiLanguage::romanian), row.romanian);
    }
}

} // namespace
} // namespace vorax
