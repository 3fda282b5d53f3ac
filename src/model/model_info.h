// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the info window shows about a model that has just been loaded.

#include <string>
#include <vector>

#include "model/structure_model.h"

namespace vorax {

// The text of one extent: the value rounded to a 32-bit float, in the general format 14/7,
// tidied and without trailing blanks ("12.5", "0.", "-250.", "0.1E-02").
std::string extent_text(double value);

// The lines written after a successful load, extents already computed: one blank and the
// title; " xmin, xmax:" with the two x extents, each after two blanks; the same for y; and for
// a spatial model (NGL 3) for z.
std::vector<std::string> model_info_lines(const StructureModel& model);

} // namespace vorax
