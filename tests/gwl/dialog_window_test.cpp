// The dialog's window: values shown, what the person does reaching the callbacks, ending a
// dialog, scripted and real modal runs, nested dialogs.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "core/program_exit.h"
#include "gwl/dialog_handle.h"
#include "scripted_prompter.h"

namespace vorax::gwl {
namespace {

namespace sel = dialog_selector;
namespace ev = dialog_event;

struct Fired {
    int id;
    int event;
    friend bool operator==(const Fired&, const Fired&) = default;
};

void PrintTo(const Fired& f, std::ostream* os) { *os << "(" << f.id << ", " << f.event << ")"; }

const std::string kBoldIcon = std::string(VORAX_SOURCE_DIR) + "/resources/uir/Bold.ico";

// The top-level window with this title, or null.
QWidget* window_titled(const char* title)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == QLatin1String(title) && qobject_cast<QDialog*>(w) != nullptr)
            return w;
    return nullptr;
}

class DialogWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog_init(dialog, 101)); }
    void TearDown() override { dialog_destroy_window(dialog); }

    // Records every event of these controls.
    void record(std::initializer_list<std::pair<int, int>> attachments)
    {
        for (const auto& [id, event] : attachments)
            ASSERT_TRUE(dialog_set_callback(
                dialog, id, [this](DialogHandle&, int i, int e) { fired.push_back({i, e}); },
                event))
                << id;
    }

    DialogHandle dialog;
    std::vector<Fired> fired;
};

TEST_F(DialogWindow, PresetValuesAreShownWhenCreated)
{
    ASSERT_TRUE(dialog_set_logical(dialog, 1002, true));
    ASSERT_TRUE(dialog_set_logical(dialog, 1003, false, sel::kEnabled));
    ASSERT_TRUE(dialog_set_text(dialog, 1030, "Range: 1-250."));
    ASSERT_TRUE(dialog_set_text(dialog, 1027, "Node range\rSeparators"));
    ASSERT_TRUE(dialog_set_text(dialog, 1015, "2.50", sel::kState));
    ASSERT_TRUE(dialog_set_int(dialog, 1028, 3, sel::kEntryCount));
    for (const auto& [n, text] : {std::pair{1, "Standard"}, {2, "All Black"}, {3, "Custom"}})
        ASSERT_TRUE(dialog_set_text(dialog, 1028, text, n));
    ASSERT_TRUE(dialog_set_int(dialog, 1028, 3, sel::kState));

    ASSERT_TRUE(dialog_create_window(dialog));
    EXPECT_TRUE(dialog.has_window());
    EXPECT_EQ(dialog_window_title(dialog), "VORAX: Graph Settings");

    EXPECT_TRUE(dialog_widget_view(dialog, 1002).checked);
    EXPECT_FALSE(dialog_widget_view(dialog, 1003).enabled);
    EXPECT_TRUE(dialog_widget_view(dialog, 1004).enabled);
    EXPECT_EQ(dialog_widget_view(dialog, 1030).text, "Range: 1-250.");
    EXPECT_EQ(dialog_widget_view(dialog, 1027).text, "Node range\nSeparators");
    const DialogWidgetView factor = dialog_widget_view(dialog, 1015);
    EXPECT_EQ(factor.text, "2.50");
    EXPECT_EQ(factor.entries, std::vector<std::string>{"Auto"});
    EXPECT_EQ(factor.selected, 0);
    const DialogWidgetView scheme = dialog_widget_view(dialog, 1028);
    EXPECT_EQ(scheme.entries, (std::vector<std::string>{"Standard", "All Black", "Custom"}));
    EXPECT_EQ(scheme.selected, 3);
    EXPECT_EQ(scheme.text, "Custom");
}

