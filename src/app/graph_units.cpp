// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/graph_units.h"

namespace vorax {

bool next_graph_unit_free(std::atomic<int>& last_unit)
{
    if (!graph_limit_reached(last_unit + 1))
        return true;
    last_unit = kGraphUnitLimit;
    return false;
}

bool take_next_graph_unit(std::atomic<int>& last_unit)
{
    if (!next_graph_unit_free(last_unit))
        return false;
    last_unit = last_unit + 1;
    return true;
}

bool graph_unit_in_range(std::atomic<int>& last_unit)
{
    if (graph_limit_reached(last_unit)) {
        last_unit = kGraphUnitLimit;
        return false;
    }
    return last_unit >= gwl::kFirstGraphUnit;
}

} // namespace vorax
