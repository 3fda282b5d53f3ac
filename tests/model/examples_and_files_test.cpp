// SPDX-License-Identifier: GPL-3.0-or-later
// Reading model files from disk: the examples, missing and unreadable files, and the --info
// mode that prints what a load reports.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <sstream>

#include "app/info_command.h"
#include "model_test_support.h"
#include "test_helpers.h"

namespace vorax {
namespace {

using testing::example_path;
using testing::expect_invariants;
using testing::file_text;

// ---- The examples ---------------------------------------------------------------------------------

TEST(Examples, PlaneFrame)
{
    ReadResult r = read_model(example_path("plane_frame.dat"));
    ASSERT_TRUE(r.ok()) << r.message;
    const StructureModel& m = r.model;
    expect_invariants(m);
    EXPECT_EQ(m.problem_title, "TWO-BAY THREE-STOREY PLANE FRAME");
    EXPECT_EQ(m.NGL, 2);
    EXPECT_EQ(m.node_count, 12);
    EXPECT_EQ(m.element_count, 15);
    EXPECT_TRUE(m.node(1).fixed);
    EXPECT_EQ(m.node(2).codes, (std::array<std::int32_t, 3>{0, 1, 0}));
    EXPECT_TRUE(m.node(3).fixed);
    EXPECT_EQ(m.coded_node_count, 3);
    EXPECT_TRUE(m.node(3).has_values);
    EXPECT_EQ(m.node(3).values, (std::array<float, 3>{0.0f, -0.012f, 0.0f}));
    EXPECT_FALSE(m.node(1).has_values);
    EXPECT_EQ(m.node(12).coords, (std::array<float, 3>{12.0f, 10.5f, 0.0f}));
    EXPECT_EQ(m.origin_node, 1);
    EXPECT_EQ(m.element(1), (Element{1, 4}));
    EXPECT_EQ(m.element(15), (Element{11, 12}));
}

TEST(Examples, SpaceTower)
{
    ReadResult r = read_model(example_path("space_tower.dat"));
    ASSERT_TRUE(r.ok()) << r.message;
    const StructureModel& m = r.model;
    expect_invariants(m);
    EXPECT_EQ(m.NGL, 3);
    EXPECT_EQ(m.node_count, 20);
    EXPECT_EQ(m.element_count, 48);
    for (int n = 1; n <= 4; ++n)
        EXPECT_TRUE(m.node(n).fixed) << n;
    EXPECT_EQ(m.coded_node_count, 4);
    for (const Node& node : m.nodes)
        EXPECT_FALSE(node.has_values); // the value block is empty
    EXPECT_EQ(m.node(20).coords, (std::array<float, 3>{0.0f, 4.0f, 12.0f}));
    for (int e = 1; e <= m.element_count; ++e) {
        EXPECT_NE(m.element(e).node1, 0) << e;
        EXPECT_NE(m.element(e).node2, 0) << e;
    }
}

TEST(Examples, TrussByNode)
{
    ReadResult r = read_model(example_path("truss_by_node.dat"));
    ASSERT_TRUE(r.ok()) << r.message;
    const StructureModel& m = r.model;
    expect_invariants(m);
    // The element table of the file's comment: chords, verticals, diagonals.
    const std::array<Element, 21> expected{{{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7},
                                            {8, 9}, {9, 10}, {10, 11}, {11, 12},
                                            {2, 8}, {3, 9}, {4, 10}, {5, 11}, {6, 12},
                                            {1, 8}, {8, 3}, {9, 4}, {11, 4}, {12, 5}, {12, 7}}};
    ASSERT_EQ(m.element_count, 21);
    for (int e = 1; e <= 21; ++e)
        EXPECT_EQ(m.element(e), expected[static_cast<std::size_t>(e - 1)]) << "element " << e;
    EXPECT_TRUE(m.node(1).fixed);
    EXPECT_FALSE(m.node(7).fixed);
    EXPECT_FALSE(m.node(7).free);
}

TEST(Examples, FileAndMemoryReadTheSame)
{
    for (const char* name : {"plane_frame.dat", "space_tower.dat", "truss_by_node.dat"}) {
        SCOPED_TRACE(name);
        ReadResult from_file = read_model(example_path(name));
        ReadResult from_text = read_model_text(file_text(example_path(name)), example_path(name));
        EXPECT_EQ(from_file.model, from_text.model);
        EXPECT_EQ(from_file.file_name, example_path(name));
    }
}

TEST(Examples, EveryExampleCutShortFailsCleanly)
{
    // Any prefix of a valid file is either a wrong input file or an end-of-file error (or, cut
    // after the closing line, the model itself): never a half-filled model.
    const std::string text = file_text(example_path("truss_by_node.dat"));
    for (std::size_t length = 0; length < text.size(); ++length) {
        ReadResult r = read_model_text(text.substr(0, length));
        if (r.ok()) {
            expect_invariants(r.model);
            EXPECT_GE(length, text.rfind("END OF MODEL")) << length;
        } else {
            EXPECT_EQ(r.model, StructureModel{}) << length;
            EXPECT_FALSE(r.message.empty());
        }
    }
}

// ---- Files that cannot be read ---------------------------------------------------------------------

TEST(ModelFiles, AMissingFileOrAFolderCannotBeOpened)
{
    ReadResult r = read_model("/nonexistent/vorax/model.dat");
    EXPECT_EQ(r.status, ReadStatus::cannot_open);
    EXPECT_NE(r.message.find("/nonexistent/vorax/model.dat"), std::string::npos);
    EXPECT_EQ(r.model, StructureModel{});
    ReadResult folder = read_model(std::filesystem::temp_directory_path());
    EXPECT_EQ(folder.status, ReadStatus::cannot_open) << folder.message;
}

TEST(ModelFiles, LargeGeneratedModelReadsLikeTheText)
{
    // Enough lines to cross the reader's chunks many times.
    std::string text = "// generated\nGRID\n40000 39999 3 1 0\n1 1 1 1 1\nEND\nEND\n1\n2\n3\n4\n";
    for (int n = 1; n <= 40000; ++n)
        text += std::to_string(n) + " " + std::to_string(n % 200) + ".25 " + std::to_string(n / 200)
            + ".5 -1.0E-01\r\n";
    text += "ELEMENTS\n";
    for (int e = 1; e < 40000; ++e)
        text += std::to_string(e) + "," + std::to_string(e) + "," + std::to_string(e + 1) + "\n";
    text += "END";
    const testing::TempDir dir;
    ReadResult from_file = read_model(dir.write("generated.dat", text));
    ASSERT_TRUE(from_file.ok()) << from_file.message;
    EXPECT_EQ(from_file.model, read_model_text(text).model);
    EXPECT_EQ(from_file.model.node(40000).coords, (std::array<float, 3>{0.25f, 200.5f, -0.1f}));
    EXPECT_EQ(from_file.model.element(39999), (Element{39999, 40000}));
}

// ---- vorax --info ---------------------------------------------------------------------------------------

struct InfoRun {
    int status;
    std::string out;
    std::string err;
};

InfoRun info(const std::string& path)
{
    std::ostringstream out, err;
    int status = run_info_command(path, out, err);
    return {status, out.str(), err.str()};
}

TEST(InfoCommand, PrintsTheLoadReportAndASummary)
{
    InfoRun run = info(example_path("space_tower.dat"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, " LATTICE TOWER 4 x 4 x 12 M\n"
                       " xmin, xmax:  0.  4.\n"
                       " ymin, ymax:  0.  4.\n"
                       " zmin, zmax:  0.  12.\n"
                       " Nodes: 20  Elements: 48  NGL: 3  Coded nodes: 4  Origin node: 1\n");
    EXPECT_EQ(run.err, "");

    InfoRun plane = info(example_path("plane_frame.dat"));
    EXPECT_EQ(plane.status, 0);
    EXPECT_EQ(plane.out, " TWO-BAY THREE-STOREY PLANE FRAME\n"
                         " xmin, xmax:  0.  12.\n"
                         " ymin, ymax:  0.  10.5\n"
                         " Nodes: 12  Elements: 15  NGL: 2  Coded nodes: 3  Origin node: 1\n");

    InfoRun truss = info(example_path("truss_by_node.dat"));
    EXPECT_EQ(truss.status, 0);
    EXPECT_NE(truss.out.find(" Nodes: 12  Elements: 21  NGL: 2  Coded nodes: 2  Origin node: 1\n"),
              std::string::npos);
}

class InfoCommandFiles : public ::testing::Test {
protected:
    std::string write(const std::string& name, const std::string& text) const
    {
        return dir.write(name, text).string();
    }
    testing::TempDir dir;
};

TEST_F(InfoCommandFiles, AMissingOrWrongInputFileOrOneEndingTooEarlyIsReportedOnStandardError)
{
    std::string path = write("vorax_info_wrong.dat", "TITLE\n3 2 5 1 0\n");
    InfoRun run = info(path);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("Wrong Input File: " + path + "\n", 0), 0u) << run.err;

    path = write("vorax_info_cut.dat", "TITLE\n3 2 2 1 0\n1 1 1 1\n");
    run = info(path);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("code block"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(path), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("line 3"), std::string::npos) << run.err;

    run = info("/nonexistent/model.dat");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("/nonexistent/model.dat"), std::string::npos);
    EXPECT_NE(run.err.find("No such file"), std::string::npos) << run.err;
}

TEST_F(InfoCommandFiles, NulBytesMakeAWrongInputFile)
{
    // More NULs than the reader's chunk: the reading stops at the first one.
    InfoRun zeros = info(write("vorax_info_zeros.dat", std::string(3 << 20, '\0')));
    EXPECT_EQ(zeros.status, 1);
    EXPECT_EQ(zeros.err.rfind("Wrong Input File: ", 0), 0u) << zeros.err;
    EXPECT_NE(zeros.err.find("NUL byte in line 1"), std::string::npos) << zeros.err;

    const std::string model = file_text(example_path("plane_frame.dat"));
    const std::size_t title_end = model.find('\n', model.find("TWO-BAY"));
    const std::size_t coordinates = model.find("NODE COORDINATES");
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"in_the_title", model.substr(0, title_end) + '\0' + model.substr(title_end)},
        {"line_of_nul_after_the_title", model.substr(0, title_end + 1) + std::string(1, '\0') + "\n" + model.substr(title_end + 1)},
        {"in_a_coordinate_record", model.substr(0, coordinates + 30) + '\0' + model.substr(coordinates + 30)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ReadResult from_text = read_model_text(c.text, "nul.dat");
        EXPECT_EQ(from_text.status, ReadStatus::wrong_input_file);
        EXPECT_NE(from_text.message.find("NUL"), std::string::npos) << from_text.message;
        EXPECT_EQ(from_text.model, StructureModel{});
        const ReadResult from_file = read_model(write("vorax_nul.dat", c.text));
        EXPECT_EQ(from_file.status, ReadStatus::wrong_input_file);
        EXPECT_EQ(from_file.message.substr(from_file.message.find(" holds")),
                  from_text.message.substr(from_text.message.find(" holds")));
    }
    // What follows the model's last line is never read, NULs or not.
    EXPECT_TRUE(read_model_text(model + std::string(10, '\0')).ok());
}

