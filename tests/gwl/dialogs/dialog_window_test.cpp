// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog's window: values shown, what the person does reaching the callbacks, ending a
// dialog, scripted and real modal runs, nested dialogs.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "core/program_exit.h"
#include "gwl/dialogs/dialog_handle.h"
#include "scripted_prompter.h"
#include "settings/dialog_controls.h"

namespace vorax::gwl {
namespace {

using namespace vorax::settings_control;

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
    void SetUp() override { ASSERT_TRUE(dialog_init(dialog, kSettingsDialogTemplate)); }
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
    ASSERT_TRUE(dialog_set_logical(dialog, kReverseVertical, true));
    ASSERT_TRUE(dialog_set_logical(dialog, kReverseY, false, sel::kEnabled));
    ASSERT_TRUE(dialog_set_text(dialog, kRangeLimits, "Range: 1-250."));
    ASSERT_TRUE(dialog_set_text(dialog, kInfo, "Node range\rSeparators"));
    ASSERT_TRUE(dialog_set_text(dialog, kFactor, "2.50", sel::kState));
    ASSERT_TRUE(dialog_set_int(dialog, kColorScheme, 3, sel::kEntryCount));
    for (const auto& [n, text] : {std::pair{1, "Standard"}, {2, "All Black"}, {3, "Custom"}})
        ASSERT_TRUE(dialog_set_text(dialog, kColorScheme, text, n));
    ASSERT_TRUE(dialog_set_int(dialog, kColorScheme, 3, sel::kState));

    ASSERT_TRUE(dialog_create_window(dialog));
    EXPECT_TRUE(dialog.has_window());
    EXPECT_EQ(dialog_window_title(dialog), "VORAX: Graph Settings");

