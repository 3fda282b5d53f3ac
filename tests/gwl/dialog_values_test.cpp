// Control values held in a DialogHandle: what each selector reaches for each kind of control,
// and what is refused. No window is needed for any of this.

#include <gtest/gtest.h>

#include "gwl/dialog_handle.h"

namespace vorax::gwl {
namespace {

namespace sel = dialog_selector;

class DialogValues : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog_init(dialog, 101)); }
    DialogHandle dialog;
};

TEST_F(DialogValues, InitialValuesComeFromTheTemplate)
{
    EXPECT_TRUE(dialog.is_initialized());
    EXPECT_EQ(dialog.template_id(), 101);
    EXPECT_FALSE(dialog.has_window());
    std::string text;
    EXPECT_TRUE(dialog_get_text(dialog, 1002, text, sel::kCaption));
    EXPECT_EQ(text, "Z / Y (vertical axis)");
    EXPECT_TRUE(dialog_get_text(dialog, 1011, text));
    EXPECT_EQ(text, "My Problem");
    bool on = true;
    EXPECT_TRUE(dialog_get_logical(dialog, 1002, on));
    EXPECT_FALSE(on);
    EXPECT_TRUE(dialog_get_logical(dialog, 1002, on, sel::kEnabled));
    EXPECT_TRUE(on);
    int count = 0;
    EXPECT_TRUE(dialog_get_int(dialog, 1015, count, sel::kEntryCount));
    EXPECT_EQ(count, 1);
    EXPECT_TRUE(dialog_get_text(dialog, 1015, text, 1));
    EXPECT_EQ(text, "Auto");
    EXPECT_TRUE(dialog_get_int(dialog, 1028, count, sel::kEntryCount));
    EXPECT_EQ(count, 0);
}

TEST_F(DialogValues, CheckStateThroughDefaultAndStateSelectors)
{
    EXPECT_TRUE(dialog_set_logical(dialog, 1013, true));
    bool on = false;
    EXPECT_TRUE(dialog_get_logical(dialog, 1013, on, sel::kState));
    EXPECT_TRUE(on);
    EXPECT_TRUE(dialog_set_logical(dialog, 1031, true, sel::kState)); // a toggle button
    EXPECT_TRUE(dialog_get_logical(dialog, 1031, on));
    EXPECT_TRUE(on);
    EXPECT_TRUE(dialog_set_logical(dialog, 1031, false, sel::kDefault));
    EXPECT_TRUE(dialog_get_logical(dialog, 1031, on, sel::kState));
    EXPECT_FALSE(on);
}

TEST_F(DialogValues, EveryControlWithAnIdCanBeDisabled)
{
    for (int id : {1002, 1027, 1019, 1015, 1028, 1031, 1}) {
        SCOPED_TRACE(id);
        bool enabled = false;
        EXPECT_TRUE(dialog_set_logical(dialog, id, false, sel::kEnabled));
        EXPECT_TRUE(dialog_get_logical(dialog, id, enabled, sel::kEnabled));
        EXPECT_FALSE(enabled);
    }
}

TEST_F(DialogValues, DropDownListIsFilledInOrderThenSelected)
{
    EXPECT_TRUE(dialog_set_int(dialog, 1028, 3, sel::kEntryCount));
    EXPECT_TRUE(dialog_set_text(dialog, 1028, "Standard", 1));
    EXPECT_TRUE(dialog_set_text(dialog, 1028, "All Black", 2));
    EXPECT_TRUE(dialog_set_text(dialog, 1028, "Custom", 3));
    EXPECT_TRUE(dialog_set_int(dialog, 1028, 3, sel::kState));
    int selected = 0;
    EXPECT_TRUE(dialog_get_int(dialog, 1028, selected, sel::kState));
    EXPECT_EQ(selected, 3);
    std::string text;
    for (int n = 1; n <= 3; ++n)
        EXPECT_TRUE(dialog_get_text(dialog, 1028, text, n));
    EXPECT_EQ(text, "Custom");
}

TEST_F(DialogValues, ShrinkingAListDropsASelectionBeyondIt)
{
    ASSERT_TRUE(dialog_set_int(dialog, 1035, 11, sel::kEntryCount));
    ASSERT_TRUE(dialog_set_int(dialog, 1035, 9));
    ASSERT_TRUE(dialog_set_int(dialog, 1035, 5, sel::kEntryCount));
    int selected = -1;
    EXPECT_TRUE(dialog_get_int(dialog, 1035, selected));
    EXPECT_EQ(selected, 0);
}