TEST(InfoCommand, ProgramRunsWithoutADisplayInBothOptionForms)
{
    if (testing::vorax_program().empty())
        GTEST_SKIP() << "the vorax program is not built";
    // No display and no platform name: a GUI application could not start here.
    const std::string program = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "
                                + testing::shell_quoted(testing::vorax_program());
    // A Latin-1 "é" in the name is no UTF-8: the name reaches the file system as it was given.
    testing::TempDir dir;
    const std::string model = testing::shell_quoted(
        dir.write("caf\xe9.dat", file_text(example_path("truss_by_node.dat"))).string());
    for (const std::string& option : {"--info " + model, "--info=" + model}) {
        const testing::CommandRun run = testing::run_command(program + " " + option);
        EXPECT_EQ(run.status, 0) << option;
        EXPECT_EQ(run.output, " PRATT TRUSS 18 M, ELEMENTS BY NODE\n"
                              " xmin, xmax:  0.  18.\n"
                              " ymin, ymax:  0.  3.\n"
                              " Nodes: 12  Elements: 21  NGL: 2  Coded nodes: 2  Origin node: 1\n");
    }
    EXPECT_EQ(testing::run_command(program + " --info /nonexistent/model.dat").status, 1);
    EXPECT_EQ(testing::run_command(program + " --info=").status, 2);
}

} // namespace
} // namespace vorax
