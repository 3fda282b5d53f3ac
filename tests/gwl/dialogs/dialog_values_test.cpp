// SPDX-License-Identifier: GPL-3.0-or-later
// Control values held in a DialogHandle: what each selector reaches for each kind of control,
// and what is refused. No window is needed for any of this.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "gwl/dialogs/dialog_handle.h"
#include "settings/dialog_controls.h"

namespace vorax::gwl {
namespace {

using namespace vorax::settings_control;

namespace sel = dialog_selector;

// A value as the get calls read it; nothing when the call refuses.
std::optional<std::string> text_of(const DialogHandle& d, int id, int selector = sel::kDefault,
                                   int length = 0)
{
    std::string text;
    if (!dialog_get_text(d, id, text, selector, length))
        return std::nullopt;
    return text;
}

std::optional<bool> logical_of(const DialogHandle& d, int id, int selector = sel::kDefault)
{
    bool value = false;
    if (!dialog_get_logical(d, id, value, selector))
        return std::nullopt;
    return value;
}

std::optional<int> int_of(const DialogHandle& d, int id, int selector = sel::kDefault)
{
    int value = 0;
    if (!dialog_get_int(d, id, value, selector))
        return std::nullopt;
    return value;
}

class DialogValues : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog_init(dialog, kSettingsDialogTemplate)); }
    DialogHandle dialog;
};

TEST_F(DialogValues, InitialValuesComeFromTheTemplate)
{
    EXPECT_TRUE(dialog.is_initialized());
    EXPECT_EQ(dialog.template_id(), kSettingsDialogTemplate);
    EXPECT_FALSE(dialog.has_window());
    EXPECT_EQ(text_of(dialog, kReverseVertical, sel::kCaption), "Z / Y (vertical axis)");
    EXPECT_EQ(text_of(dialog, kTitle), "My Problem");
    EXPECT_EQ(logical_of(dialog, kReverseVertical), false);
    EXPECT_EQ(logical_of(dialog, kReverseVertical, sel::kEnabled), true);
    EXPECT_EQ(int_of(dialog, kFactor, sel::kEntryCount), 1);
    EXPECT_EQ(text_of(dialog, kFactor, 1), "Auto");
    EXPECT_EQ(int_of(dialog, kColorScheme, sel::kEntryCount), 0);
}

TEST_F(DialogValues, CheckStateThroughDefaultAndStateSelectorsAndEveryControlWithAnIdCanBeDisabled)
{
    EXPECT_TRUE(dialog_set_logical(dialog, kNodeIndices, true));
    EXPECT_EQ(logical_of(dialog, kNodeIndices, sel::kState), true);
    EXPECT_TRUE(dialog_set_logical(dialog, kNodeBold, true, sel::kState)); // a toggle button
    EXPECT_EQ(logical_of(dialog, kNodeBold), true);
    EXPECT_TRUE(dialog_set_logical(dialog, kNodeBold, false, sel::kDefault));
    EXPECT_EQ(logical_of(dialog, kNodeBold, sel::kState), false);
    for (int id : {kReverseVertical, kInfo, kRange, kFactor, kColorScheme, kNodeBold, kDraw}) {
        EXPECT_TRUE(dialog_set_logical(dialog, id, false, sel::kEnabled)) << id;
        EXPECT_EQ(logical_of(dialog, id, sel::kEnabled), false) << id;
    }
}

TEST_F(DialogValues, DropDownListIsFilledInOrderThenSelectedAndShrinkingItDropsASelectionBeyondIt)
{
    EXPECT_TRUE(dialog_set_int(dialog, kColorScheme, 3, sel::kEntryCount));
    EXPECT_TRUE(dialog_set_text(dialog, kColorScheme, "Standard", 1));
    EXPECT_TRUE(dialog_set_text(dialog, kColorScheme, "All Black", 2));
    EXPECT_TRUE(dialog_set_text(dialog, kColorScheme, "Custom", 3));
    EXPECT_TRUE(dialog_set_int(dialog, kColorScheme, 3, sel::kState));
    EXPECT_EQ(int_of(dialog, kColorScheme, sel::kState), 3);
    EXPECT_EQ(text_of(dialog, kColorScheme, 1), "Standard");
    EXPECT_EQ(text_of(dialog, kColorScheme, 2), "All Black");
    EXPECT_EQ(text_of(dialog, kColorScheme, 3), "Custom");

    ASSERT_TRUE(dialog_set_int(dialog, kNodeSize, 11, sel::kEntryCount));
    ASSERT_TRUE(dialog_set_int(dialog, kNodeSize, 9));
    ASSERT_TRUE(dialog_set_int(dialog, kNodeSize, 5, sel::kEntryCount));
    EXPECT_EQ(int_of(dialog, kNodeSize), 0);
}

