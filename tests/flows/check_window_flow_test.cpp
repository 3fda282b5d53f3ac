// SPDX-License-Identifier: GPL-3.0-or-later
// From the picture to the line in the running program: the findings window against what
// `vorax --check` prints, in both languages; a chosen finding marked in the graph; the editor
// started at the line of a finding, of a double-clicked item and of the pointed item, the three
// ways an editor is named, names no shell could pass whole, and an editor that is not there.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QHeaderView>
#include <QTest>
#include <QTreeWidget>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>

#include "app/check_command.h"
#include "app/check_window.h"
#include "app/model_reload.h"
#include "app/program.h"
#include "graph/change_marks.h"
#include "gwl/platform/system.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/surface/drawing_area.h"
#include "gwl/windows/frame.h"
#include "gwl/windows/graphics_window.h"
#include "gwl/windows/list_window.h"
#include "gwl/windows/menus.h"
#include "person.h"
#include "pixels.h"
#include "session_fixture.h"

namespace vorax {
namespace {

using testing::Pixels;
using testing::SessionRun;
using testing::row_model;
using testing::wait_until;

// A row of five nodes whose last lies on the fourth: two findings, the coincident nodes 4 and 5
// (line 14) and element 4 without length (line 19). Coordinates are lines 10-14.
std::string two_findings()
{
    std::string text = row_model(5);
    return text.replace(text.find("5 4.0 0.0"), 9, "5 3.0 0.0");
}

// The rows `vorax --check` prints for a file: line, kind, text.
std::vector<std::vector<std::string>> check_rows(const std::filesystem::path& file)
{
    std::ostringstream out, err;
    run_check_command(file.string(), out, err);
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(out.str());
    const std::regex finding(R"(^.*?(?::(\d+))?: warning: (.*) \[([a-z-]+)\]$)");
    std::smatch m;
    for (std::string line; std::getline(lines, line);)
        if (std::regex_match(line, m, finding))
            rows.push_back({m[1].str(), m[3].str(), m[2].str()});
    return rows;
}

// Takes the files handed to the desktop's application.
// The texts of a findings list, row by row.
std::vector<std::vector<std::string>> list_rows(const gwl::ListWindow& list)
{
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < list.row_count(); ++r)
        rows.push_back({list.text(r, 0), list.text(r, 1), list.text(r, 2)});
    return rows;
}

class DesktopCatcher : public QObject {
    Q_OBJECT
public:
    DesktopCatcher() { QDesktopServices::setUrlHandler("file", this, "open"); }
    ~DesktopCatcher() override { QDesktopServices::unsetUrlHandler("file"); }
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

class CheckWindowFlow : public ::testing::Test {
protected:
    explicit CheckWindowFlow(const std::string& language = "") : run(language) {}

    void SetUp() override
    {
        gwl::set_default_drawing_area(600, 400);
        ASSERT_TRUE(run.start());
        // A stand-in editor that writes down its arguments, one per NUL-ended field.
        record = run.folder.path() / "arguments";
        editor = run.folder.write("bin/editor", "#!/bin/sh\nprintf '%s\\0' \"$@\" > '" + record.string() + ".part'\n"
                                                "mv '" + record.string() + ".part' '" + record.string() + "'\n");
        std::filesystem::permissions(editor, std::filesystem::perms::owner_all);
        use_environment({{"VORAX_EDITOR", editor.string() + " %l %f"}});
    }

    void draw_first_graph(const std::string& text)
    {
        model = run.draw_model("row.dat", text);
        ASSERT_FALSE(model.empty());
    }
    void use_environment(std::map<std::string, std::string> variables)
    {
        check().environment = [variables](const char* name) -> std::optional<std::string> {
            const auto it = variables.find(name);
            return it == variables.end() ? std::nullopt : std::optional<std::string>(it->second);
        };
    }
    // The arguments the stand-in editor was started with.
    std::vector<std::string> editor_arguments()
    {
        if (!wait_until([&] { return std::filesystem::exists(record); }))
            return {};
        const std::string text = testing::file_text(record);
        std::filesystem::remove(record);
        std::vector<std::string> arguments;
        for (std::size_t at = 0, end; (end = text.find('\0', at)) != std::string::npos; at = end + 1)
            arguments.push_back(text.substr(at, end - at));
        return arguments;
    }

