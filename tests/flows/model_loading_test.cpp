// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "app/model_loading.h"
#include "app/program.h"
#include "gwl/platform/system.h"
#include "gwl/types.h"
#include "gwl/windows/frame.h"
#include "gwl/windows/menus.h"
#include "session_fixture.h"

namespace vorax {
namespace {

using namespace gwl::menu_flag;
using testing::SessionRun;
using testing::source_path;

std::string plane_frame() { return source_path("examples/plane_frame.dat"); }
std::string space_tower() { return source_path("examples/space_tower.dat"); }

bool contains(const std::vector<std::string>& lines, const std::vector<std::string>& run)
{
    return std::search(lines.begin(), lines.end(), run.begin(), run.end()) != lines.end();
}

// A run of the program whose graph command only answers the Graph Settings dialog with the
// queued results (1 DRAW, 2 Cancel), recording the title and settings it saw.
class LoadingRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        gwl::set_program_arguments({});
        run.session->program().graph_command = [this] {
            titles.push_back(run.state.graph_title);
            seen_settings.push_back(run.state.settings.current_settings);
            const int result = dialog_results.empty() ? 1 : dialog_results.front();
            if (!dialog_results.empty())
                dialog_results.pop_front();
            run.state.dialog.settings_dialog_result = result;
            // The dialog writes its changes straight into the current settings.
            run.state.settings.current_settings.show_grid_and_scale = false;
        };
        ASSERT_TRUE(run.start());
    }

    void new_graph() { ASSERT_TRUE(run.choose(kProgramMenu, kNewGraphItem)); }

    SessionRun run;
    std::deque<int> dialog_results;
    std::vector<std::string> titles;
    std::vector<GraphSettings> seen_settings;
};

TEST_F(LoadingRun, CommandLineFileNeedsNoDialog)
{
    gwl::set_program_arguments({plane_frame()});
    new_graph();
    EXPECT_TRUE(run.prompter.file_requests.empty());
    EXPECT_TRUE(contains(run.info_lines(), {"", "  " + plane_frame(),
                                            " TWO-BAY THREE-STOREY PLANE FRAME",
                                            " xmin, xmax:  0.  12.", " ymin, ymax:  0.  10.5"}));
    EXPECT_FALSE(run.info_has_line(" zmin, zmax:  0.  0."));
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_EQ(titles[0], "(1) TWO-BAY THREE-STOREY PLANE FRAME");
    EXPECT_TRUE(run.state.model_loaded);
    EXPECT_TRUE(seen_settings[0].all_nodes);
    EXPECT_EQ(seen_settings[0].selected_element_count, 15);
    EXPECT_EQ(run.menu_flags(kProgramMenu, 1), kEnabled);
    EXPECT_EQ(run.menu_flags(kProgramMenu, 2), kEnabled);
}

TEST_F(LoadingRun, SpatialModelReportsTheZExtents)
{
    gwl::set_program_arguments({space_tower()});
    new_graph();
    const auto lines = run.info_lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
        return l.rfind(" zmin, zmax:  ", 0) == 0;
    }));
}

TEST_F(LoadingRun, FileDialogAsksAsSpecifiedAndCancelGraysBack)
{
    run.prompter.file_answers.push_back(std::nullopt);
    new_graph();
    ASSERT_EQ(run.prompter.file_requests.size(), 1u);
    const gwl::OpenFileRequest& request = run.prompter.file_requests[0];
    EXPECT_EQ(request.title, "Select File");
    ASSERT_EQ(request.filters.size(), 3u);
    EXPECT_EQ(request.filters[0].name, "Data Files (*.dat)");
    EXPECT_EQ(request.filters[1].pattern, "*.txt");
    EXPECT_EQ(request.filters[2].name, "All files (*.*)");
    EXPECT_EQ(request.filter_index, 1);
    EXPECT_EQ(request.default_extension, "dat");
    EXPECT_TRUE(request.path_must_exist);

    const auto lines = run.info_lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "");
    EXPECT_EQ(lines.back(), " * Input File Selection: Canceled.");
    EXPECT_EQ(run.menu_flags(kProgramMenu, 1), kGrayed | kDisabled);
    EXPECT_EQ(run.menu_flags(kProgramMenu, 2), kDisabled);
    EXPECT_TRUE(titles.empty());
    EXPECT_FALSE(run.state.model_loaded);
}

