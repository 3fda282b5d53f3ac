// SPDX-License-Identifier: GPL-3.0-or-later
// `vorax --check`: output, exit statuses and option forms; the info line after a load and the
// name it puts into the command.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/check_command.h"
#include "app/info_command.h"
#include "test_helpers.h"

namespace vorax {
namespace {

using testing::source_path;
using testing::TempDir;

struct CheckRun {
    int status;
    std::string out;
    std::string err;
};

CheckRun check(const std::string& path)
{
    std::ostringstream out, err;
    const int status = run_check_command(path, out, err);
    return {status, out.str(), err.str()};
}

// A plane model whose coordinate block names node 3 twice and a node 9 that does not exist.
const char* const kTwoSlips = "TWO SLIPS\n3 2 2 1 0\n1 1 1 1\nEND\nEND\n-\n-\n-\n-\n"
                              "1 0 0\n2 1 0\n3 2 0\n3 2 1\n9 0 0\nEND\n1 1 2\n2 2 3\nEND\n";

TEST(CheckCommand, FindingsInFileOrderThenTheSummary)
{
    TempDir dir;
    const std::string path = dir.write("slips.dat", kTwoSlips).string();
    const CheckRun run = check(path);
    EXPECT_EQ(run.status, kCheckFindings);
    EXPECT_EQ(run.out, path + ":13: warning: coordinate record replaces the coordinates of node 3 set at line 12 [replaced]\n"
                     + path + ":14: warning: coordinate record for node 9 skipped: the model has nodes 1-3 [out-of-range]\n"
                     + "2 warnings\n");
    EXPECT_EQ(run.err, "");

    // Beyond the findings listed of a kind, a note says how many more there are.
    std::string outside;
    for (int i = 0; i < 1002; ++i)
        outside += "9 0 0\n";
    const std::string many = dir.write("many.dat", "MANY\n3 2 2 1 0\n1 1 1 1\nEND\nEND\n-\n-\n-\n-\n"
                                                   "1 0 0\n2 1 0\n3 2 0\n" + outside + "END\n1 1 2\n2 2 3\nEND\n").string();
    const std::string listed = check(many).out;
    EXPECT_EQ(listed.substr(listed.rfind(": note:")),
              ": note: 2 more findings not listed [out-of-range]\n1002 warnings\n");

    const CheckRun clean = check(source_path("examples/plane_frame.dat"));
    EXPECT_EQ(clean.status, kCheckClean);
    EXPECT_EQ(clean.out, "no findings\n");
}

TEST(CheckCommand, UnreadableFilesAreReportedAsByInfo)
{
    TempDir dir;
    for (const std::string& path : {dir.write("wrong.dat", "TITLE\n3 2 5 1 0\n").string(),
                                    dir.write("short.dat", "TITLE\n3 2 2 1 0\n1 1 1 1\n").string(),
                                    std::string("/nonexistent/model.dat")}) {
        SCOPED_TRACE(path);
        const CheckRun run = check(path);
        std::ostringstream info_out, info_err;
        EXPECT_EQ(run_info_command(path, info_out, info_err), 1);
        EXPECT_EQ(run.status, kCheckUnreadable);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, info_err.str());
    }
}

// Both forms of the option reach the command in the built program, which needs no display.
TEST(CheckCommand, ProgramTakesBothOptionForms)
{
    if (testing::vorax_program().empty())
        GTEST_SKIP() << "the vorax program is not built";
    TempDir dir;
    const std::string model = testing::shell_quoted(dir.write("slips.dat", kTwoSlips).string());
    const std::string program = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "
                                + testing::shell_quoted(testing::vorax_program());
    for (const std::string& option : {"--check " + model, "--check=" + model}) {
        const testing::CommandRun run = testing::run_command(program + " " + option);
        EXPECT_EQ(run.status, kCheckFindings) << option;
        EXPECT_NE(run.output.find("2 warnings"), std::string::npos) << run.output;
    }
}

TEST(CheckCommand, InfoLineInBothLanguagesAndNoneWhenClean)
{
    EXPECT_EQ(model_check_line(0, "m.dat", UiLanguage::english), std::nullopt);
    EXPECT_EQ(model_check_line(2, "m.dat", UiLanguage::english),
              " * Model check: 2 warnings (vorax --check m.dat lists them)");
    EXPECT_EQ(model_check_line(2, "m.dat", UiLanguage::romanian),
              " * Verificare model: 2 avertismente (vorax --check m.dat le listeaza)");
    EXPECT_EQ(model_check_line(1, "m.dat", UiLanguage::english),
              " * Model check: 1 warning (vorax --check m.dat lists it)");
    EXPECT_EQ(model_check_line(1, "m.dat", UiLanguage::romanian),
              " * Verificare model: 1 avertisment (vorax --check m.dat il listeaza)");
}

TEST(CheckCommand, TheNameToTypeIsTheGivenOneWhenItNamesTheFileReadHere)
{
    TempDir dir;
    const std::filesystem::path file = dir.write("my model's.dat", kTwoSlips);
    const std::filesystem::path started_in = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    EXPECT_EQ(check_command_name("my model's.dat", file.string()), "'my model'\\''s.dat'");
    // A name found elsewhere (the program's folder, PATH) would not name it from here.
    EXPECT_EQ(check_command_name("other.dat", file.string()), "'" + (dir.path() / "my model").string() + "'\\''s.dat'");
    std::filesystem::current_path(started_in);
    const std::string plain = source_path("examples/plane_frame.dat");
    EXPECT_EQ(check_command_name(plain, plain), plain);
    EXPECT_EQ(check_command_name("-m.dat", "-m.dat"), "./-m.dat"); // not read as an option
    const std::string odd = "c\x01 \x1b'\\.dat";
    EXPECT_EQ(check_command_name(odd, odd), "$'c\\x01 \\x1b\\'\\\\.dat'"); // as a shell reads it back
}

} // namespace
} // namespace vorax
