// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "graph/label_table.h"

namespace vorax {
namespace {

// The rule as it reads: every lower-numbered entry compared one by one, unlabelled numbers
// holding (0, 0). The reference for the grid of LabelTable.
class PlainLabelTable {
public:
    PlainLabelTable(double tol_x, double tol_y) : tol_x_(tol_x), tol_y_(tol_y) {}
    bool collides(double x, double y) const
    {
        for (std::size_t j = 0; j < xs_.size(); ++j)
            if (std::abs(x - xs_[j]) <= tol_x_ && std::abs(y - ys_[j]) <= tol_y_)
                return true;
        return false;
    }
    void place(double x, double y)
    {
        xs_.push_back(x);
        ys_.push_back(y);
    }
    void skip() { place(0.0, 0.0); }

private:
    double tol_x_, tol_y_;
    std::vector<double> xs_, ys_;
};

// Runs the node-pass rule (a colliding label is raised by 3 tol_y and filed there) over random
// points with both tables and compares every answer.
void compare_node_pass(double tol_x, double tol_y, double spread, double skip_share, unsigned seed,
                       int count, const std::vector<std::pair<double, double>>& extra = {})
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> coordinate(-spread, spread);
    std::bernoulli_distribution skipped(skip_share);
    LabelTable fast(tol_x, tol_y, static_cast<std::size_t>(count));
    PlainLabelTable plain(tol_x, tol_y);
    int collisions = 0;
    std::size_t skips = 0; // handed to the fast table in one stretch
    for (int i = 0; i < count + static_cast<int>(extra.size()); ++i) {
        if (i < count && skipped(random)) {
            ++skips;
            plain.skip();
            continue;
        }
        fast.skip(std::exchange(skips, 0));
        double x = 0, y = 0;
        if (i < count) {
            // Snap to a lattice of the tolerance now and then, so that exact boundary distances
            // occur.
            x = coordinate(random);
            y = coordinate(random);
            if (i % 3 == 0 && tol_x > 0 && tol_y > 0) {
                x = std::round(x / tol_x) * tol_x;
                y = std::round(y / tol_y) * tol_y;
            }
        } else {
            std::tie(x, y) = extra[static_cast<std::size_t>(i - count)];
        }
        const bool expected = plain.collides(x, y);
        ASSERT_EQ(fast.collides(x, y), expected) << "entry " << i + 1 << " at " << x << ", " << y;
        collisions += expected;
        const double y_l = expected ? y + 3 * tol_y : y;
        fast.place(x, y_l);
        plain.place(x, y_l);
    }
    fast.skip(skips);
    EXPECT_EQ(fast.size(), static_cast<std::size_t>(count + extra.size()));
    if (tol_x > 0 && spread > 0) {
        EXPECT_GT(collisions, 0) << "the case should exercise collisions";
    }
}

TEST(LabelCollisions, GridMatchesThePlainRuleOnDenseClustersAndOnSparseAndLargeCoordinates)
{
    for (unsigned seed = 1; seed <= 20; ++seed)
        compare_node_pass(0.05, 0.02, 1.0, 0.2, seed, 1500);
    compare_node_pass(0.5, 0.25, 100.0, 0.1, 7, 3000);
    compare_node_pass(1e-6, 1e-6, 1e-4, 0.5, 8, 3000);
    compare_node_pass(3.0, 3.0, 1e12, 0.0, 9, 500, {{1e12, 1e12}, {1e12 + 2, 1e12 + 1}});
}

TEST(LabelCollisions, GridMatchesThePlainRuleForOddTolerancesAndPoints)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<std::pair<double, double>> odd{
        {0, 0}, {nan, 0}, {inf, 1}, {-inf, -inf}, {1e300, -1e300}, {0.0, -0.0}, {1e-320, 0},
        {0, -1e300}, {0, -1e300}, {-1e300, 0}, {-1e300, 0}}; // twice each in an outermost cell
    compare_node_pass(0.0, 0.0, 1.0, 0.3, 11, 200, odd);
    compare_node_pass(1e-310, 1e-310, 1.0, 0.3, 12, 200, odd);
    compare_node_pass(inf, 1.0, 1.0, 0.3, 13, 200, odd);
    compare_node_pass(nan, 1.0, 1.0, 0.3, 14, 200, odd);
    compare_node_pass(-1.0, 1.0, 1.0, 0.3, 15, 200, odd);
    compare_node_pass(0.05, 0.0, 0.2, 0.3, 16, 400, odd); // crowded, one tolerance zero
    compare_node_pass(0.0, 0.05, 0.2, 0.3, 17, 400, odd);
}

TEST(LabelCollisions, UnlabelledNumbersCountAsEntriesAtTheOriginAndTheEdgesOfTheToleranceCount)
{
    LabelTable table(0.1, 0.1);
    EXPECT_FALSE(table.collides(0.05, 0.05)); // nothing handled yet
    table.place(5, 5);
    EXPECT_FALSE(table.collides(0.05, 0.05));
    table.skip();
    EXPECT_TRUE(table.collides(0.05, 0.05));
    EXPECT_TRUE(table.collides(-0.1, 0.1)); // the edges count
    EXPECT_FALSE(table.collides(0.1001, 0.0));

    LabelTable wider(0.5, 0.25);
    wider.place(1.0, 1.0);
    EXPECT_TRUE(wider.collides(1.5, 1.25));
    EXPECT_TRUE(wider.collides(0.5, 0.75));
    EXPECT_FALSE(wider.collides(1.5000001, 1.0));
    EXPECT_FALSE(wider.collides(1.0, 0.7499999));
}

} // namespace
} // namespace vorax
