// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/large_pages.h"

#include <cstdint>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

// Under AddressSanitizer all room comes from the heap, whose bounds it watches.
#if defined(__linux__) && defined(MADV_HUGEPAGE) && !defined(__SANITIZE_ADDRESS__)
#define VORAX_LARGE_PAGES 1
#endif

namespace vorax {
#if defined(VORAX_LARGE_PAGES)
namespace {

constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;

constexpr std::size_t rounded_up(std::size_t bytes) { return (bytes + kLargePage - 1) & ~(kLargePage - 1); }

// Whether room of `bytes` is mapped on its own.
constexpr bool mapped_alone(std::size_t bytes) { return bytes >= kLargeFrom && bytes <= SIZE_MAX - 2 * kLargePage; }

} // namespace
#endif

void* allocate_large(std::size_t bytes)
{
#if defined(VORAX_LARGE_PAGES)
    if (mapped_alone(bytes)) {
        // Mapped with a large page to spare, then cut to the boundary at both ends.
        const std::size_t length = rounded_up(bytes);
        void* mapped = mmap(nullptr, length + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED)
            throw std::bad_alloc();
        const auto start = reinterpret_cast<std::uintptr_t>(mapped);
        const std::uintptr_t aligned = (start + kLargePage - 1) & ~(kLargePage - 1);
        if (aligned > start)
            munmap(mapped, aligned - start);
        const std::uintptr_t end = start + length + kLargePage;
        if (end > aligned + length)
            munmap(reinterpret_cast<void*>(aligned + length), end - (aligned + length));
        madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE); // advice only
        return reinterpret_cast<void*>(aligned);
    }
#endif
    if (void* data = std::malloc(bytes == 0 ? 1 : bytes))
        return data;
    throw std::bad_alloc();
}

void free_large(void* data, std::size_t bytes) noexcept
{
    if (data == nullptr)
        return;
#if defined(VORAX_LARGE_PAGES)
    if (mapped_alone(bytes)) {
        munmap(data, rounded_up(bytes));
        return;
    }
#else
    (void)bytes;
#endif
    std::free(data);
}

} // namespace vorax
