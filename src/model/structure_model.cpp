#include "model/structure_model.h"

#include <algorithm>

namespace vorax {

bool update_extents(StructureModel& model, bool all_nodes)
{
    const bool spatial = model.NGL == 3;
    bool seeded = false;
    for (const Node& node : model.nodes) {
        if (!all_nodes && !node.selected)
            continue;
        const double x = node.coords[0];
        const double y = node.coords[1];
        const double z = node.coords[2];
        if (!seeded) {
            model.xmin = model.xmax = x;
            model.ymin = model.ymax = y;
            if (spatial)
                model.zmin = model.zmax = z;
            seeded = true;
            continue;
        }
        model.xmin = std::min(model.xmin, x);
        model.xmax = std::max(model.xmax, x);
        model.ymin = std::min(model.ymin, y);
        model.ymax = std::max(model.ymax, y);
        if (spatial) {
            model.zmin = std::min(model.zmin, z);
            model.zmax = std::max(model.zmax, z);
        }
    }
    return seeded;
}

} // namespace vorax
