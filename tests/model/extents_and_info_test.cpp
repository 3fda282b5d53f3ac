// SPDX-License-Identifier: GPL-3.0-or-later
// Extents over all or the selected nodes, and the lines the info window gets after a load.

#include <gtest/gtest.h>

#include "model/model_info.h"
#include "model_test_support.h"

namespace vorax {
namespace {

using testing::model_file;
using testing::read_valid;

StructureModel spatial_model()
{
    return read_valid(model_file("4 0 3 1 0", "", "",
                                 "1 1.0 2.0 3.0\n2 -4.0 0.5 9.0\n3 2.5 -6.0 -1.0\n4 0.0 7.0 2.0\n", ""));
}

// A number outside the model stops the test build at the access instead of reading past the
// arrays (callers check numbers first; this catches the one that forgot).
TEST(ModelNumbers, NumbersOutsideTheModelAreCaught)
{
#ifdef NDEBUG
    GTEST_SKIP() << "assertions are off in this build";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const StructureModel m = spatial_model(); // nodes 1-4, no elements
    EXPECT_EQ(m.node(4).coords[1], 7.0f);
    EXPECT_DEATH((void)m.node(0), "number >= 1");
    EXPECT_DEATH((void)m.node(5), "count");
    EXPECT_DEATH((void)m.element(1), "count");
}

TEST(Extents, AllNodesCount)
{
    StructureModel m = spatial_model();
    EXPECT_TRUE(update_extents(m, true));
    EXPECT_EQ(m.xmin, -4.0);
    EXPECT_EQ(m.xmax, 2.5);
    EXPECT_EQ(m.ymin, -6.0);
    EXPECT_EQ(m.ymax, 7.0);
    EXPECT_EQ(m.zmin, -1.0);
    EXPECT_EQ(m.zmax, 9.0);
}

TEST(Extents, OnlySelectedNodesCountWithoutAllNodes)
{
    StructureModel m = spatial_model();
    m.node(1).selected = true;
    m.node(4).selected = true;
    EXPECT_TRUE(update_extents(m, false));
    EXPECT_EQ(m.xmin, 0.0);
    EXPECT_EQ(m.xmax, 1.0);
    EXPECT_EQ(m.ymin, 2.0);
    EXPECT_EQ(m.ymax, 7.0);
    EXPECT_EQ(m.zmin, 2.0);
    EXPECT_EQ(m.zmax, 3.0);
}

TEST(Extents, SingleConsideredNodeGivesEqualMinimaAndMaxima)
{
    StructureModel m = spatial_model();
    m.node(3).selected = true;
    EXPECT_TRUE(update_extents(m, false));
    EXPECT_EQ(m.xmin, 2.5);
    EXPECT_EQ(m.xmax, 2.5);
    EXPECT_EQ(m.ymin, m.ymax);
    EXPECT_EQ(m.zmin, m.zmax);
}

TEST(Extents, NoConsideredNodeKeepsThePreviousExtents)
{
    StructureModel m = spatial_model();
    update_extents(m, true);
    StructureModel before = m;
    EXPECT_FALSE(update_extents(m, false));
    EXPECT_EQ(m, before);
}

TEST(Extents, PlaneModelLeavesZAlone)
{
    StructureModel m = read_valid(model_file("2 0 2 1 0", "", "", "1 1 1\n2 3 -2\n", ""));
    m.zmin = -11.0;
    m.zmax = 11.0;
    update_extents(m, true);
    EXPECT_EQ(m.xmax, 3.0);
    EXPECT_EQ(m.ymin, -2.0);
    EXPECT_EQ(m.zmin, -11.0);
    EXPECT_EQ(m.zmax, 11.0);
}

TEST(Extents, CoordinatesAreWidenedFromFloats)
{
    StructureModel m = read_valid(model_file("1 0 2 1 0", "", "", "1 0.1 0.2\n", ""));
    update_extents(m, true);
    EXPECT_EQ(m.xmin, static_cast<double>(0.1f));
    EXPECT_NE(m.xmin, 0.1);
}

TEST(Extents, AllNodesAtTheOriginGiveZeroExtents)
{
    StructureModel m = read_valid(model_file("3 0 2 1 0", "", "", "", ""));
    update_extents(m, true);
    EXPECT_EQ(m.origin_node, 1);
    EXPECT_EQ(m.xmin, 0.0);
    EXPECT_EQ(m.xmax, 0.0);
    EXPECT_EQ(m.ymin, 0.0);
    EXPECT_EQ(m.ymax, 0.0);
}

struct ExtentTextCase {
    const char* name;
    double value;
    const char* expected;
};

TEST(InfoLines, ExtentTexts)
{
    const ExtentTextCase cases[] = {
        {"half", 12.5, "12.5"},
        {"zero", 0.0, "0."},
        {"negative_whole", -250.0, "-250."},
        {"small", 0.001, "0.1E-02"},
        {"seven_digits", 1234.5, "1234.5"},
        {"large", 12345678.0, "0.1234568E+08"},
        {"float_rounding_shows_no_noise", 0.1, "0.1"},
        {"value_rounded_to_float_first", 1.00000001, "1."},
        {"beyond_float_range", 1e300, "Infinity"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(extent_text(c.value), c.expected);
    }
}

TEST(InfoLines, PlaneModelReportsXAndYOnly)
{
    StructureModel m = read_valid(model_file("2 0 2 1 0", "", "", "1 -250 0.001\n2 12.5 3\n", "", "FRAME  "));
    update_extents(m, true);
    std::vector<std::string> expected{" FRAME", " xmin, xmax:  -250.  12.5", " ymin, ymax:  0.1E-02  3."};
    EXPECT_EQ(model_info_lines(m), expected);
}

TEST(InfoLines, SpatialModelAddsZ)
{
    StructureModel m = spatial_model();
    update_extents(m, true);
    std::vector<std::string> expected{" TEST MODEL", " xmin, xmax:  -4.  2.5", " ymin, ymax:  -6.  7.",
                                      " zmin, zmax:  -1.  9."};
    EXPECT_EQ(model_info_lines(m), expected);
}

TEST(InfoLines, BlankTitleGivesOneBlank)
{
    StructureModel m = read_valid(model_file("1 0 2 1 0", "", "", "", "", "    "));
    update_extents(m, true);
    EXPECT_EQ(model_info_lines(m).front(), " ");
}

} // namespace
} // namespace vorax
