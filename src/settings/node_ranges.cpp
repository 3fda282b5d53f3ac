// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/node_ranges.h"

#include <algorithm>
#include <limits>

#include "core/messages.h"
#include "core/text.h"

namespace vorax {

namespace {

bool is_separator(char c) { return c == ',' || c == ' '; }

// Leading blanks skipped, an optional sign, then digits up to the first other character; no
// digits read as 0. Values beyond 32 bits are held at the limits, which no model reaches.
std::int32_t read_number(std::string_view text)
{
    text = trim_left(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = std::min<std::int64_t>(value * 10 + (c - '0'),
                                       std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1);
    }
    if (negative)
        value = -value;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

NodeGroup read_group(std::string_view group)
{
    NodeGroup result;
    if (const auto dash = group.find('-'); dash != std::string_view::npos) {
        result.first = read_number(group.substr(0, dash));
        result.last = read_number(group.substr(dash + 1));
    } else {
        result.first = result.last = read_number(group);
    }
    return result;
}

} // namespace

std::vector<NodeGroup> split_node_ranges(std::string_view text)
{
    text = trim_right(text.substr(0, std::min(text.size(), kRangeTextLength)));
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (!is_separator(text[i])) {
            ++i;
            continue;
        }
        const std::size_t run_start = i;
        while (i < text.size() && is_separator(text[i]))
            ++i;
        // A run of separators ends the group; one at the end of the text starts nothing.
        pieces.push_back(text.substr(start, run_start - start));
        start = i;
    }
    if (start < text.size() || pieces.empty())
        pieces.push_back(text.substr(start));

    std::vector<NodeGroup> groups;
    groups.reserve(pieces.size());
    for (std::string_view piece : pieces)
        groups.push_back(read_group(piece));
    return groups;
}

bool is_bad_group(const NodeGroup& group, std::int32_t node_count)
{
    return group.first < 1 || group.first > node_count || group.last < 1 || group.last > node_count
           || group.last < group.first;
}

std::string group_error_text(const BadGroup& bad, UiLanguage language)
{
    return std::string(message(Message::group_error_text, language)) + std::to_string(bad.number)
           + ": " + std::to_string(bad.group.first) + "-" + std::to_string(bad.group.last);
}

std::vector<BadGroup> apply_node_ranges(std::string_view range_text, std::int32_t node_count,
                                        const std::function<void(std::int32_t, bool)>& set_selected)
{
    const std::vector<NodeGroup> groups = split_node_ranges(range_text);
    std::vector<BadGroup> bad;
    for (std::size_t i = 0; i < groups.size(); ++i)
        if (is_bad_group(groups[i], node_count))
            bad.push_back({i + 1, groups[i]});
    if (!bad.empty())
        return bad;
    for (std::int32_t node = 1; node <= node_count; ++node)
        set_selected(node, false);
    for (const NodeGroup& group : groups)
        for (std::int32_t node = group.first; node <= group.last; ++node)
            set_selected(node, true);
    return bad;
}

std::string format_node_ranges(std::int32_t node_count,
                               const std::function<bool(std::int32_t)>& selected)
{
    std::string text;
    std::int32_t node = 1;
    while (node <= node_count) {
        if (!selected(node)) {
            ++node;
            continue;
        }
        std::int32_t end = node;
        while (end < node_count && selected(end + 1))
            ++end;
        std::string group = std::to_string(node);
        if (end > node)
            group += "-" + std::to_string(end);
        // A group that does not fit whole is left out: a cut number would name other nodes.
        if (text.size() + (text.empty() ? 0 : 1) + group.size() > kRangeTextLength)
            break;
        if (!text.empty())
            text += ',';
        text += group;
        node = end + 1;
    }
    return text;
}

std::vector<BadGroup> apply_node_ranges(std::string_view range_text, StructureModel& model)
{
    return apply_node_ranges(range_text, model.node_count,
                             [&model](std::int32_t node, bool on) { model.node(node).selected = on; });
}

std::int32_t selected_node_count(const StructureModel& model)
{
    return static_cast<std::int32_t>(std::count_if(model.nodes.begin(), model.nodes.end(),
                                                   [](const Node& n) { return n.selected; }));
}

std::string format_node_ranges(const StructureModel& model)
{
    return format_node_ranges(model.node_count,
                              [&model](std::int32_t node) { return model.node(node).selected; });
}

} // namespace vorax
