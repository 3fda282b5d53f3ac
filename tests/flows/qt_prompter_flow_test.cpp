// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program with the real prompts: a person chooses "NEW Graph ...", types the name of
// a file that is not there into the file dialog, types the right one into the info window,
// presses DRAW in the Graph Settings dialog and gets the graph window.

#include <gtest/gtest.h>

#include <QLineEdit>

#include "app/program.h"
#include "gwl/platform/system.h"
#include "gwl/prompts.h"
#include "gwl/windows/frame.h"
#include "gwl/windows/graphics_window.h"
#include "gwl/windows/menus.h"
#include "person.h"
#include "session_fixture.h"

namespace vorax {
namespace {

using testing::Person;

TEST(QtPrompterFlow, MenuTypedNamesDrawAndAGraphWindow)
{
    gwl::set_program_arguments({});
    testing::SessionRun run;
    gwl::set_prompter(nullptr); // the Qt prompter, not the script
    ASSERT_TRUE(run.start());
    const std::filesystem::path folder = run.folder.path() / "data";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(testing::source_path("examples/plane_frame.dat"), folder / "frame.dat");
    const std::string missing = (folder / "fram.dat").string();
    const std::string found = (folder / "frame.dat").string();

    Person person;
    person
        .then(Person::modal("QFileDialog", "Select File"),
              [&](QWidget* dialog) {
                  auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                  edit->clear();
                  Person::type(edit, missing);
                  Person::press(edit, Qt::Key_Return);
              })
        .then(Person::reading([&] { return run.session->frame().text_window(gwl::kInfoUnit); }),
              [&](QWidget* info) {
                  Person::type(info, found.substr(0, found.size() - 1) + "x");
                  Person::press(info, Qt::Key_Backspace);
                  Person::type(info, "t");
                  Person::press(info, Qt::Key_Return);
              })
        .then(Person::modal("QDialog", "VORAX: Graph Settings"),
              [](QWidget* dialog) { Person::click_button(dialog, "DRAW"); });
    ASSERT_TRUE(run.choose(kProgramMenu, kNewGraphItem));

    EXPECT_TRUE(person.done());
    EXPECT_FALSE(person.gave_up());
    const std::vector<std::string> lines = run.info_lines();
    const std::vector<std::string> look_ups{"", " * File not found: " + missing,
                                            " * Enter again: " + found, "", "  " + found};
    EXPECT_NE(std::search(lines.begin(), lines.end(), look_ups.begin(), look_ups.end()), lines.end());
    gwl::GraphicsWindow* graph = run.session->frame().graphics_window(10);
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(run.session->frame().unit_title(10), "(1) TWO-BAY THREE-STOREY PLANE FRAME");
    const QImage picture = graph->surface().image_copy();
    int line_pixels = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            line_pixels += picture.pixelColor(x, y) == QColor(128, 0, 0);
    EXPECT_GT(line_pixels, 1000);
    EXPECT_EQ(run.menu_flags(kProgramMenu, kBackToSettingsItem), gwl::menu_flag::kEnabled);
}

} // namespace
} // namespace vorax
