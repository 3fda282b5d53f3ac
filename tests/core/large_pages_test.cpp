// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/large_pages.h"

#include <cerrno>
#include <cstdint>
#include <numeric>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include <gtest/gtest.h>

namespace vorax {
namespace {

// Room of every size keeps what is written into it through growing, copying and giving back;
// large room starts at a two-megabyte boundary, so that all of it can be large pages.
TEST(LargePages, RoomOfEverySizeKeepsItsContents)
{
    const struct {
        const char* name;
        std::size_t count;
    } rows[] = {
        {"empty", 0},
        {"one", 1},
        {"just below the mapped size", kLargeFrom / sizeof(std::int32_t) - 1},
        {"the mapped size", kLargeFrom / sizeof(std::int32_t)},
        {"more than one large page, not a whole number of them", (std::size_t{5} << 20) / sizeof(std::int32_t) + 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        LargeVector<std::int32_t> room(row.count);
        std::iota(room.begin(), room.end(), 7);
        if (row.count * sizeof(std::int32_t) >= kLargeFrom) {
#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__)
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(room.data()) % (std::uintptr_t{2} << 20), 0u);
#endif
        }
        LargeVector<std::int32_t> copy = room;
        copy.push_back(-1); // grows into new room
        ASSERT_EQ(copy.size(), row.count + 1);
        for (std::size_t i = 0; i < row.count; ++i)
            ASSERT_EQ(copy[i], static_cast<std::int32_t>(i) + 7) << i;
        EXPECT_EQ(copy.back(), -1);
        EXPECT_EQ(copy, copy);
        copy.resize(row.count);
        EXPECT_EQ(copy, room);
    }
}

#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__)
// Large room given back leaves the process: the system knows its addresses no more.
TEST(LargePages, RoomGivenBackLeavesTheProcess)
{
    const std::size_t bytes = std::size_t{3} << 20;
    void* room = allocate_large(bytes);
    std::vector<unsigned char> pages(bytes / 4096 + 1);
    ASSERT_EQ(mincore(room, bytes, pages.data()), 0);
    free_large(room, bytes);
    EXPECT_EQ(mincore(room, bytes, pages.data()), -1);
    EXPECT_EQ(errno, ENOMEM);
    free_large(nullptr, bytes); // nothing to give back
}
#endif

} // namespace
} // namespace vorax
