// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers for the model tests: building model files from their blocks, and checks that every
// successfully read model must pass.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

#include "model/model_reader.h"
#include "test_helpers.h"

namespace vorax::testing {

// A model file from its parts; every block is a run of lines ending in "\n" (or empty) and gets
// a closing heading. The four lines after the value block hold numbers on purpose: they are
// skipped whatever they hold.
inline std::string model_file(std::string_view header, std::string_view codes,
                              std::string_view values, std::string_view coordinates,
                              std::string_view elements, std::string_view title = "TEST MODEL")
{
    std::string text;
    text += title;
    text += "\n";
    text += header;
    text += "\n";
    text += codes;
    text += "END OF CODES\n";
    text += values;
    text += "END OF VALUES\n1 2 3\n4 5 6\n7 8 9\n10 11 12\n";
    text += coordinates;
    text += "END OF COORDINATES\n";
    text += elements;
    text += "END OF ELEMENTS\n";
    return text;
}

// Reads a text that must be a valid model, failing the test with the reader's message if not.
inline StructureModel read_valid(std::string_view text)
{
    ReadResult result = read_model_text(text, "test.dat");
    EXPECT_EQ(result.status, ReadStatus::ok) << result.message;
    return result.model;
}

// What holds for every model read successfully.
inline void expect_invariants(const StructureModel& model)
{
    ASSERT_EQ(model.nodes.size(), static_cast<std::size_t>(model.node_count));
    ASSERT_EQ(model.elements.size(), static_cast<std::size_t>(model.element_count));
    int coded = 0;
    for (const Node& node : model.nodes) {
        EXPECT_FALSE(node.free && node.fixed);
        coded += node.free ? 0 : 1;
    }
    EXPECT_EQ(model.coded_node_count, coded);
    for (const Element& element : model.elements) {
        EXPECT_GE(element.node1, 0);
        EXPECT_LE(element.node1, model.node_count);
        EXPECT_GE(element.node2, 0);
        EXPECT_LE(element.node2, model.node_count);
    }
    EXPECT_GE(model.origin_node, 0);
    EXPECT_LE(model.origin_node, model.node_count);
    EXPECT_LE(model.problem_title.size(), 100u);
}

// A file name in the temporary folder that no other test process uses at the same time.
inline std::filesystem::path temp_file(std::string_view name)
{
    return std::filesystem::temp_directory_path()
        / (std::to_string(::getpid()) + "_" + std::string(name));
}

inline std::string example_path(std::string_view name)
{
    return std::string(VORAX_SOURCE_DIR) + "/examples/" + std::string(name);
}

} // namespace vorax::testing