    CheckWindow& check() { return run.session->check_window(); }
    gwl::GraphicsWindow* window(int unit) { return run.session->frame().graphics_window(unit); }
    gwl::ListWindow* list() { return run.session->frame().list_window(kCheckUnit); }
    bool press_f8() { return run.choose(gwl::kViewMenu, check().menu_items().model_check); }
    bool press_ctrl_e() { return run.choose(gwl::kEditMenu, check().menu_items().edit_at_line); }
    std::string status() { return run.session->frame().status_text(); }
    QPoint on_screen(int node)
    {
        const Node& n = run.state.model.node(node);
        const gwl::PixelPoint pixel = window(10)->surface().to_pixel({n.plot_x, n.plot_y});
        return window(10)->viewport_rect_of({pixel.x, pixel.y, 1, 1}).center();
    }
    SessionRun run;
    std::filesystem::path model, record, editor;
};

TEST(CheckWindowLanguages, TheFindingsAsCheckPrintsThemAndNoneAfterAReload)
{
    struct Row {
        const char* language;
        const char* headings[3];
        const char* title;
        const char* none;
        const char* last; // the last finding's words
    };
    const Row rows[] = {{"", {"Line", "Kind", "Finding"}, "VORAX: Model Check", "No findings",
                         "no node has a non-zero support code"},
                        {"Romanian", {"Linia", "Tipul", "Constatare"}, "VORAX: Verificare model", "Nicio constatare",
                         "niciun nod nu are un cod de rezemare nenul"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.language);
        SessionRun run(row.language);
        ASSERT_TRUE(run.start());
        // Findings of several kinds, a model-wide one last.
        const auto file = run.folder.write("slips.dat", "TWO SLIPS\n3 1 2 1 0\nCODES\nVALUES\n-\n-\n-\n-\n"
                                                        "1 0 0\n2 1 0\n2 1 1\n9 1 1\nCOORDINATES\n1 1 2\nEND\n");
        gwl::set_program_arguments({file.string()});
        run.prompter.script_draw();
        ASSERT_TRUE(run.choose(kProgramMenu, kNewGraphItem));
        ASSERT_TRUE(run.choose(gwl::kViewMenu, run.session->check_window().menu_items().model_check));
        gwl::ListWindow* list = run.session->frame().list_window(kCheckUnit);
        ASSERT_NE(list, nullptr);
        // The lines and kinds as check prints them, the words in the program's language.
        std::vector<std::vector<std::string>> shown = list_rows(*list), printed = check_rows(file);
        ASSERT_GE(printed.size(), 3u);
        ASSERT_EQ(shown.size(), printed.size());
        EXPECT_EQ(shown.back()[2], row.last);
        if (*row.language != '\0')
            for (std::size_t r = 0; r < shown.size(); ++r)
                shown[r][2] = printed[r][2];
        EXPECT_EQ(shown, printed);
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(list->headerItem()->text(c).toStdString(), row.headings[c]);
        EXPECT_EQ(run.session->frame().unit_title(kCheckUnit), row.title);
        EXPECT_EQ(list->current_row(), 0);
        // The keys go to the list (this platform leaves no window active after a dialog).
        run.session->frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&run.session->frame()));
        EXPECT_EQ(QApplication::focusWidget(), list);

        // A reload of the file, now clean, empties the list.
        run.folder.write("slips.dat", row_model(3));
        ASSERT_TRUE(run.choose(gwl::kFileMenu, run.session->reload().menu_items().reload));
        EXPECT_EQ(list->row_count(), 0);
        EXPECT_EQ(list->empty_text(), row.none);
        EXPECT_EQ(list->text(0, 0), ""); // the line that says so is no finding
        EXPECT_TRUE(list->isFirstColumnSpanned(0, {})); // and reads across the list
        EXPECT_EQ(list->current_row(), -1);
        gwl::set_program_arguments({});
    }
}

TEST_F(CheckWindowFlow, AChosenFindingIsMarkedAndEnterOpensItsLine)
{
    draw_first_graph(two_findings());
    ASSERT_TRUE(press_f8());
    EXPECT_EQ(list_rows(*list()), check_rows(model));
    // The first finding is chosen as the window opens: nodes 4 and 5 are ringed.
    EXPECT_GT(Pixels(window(10)->surface()).count(kMarkColor), 0);
    EXPECT_EQ(status(), "row.dat:14: warning: " + list()->text(0, 2) + " [coincident-nodes]");

    QTest::keyClick(list(), Qt::Key_Down);
    EXPECT_EQ(list()->current_row(), 1);
    EXPECT_EQ(run.state.drawn_graphs.front().marks.nodes, (std::vector<std::int32_t>{4, 5}));
    EXPECT_EQ(run.state.drawn_graphs.front().marks.elements, (std::vector<std::int32_t>{4}));
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_EQ(editor_arguments(), (std::vector<std::string>{"19", model.string()}));
    EXPECT_EQ(status(), "row.dat: opened in the editor at line 19");

    // A double-click on a finding does the same.
    const QRect first = list()->visualItemRect(list()->topLevelItem(0));
    testing::Person::double_click(list()->viewport(), first.center());
    EXPECT_EQ(editor_arguments(), (std::vector<std::string>{"14", model.string()}));
}

