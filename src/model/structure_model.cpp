// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/structure_model.h"

namespace vorax {

bool update_extents(StructureModel& model, bool all_nodes)
{
    Bounds<3> coordinates;
    for (const Node& node : model.nodes)
        if (all_nodes || node.selected)
            coordinates.add(coordinates_of(node));
    return set_extents(model, coordinates);
}

bool set_extents(StructureModel& model, const Bounds<3>& coordinates)
{
    if (!coordinates.seeded)
        return false;
    model.xmin = coordinates.lo[0];
    model.xmax = coordinates.hi[0];
    model.ymin = coordinates.lo[1];
    model.ymax = coordinates.hi[1];
    if (model.NGL == 3) {
        model.zmin = coordinates.lo[2];
        model.zmax = coordinates.hi[2];
    }
    return true;
}

} // namespace vorax
