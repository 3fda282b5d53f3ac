// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The units of the graph windows, counted by the registry AppState::last_graph_unit.
//
// Graph n of a run is drawn in unit n + 9: the first in unit 10, the tenth in unit 19. The
// registry holds the unit of the last graph window (9 while there is none); once it reaches 20,
// the unit an eleventh graph would get, the run ends.

#include <atomic>

#include "gwl/types.h"

namespace vorax {

inline constexpr int kNoGraphUnit = gwl::kFirstGraphUnit - 1;    // 9
inline constexpr int kGraphUnitLimit = gwl::kLastGraphUnit + 1; // 20

// The number of the graph drawn in `unit` (1 for unit 10).
constexpr int graph_number(int unit) { return unit - kNoGraphUnit; }

// The registry has reached the limit: the run is to end.
constexpr bool graph_limit_reached(int unit) { return unit >= kGraphUnitLimit; }

// Whether a graph may follow the registry's last one. When none may, the registry is set to the
// limit.
bool next_graph_unit_free(std::atomic<int>& last_unit);

// Moves the registry on to the next graph's unit; false, with the registry set to the limit,
// when no graph may follow.
bool take_next_graph_unit(std::atomic<int>& last_unit);

// Whether the registry names a graph window's unit (10..19). Past them it is set to the limit.
bool graph_unit_in_range(std::atomic<int>& last_unit);

} // namespace vorax
