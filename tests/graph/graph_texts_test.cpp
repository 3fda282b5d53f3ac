#include <gtest/gtest.h>

#include "graph/graph_texts.h"

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

} // namespace
} // namespace vorax
