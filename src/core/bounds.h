// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lowest and highest of a run of points, gathered one point at a time, so that one pass over
// the nodes can gather several of them at once.
//
// Contents: Bounds.

#include <algorithm>
#include <array>
#include <cstddef>

namespace vorax {

// Per component: the first point seeds both ends, every later one goes through std::min and
// std::max in the order added. The order matters with a NaN: one that seeded an end stays, one
// that comes later is passed over. Both ends stay 0 until a point is added.
//
// The points are 32-bit, as the model keeps them, and so are the ends: they are the ends of the
// points widened to 64 bits (widening keeps the order), widened once where they are used. That
// also keeps out of a loop the widening of a value just narrowed (a plot position just
// projected), which GCC 12 wrongly drops when it pairs two such values in one vector register.
template <std::size_t N>
struct Bounds {
    std::array<float, N> lo{};
    std::array<float, N> hi{};
    bool seeded = false;

    void add(const std::array<float, N>& point)
    {
        if (!seeded) {
            lo = hi = point;
            seeded = true;
            return;
        }
        for (std::size_t k = 0; k < N; ++k) {
            lo[k] = std::min(lo[k], point[k]);
            hi[k] = std::max(hi[k], point[k]);
        }
    }
};

} // namespace vorax