    EXPECT_TRUE(dialog_widget_view(dialog, kReverseVertical).checked);
    EXPECT_FALSE(dialog_widget_view(dialog, kReverseY).enabled);
    EXPECT_TRUE(dialog_widget_view(dialog, kReverseX).enabled);
    EXPECT_EQ(dialog_widget_view(dialog, kRangeLimits).text, "Range: 1-250.");
    EXPECT_EQ(dialog_widget_view(dialog, kInfo).text, "Node range\nSeparators");
    const DialogWidgetView factor = dialog_widget_view(dialog, kFactor);
    EXPECT_EQ(factor.text, "2.50");
    EXPECT_EQ(factor.entries, std::vector<std::string>{"Auto"});
    EXPECT_EQ(factor.selected, 0);
    const DialogWidgetView scheme = dialog_widget_view(dialog, kColorScheme);
    EXPECT_EQ(scheme.entries, (std::vector<std::string>{"Standard", "All Black", "Custom"}));
    EXPECT_EQ(scheme.selected, 3);
    EXPECT_EQ(scheme.text, "Custom");
}

TEST_F(DialogWindow, ValuesSetByCodeWhileShownAppearAtOnceAndFireNoCallback)
{
    record({{kReverseVertical, ev::kDefault}, {kColorScheme, ev::kDefault}, {kRange, ev::kDefault},
            {kFactor, ev::kEditChanged}, {kFactor, ev::kEntryChosen}});
    ASSERT_TRUE(dialog_create_window(dialog));
    ASSERT_TRUE(dialog_set_int(dialog, kNodeSize, 2, sel::kEntryCount));
    ASSERT_TRUE(dialog_set_text(dialog, kNodeSize, "8", 1));
    ASSERT_TRUE(dialog_set_text(dialog, kNodeSize, "9", 2));
    ASSERT_TRUE(dialog_set_int(dialog, kNodeSize, 2));
    EXPECT_EQ(dialog_widget_view(dialog, kNodeSize).text, "9");
    ASSERT_TRUE(dialog_set_logical(dialog, kRange, false, sel::kEnabled));
    EXPECT_FALSE(dialog_widget_view(dialog, kRange).enabled);
    ASSERT_TRUE(dialog_set_text(dialog, kTitle, "1 Tower"));
    EXPECT_EQ(dialog_widget_view(dialog, kTitle).text, "1 Tower");
    ASSERT_TRUE(dialog_set_logical(dialog, kNodeItalic, true));
    EXPECT_TRUE(dialog_widget_view(dialog, kNodeItalic).checked);
    // Refused calls leave the widgets alone too.
    EXPECT_FALSE(dialog_set_text(dialog, kRange, "x", sel::kCaption));
    EXPECT_FALSE(dialog_set_int(dialog, kNodeSize, 3));
    EXPECT_EQ(dialog_widget_view(dialog, kRange).text, "");
    EXPECT_EQ(dialog_widget_view(dialog, kNodeSize).text, "9");

    ASSERT_TRUE(dialog_set_logical(dialog, kReverseVertical, true));
    ASSERT_TRUE(dialog_set_int(dialog, kColorScheme, 3, sel::kEntryCount));
    ASSERT_TRUE(dialog_set_int(dialog, kColorScheme, 2));
    ASSERT_TRUE(dialog_set_text(dialog, kRange, "4-6"));
    ASSERT_TRUE(dialog_set_text(dialog, kFactor, "1", sel::kState));
    ASSERT_TRUE(dialog_set_int(dialog, kFactor, 1));
    EXPECT_TRUE(fired.empty());
    EXPECT_EQ(dialog_widget_view(dialog, kFactor).text, "Auto");
}

TEST_F(DialogWindow, CaptionSetFromACallbackReplacesTheCheckBoxTextAtOnce)
{
    ASSERT_TRUE(dialog_set_callback(dialog, kAllNodes, [](DialogHandle& d, int id, int) {
        bool all = false;
        dialog_get_logical(d, id, all);
        dialog_set_text(d, id, all ? "Yes" : "No", sel::kCaption);
        dialog_set_logical(d, kRange, !all, sel::kEnabled);
    }));
    ASSERT_TRUE(dialog_create_window(dialog));
    EXPECT_EQ(dialog_widget_view(dialog, kAllNodes).text, "All");

    ASSERT_TRUE(dialog_user_click(dialog, kAllNodes));
    EXPECT_EQ(dialog_widget_view(dialog, kAllNodes).text, "Yes");
    EXPECT_FALSE(dialog_widget_view(dialog, kRange).enabled);
    ASSERT_TRUE(dialog_user_click(dialog, kAllNodes));
    EXPECT_EQ(dialog_widget_view(dialog, kAllNodes).text, "No");
    EXPECT_TRUE(dialog_widget_view(dialog, kRange).enabled);
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
    record({{kReverseVertical, ev::kDefault},
            {kNodeBold, ev::kDefault},
            {kColorScheme, ev::kDefault},
            {kRange, ev::kDefault},
            {kFactor, ev::kEditChanged},
            {kFactor, ev::kEntryChosen},
            {kReverseX, ev::kDefault}});
    ASSERT_TRUE(dialog_set_int(dialog, kColorScheme, 2, sel::kEntryCount));
    ASSERT_TRUE(dialog_create_window(dialog));
    ASSERT_TRUE(GetParam().act(dialog));
    EXPECT_EQ(fired, std::vector<Fired>{GetParam().expected});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DialogUserActions,
    ::testing::Values(
        ActionCase{"CheckBoxClick",
                   [](DialogHandle& d) { return dialog_user_click(d, kReverseVertical); },
                   {kReverseVertical, ev::kDefault}},
        ActionCase{"ToggleButtonClick",
                   [](DialogHandle& d) { return dialog_user_click(d, kNodeBold); },
                   {kNodeBold, ev::kDefault}},
        ActionCase{"DropDownChoice",
                   [](DialogHandle& d) { return dialog_user_select(d, kColorScheme, 2); },
                   {kColorScheme, ev::kDefault}},
        ActionCase{"EditTyping",
                   [](DialogHandle& d) { return dialog_user_type(d, kRange, "1-7"); },
                   {kRange, ev::kDefault}},
        ActionCase{"EditableListTyping",
                   [](DialogHandle& d) { return dialog_user_type(d, kFactor, "2.5"); },
                   {kFactor, ev::kEditChanged}},
        ActionCase{"EditableListChoice",
                   [](DialogHandle& d) { return dialog_user_select(d, kFactor, 1); },
                   {kFactor, ev::kEntryChosen}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogWindow, ThePersonsChangeIsInTheHandleBeforeTheCallbackRuns)
{
    std::string typed;
    bool checked = false;
    int chosen = 0;
    ASSERT_TRUE(dialog_set_callback(dialog, kRange, [&](DialogHandle& d, int id, int) {
        dialog_get_text(d, id, typed);
    }));
    ASSERT_TRUE(dialog_set_callback(dialog, kNodeIndices, [&](DialogHandle& d, int id, int) {
        dialog_get_logical(d, id, checked);
    }));
    ASSERT_TRUE(dialog_set_callback(dialog, kElementSize, [&](DialogHandle& d, int id, int) {
        dialog_get_int(d, id, chosen);
    }));
    ASSERT_TRUE(dialog_set_int(dialog, kElementSize, 11, sel::kEntryCount));
    ASSERT_TRUE(dialog_create_window(dialog));

    ASSERT_TRUE(dialog_user_type(dialog, kRange, "1-7, 13  20"));
    ASSERT_TRUE(dialog_user_click(dialog, kNodeIndices));
    ASSERT_TRUE(dialog_user_select(dialog, kElementSize, 7));
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
    ASSERT_TRUE(dialog_set_callback(dialog, kFactor, remember, ev::kEditChanged));
    ASSERT_TRUE(dialog_set_callback(dialog, kFactor, remember, ev::kEntryChosen));
    ASSERT_TRUE(dialog_create_window(dialog));

    ASSERT_TRUE(dialog_user_select(dialog, kFactor, 1));
    EXPECT_EQ(dialog_widget_view(dialog, kFactor).text, "Auto");
    ASSERT_TRUE(dialog_user_type(dialog, kFactor, "0."));
    EXPECT_EQ(dialog_widget_view(dialog, kFactor).selected, 0);
    // After typing, the same entry can be chosen again.
    ASSERT_TRUE(dialog_user_select(dialog, kFactor, 1));
    EXPECT_EQ(seen, (std::vector<std::string>{"Auto", "0.", "Auto"}));
    EXPECT_FALSE(dialog_user_select(dialog, kFactor, 2));
}

TEST_F(DialogWindow, CreationDeliversEventZeroOnceWithTheWidgetsInPlace)
{
    bool had_icon = false;
    ASSERT_TRUE(dialog_set_callback(dialog, kSettingsDialogTemplate,
                                    [&](DialogHandle& d, int id, int event) {
                                        fired.push_back({id, event});
                                        dialog_set_icon(d, kNodeBold, kBoldIcon);
                                        had_icon = dialog_widget_view(d, kNodeBold).has_icon;
                                    }));
    ASSERT_TRUE(dialog_create_window(dialog));
    EXPECT_EQ(fired, std::vector<Fired>{(Fired{kSettingsDialogTemplate, ev::kCreated})});
    EXPECT_TRUE(had_icon);
    ASSERT_TRUE(dialog_user_click(dialog, kReverseVertical));
    EXPECT_EQ(fired.size(), 1U);
}

TEST_F(DialogWindow, StyleButtonsShowTheirIconAndKeepTheirCaption)
{
    const IconHandle bold = load_icon_file(kBoldIcon);
    ASSERT_FALSE(bold.is_null());
    ASSERT_TRUE(dialog_set_icon(dialog, kNodeBold, bold));
    ASSERT_TRUE(dialog_create_window(dialog));
    EXPECT_TRUE(dialog_widget_view(dialog, kNodeBold).has_icon);
    EXPECT_EQ(dialog_widget_view(dialog, kNodeBold).text, "B");
    EXPECT_FALSE(dialog_widget_view(dialog, kNodeUnderline).has_icon);
    EXPECT_EQ(dialog_widget_view(dialog, kNodeUnderline).text, "&U");
    ASSERT_TRUE(dialog_set_icon(dialog, kNodeUnderline, bold));
    EXPECT_TRUE(dialog_widget_view(dialog, kNodeUnderline).has_icon);
    ASSERT_TRUE(dialog_set_icon(dialog, 1, bold)); // a push button can carry one too
    EXPECT_TRUE(dialog_widget_view(dialog, 1).has_icon);
}

TEST_F(DialogWindow, DisabledOrHiddenControlsCannotBeUsed)
{
    record({{kReverseY, ev::kDefault}, {kColorScheme, ev::kDefault}});
    ASSERT_TRUE(dialog_set_logical(dialog, kReverseY, false, sel::kEnabled));
    ASSERT_TRUE(dialog_set_logical(dialog, kColorScheme, false, sel::kEnabled));
    ASSERT_TRUE(dialog_set_int(dialog, kColorScheme, 3, sel::kEntryCount));
    ASSERT_TRUE(dialog_create_window(dialog));
    EXPECT_FALSE(dialog_user_click(dialog, kReverseY));
    EXPECT_FALSE(dialog_user_select(dialog, kColorScheme, 1));
    EXPECT_FALSE(dialog_user_click(dialog, kTitle)); // a static is not clicked
    EXPECT_FALSE(dialog_user_type(dialog, kReverseVertical, "x"));
    EXPECT_FALSE(dialog_user_click(dialog, 4711));
    EXPECT_TRUE(fired.empty());
    EXPECT_FALSE(dialog_widget_view(dialog, kReverseY).checked);

    DialogHandle colors;
    ASSERT_TRUE(dialog_init(colors, kColorSchemeDialogTemplate));
    ASSERT_TRUE(dialog_create_window(colors));
    EXPECT_FALSE(dialog_widget_view(colors, 2).visible);
    EXPECT_TRUE(dialog_widget_view(colors, 1).visible);
    EXPECT_FALSE(dialog_user_click(colors, kCancel));
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
    EXPECT_EQ(dialog_user_click(dialog, kDraw), GetParam().end_id == 0);
    EXPECT_EQ(dialog.end_id(), GetParam().end_id == 0 ? kDialogOk : GetParam().end_id);
    dialog_destroy_window(dialog);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DialogEnding,
    ::testing::Values(
        EndCase{"Draw", kSettingsDialogTemplate,
                [](DialogHandle& d) { dialog_user_click(d, kDraw); }, kDialogOk},
        EndCase{"Cancel", kSettingsDialogTemplate,
                [](DialogHandle& d) { dialog_user_click(d, kCancel); }, kDialogCancel},
        EndCase{"CloseButtonIsCancel", kSettingsDialogTemplate,
                [](DialogHandle& d) { dialog_user_close(d); }, kDialogCancel},
        EndCase{"CloseWithHiddenCancel", kColorSchemeDialogTemplate,
                [](DialogHandle& d) { dialog_user_close(d); }, kDialogCancel},
        EndCase{"ColorOk", kColorSchemeDialogTemplate,
                [](DialogHandle& d) { dialog_user_click(d, color_control::kOk); }, kDialogOk},
        EndCase{"OtherButtonGoesOn", kColorSchemeDialogTemplate,
                [](DialogHandle& d) { dialog_user_click(d, color_control::kLineButton); }, 0},
        EndCase{"CheckBoxGoesOn", kSettingsDialogTemplate,
                [](DialogHandle& d) { dialog_user_click(d, kReverseVertical); }, 0}),
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
    dialog_user_click(dialog, kDraw);
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
    EXPECT_FALSE(dialog_init(dialog, kColorSchemeDialogTemplate));
    EXPECT_FALSE(dialog_create_window(dialog));
    EXPECT_EQ(dialog_run_modal(dialog), kDialogNotShown);
    dialog_destroy_window(dialog);
    EXPECT_FALSE(dialog.has_window());
    EXPECT_FALSE(dialog_widget_view(dialog, 1).exists);
    EXPECT_TRUE(dialog_free(dialog));
}

TEST_F(DialogWindow, AFailingCallbackReachesTheCaller)
{
    ASSERT_TRUE(dialog_set_callback(dialog, kReverseX, [](DialogHandle&, int, int) {
        throw ProgramExit{3, "Window Not Open"};
    }));
    ASSERT_TRUE(dialog_create_window(dialog));
    try {
        dialog_user_click(dialog, kReverseX);
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
    for (int id : {kDraw, kCancel, kReverseVertical, kRange, kTitle, kNodeBold, kFactor}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(dialog_widget_view(dialog, id).geometry,
                  dialog_rect_to_pixels(*dialog.dialog_template()->find(id), base));
    }
    // A closed drop-down list is no taller than its template's rectangle with the list dropped.
    const PixelRect scheme = dialog_widget_view(dialog, kColorScheme).geometry;
    const PixelRect scheme_box
        = dialog_rect_to_pixels(*dialog.dialog_template()->find(kColorScheme), base);
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
    ASSERT_TRUE(dialog_init(dialog, kSettingsDialogTemplate));
    ASSERT_TRUE(dialog_set_text(dialog, kTitle, "1 Frame"));
    std::string shown;
    prompter.script_dialog([&](DialogHandle& shown_dialog) {
        shown = dialog_widget_view(shown_dialog, kTitle).text;
        dialog_user_click(shown_dialog, kReverseVertical);
        dialog_user_click(shown_dialog, kDraw);
    });
    EXPECT_EQ(dialog_run_modal(dialog), kDialogOk);
    EXPECT_EQ(prompter.dialog_runs, 1);
    EXPECT_EQ(shown, "1 Frame");
    bool reversed = false;
    EXPECT_TRUE(dialog_get_logical(dialog, kReverseVertical, reversed));
    EXPECT_TRUE(reversed);
    EXPECT_FALSE(dialog.has_window());
}

TEST(DialogScriptedRun, ASessionLeftOpenReportsNoButton)
{
    DialogHandle dialog;
    ASSERT_TRUE(dialog_init(dialog, kColorSchemeDialogTemplate));
    EXPECT_EQ(
        dialog_script_session(
            dialog, [](DialogHandle& d) { dialog_user_click(d, color_control::kScaleButton); }),
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
    ASSERT_TRUE(dialog_init(settings, kSettingsDialogTemplate));
    ASSERT_TRUE(dialog_set_int(settings, kColorScheme, 3, sel::kEntryCount));
    int inner_result = 0;
    ASSERT_TRUE(dialog_set_callback(settings, kColorScheme, [&](DialogHandle&, int, int) {
        dialog_init(colors, kColorSchemeDialogTemplate);
        inner_result = dialog_run_modal(colors);
        dialog_free(colors);
    }));
    prompter.script_dialog([](DialogHandle& outer) {
        dialog_user_select(outer, kColorScheme, 3);
        dialog_user_click(outer, kCancel);
    });
    prompter.script_dialog(
        [](DialogHandle& inner) { dialog_user_click(inner, color_control::kOk); });
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
        ASSERT_TRUE(dialog_init(dialog, kSettingsDialogTemplate));
        ASSERT_TRUE(dialog_set_logical(dialog, kNodeIndices, true));
        bool was_shown = false;
        bool preset_visible = false;
        when_shown([&] {
            was_shown = QApplication::activeModalWidget() != nullptr;
            preset_visible = dialog_widget_view(dialog, kNodeIndices).checked;
            dialog_user_click(dialog, c.button);
        });
        EXPECT_EQ(dialog_run_modal(dialog), c.expected);
        EXPECT_TRUE(was_shown);
        EXPECT_TRUE(preset_visible);
        EXPECT_FALSE(dialog.has_window());
        EXPECT_EQ(window_titled("VORAX: Graph Settings"), nullptr);
    }
}

TEST(DialogRealRun, KeysEndItLikeTheButtonsAndTheWindowsCloseButtonIsCancel)
{
    struct Case {
        int template_id;
        std::function<void(QWidget&)> act;
        int expected;
    };
    const Case cases[] = {
        {kColorSchemeDialogTemplate, [](QWidget& w) { QTest::keyClick(&w, Qt::Key_Escape); }, kDialogCancel},
        {kColorSchemeDialogTemplate, [](QWidget& w) { QTest::keyClick(&w, Qt::Key_Return); }, kDialogOk},
        {kSettingsDialogTemplate, [](QWidget& w) { w.close(); }, kDialogCancel},
    };
    for (const Case& c : cases) {
        DialogHandle dialog;
        ASSERT_TRUE(dialog_init(dialog, c.template_id));
        when_shown([&] {
            if (QWidget* modal = QApplication::activeModalWidget())
                c.act(*modal);
        });
        EXPECT_EQ(dialog_run_modal(dialog), c.expected);
    }
}

TEST(DialogRealRun, ACallbackFailureEndsTheRunAndReachesTheCaller)
{
    DialogHandle dialog;
    ASSERT_TRUE(dialog_init(dialog, kColorSchemeDialogTemplate));
    ASSERT_TRUE(
        dialog_set_callback(dialog, color_control::kGridButton, [](DialogHandle&, int, int) {
            throw ProgramExit{1, "font"};
        }));
    when_shown([&] { dialog_user_click(dialog, color_control::kGridButton); });
    EXPECT_THROW(dialog_run_modal(dialog), ProgramExit);
    EXPECT_FALSE(dialog.has_window());
}

TEST(DialogRealRun, ANestedDialogRunsFromACallbackOverItsOwner)
{
    DialogHandle settings;
    DialogHandle colors;
    ASSERT_TRUE(dialog_init(settings, kSettingsDialogTemplate));
    ASSERT_TRUE(dialog_set_int(settings, kColorScheme, 3, sel::kEntryCount));
    std::vector<Fired> fired;
    int inner_result = 0;
    std::string inner_owner;

    ASSERT_TRUE(dialog_set_callback(settings, kColorScheme, [&](DialogHandle&, int, int) {
        ASSERT_TRUE(dialog_init(colors, kColorSchemeDialogTemplate));
        dialog_set_callback(colors, color_control::kLineButton,
                            [&](DialogHandle&, int id, int event) {
                                fired.push_back({id, event});
                            });
        when_shown([&] {
            QWidget* inner = window_titled("Color Scheme");
            if (inner != nullptr && inner->parentWidget() != nullptr)
                inner_owner = inner->parentWidget()->windowTitle().toStdString();
            dialog_user_click(colors, color_control::kLineButton);
            dialog_user_click(colors, kDraw);
        });
        inner_result = dialog_run_modal(colors);
        dialog_free(colors);
    }));
    when_shown([&] {
        dialog_user_select(settings, kColorScheme, 3);
        // Back in the outer dialog once the inner one has ended.
        dialog_user_click(settings, kDraw);
    });
    EXPECT_EQ(dialog_run_modal(settings), kDialogOk);
    EXPECT_EQ(inner_result, kDialogOk);
    EXPECT_EQ(fired, std::vector<Fired>{(Fired{color_control::kLineButton, ev::kButtonClicked})});
    EXPECT_EQ(inner_owner, "VORAX: Graph Settings");
    EXPECT_FALSE(colors.is_initialized());
}

} // namespace
} // namespace vorax::gwl
