// SPDX-License-Identifier: GPL-3.0-or-later
// What becomes of memory the program frees.
#pragma once

namespace vorax {

// Memory freed by the program stays with it for its next requests, up to tens of megabytes,
// instead of going back to the system at once and coming again as fresh pages, a fault each
// (about 10 us on a virtual machine that handles the faults itself). The reader's buffers of a
// few hundred kilobytes, made anew while a helper thread still holds the last ones, took a
// thousand or more such faults reading a model of a million nodes. Called once, at the start.
void keep_freed_memory();

} // namespace vorax