TEST_F(DialogWindow, ValuesSetWhileShownAppearAtOnce)
{
    ASSERT_TRUE(dialog_create_window(dialog));
    ASSERT_TRUE(dialog_set_int(dialog, 1035, 2, sel::kEntryCount));
    ASSERT_TRUE(dialog_set_text(dialog, 1035, "8", 1));
    ASSERT_TRUE(dialog_set_text(dialog, 1035, "9", 2));
    ASSERT_TRUE(dialog_set_int(dialog, 1035, 2));
    EXPECT_EQ(dialog_widget_view(dialog, 1035).text, "9");
    ASSERT_TRUE(dialog_set_logical(dialog, 1019, false, sel::kEnabled));
    EXPECT_FALSE(dialog_widget_view(dialog, 1019).enabled);
    ASSERT_TRUE(dialog_set_text(dialog, 1011, "1 Tower"));
    EXPECT_EQ(dialog_widget_view(dialog, 1011).text, "1 Tower");
    ASSERT_TRUE(dialog_set_logical(dialog, 1026, true));
    EXPECT_TRUE(dialog_widget_view(dialog, 1026).checked);
    // Refused calls leave the widgets alone too.
    EXPECT_FALSE(dialog_set_text(dialog, 1019, "x", sel::kCaption));
    EXPECT_FALSE(dialog_set_int(dialog, 1035, 3));
    EXPECT_EQ(dialog_widget_view(dialog, 1019).text, "");
    EXPECT_EQ(dialog_widget_view(dialog, 1035).text, "9");
}

TEST_F(DialogWindow, CaptionSetFromACallbackReplacesTheCheckBoxTextAtOnce)
{
    ASSERT_TRUE(dialog_set_callback(dialog, 1018, [](DialogHandle& d, int id, int) {
        bool all = false;
        dialog_get_logical(d, id, all);
        dialog_set_text(d, id, all ? "Yes" : "No", sel::kCaption);
        dialog_set_logical(d, 1019, !all, sel::kEnabled);
    }));
    ASSERT_TRUE(dialog_create_window(dialog));
    EXPECT_EQ(dialog_widget_view(dialog, 1018).text, "All");

    ASSERT_TRUE(dialog_user_click(dialog, 1018));
    EXPECT_EQ(dialog_widget_view(dialog, 1018).text, "Yes");
    EXPECT_FALSE(dialog_widget_view(dialog, 1019).enabled);
    ASSERT_TRUE(dialog_user_click(dialog, 1018));
    EXPECT_EQ(dialog_widget_view(dialog, 1018).text, "No");
    EXPECT_TRUE(dialog_widget_view(dialog, 1019).enabled);
}

struct ActionCase {
    const char* name;
    std::function<bool(DialogHandle&)> act;
    Fired expected;
};

void PrintTo(const ActionCase& c, std::ostream* os) { *os << c.name; }

class DialogUserActions : public DialogWindow, public ::testing::WithParamInterface<ActionCase> {};