TEST_F(DialogValues, EditableListKeepsItsEditTextAndEntries)
{
    EXPECT_TRUE(dialog_set_text(dialog, kFactor, "2.50", sel::kState));
    EXPECT_EQ(text_of(dialog, kFactor, sel::kDefault), "2.50");
    // Choosing an entry from code puts it into the edit text, as a choice in the list does.
    EXPECT_TRUE(dialog_set_int(dialog, kFactor, 1, sel::kState));
    EXPECT_EQ(text_of(dialog, kFactor, sel::kState), "Auto");
    // An edit text that is no longer the chosen entry drops the choice.
    EXPECT_TRUE(dialog_set_text(dialog, kFactor, "3", sel::kState));
    EXPECT_EQ(int_of(dialog, kFactor), 0);
}

TEST_F(DialogValues, TextsAreCutWhenSetAndPaddedWhenReadAndCaptionsAreTheTexts)
{
    EXPECT_TRUE(dialog_set_text(dialog, kRange, "1-7, 13  20", sel::kDefault, 4));
    EXPECT_EQ(text_of(dialog, kRange), "1-7,");
    EXPECT_EQ(text_of(dialog, kRange, sel::kDefault, 10), "1-7,      ");
    EXPECT_EQ(text_of(dialog, kTitle, sel::kDefault, 5), "My Pr");
    // A text handed over with its terminating NUL ends there.
    EXPECT_TRUE(dialog_set_text(dialog, kTitle, std::string("Title\0junk", 10)));
    EXPECT_EQ(text_of(dialog, kTitle), "Title");
    // Caption and text are the same for captioned controls.
    EXPECT_TRUE(dialog_set_text(dialog, kAllNodes, "Yes", sel::kCaption));
    EXPECT_EQ(text_of(dialog, kAllNodes, sel::kDefault), "Yes");
    EXPECT_TRUE(dialog_set_text(dialog, kRangeLimits, "Range: 1-250.", sel::kDefault));
    EXPECT_EQ(text_of(dialog, kRangeLimits, sel::kCaption), "Range: 1-250.");
}

// Every refused call leaves the values as they were.
struct RefusedCase {
    const char* name;
    std::function<bool(DialogHandle&)> call;
};

void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }

class DialogValuesRefused : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(DialogValuesRefused, ReturnsFalseAndChangesNothing)
{
    DialogHandle dialog;
    ASSERT_TRUE(dialog_init(dialog, kSettingsDialogTemplate));
    ASSERT_TRUE(dialog_set_int(dialog, kColorScheme, 2, sel::kEntryCount));
    ASSERT_TRUE(dialog_set_text(dialog, kColorScheme, "Standard", 1));
    ASSERT_TRUE(dialog_set_int(dialog, kColorScheme, 1));
    ASSERT_TRUE(dialog_set_text(dialog, kRange, "5-9"));
    ASSERT_TRUE(dialog_set_logical(dialog, kReverseVertical, true));

    EXPECT_FALSE(GetParam().call(dialog));