TEST_F(DialogValues, EditableListKeepsItsEditTextAndEntries)
{
    EXPECT_TRUE(dialog_set_text(dialog, 1015, "2.50", sel::kState));
    std::string text;
    EXPECT_TRUE(dialog_get_text(dialog, 1015, text, sel::kDefault));
    EXPECT_EQ(text, "2.50");
    // Choosing an entry from code puts it into the edit text, as a choice in the list does.
    EXPECT_TRUE(dialog_set_int(dialog, 1015, 1, sel::kState));
    EXPECT_TRUE(dialog_get_text(dialog, 1015, text, sel::kState));
    EXPECT_EQ(text, "Auto");
    // An edit text that is no longer the chosen entry drops the choice.
    EXPECT_TRUE(dialog_set_text(dialog, 1015, "3", sel::kState));
    int selected = -1;
    EXPECT_TRUE(dialog_get_int(dialog, 1015, selected));
    EXPECT_EQ(selected, 0);
}

TEST_F(DialogValues, TextsAreCutWhenSetAndPaddedWhenRead)
{
    EXPECT_TRUE(dialog_set_text(dialog, 1019, "1-7, 13  20", sel::kDefault, 4));
    std::string text;
    EXPECT_TRUE(dialog_get_text(dialog, 1019, text));
    EXPECT_EQ(text, "1-7,");
    EXPECT_TRUE(dialog_get_text(dialog, 1019, text, sel::kDefault, 10));
    EXPECT_EQ(text, "1-7,      ");
    EXPECT_TRUE(dialog_get_text(dialog, 1011, text, sel::kDefault, 5));
    EXPECT_EQ(text, "My Pr");
    // A text handed over with its terminating NUL ends there.
    EXPECT_TRUE(dialog_set_text(dialog, 1011, std::string("Title\0junk", 10)));
    EXPECT_TRUE(dialog_get_text(dialog, 1011, text));
    EXPECT_EQ(text, "Title");
}