TEST_F(LoadingRun, NameNotFoundThenFoundAtTheSecondTry)
{
    run.prompter.file_answers.push_back("no_such_model.dat");
    run.prompter.typed_lines.push_back(plane_frame());
    new_graph();
    EXPECT_EQ(run.prompter.read_line_calls, 1);
    EXPECT_TRUE(contains(run.info_lines(), {"", " * File not found: no_such_model.dat",
                                            " * Enter again: " + plane_frame(), "",
                                            "  " + plane_frame()}));
    EXPECT_EQ(titles.size(), 1u);
}

TEST_F(LoadingRun, ThreeFailedLookUpsEndTheProgram)
{
    run.prompter.file_answers.push_back("a.dat");
    run.prompter.typed_lines = {"b.dat", "c.dat", "d.dat"};
    new_graph();
    EXPECT_EQ(run.prompter.read_line_calls, 3);
    EXPECT_TRUE(contains(run.info_lines(), {" * File not found: c.dat", " * Enter again: d.dat",
                                            " Too manny errors. Check stoped !",
                                            " File Not Found !",
                                            " *** Exiting .... Program terminated"}));
    EXPECT_FALSE(run.info_has_line(" * File not found: d.dat"));
    EXPECT_EQ(run.session->frame().exit_status(), 0);
    EXPECT_TRUE(titles.empty());
    // The info window goes with the program: a box shows its last words first.
    ASSERT_EQ(run.prompter.message_boxes.size(), 1u);
    EXPECT_EQ(run.prompter.message_boxes[0].text, "Too manny errors. Check stoped !\nFile Not Found !\n"
                                                  "*** Exiting .... Program terminated");
}

TEST_F(LoadingRun, RetryShowsTheBoxAgainUntilTheFileIsCorrected)
{
    const auto wrong = run.folder.write("model.dat", "TITLE\nnot a header\n");
    gwl::set_program_arguments({wrong.string()});
    run.prompter.message_box_scripts.push_back([&](const testing::RecordedMessageBox&) {
        // Retry with the same, unchanged file: the box comes again. Now the file is mended.
        std::filesystem::copy_file(plane_frame(), wrong,
                                   std::filesystem::copy_options::overwrite_existing);
        return gwl::mb::kIdRetry;
    });
    // First box: plain Retry; second box: mend, then Retry.
    run.prompter.message_box_scripts.push_front(
        [](const testing::RecordedMessageBox&) { return gwl::mb::kIdRetry; });
    new_graph();
    ASSERT_EQ(run.prompter.message_boxes.size(), 2u);
    const std::string reason = "The header record at line 2 is unreadable: it needs five whole numbers.";
    EXPECT_TRUE(run.info_has_line(" *** " + reason));
    for (const auto& box : run.prompter.message_boxes) {
        EXPECT_EQ(box.text, "Wrong Input File\n\n" + reason);
        EXPECT_EQ(box.caption, "VORAX Message");
        EXPECT_EQ(box.style, gwl::mb::kRetryCancel | gwl::mb::kIconError);
    }
    EXPECT_EQ(titles.size(), 1u);
    EXPECT_TRUE(run.state.model_loaded);
}

