// SPDX-License-Identifier: GPL-3.0-or-later
// `vorax --diff OLD NEW` through the built program: its lines, its summary and its exit status
// for pairs of model files, unreadable files and wrong usage.

#include <gtest/gtest.h>

#include <sstream>

#include "app/diff_command.h"
#include "app/info_command.h"
#include "test_helpers.h"

namespace vorax {
namespace {

using testing::shell_quoted;

// A plane model of three nodes and two elements; its coordinates at lines 10-12, its elements at
// lines 14-15.
std::string model(const std::string& coordinates = "1 0 0\n2 1 0\n3 2 0\n", const std::string& elements = "1 1 2\n2 2 3\n")
{
    return "LINE OF THREE\n3 2 2 1 0\n1 1 1 1\nEND\nEND\n-\n-\n-\n-\n" + coordinates + "END\n" + elements + "END\n";
}

// The report `vorax --info` gives for a file it cannot read.
std::string info_report(const std::string& path)
{
    std::ostringstream out, err;
    run_info_command(path, out, err);
    return err.str();
}

TEST(DiffCommand, ProgramPrintsTheChangesAndSaysByItsStatus)
{
    if (testing::vorax_program().empty())
        GTEST_SKIP() << "the vorax program is not built";
    testing::TempDir dir;
    const std::string old_model = dir.write("old.dat", model()).string();
    const std::string same = dir.write("same.dat", model("1 0.0 0\n2 1.0 0\n3 2 -0\n")).string();
    const std::string changed = dir.write("changed.dat", model("1 0 0\n2 1 0.5\n3 2 0\n", "1 1 2\n2 1 3\n")).string();
    const std::string wrong = dir.write("wrong.dat", "TITLE\n3 2 5 1 0\n").string();
    const std::string missing = (dir.path() / "missing.dat").string();
    struct Row {
        const char* name;
        std::string arguments;
        int status;
        std::string output;
        std::string error; // the start of standard error
    };
    const Row rows[] = {
        {"same", "--diff " + shell_quoted(old_model) + " " + shell_quoted(same), kDiffSame,
         "3 nodes, 2 elements; unchanged\n", ""},
        {"changed", "--diff=" + shell_quoted(old_model) + " " + shell_quoted(changed), kDiffChanged,
         changed + ":11: node 2 moved from (1.000, 0.000) to (1.000, 0.500)\n" + changed
             + ":15: element 2 now joins 1-3 (was 2-3)\n3 nodes, 2 elements; 1 node moved, 1 element changed\n",
         ""},
        {"new_first_on_the_line", shell_quoted(changed) + " --diff " + shell_quoted(old_model), kDiffChanged,
         changed + ":11: node 2 moved", ""},
        {"old_unreadable", "--diff " + shell_quoted(wrong) + " " + shell_quoted(old_model), kDiffUnreadable, "",
         info_report(wrong)},
        {"both_unreadable", "--diff " + shell_quoted(missing) + " " + shell_quoted(wrong), kDiffUnreadable, "",
         info_report(missing) + info_report(wrong)},
        {"new_missing", "--diff " + shell_quoted(old_model), 2, "",
         "vorax: name the two model files to compare (vorax --diff OLD NEW)\nusage: vorax"},
        {"three_files", "--diff " + shell_quoted(old_model) + " a.dat b.dat", 2, "", "vorax: unexpected argument \"b.dat\""},
        {"with_another_mode", "--diff " + shell_quoted(old_model) + " a.dat --check a.dat", 2, "",
         "vorax: --diff and --check cannot be used together"},
        {"with_an_option_of_export", "--diff " + shell_quoted(old_model) + " a.dat --grid off", 2, "",
         "vorax: --grid is an option of --export"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        testing::expect_vorax_run(row.arguments, row.status, row.output, row.error);
    }
}

} // namespace
} // namespace vorax