TEST_F(CheckWindowFlow, AFindingNoWindowDrewIsSaidSo)
{
    // Element 5 has an end node 0: it is not drawn.
    std::string text = row_model(5);
    text.replace(text.find("5 4 2 1 0"), 9, "5 5 2 1 0");
    text.replace(text.find("END\n", text.find("ELEMENTS")), 4, "5 5 0\nEND\n");
    draw_first_graph(text);
    ASSERT_TRUE(press_f8());
    ASSERT_EQ(list()->text(0, 1), "undefined-element");
    EXPECT_EQ(status(), "No graph window shows what this finding is about");
    EXPECT_EQ(Pixels(window(10)->surface()).count(kMarkColor), 0);
}

TEST_F(CheckWindowFlow, ADoubleClickOrCtrlEOnAnItemOpensItsLine)
{
    draw_first_graph(row_model(5));
    window(10)->set_size_to_fit(false);
    testing::Person::double_click(window(10)->viewport(), on_screen(3));
    EXPECT_EQ(editor_arguments(), (std::vector<std::string>{"12", model.string()}));

    // An element: its own record; the pointer resting on node 2 when the keys come.
    const QPoint middle = (on_screen(1) + on_screen(2)) / 2;
    testing::Person::double_click(window(10)->viewport(), middle);
    EXPECT_EQ(editor_arguments(), (std::vector<std::string>{"16", model.string()}));
    QTest::mouseMove(window(10)->viewport(), on_screen(2) - QPoint(1, 1));
    QTest::mouseMove(window(10)->viewport(), on_screen(2));
    ASSERT_FALSE(window(10)->pointed_text().empty());
    ASSERT_TRUE(press_ctrl_e());
    EXPECT_EQ(editor_arguments(), (std::vector<std::string>{"11", model.string()}));
}

TEST_F(CheckWindowFlow, CoincidentNodesAreNamedTogether)
{
    draw_first_graph(two_findings());
    QTest::mouseMove(window(10)->viewport(), on_screen(4) - QPoint(1, 1));
    QTest::mouseMove(window(10)->viewport(), on_screen(4));
    EXPECT_EQ(window(10)->pointed_text(), "Node 4  x 3.000  y 0.000  free  (line 13) — also node 5 here");
}

TEST_F(CheckWindowFlow, TheThreeWaysHostileNamesAndAnEditorThatIsNotThere)
{
    draw_first_graph(row_model(5));
    const std::string hostile = (run.folder.path() / "a b'$(touch x)\";`\xff.dat").string();
    const std::string terminal = run.folder.write("bin/x-terminal-emulator", testing::file_text(editor)).string();
    std::filesystem::permissions(terminal, std::filesystem::perms::owner_all);
    const std::string path = std::getenv("PATH");
    setenv("PATH", (editor.parent_path().string() + ":" + path).c_str(), 1);
    struct Row {
        const char* name;
        std::map<std::string, std::string> environment;
        std::vector<std::string> arguments;
    };
    const Row rows[] = {
        {"VoraxEditor", {{"VORAX_EDITOR", "'" + editor.string() + "' -l%l %f"}}, {"-l7", hostile}},
        {"GraphicalEditor", {{"VISUAL", editor.string()}}, {"+7", hostile}},
        {"TerminalEditor", {{"EDITOR", "vim"}}, {"-e", "vim", "+7", hostile}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        use_environment(row.environment);
        check().open_editor(hostile, 7);
        EXPECT_EQ(editor_arguments(), row.arguments);
    }
    EXPECT_FALSE(std::filesystem::exists(run.folder.path() / "x"));
    setenv("PATH", path.c_str(), 1);

    // Without any editor named, the desktop's application gets the file.
    DesktopCatcher desktop;
    use_environment({});
    check().open_editor(model.string(), 3);
    EXPECT_EQ(desktop.opened, QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(model.string()))});
    EXPECT_EQ(status(), "row.dat");

    use_environment({{"VORAX_EDITOR", "/nowhere/editor %f"}});
    check().open_editor(model.string(), 3);
    const std::string said = "The editor could not be started: /nowhere/editor: No such file or directory";
    EXPECT_EQ(status(), said);
    EXPECT_TRUE(run.info_has_line(said));
}

} // namespace
} // namespace vorax

#include "check_window_flow_test.moc"
