// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/surface/font_list.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <utility>

#include "core/text.h"

namespace vorax::gwl {

namespace {

struct Alias {
    std::string_view name;
    std::string_view face;
};

// The old short face names and the faces they stand for.
constexpr std::array<Alias, 3> kAliases{{
    {"Tms Rmn", "Times New Roman"},
    {"Courier", "Courier New"},
    {"Helv", "Arial"},
}};

// Faces that Linux machines do not have, with their metric-compatible twins.
constexpr std::array<Alias, 3> kSubstitutes{{
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Arial", "Liberation Sans"},
}};

std::string replace_alias(std::string name)
{
    for (const Alias& alias : kAliases)
        if (equals_ignore_case(name, alias.name))
            return std::string(alias.face);
    return name;
}

// Reads the digits at spec[pos] onwards; none give 0. Large values are held at a million, which no
// font reaches, instead of overflowing.
int read_number(std::string_view spec, std::size_t& pos)
{
    int value = 0;
    while (pos < spec.size() && std::isdigit(static_cast<unsigned char>(spec[pos]))) {
        value = std::min(value * 10 + (spec[pos] - '0'), 1'000'000);
        ++pos;
    }
    return value;
}

// Sets `option` unless its opposite is set, in which case the opposite is removed instead.
void set_exclusive(bool& option, bool& opposite, bool& conflicting)
{
    if (opposite) {
        opposite = false;
        conflicting = true;
    } else {
        option = true;
    }
}

bool has_face(const std::vector<FontEntry>& list, std::string_view face)
{
    for (const FontEntry& entry : list)
        if (equals_ignore_case(entry.face, face))
            return true;
    return false;
}

} // namespace

std::variant<FontRequest, GraphicsStatus> parse_font_spec(std::string_view spec)
{
    constexpr std::size_t kNameWindow = 32; // the closing apostrophe must come within this
    spec = trim_right(spec);
    FontRequest request;
    std::size_t pos = 0;
    while (pos < spec.size()) {
        const char option = static_cast<char>(std::tolower(static_cast<unsigned char>(spec[pos])));
        ++pos;
        switch (option) {
        case 't': {
            if (pos >= spec.size() || spec[pos] != '\'')
                return status::kInvalidParameter;
            const std::size_t start = pos + 1;
            const std::size_t close = spec.find('\'', start);
            if (close == std::string_view::npos || close - start >= kNameWindow)
                return status::kError;
            request.face = replace_alias(std::string(spec.substr(start, close - start)));
            pos = close + 1;
            break;
        }
        case 'h': request.height = read_number(spec, pos); break;
        case 'w': request.width = read_number(spec, pos); break;
        case 'f':
            set_exclusive(request.fixed_only, request.proportional_only, request.conflicting);
            break;
        case 'p':
            set_exclusive(request.proportional_only, request.fixed_only, request.conflicting);
            break;
        case 'r':
            set_exclusive(request.raster_only, request.scalable_only, request.conflicting);
            break;
        case 'v':
            set_exclusive(request.scalable_only, request.raster_only, request.conflicting);
            break;
        case 'b': request.best_fit = true; break;
        case 'e': request.bold = true; break;
        case 'i': request.italic = true; break;
        case 'u': request.underline = true; break;
        case 'n':
            // A font number ends the FontSpec: everything after it is ignored.
            request.number = read_number(spec, pos);
            return request;
        default: break; // anything else is not an option and is skipped
        }
    }
    return request;
}

std::string resolve_face(const std::vector<FontEntry>& list, const std::string& face)
{
    if (has_face(list, face))
        return face;
    for (const Alias& substitute : kSubstitutes)
        if (equals_ignore_case(face, substitute.name) && has_face(list, substitute.face))
            return std::string(substitute.face);
    return face;
}

std::optional<FontChoice> choose_font(const std::vector<FontEntry>& list,
                                      const FontRequest& request, std::optional<int> previous)
{
    const auto entry_as_is = [&](int index) {
        const FontEntry& e = list[static_cast<std::size_t>(index)];
        return FontChoice{index, e.height, e.width, e.weight, e.italic, e.underline};
    };
    const auto entry_as_requested = [&](int index) {
        const FontEntry& e = list[static_cast<std::size_t>(index)];
        FontChoice choice = entry_as_is(index);
        if (request.width) {
            choice.width = *request.width;
            choice.height = request.height.value_or(0);
        } else if (request.height) {
            choice.height = *request.height;
            choice.width = 0;
        }
        choice.weight = request.bold ? 700 : e.weight;
        choice.italic = request.italic || e.italic;
        choice.underline = request.underline || e.underline;
        return choice;
    };

    const int count = static_cast<int>(list.size());
    if (request.number) {
        if (*request.number < 1 || *request.number > count)
            return std::nullopt;
        return entry_as_is(*request.number - 1);
    }

    const std::optional<std::string> face =
        request.face ? std::optional(resolve_face(list, *request.face)) : std::nullopt;
    constexpr int kFarthest = 200; // a best fit must come closer than this
    int nearest = -1;
    int nearest_distance = kFarthest;
    for (int index = 0; index < count; ++index) {
        const FontEntry& e = list[static_cast<std::size_t>(index)];
        if (face && !equals_ignore_case(e.face, *face))
            continue;
        if ((request.fixed_only && !e.fixed_pitch) || (request.proportional_only && e.fixed_pitch))
            continue;
        if ((request.raster_only && e.scalable) || (request.scalable_only && !e.scalable))
            continue;
        if (request.scalable_only || e.scalable)
            return entry_as_requested(index);
        if (!request.best_fit) {
            if ((!request.height || e.height == *request.height) &&
                (!request.width || e.width == *request.width))
                return entry_as_requested(index);
            continue;
        }
        int distance = 0;
        if (request.height)
            distance += std::abs(e.height - *request.height);
        if (request.width)
            distance += std::abs(e.width - *request.width);
        if (distance < nearest_distance) {
            nearest = index;
            nearest_distance = distance;
        }
    }
    if (request.best_fit) {
        if (nearest >= 0)
            return entry_as_requested(nearest);
        if (previous && *previous >= 0 && *previous < count)
            return entry_as_is(*previous);
    }
    return std::nullopt;
}

} // namespace vorax::gwl
