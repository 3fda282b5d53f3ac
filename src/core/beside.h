// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Work started beside the caller's, on a thread of its own, for a caller with other work to do
// meanwhile; the result is waited for with get(). Where no thread is to be had, the work runs
// on demand in get() instead, so the result is the same either way.
//
// Contents: start_beside.

#include <future>
#include <system_error>
#include <type_traits>

namespace vorax {

template <class Work>
std::future<std::invoke_result_t<Work&>> start_beside(Work work)
{
    try {
        return std::async(std::launch::async, work);
    } catch (const std::system_error&) {
        return std::async(std::launch::deferred, work);
    }
}

} // namespace vorax