    EXPECT_EQ(int_of(dialog, kColorScheme, sel::kEntryCount), 2);
    EXPECT_EQ(int_of(dialog, kColorScheme), 1);
    EXPECT_EQ(text_of(dialog, kColorScheme, 1), "Standard");
    EXPECT_EQ(text_of(dialog, kRange), "5-9");
    EXPECT_EQ(text_of(dialog, kReverseVertical, sel::kCaption), "Z / Y (vertical axis)");
    EXPECT_EQ(logical_of(dialog, kReverseVertical), true);
    EXPECT_EQ(logical_of(dialog, kReverseVertical, sel::kEnabled), true);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DialogValuesRefused,
    ::testing::Values(
        RefusedCase{"UnknownIdLogical",
                    [](DialogHandle& d) { return dialog_set_logical(d, 4711, false); }},
        RefusedCase{"UnknownIdText", [](DialogHandle& d) { return dialog_set_text(d, 4711, "x"); }},
        RefusedCase{"UnknownIdInt", [](DialogHandle& d) { return dialog_set_int(d, 4711, 1); }},
        RefusedCase{"UnnamedControl",
                    [](DialogHandle& d) { return dialog_set_text(d, kNoControlId, "x"); }},
        RefusedCase{"CheckStateOfAList",
                    [](DialogHandle& d) { return dialog_set_logical(d, kColorScheme, false); }},
        RefusedCase{"CaptionOfAnEdit",
                    [](DialogHandle& d) { return dialog_set_text(d, kRange, "x", sel::kCaption); }},
        RefusedCase{
            "StateSelectorOnACheckBoxText",
            [](DialogHandle& d) { return dialog_set_text(d, kReverseVertical, "x", sel::kState); }},
        RefusedCase{"EntryCountOfACheckBox",
                    [](DialogHandle& d) {
                        return dialog_set_int(d, kReverseVertical, 0, sel::kEntryCount);
                    }},
        RefusedCase{"EntryBeyondTheCount",
                    [](DialogHandle& d) { return dialog_set_text(d, kColorScheme, "x", 3); }},
        RefusedCase{"SelectionBeyondTheCount",
                    [](DialogHandle& d) { return dialog_set_int(d, kColorScheme, 3); }},
        RefusedCase{"NegativeSelection",
                    [](DialogHandle& d) { return dialog_set_int(d, kColorScheme, -2); }},
        RefusedCase{
            "NegativeCount",
            [](DialogHandle& d) { return dialog_set_int(d, kColorScheme, -1, sel::kEntryCount); }},
        RefusedCase{"HugeCount",
                    [](DialogHandle& d) {
                        return dialog_set_int(d, kColorScheme, 1 << 30, sel::kEntryCount);
                    }},
        RefusedCase{
            "UnknownSelector",
            [](DialogHandle& d) { return dialog_set_logical(d, kReverseVertical, false, -4); }},
        RefusedCase{"TextOfADropDownList",
                    [](DialogHandle& d) { return dialog_set_text(d, kColorScheme, "x"); }},
        RefusedCase{"IconOnACheckBox",
                    [](DialogHandle& d) {
                        return dialog_set_icon(d, kReverseVertical, std::string(VORAX_SOURCE_DIR) +
                                                            "/resources/uir/Bold.ico");
                    }},
        RefusedCase{
            "MissingIconFile",
            [](DialogHandle& d) { return dialog_set_icon(d, kNodeBold, "/nonexistent.ico"); }},
        RefusedCase{"GetOfAnUnknownId",
                    [](DialogHandle& d) {
                        std::string t;
                        return dialog_get_text(d, 4711, t);
                    }},
        RefusedCase{"CallbackOnAStatic",
                    [](DialogHandle& d) {
                        return dialog_set_callback(d, kTitle, [](DialogHandle&, int, int) {});
                    }},
        RefusedCase{"EditEventOnACheckBox",
                    [](DialogHandle& d) {
                        return dialog_set_callback(
                            d, kReverseVertical, [](DialogHandle&, int, int) {},
                            dialog_event::kEditChanged);
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DialogLifecycle, OperationsOnAnEmptyHandleFail)
{
    DialogHandle dialog;
    EXPECT_FALSE(dialog.is_initialized());
    EXPECT_EQ(dialog.template_id(), 0);
    EXPECT_FALSE(dialog_set_text(dialog, kTitle, "x"));
    EXPECT_EQ(text_of(dialog, kTitle), std::nullopt);
    EXPECT_FALSE(
        dialog_set_callback(dialog, kSettingsDialogTemplate, [](DialogHandle&, int, int) {}));
    EXPECT_EQ(dialog_run_modal(dialog), kDialogNotShown);
    EXPECT_FALSE(dialog_free(dialog));
    EXPECT_FALSE(dialog_create_window(dialog));
}

TEST(DialogLifecycle, FreeAndInitAgainStartsFromTheTemplateAndAMissingOneLeavesItEmpty)
{
    DialogHandle dialog;
    ASSERT_TRUE(dialog_init(dialog, kSettingsDialogTemplate));
    ASSERT_TRUE(dialog_set_text(dialog, kTitle, "2 Frame"));
    EXPECT_TRUE(dialog_free(dialog));
    EXPECT_FALSE(dialog.is_initialized());
    EXPECT_EQ(text_of(dialog, kTitle), std::nullopt);

    ASSERT_TRUE(dialog_init(dialog, kSettingsDialogTemplate));
    EXPECT_EQ(text_of(dialog, kTitle), "My Problem");
    // Initialising a handle in use replaces its template.
    ASSERT_TRUE(dialog_init(dialog, kColorSchemeDialogTemplate));
    EXPECT_EQ(dialog.template_id(), kColorSchemeDialogTemplate);
    EXPECT_EQ(text_of(dialog, kTitle), std::nullopt);
    EXPECT_EQ(text_of(dialog, color_control::kNodeIndexButton), "Node (Index)");
    EXPECT_FALSE(dialog_init(dialog, 4711));
    EXPECT_FALSE(dialog.is_initialized());
}

} // namespace
} // namespace vorax::gwl
