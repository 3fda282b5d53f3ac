// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frame's "&Pause" and "&Resume": the program thread holds still while paused.

namespace vorax::gwl {

void set_program_paused(bool paused);
bool program_paused();

} // namespace vorax::gwl
