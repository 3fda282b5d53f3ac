// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small models built in code for the graph tests.

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "model/model_reader.h"
#include "model/structure_model.h"
#include "pixels.h"

namespace vorax::testing {

struct NodeSpec {
    float x = 0, y = 0, z = 0;
    std::array<std::int32_t, 3> codes{};
    std::array<float, 3> values{};
    bool has_values = false;
};

// A model with the nodes and elements given, read from the model file they make (so it is
// classified as every model is), every node selected and the extents over all of them.
inline StructureModel make_model(int ngl, const std::vector<NodeSpec>& nodes,
                                 std::initializer_list<std::pair<int, int>> elements = {})
{
    auto number = [](float value) {
        std::array<char, 32> text{};
        const auto end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
        return " " + std::string(text.data(), end);
    };
    std::string codes, values, coords, lines;
    int i = 0;
    for (const NodeSpec& spec : nodes) {
        const std::string n = std::to_string(++i);
        std::string code_fields;
        std::string value_fields;
        for (int k = 0; k < ngl; ++k) {
            code_fields += " " + std::to_string(spec.codes[static_cast<std::size_t>(k)]);
            value_fields += number(spec.values[static_cast<std::size_t>(k)]);
        }
        if (code_fields.find_first_not_of(" 0") != std::string::npos)
            codes += n + " " + n + code_fields + "\n";
        if (spec.has_values)
            values += n + value_fields + "\n";
        coords += n + number(spec.x) + number(spec.y) + (ngl == 3 ? number(spec.z) : "") + "\n";
    }
    int e = 0;
    for (auto [a, b] : elements)
        lines += std::to_string(++e) + " " + std::to_string(a) + " " + std::to_string(b) + "\n";
    const std::string text = "TEST MODEL\n" + std::to_string(nodes.size()) + " "
        + std::to_string(elements.size()) + " " + std::to_string(ngl) + " 1 0\n" + codes
        + "CODES END\n" + values + "VALUES END\n-\n-\n-\n-\n" + coords + "COORDINATES END\n" + lines
        + "END\n";
    ReadResult read = read_model_text(text, "test model");
    EXPECT_TRUE(read.ok()) << read.message;
    for (Node& n : read.model.nodes)
        n.selected = true;
    update_extents(read.model, true);
    return std::move(read.model);
}

// The plane rectangle (0, 0), (10, 0), (10, 5), (0, 5) with its four sides as elements, node 1
// with the codes given.
inline StructureModel rectangle(std::array<std::int32_t, 3> codes1 = {})
{
    return make_model(2, {{0, 0, 0, codes1}, {10, 0}, {10, 5}, {0, 5}}, {{1, 2}, {2, 3}, {3, 4}, {4, 1}});
}

} // namespace vorax::testing
