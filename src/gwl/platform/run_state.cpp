// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/platform/run_state.h"

#include <atomic>

namespace vorax::gwl {

namespace {
std::atomic<bool> paused{false};
}

void set_program_paused(bool p) { paused = p; }
bool program_paused() { return paused; }

} // namespace vorax::gwl
