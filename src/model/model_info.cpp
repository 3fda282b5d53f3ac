// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/model_info.h"

#include <cmath>
#include <limits>

#include "core/number_text.h"
#include "core/text.h"

namespace vorax {
namespace {

// The field that tidy_number works on.
constexpr std::size_t kNumberField = 24;

std::string extent_line(const char* label, double low, double high)
{
    return std::string(label) + "  " + extent_text(low) + "  " + extent_text(high);
}

} // namespace

std::string extent_text(double value)
{
    // Beyond the float range the conversion itself would be undefined; such a value shows as
    // an infinity.
    const double largest = std::numeric_limits<float>::max();
    const double single = value > largest ? HUGE_VAL
        : value < -largest                ? -HUGE_VAL
                                          : static_cast<double>(static_cast<float>(value));
    return std::string(trim_right(tidy_number(pad_right(general_format(single, 14, 7), kNumberField))));
}

std::vector<std::string> model_info_lines(const StructureModel& model)
{
    std::vector<std::string> lines;
    std::string title = " ";
    title += trim_right(model.problem_title);
    lines.push_back(std::move(title));
    lines.push_back(extent_line(" xmin, xmax:", model.xmin, model.xmax));
    lines.push_back(extent_line(" ymin, ymax:", model.ymin, model.ymax));
    if (model.NGL == 3)
        lines.push_back(extent_line(" zmin, zmax:", model.zmin, model.zmax));
    return lines;
}

} // namespace vorax