TEST_F(DialogValues, CaptionAndTextAreTheSameForCaptionedControls)
{
    EXPECT_TRUE(dialog_set_text(dialog, 1018, "Yes", sel::kCaption));
    std::string text;
    EXPECT_TRUE(dialog_get_text(dialog, 1018, text, sel::kDefault));
    EXPECT_EQ(text, "Yes");
    EXPECT_TRUE(dialog_set_text(dialog, 1030, "Range: 1-250.", sel::kDefault));
    EXPECT_TRUE(dialog_get_text(dialog, 1030, text, sel::kCaption));
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
    ASSERT_TRUE(dialog_init(dialog, 101));
    ASSERT_TRUE(dialog_set_int(dialog, 1028, 2, sel::kEntryCount));
    ASSERT_TRUE(dialog_set_text(dialog, 1028, "Standard", 1));
    ASSERT_TRUE(dialog_set_int(dialog, 1028, 1));
    ASSERT_TRUE(dialog_set_text(dialog, 1019, "5-9"));
    ASSERT_TRUE(dialog_set_logical(dialog, 1002, true));

    EXPECT_FALSE(GetParam().call(dialog));

    int count = 0;
    int selected = 0;
    std::string entry;
    std::string range;
    std::string caption;
    bool checked = false;
    bool enabled = false;
    EXPECT_TRUE(dialog_get_int(dialog, 1028, count, sel::kEntryCount));
    EXPECT_TRUE(dialog_get_int(dialog, 1028, selected));
    EXPECT_TRUE(dialog_get_text(dialog, 1028, entry, 1));
    EXPECT_TRUE(dialog_get_text(dialog, 1019, range));
    EXPECT_TRUE(dialog_get_text(dialog, 1002, caption, sel::kCaption));
    EXPECT_TRUE(dialog_get_logical(dialog, 1002, checked));
    EXPECT_TRUE(dialog_get_logical(dialog, 1002, enabled, sel::kEnabled));
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
                    [](DialogHandle& d) { return dialog_set_logical(d, 1028, false); }},
        RefusedCase{"CaptionOfAnEdit",
                    [](DialogHandle& d) { return dialog_set_text(d, 1019, "x", sel::kCaption); }},
        RefusedCase{"StateSelectorOnACheckBoxText",
                    [](DialogHandle& d) { return dialog_set_text(d, 1002, "x", sel::kState); }},
        RefusedCase{"EntryCountOfACheckBox",
                    [](DialogHandle& d) { return dialog_set_int(d, 1002, 0, sel::kEntryCount); }},
        RefusedCase{"EntryBeyondTheCount",
                    [](DialogHandle& d) { return dialog_set_text(d, 1028, "x", 3); }},
        RefusedCase{"SelectionBeyondTheCount",
                    [](DialogHandle& d) { return dialog_set_int(d, 1028, 3); }},
        RefusedCase{"NegativeSelection", [](DialogHandle& d) { return dialog_set_int(d, 1028, -2); }},
        RefusedCase{"NegativeCount",
                    [](DialogHandle& d) { return dialog_set_int(d, 1028, -1, sel::kEntryCount); }},
        RefusedCase{"HugeCount",
                    [](DialogHandle& d) {
                        return dialog_set_int(d, 1028, 1 << 30, sel::kEntryCount);
                    }},
        RefusedCase{"UnknownSelector",
                    [](DialogHandle& d) { return dialog_set_logical(d, 1002, false, -4); }},
        RefusedCase{"TextOfADropDownList",
                    [](DialogHandle& d) { return dialog_set_text(d, 1028, "x"); }},
        RefusedCase{"IconOnACheckBox",
                    [](DialogHandle& d) {
                        return dialog_set_icon(d, 1002, std::string(VORAX_SOURCE_DIR) +
                                                            "/resources/uir/Bold.ico");
                    }},
        RefusedCase{"MissingIconFile",
                    [](DialogHandle& d) { return dialog_set_icon(d, 1031, "/nonexistent.ico"); }},
        RefusedCase{"GetOfAnUnknownId",
                    [](DialogHandle& d) {
                        std::string t;
                        return dialog_get_text(d, 4711, t);
                    }},
        RefusedCase{"CallbackOnAStatic",
                    [](DialogHandle& d) {
                        return dialog_set_callback(d, 1011, [](DialogHandle&, int, int) {});
                    }},
        RefusedCase{"EditEventOnACheckBox",
                    [](DialogHandle& d) {
                        return dialog_set_callback(d, 1002, [](DialogHandle&, int, int) {},
                                                   dialog_event::kEditChanged);
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DialogLifecycle, OperationsOnAnEmptyHandleFail)
{
    DialogHandle dialog;
    std::string text;
    EXPECT_FALSE(dialog.is_initialized());
    EXPECT_EQ(dialog.template_id(), 0);
    EXPECT_FALSE(dialog_set_text(dialog, 1011, "x"));
    EXPECT_FALSE(dialog_get_text(dialog, 1011, text));
    EXPECT_FALSE(dialog_set_callback(dialog, 101, [](DialogHandle&, int, int) {}));
    EXPECT_EQ(dialog_run_modal(dialog), kDialogNotShown);
    EXPECT_FALSE(dialog_free(dialog));
    EXPECT_FALSE(dialog_create_window(dialog));
}

TEST(DialogLifecycle, AMissingTemplateLeavesTheHandleEmpty)
{
    DialogHandle dialog;
    ASSERT_TRUE(dialog_init(dialog, 108));
    EXPECT_FALSE(dialog_init(dialog, 4711));
    EXPECT_FALSE(dialog.is_initialized());
}

TEST(DialogLifecycle, FreeAndInitAgainStartsFromTheTemplate)
{
    DialogHandle dialog;
    ASSERT_TRUE(dialog_init(dialog, 101));
    ASSERT_TRUE(dialog_set_text(dialog, 1011, "2 Frame"));
    EXPECT_TRUE(dialog_free(dialog));
    EXPECT_FALSE(dialog.is_initialized());
    std::string text;
    EXPECT_FALSE(dialog_get_text(dialog, 1011, text));

    ASSERT_TRUE(dialog_init(dialog, 101));
    EXPECT_TRUE(dialog_get_text(dialog, 1011, text));
    EXPECT_EQ(text, "My Problem");
    // Initialising a handle in use replaces its template.
    ASSERT_TRUE(dialog_init(dialog, 108));
    EXPECT_EQ(dialog.template_id(), 108);
    EXPECT_FALSE(dialog_get_text(dialog, 1011, text));
    EXPECT_TRUE(dialog_get_text(dialog, 1043, text));
    EXPECT_EQ(text, "Node (Index)");
}

} // namespace
} // namespace vorax::gwl
