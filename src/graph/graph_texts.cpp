// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/graph_texts.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/messages.h"
#include "core/number_text.h"
#include "core/text.h"

namespace vorax {

std::string graph_heading(std::string_view program_label, UiLanguage language)
{
    std::string heading(trim_right(program_label));
    heading += message(Message::graph_heading_suffix, language);
    return pad_right(heading, kGraphHeadingLength);
}

std::string node_line(std::string_view range_text, int node_count, UiLanguage language)
{
    std::string line(message(Message::node_line_start, language));
    line += trim_right(range_text);
    line += " (" + std::to_string(node_count)
        + std::string(message(Message::node_line_end, language));
    return std::string(trim_right(cut(line, kNodeLineLength)));
}

std::string title_text(std::string_view text)
{
    return std::string(trim_right(cut(text, kTitleLength)));
}

int centred_column(int text_columns, std::size_t length)
{
    const long long column = (static_cast<long long>(text_columns) - static_cast<long long>(length)) / 2;
    return static_cast<int>(std::max(column, 1LL));
}

namespace {

constexpr std::array<const char*, 3> kAxisNames{"x", "y", "z"};

// The first NGL components of a node's array, each after a blank.
template <typename T, typename Text>
std::string components(const std::array<T, 3>& values, std::int32_t NGL, Text text)
{
    std::string out;
    for (std::size_t k = 0; k < static_cast<std::size_t>(std::clamp(NGL, 0, 3)); ++k)
        out += " " + text(values[k]);
    return out;
}

// "  (line 63)", "  (lines 40, 57)", or nothing without a line.
std::string lines_text(RecordLine first, RecordLine second, UiLanguage language)
{
    if (first == second)
        second = 0;
    if (first == 0)
        std::swap(first, second);
    if (first == 0)
        return {};
    if (second == 0)
        return std::string(message(Message::pointed_line, language)) + std::to_string(first) + ")";
    return std::string(message(Message::pointed_lines, language)) + std::to_string(first) + ", "
           + std::to_string(second) + ")";
}

} // namespace

std::string pointed_node_text(const StructureModel& model, std::int32_t number,
                              const RecordLines& lines, UiLanguage language)
{
    const Node& node = model.node(number);
    std::string text = std::string(message(Message::pointed_node, language)) + std::to_string(number);
    for (std::size_t k = 0; k < static_cast<std::size_t>(std::clamp(model.NGL, 0, 3)); ++k)
        text += std::string("  ") + kAxisNames[k] + " " + stored_real_text(node.coords[k]);
    if (node.free) {
        text += message(Message::pointed_free, language);
    } else {
        text += message(Message::pointed_codes, language);
        text += components(node.codes, model.NGL, [](std::int32_t c) { return std::to_string(c); });
        if (node.fixed)
            text += message(Message::pointed_fixed, language);
    }
    if (node.has_values) {
        text += message(Message::pointed_values, language);
        text += components(node.values, model.NGL, stored_real_text);
    }
    const RecordLine line = lines.coordinate_line(number);
    text += line == 0 ? std::string(message(Message::pointed_no_coordinates, language))
                      : lines_text(line, 0, language);
    return text;
}

std::string distance_text(const StructureModel& model, std::int32_t from, std::int32_t to,
                          UiLanguage language)
{
    const Node& a = model.node(from);
    const Node& b = model.node(to);
    std::array<double, 3> d{};
    double sum = 0.0;
    for (std::size_t k = 0; k < 3; ++k) {
        d[k] = static_cast<double>(b.coords[k]) - a.coords[k];
        sum += d[k] * d[k];
    }
    return std::string(message(Message::pointed_node, language)) + std::to_string(from)
           + std::string(message(Message::measure_to, language)) + std::to_string(to) + ": "
           + measure_text(std::sqrt(sum)) + " (dx " + measure_text(d[0]) + ", dy " + measure_text(d[1])
           + ", dz " + measure_text(d[2]) + ")";
}

std::string nodes_here_text(const std::vector<std::int32_t>& others, UiLanguage language)
{
    // A pile of nodes at one place names the first few; the person can zoom for the rest.
    constexpr std::size_t kMostNamed = 10;
    if (others.empty())
        return {};
    std::string text(message(others.size() == 1 ? Message::also_node_here : Message::also_nodes_here, language));
    for (std::size_t k = 0; k < others.size() && k < kMostNamed; ++k)
        text += (k > 0 ? ", " : "") + std::to_string(others[k]);
    if (others.size() > kMostNamed)
        text += ", ...";
    return text + std::string(message(Message::here_word, language));
}

std::string pointed_element_text(const StructureModel& model, std::int32_t number,
                                 const RecordLines& lines, UiLanguage language)
{
    const Element& element = model.element(number);
    std::string text = std::string(message(Message::pointed_element, language)) + std::to_string(number)
                       + std::string(message(Message::pointed_nodes, language))
                       + std::to_string(element.node1) + "-" + std::to_string(element.node2);
    if (element.node1 >= 1 && element.node2 >= 1 && element.node1 <= model.node_count
        && element.node2 <= model.node_count) {
        const Node& a = model.node(element.node1);
        const Node& b = model.node(element.node2);
        double sum = 0.0;
        for (std::size_t k = 0; k < static_cast<std::size_t>(std::clamp(model.NGL, 0, 3)); ++k) {
            const double d = static_cast<double>(b.coords[k]) - a.coords[k];
            sum += d * d;
        }
        text += std::string(message(Message::pointed_length, language)) + measure_text(std::sqrt(sum));
    }
    const std::array<RecordLine, 2> from = lines.element_lines(model, number);
    return text + lines_text(from[0], from[1], language);
}

} // namespace vorax
