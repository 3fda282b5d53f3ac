// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "graph/graph_texts.h"
#include "model/model_reader.h"
#include "model/record_lines.h"
#include "test_helpers.h"

namespace vorax {
namespace {

TEST(GraphTexts, HeadingHasThirtyCharacters)
{
    EXPECT_EQ(graph_heading("VORAX:   ", UiLanguage::english), "VORAX: Structure Graph        ");
    EXPECT_EQ(graph_heading("VORAX:", UiLanguage::romanian), "VORAX: Graful Structurii      ");
    EXPECT_EQ(graph_heading("TAVELS/VORAX:", UiLanguage::romanian).size(), 30u);
    EXPECT_EQ(graph_heading("TAVELS/VORAX:", UiLanguage::romanian),
              "TAVELS/VORAX: Graful Structuri");
}

TEST(GraphTexts, NodeLineInBothLanguages)
{
    EXPECT_EQ(node_line("3-5,9   ", 4, UiLanguage::english), "Nodes 3-5,9 (4 nodes)");
    EXPECT_EQ(node_line("3-5,9", 4, UiLanguage::romanian), "Nodurile 3-5,9 (4 noduri)");
    EXPECT_EQ(node_line("1", 1, UiLanguage::english), "Nodes 1 (1 nodes)");
    // A range text of 255 characters makes the line reach its 255.
    const std::string long_ranges(255, '1');
    EXPECT_EQ(node_line(long_ranges, 1000, UiLanguage::english).size(), 255u);
}

TEST(GraphTexts, CentredColumnStartsAtOneForWideTexts)
{
    EXPECT_EQ(centred_column(100, 20), 40);
    EXPECT_EQ(centred_column(101, 20), 40); // 81 / 2 truncated
    EXPECT_EQ(centred_column(20, 20), 1);
    EXPECT_EQ(centred_column(20, 23), 1); // -3 / 2 = -1 truncated towards zero
    EXPECT_EQ(centred_column(20, 100), 1);
}

// What pointing at a node or an element tells, from real files: the lines are those of the
// coordinate record, the element record, or the incidence records of an element's two ends.
TEST(GraphTexts, PointedNodesAndElementsInBothLanguages)
{
    struct Case {
        const char* example;
        char kind;
        int number;
        const char* english;
        const char* romanian;
    };
    const Case cases[] = {
        {"plane_frame.dat", 'n', 1, "Node 1  x 0.000  y 0.000  codes 1 1  fixed  (line 19)",
         "Nod 1  x 0.000  y 0.000  coduri 1 1  fix  (linia 19)"},
        {"plane_frame.dat", 'n', 2, "Node 2  x 6.000  y 0.000  codes 0 1  values 0.000 -0.005  (line 20)",
         "Nod 2  x 6.000  y 0.000  coduri 0 1  valori 0.000 -0.005  (linia 20)"},
        {"plane_frame.dat", 'n', 5, "Node 5  x 6.000  y 3.500  free  (line 23)",
         "Nod 5  x 6.000  y 3.500  liber  (linia 23)"},
        {"plane_frame.dat", 'e', 4, "Element 4  nodes 2-5  length 3.500  (line 35)",
         "Element 4  noduri 2-5  lungime 3.500  (linia 35)"},
        {"truss_by_node.dat", 'e', 16, "Element 16  nodes 1-8  length 4.243  (lines 31, 38)",
         "Element 16  noduri 1-8  lungime 4.243  (liniile 31, 38)"},
        {"space_tower.dat", 'n', 17, "Node 17  x 0.000  y 0.000  z 12.000  free  (line 32)",
         "Nod 17  x 0.000  y 0.000  z 12.000  liber  (linia 32)"},
    };
    for (const Case& c : cases) {
        const ReadResult read = read_model(testing::source_path(std::string("examples/") + c.example));
        ASSERT_TRUE(read.ok()) << c.example;
        const RecordLines lines(read.notes);
        for (UiLanguage language : {UiLanguage::english, UiLanguage::romanian}) {
            const std::string text
                = c.kind == 'n' ? pointed_node_text(read.model, c.number, lines, language)
                                : pointed_element_text(read.model, c.number, lines, language);
            EXPECT_EQ(text, language == UiLanguage::english ? c.english : c.romanian);
        }
    }

    // A node no coordinate record names, though a code and a value record do; an element whose
    // two ends come from one record.
    const ReadResult read = read_model_text("T\n3 1 2 0 2\n3 3 1 0\nC\n3 0.5 0\nV\n-\n-\n-\n-\n1 2.5 0\n"
                                            "2 1E-7 0\nI\n3 1 1\nEND\n");
    ASSERT_TRUE(read.ok());
    const RecordLines lines(read.notes);
    EXPECT_EQ(pointed_node_text(read.model, 3, lines, UiLanguage::english),
              "Node 3  x 0.000  y 0.000  codes 1 0  values 0.500 0.000  (no coordinate record)");
    EXPECT_EQ(pointed_node_text(read.model, 3, lines, UiLanguage::romanian),
              "Nod 3  x 0.000  y 0.000  coduri 1 0  valori 0.500 0.000  (fara inregistrare de coordonate)");
    EXPECT_EQ(pointed_node_text(read.model, 2, lines, UiLanguage::english),
              "Node 2  x 1E-07  y 0.000  free  (line 12)");
    EXPECT_EQ(pointed_element_text(read.model, 1, lines, UiLanguage::english),
              "Element 1  nodes 3-3  length 0.000  (line 14)");
}

TEST(GraphTexts, DistanceBetweenTwoNodes)
{
    const ReadResult plane = read_model(testing::source_path("examples/plane_frame.dat"));
    const ReadResult tower = read_model(testing::source_path("examples/space_tower.dat"));
    ASSERT_TRUE(plane.ok() && tower.ok());
    EXPECT_EQ(distance_text(plane.model, 1, 5, UiLanguage::english),
              "Node 1 → node 5: 6.946 (dx 6.000, dy 3.500, dz 0.000)");
    EXPECT_EQ(distance_text(plane.model, 5, 1, UiLanguage::romanian),
              "Nod 5 → nod 1: 6.946 (dx -6.000, dy -3.500, dz 0.000)");
    EXPECT_EQ(distance_text(tower.model, 1, 17, UiLanguage::english),
              "Node 1 → node 17: 12.000 (dx 0.000, dy 0.000, dz 12.000)");
}

TEST(GraphTexts, OtherNodesAtAPointedPlace)
{
    const std::vector<std::int32_t> eleven{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    struct Row {
        std::vector<std::int32_t> others;
        const char* english;
        const char* romanian;
    };
    const Row rows[] = {
        {{}, "", ""},
        {{12}, " — also node 12 here", " — aici si nodul 12"},
        {{12, 15}, " — also nodes 12, 15 here", " — aici si nodurile 12, 15"},
        {eleven, " — also nodes 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, ... here",
         " — aici si nodurile 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, ..."},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(nodes_here_text(row.others, UiLanguage::english), row.english);
        EXPECT_EQ(nodes_here_text(row.others, UiLanguage::romanian), row.romanian);
    }
}

} // namespace
} // namespace vorax
