// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt side of the prompt seam with its real widgets: a person answers message boxes, the file
// dialog, the colour chooser and the typed-line wait with key and mouse events. (Modal dialogs
// of templates run through QtPrompter in dialog_window_test, the mouse wait in
// graphics_window_test.)

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QInputDialog>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <vector>

#include "core/program_exit.h"
#include "gwl/prompts.h"
#include "gwl/windows/text_window.h"
#include "person.h"
#include "test_helpers.h"

namespace vorax::gwl {
namespace {

using testing::Person;

struct BoxCase {
    const char* name;
    unsigned style;
    std::function<void(QWidget*)> person;
    int expected;
};

TEST(QtPrompterBox, ButtonsAndKeysGiveTheirIds)
{
    const BoxCase cases[] = {
        {"retry", mb::kRetryCancel | mb::kIconError,
         [](QWidget* box) { Person::click_button(box, "Retry"); }, mb::kIdRetry},
        {"escape_is_cancel", mb::kRetryCancel | mb::kIconError,
         [](QWidget* box) { Person::press(box, Qt::Key_Escape); }, mb::kIdCancel},
        {"enter_is_ok", mb::kOk | mb::kIconWarning,
         [](QWidget* box) { Person::press(box, Qt::Key_Return); }, mb::kIdOk},
        {"no", mb::kYesNo, [](QWidget* box) { Person::click_button(box, "No"); }, mb::kIdNo},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.name);
        QString seen_text;
        QString seen_title;
        Person person;
        person.then(Person::modal("QMessageBox"), [&](QWidget* w) {
            seen_text = static_cast<QMessageBox*>(w)->text();
            seen_title = w->windowTitle();
            c.person(w);
        });
        EXPECT_EQ(QtPrompter().message_box("Line one\rLine two", "VORAX Message", c.style),
                  c.expected);
        EXPECT_TRUE(person.done());
        EXPECT_EQ(seen_text, QStringLiteral("Line one\nLine two"));
        EXPECT_EQ(seen_title, QStringLiteral("VORAX Message"));
    }
}

OpenFileRequest select_file_request(const testing::TempDir& dir)
{
    OpenFileRequest request;
    request.title = "Select File";
    request.initial_folder = dir.path().string();
    request.filters = {{"Data Files (*.dat)", "*.dat"}, {"All files (*.*)", "*.*"}};
    request.default_extension = "dat";
    return request;
}

// Types a name into the file dialog's name field and presses Enter.
Person::Acts type_file_name(const std::string& name)
{
    return [name](QWidget* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        edit->clear();
        Person::type(edit, name);
        Person::press(edit, Qt::Key_Return);
    };
}

TEST(QtPrompterFile, ATypedNameComesBackWhetherTheFileExistsOrNot)
{
    testing::TempDir dir;
    dir.write("frame.dat", "x\n");
    struct Case {
        const char* typed;
        const char* expected;
    };
    // The folder must exist, the file need not: a missing file goes to the program's own
    // look-up with its "File not found" line.
    for (const Case c : {Case{"frame", "frame.dat"}, Case{"missing", "missing.dat"}}) {
        SCOPED_TRACE(c.typed);
        Person person;
        person.then(Person::modal("QFileDialog", "Select File"), type_file_name(c.typed));
        const auto chosen = QtPrompter().choose_open_file(select_file_request(dir));
        EXPECT_TRUE(person.done());
        EXPECT_FALSE(person.gave_up());
        EXPECT_EQ(chosen, std::optional<std::string>((dir.path() / c.expected).string()));
    }
}

TEST(QtPrompterFile, AMissingFolderIsRefusedAndEscapeCancels)
{
    testing::TempDir dir;
    QString refusal;
    Person person;
    person.then(Person::modal("QFileDialog"), type_file_name("no_folder/frame.dat"))
        .then(Person::modal("QMessageBox"), [&](QWidget* box) {
            refusal = static_cast<QMessageBox*>(box)->text();
            Person::press(box, Qt::Key_Return);
        })
        .then(Person::modal("QFileDialog"), [](QWidget* d) { Person::press(d, Qt::Key_Escape); });
    EXPECT_EQ(QtPrompter().choose_open_file(select_file_request(dir)), std::nullopt);
    EXPECT_TRUE(person.done());
    EXPECT_TRUE(refusal.contains(QStringLiteral("no_folder"))) << refusal.toStdString();
}

TEST(QtPrompterText, TheTypedLineComesBackAndEscapeCancels)
{
    std::string prompt_shown;
    Person person;
    std::vector<std::string> buttons;
    person.then(Person::modal("QInputDialog"), [&](QWidget* w) {
        auto* box = static_cast<QInputDialog*>(w);
        prompt_shown = box->labelText().toStdString();
        for (const QPushButton* button : box->findChildren<QPushButton*>())
            buttons.push_back(button->text().toStdString());
        QLineEdit* edit = box->findChild<QLineEdit*>();
        edit->selectAll();
        Person::type(edit, "e31");
        Person::press(edit, Qt::Key_Return);
    });
    EXPECT_EQ(QtPrompter().ask_text("Find", "Node or element:", "17", "Renunta"), std::optional<std::string>("e31"));
    EXPECT_TRUE(person.done());
    EXPECT_EQ(prompt_shown, "Node or element:");
    EXPECT_NE(std::find(buttons.begin(), buttons.end(), "Renunta"), buttons.end());

    person.then(Person::modal("QInputDialog"), [](QWidget* w) { Person::press(w, Qt::Key_Escape); });
    EXPECT_EQ(QtPrompter().ask_text("Find", "Node or element:", "", "Cancel"), std::nullopt);
}

TEST(QtPrompterColor, TheChosenColourAndTheCustomRowComeBack)
{
    std::array<Rgb, 16> custom{};
    custom[2] = make_rgb(1, 2, 3);
    QColor shown;
    QColor custom_shown;
    Person person;
    person.then(Person::modal("QColorDialog"), [&](QWidget* w) {
        auto* chooser = static_cast<QColorDialog*>(w);
        shown = chooser->currentColor();
        custom_shown = QColorDialog::customColor(2);
        // The chooser's "HTML" field takes a colour as #rrggbb.
        for (QLineEdit* edit : chooser->findChildren<QLineEdit*>()) {
            if (!edit->text().startsWith(QLatin1Char('#')))
                continue;
            edit->selectAll();
            Person::type(edit, "#ff8000");
            Person::press(edit, Qt::Key_Return);
            return;
        }
    });
    EXPECT_EQ(QtPrompter().choose_color(make_rgb(0, 0, 128), custom),
              std::optional<Rgb>(make_rgb(255, 128, 0)));
    EXPECT_TRUE(person.done());
    EXPECT_EQ(shown, QColor(0, 0, 128));
    EXPECT_EQ(custom_shown, QColor(1, 2, 3));
    EXPECT_EQ(custom[2], make_rgb(1, 2, 3));

    person.then(Person::modal("QColorDialog"), [](QWidget* w) { Person::press(w, Qt::Key_Escape); });
    EXPECT_EQ(QtPrompter().choose_color(make_rgb(0, 0, 128), custom), std::nullopt);
}

class QtPrompterLine : public ::testing::Test {
protected:
    QtPrompterLine() { window.show(); }
    Person::Sees reading() { return Person::reading([this] { return &window; }); }
    TextWindow window;
};

TEST_F(QtPrompterLine, WaitsForTheTypedLineWithBackspaceAndEnter)
{
    window.write(" * Enter again: ", false);
    window.display_cursor(true);
    std::vector<std::string> lines_while_typing;
    Person person;
    person.then(reading(), [&](QWidget* w) {
        Person::type(w, "frame.dax");
        Person::press(w, Qt::Key_Backspace);
        Person::type(w, "t");
        lines_while_typing = window.lines();
        Person::press(w, Qt::Key_Return);
    });
    EXPECT_EQ(QtPrompter().read_line(window), "frame.dat");
    EXPECT_TRUE(person.done());
    // The typed text stood after the prompt, in the window, before Enter.
    EXPECT_EQ(lines_while_typing, std::vector<std::string>{" * Enter again: frame.dat"});
}

TEST_F(QtPrompterLine, ANonAsciiNameReachesTheFileSystemUnchanged)
{
    const QString typed = QStringLiteral("cl\u00e4dire-\u0219.dat");
    Person person;
    person.then(reading(), [&](QWidget* w) {
        Person::type(w, typed.toStdString());
        Person::press(w, Qt::Key_Return);
    });
    const std::string line = QtPrompter().read_line(window);
    EXPECT_EQ(line, QFile::encodeName(typed).toStdString());
    EXPECT_EQ(QFile::decodeName(QByteArray::fromStdString(line)), typed);
}

TEST_F(QtPrompterLine, TheEndOfTheEventLoopEndsTheProgramInsteadOfTheLine)
{
    Person person;
    person.then(reading(), [](QWidget* w) {
        Person::type(w, "half a na");
        QCoreApplication::exit(0); // the person chose Exit
    });
    EXPECT_THROW(QtPrompter().read_line(window), ProgramExit);
    EXPECT_FALSE(window.reading());
    testing::take_back_exit_request();
}

} // namespace
} // namespace vorax::gwl