TEST_F(LoadingRun, CancelInTheWrongFileBoxEndsTheProgramAndTheBoxSpeaksTheLanguageOfTheRun)
{
    const auto wrong = run.folder.write("model.dat", "TITLE\n1 2\n");
    gwl::set_program_arguments({wrong.string()});
    run.prompter.message_box_answers.push_back(gwl::mb::kIdCancel);
    new_graph();
    EXPECT_EQ(run.prompter.message_boxes.size(), 1u);
    EXPECT_EQ(run.session->frame().exit_status(), 0);
    EXPECT_FALSE(run.state.model_loaded);

    SessionRun romanian("Romanian");
    ASSERT_TRUE(romanian.start());
    gwl::set_program_arguments({romanian.folder.write("model.dat", "TITLE\nx\n").string()});
    romanian.prompter.message_box_answers.push_back(gwl::mb::kIdCancel);
    romanian.session->program().graph_command = [] {};
    ASSERT_TRUE(romanian.choose(kProgramMenu, kNewGraphItem));
    ASSERT_EQ(romanian.prompter.message_boxes.size(), 1u);
    EXPECT_EQ(romanian.prompter.message_boxes[0].text,
              "Fisier de intrare eronat\n\nInregistrarea antetului din linia 2 nu poate fi citita: "
              "sunt necesare cinci numere intregi.");
    EXPECT_EQ(romanian.prompter.message_boxes[0].caption, "Mesaj VORAX");
}

TEST_F(LoadingRun, FileEndingTooEarlyIsReportedAndEndsTheProgram)
{
    const auto cut_short = run.folder.write("short.dat", "TITLE\n2 1 2 1 0\n1 1 1 1\n");
    gwl::set_program_arguments({cut_short.string()});
    new_graph();
    ASSERT_EQ(run.prompter.message_boxes.size(), 1u);
    const std::string report = run.prompter.message_boxes[0].text;
    EXPECT_NE(report.find(cut_short.string()), std::string::npos);
    EXPECT_NE(report.find("line 3"), std::string::npos);
    EXPECT_TRUE(run.info_has_line(" *** " + report));
    EXPECT_EQ(run.session->frame().exit_status(), 1);
    EXPECT_FALSE(run.state.model_loaded);
}

TEST_F(LoadingRun, CancelledSettingsStartOverWithANewFileChoice)
{
    run.prompter.file_answers = {plane_frame(), space_tower()};
    dialog_results = {2, 1};
    new_graph();
    ASSERT_EQ(titles.size(), 2u);
    EXPECT_EQ(run.prompter.file_requests.size(), 2u);
    // The second file dialog starts from the name chosen before.
    EXPECT_EQ(run.prompter.file_requests[1].file_name, plane_frame());
    // The settings changed in the cancelled dialog were thrown away before the second one.
    EXPECT_TRUE(seen_settings[1].show_grid_and_scale);
    EXPECT_EQ(run.state.model.NGL, 3);
    EXPECT_EQ(run.menu_flags(kProgramMenu, 1), kEnabled);
}

TEST_F(LoadingRun, CancelledSettingsWithACommandLineFileEndsTheRequest)
{
    gwl::set_program_arguments({plane_frame()});
    dialog_results = {2};
    new_graph();
    EXPECT_EQ(titles.size(), 1u);
    EXPECT_EQ(run.menu_flags(kProgramMenu, 1), kDisabled);
    EXPECT_EQ(run.menu_flags(kProgramMenu, 2), kDisabled);
    EXPECT_EQ(run.state.settings.current_settings, run.state.settings.default_settings);
    // The next "NEW Graph ..." reads the same file again, without a dialog.
    dialog_results = {1};
    new_graph();
    EXPECT_EQ(titles.size(), 2u);
    EXPECT_EQ(titles[1], "(1) TWO-BAY THREE-STOREY PLANE FRAME");
    EXPECT_TRUE(run.prompter.file_requests.empty());
}