TEST_P(DialogUserActions, FireTheControlsCallbackWithItsEvent)
{
    record({{1002, ev::kDefault}, {1031, ev::kDefault}, {1028, ev::kDefault},
            {1019, ev::kDefault}, {1015, ev::kEditChanged}, {1015, ev::kEntryChosen},
            {1004, ev::kDefault}});
    ASSERT_TRUE(dialog_set_int(dialog, 1028, 2, sel::kEntryCount));
    ASSERT_TRUE(dialog_create_window(dialog));
    ASSERT_TRUE(GetParam().act(dialog));
    EXPECT_EQ(fired, std::vector<Fired>{GetParam().expected});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DialogUserActions,
    ::testing::Values(
        ActionCase{"CheckBoxClick", [](DialogHandle& d) { return dialog_user_click(d, 1002); },
                   {1002, ev::kDefault}},
        ActionCase{"ToggleButtonClick",
                   [](DialogHandle& d) { return dialog_user_click(d, 1031); },
                   {1031, ev::kDefault}},
        ActionCase{"DropDownChoice", [](DialogHandle& d) { return dialog_user_select(d, 1028, 2); },
                   {1028, ev::kDefault}},
        ActionCase{"EditTyping", [](DialogHandle& d) { return dialog_user_type(d, 1019, "1-7"); },
                   {1019, ev::kDefault}},
        ActionCase{"EditableListTyping",
                   [](DialogHandle& d) { return dialog_user_type(d, 1015, "2.5"); },
                   {1015, ev::kEditChanged}},
        ActionCase{"EditableListChoice",
                   [](DialogHandle& d) { return dialog_user_select(d, 1015, 1); },
                   {1015, ev::kEntryChosen}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogWindow, ThePersonsChangeIsInTheHandleBeforeTheCallbackRuns)
{
    std::string typed;
    bool checked = false;
    int chosen = 0;
    ASSERT_TRUE(dialog_set_callback(dialog, 1019, [&](DialogHandle& d, int id, int) {
        dialog_get_text(d, id, typed);
    }));
    ASSERT_TRUE(dialog_set_callback(dialog, 1013, [&](DialogHandle& d, int id, int) {
        dialog_get_logical(d, id, checked);
    }));
    ASSERT_TRUE(dialog_set_callback(dialog, 1034, [&](DialogHandle& d, int id, int) {
        dialog_get_int(d, id, chosen);
    }));
    ASSERT_TRUE(dialog_set_int(dialog, 1034, 11, sel::kEntryCount));
    ASSERT_TRUE(dialog_create_window(dialog));

    ASSERT_TRUE(dialog_user_type(dialog, 1019, "1-7, 13  20"));
    ASSERT_TRUE(dialog_user_click(dialog, 1013));
    ASSERT_TRUE(dialog_user_select(dialog, 1034, 7));
    EXPECT_EQ(typed, "1-7, 13  20");
    EXPECT_TRUE(checked);
    EXPECT_EQ(chosen, 7);
}

TEST_F(DialogWindow, ChoosingAnEntryOfTheEditableListPutsItIntoTheEditText)
{
    std::vector<std::string> seen;
    auto remember = [&](DialogHandle& d, int id, int) {
        std::string text;
        dialog_get_text(d, id, text, sel::kState);
        seen.push_back(text);
    };
    ASSERT_TRUE(dialog_set_callback(dialog, 1015, remember, ev::kEditChanged));
    ASSERT_TRUE(dialog_set_callback(dialog, 1015, remember, ev::kEntryChosen));
    ASSERT_TRUE(dialog_create_window(dialog));

    ASSERT_TRUE(dialog_user_select(dialog, 1015, 1));
    EXPECT_EQ(dialog_widget_view(dialog, 1015).text, "Auto");
    ASSERT_TRUE(dialog_user_type(dialog, 1015, "0."));
    EXPECT_EQ(dialog_widget_view(dialog, 1015).selected, 0);
    // After typing, the same entry can be chosen again.
    ASSERT_TRUE(dialog_user_select(dialog, 1015, 1));
    EXPECT_EQ(seen, (std::vector<std::string>{"Auto", "0.", "Auto"}));
    EXPECT_FALSE(dialog_user_select(dialog, 1015, 2));
}

TEST_F(DialogWindow, ValuesSetByCodeFireNoCallback)
{
    record({{1002, ev::kDefault}, {1028, ev::kDefault}, {1019, ev::kDefault},
            {1015, ev::kEditChanged}, {1015, ev::kEntryChosen}});
    ASSERT_TRUE(dialog_create_window(dialog));
    ASSERT_TRUE(dialog_set_logical(dialog, 1002, true));
    ASSERT_TRUE(dialog_set_int(dialog, 1028, 3, sel::kEntryCount));
    ASSERT_TRUE(dialog_set_int(dialog, 1028, 2));
    ASSERT_TRUE(dialog_set_text(dialog, 1019, "4-6"));
    ASSERT_TRUE(dialog_set_text(dialog, 1015, "1", sel::kState));
    ASSERT_TRUE(dialog_set_int(dialog, 1015, 1));
    EXPECT_TRUE(fired.empty());
    EXPECT_EQ(dialog_widget_view(dialog, 1015).text, "Auto");
}

TEST_F(DialogWindow, CreationDeliversEventZeroOnceWithTheWidgetsInPlace)
{
    bool had_icon = false;
    ASSERT_TRUE(dialog_set_callback(dialog, 101, [&](DialogHandle& d, int id, int event) {
        fired.push_back({id, event});
        dialog_set_icon(d, 1031, kBoldIcon);
        had_icon = dialog_widget_view(d, 1031).has_icon;
    }));
    ASSERT_TRUE(dialog_create_window(dialog));
    EXPECT_EQ(fired, std::vector<Fired>{(Fired{101, ev::kCreated})});
    EXPECT_TRUE(had_icon);
    ASSERT_TRUE(dialog_user_click(dialog, 1002));
    EXPECT_EQ(fired.size(), 1U);
}

TEST_F(DialogWindow, StyleButtonsShowTheirIconAndKeepTheirCaption)
{
    const IconHandle bold = load_icon_file(kBoldIcon);
    ASSERT_FALSE(bold.is_null());
    ASSERT_TRUE(dialog_set_icon(dialog, 1031, bold));
    ASSERT_TRUE(dialog_create_window(dialog));
    EXPECT_TRUE(dialog_widget_view(dialog, 1031).has_icon);
    EXPECT_EQ(dialog_widget_view(dialog, 1031).text, "B");
    EXPECT_FALSE(dialog_widget_view(dialog, 1025).has_icon);
    EXPECT_EQ(dialog_widget_view(dialog, 1025).text, "&U");
    ASSERT_TRUE(dialog_set_icon(dialog, 1025, bold));
    EXPECT_TRUE(dialog_widget_view(dialog, 1025).has_icon);
    ASSERT_TRUE(dialog_set_icon(dialog, 1, bold)); // a push button can carry one too
    EXPECT_TRUE(dialog_widget_view(dialog, 1).has_icon);
}

TEST_F(DialogWindow, DisabledOrHiddenControlsCannotBeUsed)
{
    record({{1003, ev::kDefault}, {1028, ev::kDefault}});
    ASSERT_TRUE(dialog_set_logical(dialog, 1003, false, sel::kEnabled));
    ASSERT_TRUE(dialog_set_logical(dialog, 1028, false, sel::kEnabled));
    ASSERT_TRUE(dialog_set_int(dialog, 1028, 3, sel::kEntryCount));
    ASSERT_TRUE(dialog_create_window(dialog));
    EXPECT_FALSE(dialog_user_click(dialog, 1003));
    EXPECT_FALSE(dialog_user_select(dialog, 1028, 1));
    EXPECT_FALSE(dialog_user_click(dialog, 1011)); // a static is not clicked
    EXPECT_FALSE(dialog_user_type(dialog, 1002, "x"));
    EXPECT_FALSE(dialog_user_click(dialog, 4711));
    EXPECT_TRUE(fired.empty());
    EXPECT_FALSE(dialog_widget_view(dialog, 1003).checked);

    DialogHandle colors;
    ASSERT_TRUE(dialog_init(colors, 108));
    ASSERT_TRUE(dialog_create_window(colors));
    EXPECT_FALSE(dialog_widget_view(colors, 2).visible);
    EXPECT_TRUE(dialog_widget_view(colors, 1).visible);
    EXPECT_FALSE(dialog_user_click(colors, 2));
    EXPECT_EQ(colors.end_id(), 0);
}

// ----- Ending a dialog -----------------------------------------------------------------------

struct EndCase {
    const char* name;
    int template_id;
    std::function<void(DialogHandle&)> act;
    int end_id; // 0: the dialog goes on
};

void PrintTo(const EndCase& c, std::ostream* os) { *os << c.name; }

class DialogEnding : public ::testing::TestWithParam<EndCase> {};

TEST_P(DialogEnding, EndsWithTheButtonsId)
{
    DialogHandle dialog;
    ASSERT_TRUE(dialog_init(dialog, GetParam().template_id));
    ASSERT_TRUE(dialog_create_window(dialog));
    GetParam().act(dialog);
    EXPECT_EQ(dialog.end_id(), GetParam().end_id);
    // An ended dialog is off the screen; one that goes on stays.
    const std::string title = dialog_window_title(dialog);
    QWidget* window = window_titled(title.c_str());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->isVisible(), GetParam().end_id == 0);
    // Nothing more can be done in an ended dialog.
    EXPECT_EQ(dialog_user_click(dialog, 1), GetParam().end_id == 0);
    EXPECT_EQ(dialog.end_id(), GetParam().end_id == 0 ? kDialogOk : GetParam().end_id);
    dialog_destroy_window(dialog);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DialogEnding,
    ::testing::Values(
        EndCase{"Draw", 101, [](DialogHandle& d) { dialog_user_click(d, 1); }, kDialogOk},
        EndCase{"Cancel", 101, [](DialogHandle& d) { dialog_user_click(d, 2); }, kDialogCancel},
        EndCase{"CloseButtonIsCancel", 101, [](DialogHandle& d) { dialog_user_close(d); },
                kDialogCancel},
        EndCase{"CloseWithHiddenCancel", 108, [](DialogHandle& d) { dialog_user_close(d); },
                kDialogCancel},
        EndCase{"ColorOk", 108, [](DialogHandle& d) { dialog_user_click(d, 1); }, kDialogOk},
        EndCase{"OtherButtonGoesOn", 108, [](DialogHandle& d) { dialog_user_click(d, 1040); }, 0},
        EndCase{"CheckBoxGoesOn", 101, [](DialogHandle& d) { dialog_user_click(d, 1002); }, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DialogEndingWithoutCancel, CloseIsIgnoredWithoutAButtonTwo)
{
    const auto parsed = parse_dialog_template(
        "title \"Only OK\"\nsize 80 40\n1 button \"OK\" 10 10 40 14 default\n", 300);
    ASSERT_TRUE(parsed.dialog);
    DialogHandle dialog;
    ASSERT_TRUE(dialog_init(dialog, *parsed.dialog));
    ASSERT_TRUE(dialog_create_window(dialog));
    EXPECT_TRUE(dialog_user_close(dialog));
    EXPECT_EQ(dialog.end_id(), 0);
    EXPECT_TRUE(dialog_widget_view(dialog, 1).visible);
    dialog_user_click(dialog, 1);
    EXPECT_EQ(dialog.end_id(), kDialogOk);
}

TEST_F(DialogWindow, EndingButtonsCallbackRunsBeforeTheEnd)
{
    int end_seen = -1;
    ASSERT_TRUE(dialog_set_callback(dialog, 2, [&](DialogHandle& d, int id, int event) {
        fired.push_back({id, event});
        end_seen = d.end_id();
    }));
    ASSERT_TRUE(dialog_create_window(dialog));
    ASSERT_TRUE(dialog_user_close(dialog));
    EXPECT_EQ(fired, std::vector<Fired>{(Fired{2, ev::kButtonClicked})});
    EXPECT_EQ(end_seen, 0);
    EXPECT_EQ(dialog.end_id(), kDialogCancel);
}

TEST_F(DialogWindow, NotReleasedOrReinitialisedWhileItsWindowExists)
{
    ASSERT_TRUE(dialog_create_window(dialog));
    EXPECT_FALSE(dialog_free(dialog));
    EXPECT_FALSE(dialog_init(dialog, 108));
    EXPECT_FALSE(dialog_create_window(dialog));
    EXPECT_EQ(dialog_run_modal(dialog), kDialogNotShown);
    dialog_destroy_window(dialog);
    EXPECT_FALSE(dialog.has_window());
    EXPECT_FALSE(dialog_widget_view(dialog, 1).exists);
    EXPECT_TRUE(dialog_free(dialog));
}

TEST_F(DialogWindow, AFailingCallbackReachesTheCaller)
{
    ASSERT_TRUE(dialog_set_callback(dialog, 1004, [](DialogHandle&, int, int) {
        throw ProgramExit{3, "Window Not Open"};
    }));
    ASSERT_TRUE(dialog_create_window(dialog));
    try {
        dialog_user_click(dialog, 1004);
        ADD_FAILURE() << "no exception";
    } catch (const ProgramExit& e) {
        EXPECT_EQ(e.status, 3);
    }
    EXPECT_EQ(dialog.end_id(), kDialogCancel);
}

// ----- Layout --------------------------------------------------------------------------------

TEST_F(DialogWindow, SizesAndPositionsFollowTheDialogUnits)
{
    ASSERT_TRUE(dialog_create_window(dialog));
    const DialogBaseUnits base = dialog_base_units(*dialog.dialog_template());
    const PixelRect window = dialog_window_geometry(dialog);
    EXPECT_EQ(window.width, dialog_x_to_pixels(249, base));
    EXPECT_EQ(window.height, dialog_y_to_pixels(351, base));
    for (int id : {1, 2, 1002, 1019, 1011, 1031, 1015}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(dialog_widget_view(dialog, id).geometry,
                  dialog_rect_to_pixels(*dialog.dialog_template()->find(id), base));
    }
    // A closed drop-down list is no taller than its template's rectangle with the list dropped.
    const PixelRect scheme = dialog_widget_view(dialog, 1028).geometry;
    const PixelRect scheme_box = dialog_rect_to_pixels(*dialog.dialog_template()->find(1028), base);
    EXPECT_EQ(scheme.x, scheme_box.x);
    EXPECT_EQ(scheme.width, scheme_box.width);
    EXPECT_LT(scheme.height, scheme_box.height);
    EXPECT_TRUE(dialog_widget_view(dialog, 1).is_default);
    EXPECT_FALSE(dialog_widget_view(dialog, 2).is_default);
}

TEST_F(DialogWindow, ThePictureShowsTheAxisBitmap)
{
    ASSERT_TRUE(dialog_create_window(dialog));
    QWidget* window = window_titled("VORAX: Graph Settings");
    ASSERT_NE(window, nullptr);
    const QLabel* picture = nullptr;
    for (const QLabel* label : window->findChildren<QLabel*>())
        if (!label->pixmap().isNull())
            picture = label;
    ASSERT_NE(picture, nullptr);
    const DialogBaseUnits base = dialog_base_units(*dialog.dialog_template());
    EXPECT_EQ(picture->geometry(), QRect(dialog_x_to_pixels(200, base),
                                         dialog_y_to_pixels(15, base),
                                         dialog_x_to_pixels(36, base),
                                         dialog_y_to_pixels(33, base)));
    // The arrows are drawn on a transparent ground: some pixels opaque, the corner clear.
    const QImage image = picture->pixmap().toImage();
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            opaque += qAlpha(image.pixel(x, y)) > 200;
    EXPECT_GT(opaque, 50);
    EXPECT_EQ(qAlpha(image.pixel(image.width() - 1, 0)), 0);
}

// ----- Runs ----------------------------------------------------------------------------------

TEST(DialogScriptedRun, TheScriptActsOnTheRealWidgets)
{
    testing::ScriptedPrompter prompter;
    DialogHandle dialog;
    ASSERT_TRUE(dialog_init(dialog, 101));
    ASSERT_TRUE(dialog_set_text(dialog, 1011, "1 Frame"));
    std::string shown;
    prompter.dialog_scripts.push_back([&](DialogHandle& d) {
        return dialog_script_session(d, [&](DialogHandle& shown_dialog) {
            shown = dialog_widget_view(shown_dialog, 1011).text;
            dialog_user_click(shown_dialog, 1002);
            dialog_user_click(shown_dialog, 1);
        });
    });
    EXPECT_EQ(dialog_run_modal(dialog), kDialogOk);
    EXPECT_EQ(prompter.dialog_runs, 1);
    EXPECT_EQ(shown, "1 Frame");
    bool reversed = false;
    EXPECT_TRUE(dialog_get_logical(dialog, 1002, reversed));
    EXPECT_TRUE(reversed);
    EXPECT_FALSE(dialog.has_window());
}

TEST(DialogScriptedRun, ASessionLeftOpenReportsNoButton)
{
    DialogHandle dialog;
    ASSERT_TRUE(dialog_init(dialog, 108));
    EXPECT_EQ(dialog_script_session(dialog, [](DialogHandle& d) { dialog_user_click(d, 1042); }),
              0);
    EXPECT_FALSE(dialog.has_window());
    EXPECT_EQ(dialog_script_session(dialog, [](DialogHandle& d) { dialog_user_close(d); }),
              kDialogCancel);
    DialogHandle empty;
    EXPECT_EQ(dialog_script_session(empty, [](DialogHandle&) {}), kDialogNotShown);
}

TEST(DialogScriptedRun, NestedScriptedDialogsFromACallback)
{
    testing::ScriptedPrompter prompter;
    DialogHandle settings;
    DialogHandle colors;
    ASSERT_TRUE(dialog_init(settings, 101));
    ASSERT_TRUE(dialog_set_int(settings, 1028, 3, sel::kEntryCount));
    int inner_result = 0;
    ASSERT_TRUE(dialog_set_callback(settings, 1028, [&](DialogHandle&, int, int) {
        dialog_init(colors, 108);
        inner_result = dialog_run_modal(colors);
        dialog_free(colors);
    }));
    prompter.dialog_scripts.push_back([](DialogHandle& d) {
        return dialog_script_session(d, [](DialogHandle& outer) {
            dialog_user_select(outer, 1028, 3);
            dialog_user_click(outer, 2);
        });
    });
    prompter.dialog_scripts.push_back([](DialogHandle& d) {
        return dialog_script_session(d, [](DialogHandle& inner) { dialog_user_click(inner, 1); });
    });
    EXPECT_EQ(dialog_run_modal(settings), kDialogCancel);
    EXPECT_EQ(inner_result, kDialogOk);
    EXPECT_EQ(prompter.dialog_runs, 2);
    EXPECT_EQ(prompter.unexpected_prompts, 0);
}

// Runs a step once the modal loop of a dialog is running.
void when_shown(std::function<void()> step) { QTimer::singleShot(0, std::move(step)); }

TEST(DialogRealRun, ButtonClickedDuringTheModalLoopEndsIt)
{
    struct Case {
        int button;
        int expected;
    };
    for (const Case c : {Case{1, kDialogOk}, Case{2, kDialogCancel}}) {
        DialogHandle dialog;
        ASSERT_TRUE(dialog_init(dialog, 101));
        ASSERT_TRUE(dialog_set_logical(dialog, 1013, true));
        bool was_shown = false;
        bool preset_visible = false;
        when_shown([&] {
            was_shown = QApplication::activeModalWidget() != nullptr;
            preset_visible = dialog_widget_view(dialog, 1013).checked;
            dialog_user_click(dialog, c.button);
        });
        EXPECT_EQ(dialog_run_modal(dialog), c.expected);
        EXPECT_TRUE(was_shown);
        EXPECT_TRUE(preset_visible);
        EXPECT_FALSE(dialog.has_window());
        EXPECT_EQ(window_titled("VORAX: Graph Settings"), nullptr);
    }
}

TEST(DialogRealRun, KeysEndItLikeTheButtons)
{
    struct Case {
        Qt::Key key;
        int expected;
    };
    for (const Case c : {Case{Qt::Key_Escape, kDialogCancel}, Case{Qt::Key_Return, kDialogOk}}) {
        DialogHandle dialog;
        ASSERT_TRUE(dialog_init(dialog, 108));
        when_shown([&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr)
                QTest::keyClick(modal, c.key);
        });
        EXPECT_EQ(dialog_run_modal(dialog), c.expected);
    }
}

TEST(DialogRealRun, TheWindowsCloseButtonIsCancel)
{
    DialogHandle dialog;
    ASSERT_TRUE(dialog_init(dialog, 101));
    when_shown([] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    EXPECT_EQ(dialog_run_modal(dialog), kDialogCancel);
}

TEST(DialogRealRun, ACallbackFailureEndsTheRunAndReachesTheCaller)
{
    DialogHandle dialog;
    ASSERT_TRUE(dialog_init(dialog, 108));
    ASSERT_TRUE(dialog_set_callback(dialog, 1041, [](DialogHandle&, int, int) {
        throw ProgramExit{1, "font"};
    }));
    when_shown([&] { dialog_user_click(dialog, 1041); });
    EXPECT_THROW(dialog_run_modal(dialog), ProgramExit);
    EXPECT_FALSE(dialog.has_window());
}

TEST(DialogRealRun, ANestedDialogRunsFromACallbackOverItsOwner)
{
    DialogHandle settings;
    DialogHandle colors;
    ASSERT_TRUE(dialog_init(settings, 101));
    ASSERT_TRUE(dialog_set_int(settings, 1028, 3, sel::kEntryCount));
    std::vector<Fired> fired;
    int inner_result = 0;
    std::string inner_owner;

    ASSERT_TRUE(dialog_set_callback(settings, 1028, [&](DialogHandle&, int, int) {
        ASSERT_TRUE(dialog_init(colors, 108));
        dialog_set_callback(colors, 1040, [&](DialogHandle&, int id, int event) {
            fired.push_back({id, event});
        });
        when_shown([&] {
            QWidget* inner = window_titled("Color Scheme");
            if (inner != nullptr && inner->parentWidget() != nullptr)
                inner_owner = inner->parentWidget()->windowTitle().toStdString();
            dialog_user_click(colors, 1040);
            dialog_user_click(colors, 1);
        });
        inner_result = dialog_run_modal(colors);
        dialog_free(colors);
    }));
    when_shown([&] {
        dialog_user_select(settings, 1028, 3);
        // Back in the outer dialog once the inner one has ended.
        dialog_user_click(settings, 1);
    });
    EXPECT_EQ(dialog_run_modal(settings), kDialogOk);
    EXPECT_EQ(inner_result, kDialogOk);
    EXPECT_EQ(fired, std::vector<Fired>{(Fired{1040, ev::kButtonClicked})});
    EXPECT_EQ(inner_owner, "VORAX: Graph Settings");
    EXPECT_FALSE(colors.is_initialized());
}

} // namespace
} // namespace vorax::gwl
