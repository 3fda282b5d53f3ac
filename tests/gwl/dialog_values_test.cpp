// Control values held in a DialogHandle: what each selector reaches for each kind of control,
// and what is refused. No window is needed for any of this.

#include <gtest/gtest.h>

#include "gwl/dialog_handle.h"
#include "settings/dialog_controls.h"

namespace vorax::gwl {
namespace {

using namespace vorax::settings_control;

namespace sel = dialog_selector;

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
    std::string text;
    EXPECT_TRUE(dialog_get_text(dialog, kReverseVertical, text, sel::kCaption));
    EXPECT_EQ(text, "Z / Y (vertical axis)");
    EXPECT_TRUE(dialog_get_text(dialog, kTitle, text));
    EXPECT_EQ(text, "My Problem");
    bool on = true;
    EXPECT_TRUE(dialog_get_logical(dialog, kReverseVertical, on));
    EXPECT_FALSE(on);
    EXPECT_TRUE(dialog_get_logical(dialog, kReverseVertical, on, sel::kEnabled));
    EXPECT_TRUE(on);
    int count = 0;
    EXPECT_TRUE(dialog_get_int(dialog, kFactor, count, sel::kEntryCount));
    EXPECT_EQ(count, 1);
    EXPECT_TRUE(dialog_get_text(dialog, kFactor, text, 1));
    EXPECT_EQ(text, "Auto");
    EXPECT_TRUE(dialog_get_int(dialog, kColorScheme, count, sel::kEntryCount));
    EXPECT_EQ(count, 0);
}

TEST_F(DialogValues, CheckStateThroughDefaultAndStateSelectors)
{
    EXPECT_TRUE(dialog_set_logical(dialog, kNodeIndices, true));
    bool on = false;
    EXPECT_TRUE(dialog_get_logical(dialog, kNodeIndices, on, sel::kState));
    EXPECT_TRUE(on);
    EXPECT_TRUE(dialog_set_logical(dialog, kNodeBold, true, sel::kState)); // a toggle button
    EXPECT_TRUE(dialog_get_logical(dialog, kNodeBold, on));
    EXPECT_TRUE(on);
    EXPECT_TRUE(dialog_set_logical(dialog, kNodeBold, false, sel::kDefault));
    EXPECT_TRUE(dialog_get_logical(dialog, kNodeBold, on, sel::kState));
    EXPECT_FALSE(on);
}

TEST_F(DialogValues, EveryControlWithAnIdCanBeDisabled)
{
    for (int id : {kReverseVertical, kInfo, kRange, kFactor, kColorScheme, kNodeBold, kDraw}) {
        SCOPED_TRACE(id);
        bool enabled = false;
        EXPECT_TRUE(dialog_set_logical(dialog, id, false, sel::kEnabled));
        EXPECT_TRUE(dialog_get_logical(dialog, id, enabled, sel::kEnabled));
        EXPECT_FALSE(enabled);
    }
}

TEST_F(DialogValues, DropDownListIsFilledInOrderThenSelected)
{
    EXPECT_TRUE(dialog_set_int(dialog, kColorScheme, 3, sel::kEntryCount));
    EXPECT_TRUE(dialog_set_text(dialog, kColorScheme, "Standard", 1));
    EXPECT_TRUE(dialog_set_text(dialog, kColorScheme, "All Black", 2));
    EXPECT_TRUE(dialog_set_text(dialog, kColorScheme, "Custom", 3));
    EXPECT_TRUE(dialog_set_int(dialog, kColorScheme, 3, sel::kState));
    int selected = 0;
    EXPECT_TRUE(dialog_get_int(dialog, kColorScheme, selected, sel::kState));
    EXPECT_EQ(selected, 3);
    std::string text;
    for (int n = 1; n <= 3; ++n)
        EXPECT_TRUE(dialog_get_text(dialog, kColorScheme, text, n));
    EXPECT_EQ(text, "Custom");
}

TEST_F(DialogValues, ShrinkingAListDropsASelectionBeyondIt)
{
    ASSERT_TRUE(dialog_set_int(dialog, kNodeSize, 11, sel::kEntryCount));
    ASSERT_TRUE(dialog_set_int(dialog, kNodeSize, 9));
    ASSERT_TRUE(dialog_set_int(dialog, kNodeSize, 5, sel::kEntryCount));
    int selected = -1;
    EXPECT_TRUE(dialog_get_int(dialog, kNodeSize, selected));
    EXPECT_EQ(selected, 0);
}

TEST_F(DialogValues, EditableListKeepsItsEditTextAndEntries)
{
    EXPECT_TRUE(dialog_set_text(dialog, kFactor, "2.50", sel::kState));
    std::string text;
    EXPECT_TRUE(dialog_get_text(dialog, kFactor, text, sel::kDefault));
    EXPECT_EQ(text, "2.50");
    // Choosing an entry from code puts it into the edit text, as a choice in the list does.
    EXPECT_TRUE(dialog_set_int(dialog, kFactor, 1, sel::kState));
    EXPECT_TRUE(dialog_get_text(dialog, kFactor, text, sel::kState));
    EXPECT_EQ(text, "Auto");
    // An edit text that is no longer the chosen entry drops the choice.
    EXPECT_TRUE(dialog_set_text(dialog, kFactor, "3", sel::kState));
    int selected = -1;
    EXPECT_TRUE(dialog_get_int(dialog, kFactor, selected));
    EXPECT_EQ(selected, 0);
}

TEST_F(DialogValues, TextsAreCutWhenSetAndPaddedWhenRead)
{
    EXPECT_TRUE(dialog_set_text(dialog, kRange, "1-7, 13  20", sel::kDefault, 4));
    std::string text;
    EXPECT_TRUE(dialog_get_text(dialog, kRange, text));
    EXPECT_EQ(text, "1-7,");
    EXPECT_TRUE(dialog_get_text(dialog, kRange, text, sel::kDefault, 10));
    EXPECT_EQ(text, "1-7,      ");
    EXPECT_TRUE(dialog_get_text(dialog, kTitle, text, sel::kDefault, 5));
    EXPECT_EQ(text, "My Pr");
    // A text handed over with its terminating NUL ends there.
    EXPECT_TRUE(dialog_set_text(dialog, kTitle, std::string("Title\0junk", 10)));
    EXPECT_TRUE(dialog_get_text(dialog, kTitle, text));
    EXPECT_EQ(text, "Title");
}

TEST_F(DialogValues, CaptionAndTextAreTheSameForCaptionedControls)
{
    EXPECT_TRUE(dialog_set_text(dialog, kAllNodes, "Yes", sel::kCaption));
    std::string text;
    EXPECT_TRUE(dialog_get_text(dialog, kAllNodes, text, sel::kDefault));
    EXPECT_EQ(text, "Yes");
    EXPECT_TRUE(dialog_set_text(dialog, kRangeLimits, "Range: 1-250.", sel::kDefault));
    EXPECT_TRUE(dialog_get_text(dialog, kRangeLimits, text, sel::kCaption));
    EXPECT_EQ(text, "Range: 1-250.");
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

    int count = 0;
    int selected = 0;
    std::string entry;
    std::string range;
    std::string caption;
    bool checked = false;
    bool enabled = false;
    EXPECT_TRUE(dialog_get_int(dialog, kColorScheme, count, sel::kEntryCount));
    EXPECT_TRUE(dialog_get_int(dialog, kColorScheme, selected));
    EXPECT_TRUE(dialog_get_text(dialog, kColorScheme, entry, 1));
    EXPECT_TRUE(dialog_get_text(dialog, kRange, range));
    EXPECT_TRUE(dialog_get_text(dialog, kReverseVertical, caption, sel::kCaption));
    EXPECT_TRUE(dialog_get_logical(dialog, kReverseVertical, checked));
    EXPECT_TRUE(dialog_get_logical(dialog, kReverseVertical, enabled, sel::kEnabled));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(entry, "Standard");
    EXPECT_EQ(range, "5-9");
    EXPECT_EQ(caption, "Z / Y (vertical axis)");
    EXPECT_TRUE(checked);
    EXPECT_TRUE(enabled);
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
        RefusedCase{"StateSelectorOnACheckBoxText",
                    [](DialogHandle& d) { return dialog_set_text(d, kReverseVertical, "x", sel::kState); }},
        RefusedCase{"EntryCountOfACheckBox",
                    [](DialogHandle& d) { return dialog_set_int(d, kReverseVertical, 0, sel::kEntryCount); }},
        RefusedCase{"EntryBeyondTheCount",
                    [](DialogHandle& d) { return dialog_set_text(d, kColorScheme, "x", 3); }},
        RefusedCase{"SelectionBeyondTheCount",
                    [](DialogHandle& d) { return dialog_set_int(d, kColorScheme, 3); }},
        RefusedCase{"NegativeSelection", [](DialogHandle& d) { return dialog_set_int(d, kColorScheme, -2); }},
        RefusedCase{"NegativeCount",
                    [](DialogHandle& d) { return dialog_set_int(d, kColorScheme, -1, sel::kEntryCount); }},
        RefusedCase{"HugeCount",
                    [](DialogHandle& d) {
                        return dialog_set_int(d, kColorScheme, 1 << 30, sel::kEntryCount);
                    }},
        RefusedCase{"UnknownSelector",
                    [](DialogHandle& d) { return dialog_set_logical(d, kReverseVertical, false, -4); }},
        RefusedCase{"TextOfADropDownList",
                    [](DialogHandle& d) { return dialog_set_text(d, kColorScheme, "x"); }},
        RefusedCase{"IconOnACheckBox",
                    [](DialogHandle& d) {
                        return dialog_set_icon(d, kReverseVertical, std::string(VORAX_SOURCE_DIR) +
                                                            "/resources/uir/Bold.ico");
                    }},
        RefusedCase{"MissingIconFile",
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
                        return dialog_set_callback(d, kReverseVertical, [](DialogHandle&, int, int) {},
                                                   dialog_event::kEditChanged);
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DialogLifecycle, OperationsOnAnEmptyHandleFail)
{
    DialogHandle dialog;
    std::string text;
    EXPECT_FALSE(dialog.is_initialized());
    EXPECT_EQ(dialog.template_id(), 0);
    EXPECT_FALSE(dialog_set_text(dialog, kTitle, "x"));
    EXPECT_FALSE(dialog_get_text(dialog, kTitle, text));
    EXPECT_FALSE(dialog_set_callback(dialog, kSettingsDialogTemplate, [](DialogHandle&, int, int) {}));
    EXPECT_EQ(dialog_run_modal(dialog), kDialogNotShown);
    EXPECT_FALSE(dialog_free(dialog));
    EXPECT_FALSE(dialog_create_window(dialog));
}

TEST(DialogLifecycle, AMissingTemplateLeavesTheHandleEmpty)
{
    DialogHandle dialog;
    ASSERT_TRUE(dialog_init(dialog, kColorSchemeDialogTemplate));
    EXPECT_FALSE(dialog_init(dialog, 4711));
    EXPECT_FALSE(dialog.is_initialized());
}

TEST(DialogLifecycle, FreeAndInitAgainStartsFromTheTemplate)
{
    DialogHandle dialog;
    ASSERT_TRUE(dialog_init(dialog, kSettingsDialogTemplate));
    ASSERT_TRUE(dialog_set_text(dialog, kTitle, "2 Frame"));
    EXPECT_TRUE(dialog_free(dialog));
    EXPECT_FALSE(dialog.is_initialized());
    std::string text;
    EXPECT_FALSE(dialog_get_text(dialog, kTitle, text));

    ASSERT_TRUE(dialog_init(dialog, kSettingsDialogTemplate));
    EXPECT_TRUE(dialog_get_text(dialog, kTitle, text));
    EXPECT_EQ(text, "My Problem");
    // Initialising a handle in use replaces its template.
    ASSERT_TRUE(dialog_init(dialog, kColorSchemeDialogTemplate));
    EXPECT_EQ(dialog.template_id(), kColorSchemeDialogTemplate);
    EXPECT_FALSE(dialog_get_text(dialog, kTitle, text));
    EXPECT_TRUE(dialog_get_text(dialog, color_control::kNodeIndexButton, text));
    EXPECT_EQ(text, "Node (Index)");
}

} // namespace
} // namespace vorax::gwl