// The edit loop: edit the model named on the command line, Cancel, and the dialog comes back
// with the edited model; Cancel on an unedited file ends the command.
TEST_F(LoadingRun, CancelledSettingsReadAnEditedCommandLineFileAgain)
{
    const auto file = run.folder.write("frame.dat", testing::file_text(plane_frame()));
    gwl::set_program_arguments({file.string()});
    dialog_results = {2, 2};
    auto command = run.session->program().graph_command;
    run.session->program().graph_command = [&] {
        if (titles.empty()) {
            std::string text = testing::file_text(plane_frame());
            text.replace(text.find("TWO-BAY"), 32, "EDITED FRAME");
            std::filesystem::remove(file);
            run.folder.write("frame.dat", text);
        }
        command();
    };
    new_graph();
    ASSERT_EQ(titles.size(), 2u);
    EXPECT_EQ(titles[1], "(1) EDITED FRAME");
    EXPECT_EQ(run.state.problem_title, "EDITED FRAME");
}

// A file that cannot be had ends the program only before the first graph; with a graph on
// screen it ends the command, and the model and the windows stay.
TEST_F(LoadingRun, AFileThatCannotBeHadEndsOnlyTheCommandWhileAGraphIsShown)
{
    struct Row {
        const char* name;
        const char* content; // nullptr: no such file, three wrong names typed
        int answer;          // to the box
        const char* last_line;
    };
    const Row rows[] = {
        {"not found", nullptr, gwl::mb::kIdOk, " File Not Found !"},
        {"wrong input, Cancel", "TITLE\n1 2\n", gwl::mb::kIdCancel,
         " *** The header record is incomplete: the file ends after line 2."},
        {"ends too early", "TITLE\n2 1 2 1 0\n1 1 1 1\n", gwl::mb::kIdOk, nullptr},
    };
    run.prompter.file_answers = {plane_frame()};
    new_graph();
    ASSERT_EQ(titles.size(), 1u);
    ++run.state.graphs_drawn; // as the window the real command opens
    run.state.drawn_nodes.assign(12, true);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        run.prompter.file_answers = {row.content ? run.folder.write("bad.dat", row.content).string()
                                                 : std::string("missing.dat")};
        run.prompter.typed_lines = {"b.dat", "c.dat", "d.dat"};
        run.prompter.message_box_answers = {row.answer};
        new_graph();
        if (row.last_line) {
            EXPECT_EQ(run.info_lines().back(), row.last_line);
        }
        EXPECT_FALSE(run.info_has_line(" *** Exiting .... Program terminated"));
        EXPECT_EQ(run.session->frame().exit_status(), -1);
        EXPECT_EQ(run.state.model.node_count, 12);
        EXPECT_EQ(run.menu_flags(kProgramMenu, kBackToSettingsItem), kEnabled);
    }
    EXPECT_EQ(titles.size(), 1u);
}

// A model loaded but never drawn leaves no way back to its settings when the file dialog is
// cancelled.
TEST_F(LoadingRun, ALoadedModelWithoutAGraphHasNoWayBack)
{
    run.prompter.file_answers = {plane_frame(), std::nullopt};
    dialog_results = {2};
    new_graph();
    EXPECT_TRUE(run.state.model_loaded);
    EXPECT_EQ(run.menu_flags(kProgramMenu, kBackToSettingsItem), kGrayed | kDisabled);
}

// A command-line name that was not found, corrected by the person, is the name of later loads.
TEST_F(LoadingRun, ACorrectedCommandLineNameIsKept)
{
    gwl::set_program_arguments({"no_such_model.dat"});
    run.prompter.typed_lines = {plane_frame()};
    new_graph();
    new_graph();
    EXPECT_EQ(run.prompter.read_line_calls, 1);
    EXPECT_EQ(titles.size(), 2u);
}

TEST_F(LoadingRun, TheLoadedModelStaysUntilANewOneIsRead)
{
    gwl::set_program_arguments({});
    run.prompter.file_answers = {plane_frame()};
    new_graph();
    const auto wrong = run.folder.write("wrong.dat", "TITLE\n0 0 2 1 0\n");
    run.prompter.file_answers = {wrong.string(), std::nullopt};
    run.prompter.message_box_answers = {gwl::mb::kIdRetry};
    new_graph();
    EXPECT_TRUE(run.state.model_loaded);
    EXPECT_EQ(run.state.model.node_count, 12);
    EXPECT_EQ(run.state.problem_title, "TWO-BAY THREE-STOREY PLANE FRAME");
}

