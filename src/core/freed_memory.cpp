// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/freed_memory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace vorax {

void keep_freed_memory()
{
#if defined(__GLIBC__)
    // Requests below 32 MB come from the heap, whose freed room is reused; its top goes back to
    // the system only beyond 64 MB free. (Large arrays are mapped on their own anyway: see
    // large_pages.h.)
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

} // namespace vorax
