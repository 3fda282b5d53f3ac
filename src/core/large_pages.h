// SPDX-License-Identifier: GPL-3.0-or-later
// Memory in pages of two megabytes, where the system gives them on request.
//
// Every ordinary page of new memory costs a fault when it is first written, and on a virtual
// machine that handles such faults itself each one costs about 10 us: a megabyte of fresh
// buffer, 2.5 ms. A large page is one fault for 512 ordinary ones. The memory is the same
// otherwise: where the system has no large pages, or refuses the request, it comes in ordinary
// pages as before.
#pragma once

#include <cstddef>
#include <new>
#include <vector>

namespace vorax {

// Room of at least kLargeFrom bytes is mapped on its own at a two-megabyte boundary, its length
// rounded up to two megabytes, so that every stretch of it can be a large page; smaller room
// comes from the usual heap. The same size must be given back as was asked for.
inline constexpr std::size_t kLargeFrom = std::size_t{1} << 19;
void* allocate_large(std::size_t bytes);  // throws std::bad_alloc
void free_large(void* data, std::size_t bytes) noexcept;

// An allocator for vectors of many elements (buffers that are filled at once).
template <class T>
struct LargePageAllocator {
    using value_type = T;
    LargePageAllocator() = default;
    template <class U>
    LargePageAllocator(const LargePageAllocator<U>&) noexcept
    {
    }
    T* allocate(std::size_t count)
    {
        if (count > std::size_t(-1) / sizeof(T))
            throw std::bad_array_new_length();
        return static_cast<T*>(allocate_large(count * sizeof(T)));
    }
    void deallocate(T* data, std::size_t count) noexcept { free_large(data, count * sizeof(T)); }
    template <class U>
    bool operator==(const LargePageAllocator<U>&) const noexcept
    {
        return true;
    }
};

// A vector whose room, once large, is mapped on its own in large pages.
template <class T>
using LargeVector = std::vector<T, LargePageAllocator<T>>;

} // namespace vorax