// 200 nodes and 201 elements along a line.
std::string line_model(int nodes, int elements)
{
    std::string text = "LINE MODEL\n" + std::to_string(nodes) + " " + std::to_string(elements)
                       + " 2 1 0\nCODES\nVALUES\n-\n-\n-\n-\n";
    for (int i = 1; i <= nodes; ++i)
        text += std::to_string(i) + " " + std::to_string(i) + ".0 0.0\n";
    text += "ELEMENTS\n";
    for (int e = 1; e <= elements; ++e)
        text += std::to_string(e) + " " + std::to_string((e - 1) % (nodes - 1) + 1) + " "
                + std::to_string((e - 1) % (nodes - 1) + 2) + "\n";
    return text + "END\n";
}

TEST_F(LoadingRun, IndexSwitchesFollowTheTwoHundredRule)
{
    const auto file = run.folder.write("line.dat", line_model(200, 201));
    gwl::set_program_arguments({file.string()});
    new_graph();
    ASSERT_EQ(seen_settings.size(), 1u);
    EXPECT_TRUE(seen_settings[0].show_node_indices);
    EXPECT_FALSE(seen_settings[0].show_element_indices);
}

TEST_F(LoadingRun, ModelCheckLineAfterTheLoadLinesInBothLanguages)
{
    // No support codes, and a coordinate record for a node 9 of two.
    const std::string slips = "TWO SLIPS\n2 1 2 1 0\nCODES\nVALUES\n-\n-\n-\n-\n"
                              "1 0 0\n2 1 0\n9 1 1\nCOORDINATES\n1 1 2\nEND\n";
    const auto file = run.folder.write("slips.dat", slips);
    gwl::set_program_arguments({file.string()});
    new_graph();
    EXPECT_TRUE(contains(run.info_lines(), {" TWO SLIPS", " xmin, xmax:  0.  1.", " ymin, ymax:  0.  0.",
                                            " * Model check: 2 warnings (F8 lists them)"}));

    SessionRun romanian("Romanian");
    ASSERT_TRUE(romanian.start());
    romanian.session->program().graph_command = [] {};
    ASSERT_TRUE(romanian.choose(kProgramMenu, kNewGraphItem));
    EXPECT_TRUE(romanian.info_has_line(" * Verificare model: 2 avertismente (F8 le listeaza)"));

    // A clean model adds no line.
    gwl::set_program_arguments({plane_frame()});
    new_graph();
    const auto lines = run.info_lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.rfind(" * Model check:", 0) == 0; }),
              1);
}

TEST(LoadedGraphTitle, NumberInParenthesesAndTitleCutAtHundred)
{
    EXPECT_EQ(loaded_graph_title(10 - 9, "FRAME"), "(1) FRAME");
    EXPECT_EQ(loaded_graph_title(19 - 9, "FRAME"), "(10) FRAME");
    const std::string hundred(100, 'T');
    const std::string title = loaded_graph_title(1, hundred);
    EXPECT_EQ(title.size(), 100u);
    EXPECT_EQ(title, "(1) " + std::string(96, 'T'));
}

TEST(InitialFolder, SiblingDatFolderWhenItExists)
{
    testing::TempDir dir;
    std::filesystem::create_directories(dir.path() / "run");
    const std::string current = (dir.path() / "run").string();
    EXPECT_EQ(initial_folder(current), current);
    std::filesystem::create_directories(dir.path() / "dat");
    EXPECT_EQ(initial_folder(current), (dir.path() / "dat").string());
    EXPECT_EQ(initial_folder(""), "");
}

} // namespace
} // namespace vorax
