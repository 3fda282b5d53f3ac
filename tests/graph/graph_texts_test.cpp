#include <gtest/gtest.h>

#include "graph/graph_texts.h"

namespace vorax {
namespace {

TEST(GraphTexts, HeadingHasThirtyCharacters)
{
    EXPECT_EQ(graph_heading("VORAX:   ", UiLanguage::English), "VORAX: Structure Graph        ");
    EXPECT_EQ(graph_heading("VORAX:", UiLanguage::Romanian), "VORAX: Graful Structurii      ");
    EXPECT_EQ(graph_heading("TAVELS/VORAX:", UiLanguage::Romanian).size(), 30u);
    EXPECT_EQ(graph_heading("TAVELS/VORAX:", UiLanguage::Romanian), "TAVELS/VORAX: Graful Structuri");
}

TEST(GraphTexts, NodeLineInBothLanguages)
{
    EXPECT_EQ(node_line("3-5,9   ", 4, UiLanguage::English), "Nodes 3-5,9 (4 nodes)");
    EXPECT_EQ(node_line("3-5,9", 4, UiLanguage::Romanian), "Nodurile 3-5,9 (4 noduri)");
    EXPECT_EQ(node_line("1", 1, UiLanguage::English), "Nodes 1 (1 nodes)");
    // A range text of 255 characters makes the line reach its 255.
    const std::string long_ranges(255, '1');
    EXPECT_EQ(node_line(long_ranges, 1000, UiLanguage::English).size(), 255u);
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
