// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>

#include "gwl/dialogs/dialog_handle.h"
#include "model/model_reader.h"
#include "scripted_prompter.h"
#include "settings/dialog_controls.h"
#include "settings/settings_dialog.h"
#include "test_helpers.h"

namespace vorax {
namespace {

using namespace vorax::settings_control;

using namespace gwl;

// A model of `nodes` nodes and `elements` elements, all coordinates 0.
StructureModel synthetic_model(int nodes, int elements, int ngl)
{
    StructureModel m;
    m.node_count = nodes;
    m.element_count = elements;
    m.NGL = ngl;
    m.nodes.resize(static_cast<std::size_t>(nodes));
    m.elements.resize(static_cast<std::size_t>(elements));
    return m;
}

// One scripted run of the settings dialog over a model (the plane frame unless a test loads
// another), the settings as after a load.
class SettingsDialogRun : public ::testing::Test {
protected:
    void SetUp() override { load(testing::example_model("plane_frame.dat")); }

    void load(StructureModel m)
    {
        model = std::move(m);
        settings.current_settings.all_nodes = true;
        settings.current_settings.selected_node_count = model.node_count;
        settings.current_settings.selected_element_count = model.element_count;
    }

    // Runs the dialog; `person` acts on it while it is shown, then presses "DRAW".
    int run_then_draw(const std::function<void(DialogHandle&)>& person)
    {
        return run([&person](DialogHandle& d) {
            person(d);
            dialog_user_click(d, kDraw);
        });
    }

    // Runs the dialog; `person` acts on it while it is shown.
    int run(const std::function<void(DialogHandle&)>& person)
    {
        prompter.script_dialog(person);
        SettingsDialogContext context{settings, model, dialog, "(1) TWO-BAY FRAME",
                                      language,  {},    {},    {},
                                      [this](const std::string& line) { info.push_back(line); }};
        return run_graph_settings_dialog(context);
    }

    testing::ScriptedPrompter prompter;
    SettingsState settings;
    SettingsDialogState dialog;
    StructureModel model;
    UiLanguage language = UiLanguage::english;
    std::vector<std::string> info;
};

TEST_F(SettingsDialogRun, PresetsAreShownAndDrawReturnsOne)
{
    settings.current_settings.reverse_vertical = true;
    DialogWidgetView range, title, info_text, reverse, y_axis, all;
    std::vector<std::string> schemes, sizes;
    int scheme = 0;
    const int result = run_then_draw([&](DialogHandle& d) {
        range = dialog_widget_view(d, kRangeLimits);
        title = dialog_widget_view(d, kTitle);
        info_text = dialog_widget_view(d, kInfo);
        reverse = dialog_widget_view(d, kReverseVertical);
        y_axis = dialog_widget_view(d, kReverseY);
        all = dialog_widget_view(d, kAllNodes);
        schemes = dialog_widget_view(d, kColorScheme).entries;
        scheme = dialog_widget_view(d, kColorScheme).selected;
        sizes = dialog_widget_view(d, kNodeSize).entries;
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(dialog.settings_dialog_result, 1);
    EXPECT_EQ(range.text, "Range: 1-12.");
    EXPECT_EQ(title.text, "(1) TWO-BAY FRAME");
    EXPECT_EQ(info_text.text,
              "Node range and nodes, like: 1-7, 13  20\nSeparators: Comma or/and Space(s).");
    EXPECT_TRUE(reverse.checked);
    EXPECT_FALSE(y_axis.enabled); // NGL 2
    EXPECT_TRUE(all.checked);
    EXPECT_EQ(all.text, "Yes");
    EXPECT_EQ(schemes, (std::vector<std::string>{"Standard", "All Black", "Custom"}));
    EXPECT_EQ(scheme, 1);
    EXPECT_EQ(sizes, (std::vector<std::string>{"10", "11", "12", "13", "14", "15", "16", "18",
                                               "20", "22", "24"}));
}

TEST_F(SettingsDialogRun, SpatialModelEnablesReverseY)
{
    load(testing::example_model("space_tower.dat"));
    DialogWidgetView y_axis;
    run_then_draw([&](DialogHandle& d) {
        y_axis = dialog_widget_view(d, kReverseY);
        dialog_user_click(d, kReverseY);
    });
    EXPECT_TRUE(y_axis.enabled);
    EXPECT_TRUE(settings.current_settings.reverse_y);
}

// The View list names the views in the run's language; a plane model shows only its own plane,
// the oblique entry, and the list cannot be opened.
TEST_F(SettingsDialogRun, ViewListOffersEveryViewOnlyForASpatialModel)
{
    struct Row {
        const char* name;
        const char* model;
        UiLanguage language;
        std::vector<std::string> entries;
        bool enabled;
    };
    const Row rows[] = {
        {"spatial", "space_tower.dat", UiLanguage::english,
         {"Oblique 45°", "Front (X-Z)", "Side (Y-Z)", "Plan (X-Y)", "Isometric"}, true},
        {"spatial_romanian", "space_tower.dat", UiLanguage::romanian,
         {"Oblic 45°", "Fata (X-Z)", "Lateral (Y-Z)", "Plan (X-Y)", "Izometric"}, true},
        {"plane", "plane_frame.dat", UiLanguage::english, {"Oblique 45°"}, false},
        {"plane_romanian", "plane_frame.dat", UiLanguage::romanian, {"Oblic 45°"}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        load(testing::example_model(row.model));
        language = row.language;
        DialogWidgetView list;
        run_then_draw([&](DialogHandle& d) { list = dialog_widget_view(d, kView); });
        EXPECT_EQ(list.entries, row.entries);
        EXPECT_EQ(list.enabled, row.enabled);
        EXPECT_EQ(list.selected, 1);
        EXPECT_EQ(settings.current_settings.view, GraphView::oblique);
    }
}

// The list shows the view of the settings and the entry chosen becomes their view.
TEST_F(SettingsDialogRun, ViewChosenInTheListIsTheGraphsView)
{
    load(testing::example_model("space_tower.dat"));
    settings.current_settings.view = GraphView::side;
    int shown = 0;
    run_then_draw([&](DialogHandle& d) {
        shown = dialog_widget_view(d, kView).selected;
        dialog_user_select(d, kView, 4);
    });
    EXPECT_EQ(shown, 3);
    EXPECT_EQ(settings.current_settings.view, GraphView::plan);
    run_then_draw([&](DialogHandle& d) { dialog_user_select(d, kView, 5); });
    EXPECT_EQ(settings.current_settings.view, GraphView::iso);
}

TEST_F(SettingsDialogRun, AllTogglesCaptionRangeFieldAndSelection)
{
    DialogWidgetView after_uncheck_all, after_uncheck_range, after_check_all, after_check_range;
    bool none_selected = false;
    run_then_draw([&](DialogHandle& d) {
        dialog_user_click(d, kAllNodes);
        after_uncheck_all = dialog_widget_view(d, kAllNodes);
        after_uncheck_range = dialog_widget_view(d, kRange);
        none_selected = std::none_of(model.nodes.begin(), model.nodes.end(),
                                     [](const Node& n) { return n.selected; });
        dialog_user_type(d, kRange, "1-3, 7");
        dialog_user_click(d, kAllNodes);
        after_check_all = dialog_widget_view(d, kAllNodes);
        after_check_range = dialog_widget_view(d, kRange);
        dialog_user_click(d, kAllNodes); // unchecked again: what was typed is still there
    });
    EXPECT_EQ(after_uncheck_all.text, "No");
    EXPECT_TRUE(after_uncheck_range.enabled);
    EXPECT_TRUE(none_selected);
    EXPECT_EQ(after_check_all.text, "Yes");
    EXPECT_FALSE(after_check_range.enabled);
    EXPECT_EQ(after_check_range.text, "1-3, 7");
    EXPECT_FALSE(settings.current_settings.all_nodes);
    EXPECT_EQ(dialog.range_text, "1-3, 7");
}

TEST_F(SettingsDialogRun, SwitchCaptionsFollowTheirStateAndCancelReturnsTwoKeepingTheChanges)
{
    DialogWidgetView nodes, elements;
    run_then_draw([&](DialogHandle& d) {
        dialog_user_click(d, kNodeIndices);
        nodes = dialog_widget_view(d, kNodeIndices);
        elements = dialog_widget_view(d, kElementIndices);
    });
    EXPECT_EQ(nodes.text, "OFF");
    EXPECT_EQ(elements.text, "ON");
    EXPECT_FALSE(settings.current_settings.show_node_indices);
    EXPECT_TRUE(settings.current_settings.show_element_indices);

    const int result = run([](DialogHandle& d) {
        dialog_user_click(d, kGridAndScale); // grid off
        dialog_user_click(d, kCancel);
    });
    EXPECT_EQ(result, 2);
    EXPECT_FALSE(settings.current_settings.show_grid_and_scale);
}

TEST_F(SettingsDialogRun, FactorTexts)
{
    struct Row {
        const char* typed;
        bool warning;
        bool is_auto;
        float factor; // when not auto
        const char* shown_after_draw;
    };
    const Row rows[] = {
        {"2.5", false, false, 2.5f, "2.5"},
        {"1.0", false, true, 0, "1.0"},
        {"Auto", false, true, 0, "Auto"},
        {"0.", true, true, 0, "1"},
        {"0", true, true, 0, "1"},
        {".0", true, true, 0, "1"},
        {"0.00", true, true, 0, "1"},   // zero written another way
        {"-0", true, true, 0, "1"},
        {"0e0", true, true, 0, "1"},
        {"auto", true, true, 0, "1"},   // not a number: the comparison is case-sensitive
        {"", true, true, 0, "1"},
        {"-2", true, true, 0, "1"},     // no usable factor
        {"3.5 m", false, false, 3.5f, "3.5 m"},
        {"0.5", false, false, 0.5f, "0.5"},
    };
    for (const Row& row : rows) {
        settings.current_settings.min_size_factor_auto = false;
        settings.current_settings.min_size_factor = 7.0f;
        const std::size_t boxes_before = prompter.message_boxes.size();
        std::string shown;
        run([&](DialogHandle& d) {
            dialog_user_type(d, kFactor, row.typed);
            dialog_user_click(d, kDraw);
            shown = dialog_widget_view(d, kFactor).text;
        });
        const bool warned = prompter.message_boxes.size() > boxes_before;
        EXPECT_EQ(warned, row.warning) << row.typed;
        EXPECT_EQ(settings.current_settings.min_size_factor_auto, row.is_auto) << row.typed;
        if (!row.is_auto) {
            EXPECT_FLOAT_EQ(settings.current_settings.min_size_factor, row.factor) << row.typed;
        }
        if (row.typed == std::string("1.0")) {
            EXPECT_FLOAT_EQ(settings.current_settings.min_size_factor, 7.0f); // kept
        }
        EXPECT_EQ(shown, row.shown_after_draw) << row.typed;
        if (warned) {
            const auto& box = prompter.message_boxes.back();
            EXPECT_EQ(box.text, row.typed == std::string("-2") ? "WARNING: Factor can not be negative!\n\nFactor = 1 has been set."
                                                                : "WARNING: Factor can not equal 0.!\n\nFactor = 1 has been set.");
            EXPECT_EQ(box.caption, "VORAX Message");
            EXPECT_EQ(box.style & mb::kIconMask, mb::kIconWarning);
        }
    }
}

TEST_F(SettingsDialogRun, FactorWarningInRomanianFactorShownWithTwoDecimalsAndAutoChosenFromTheList)
{
    language = UiLanguage::romanian;
    settings.current_settings.min_size_factor_auto = false;
    settings.current_settings.min_size_factor = 2.5f;
    std::string preset;
    run_then_draw([&](DialogHandle& d) {
        preset = dialog_widget_view(d, kFactor).text;
        dialog_user_type(d, kFactor, "0.");
    });
    EXPECT_EQ(preset, "2.50");
    ASSERT_EQ(prompter.message_boxes.size(), 1u);
    EXPECT_EQ(prompter.message_boxes[0].text,
              "ATENTIE: Factor nu poate fi egal cu 0.!\n\nS-a setat Factor = 1.");
    EXPECT_EQ(prompter.message_boxes[0].caption, "Mesaj VORAX");

    settings.current_settings.min_size_factor_auto = false;
    settings.current_settings.min_size_factor = 3.0f;
    run_then_draw([](DialogHandle& d) { dialog_user_select(d, kFactor, 1); });
    EXPECT_TRUE(settings.current_settings.min_size_factor_auto);
}

TEST_F(SettingsDialogRun, SchemesSetTheColours)
{
    run_then_draw([](DialogHandle& d) { dialog_user_select(d, kColorScheme, 2); });
    EXPECT_EQ(settings.color_scheme, ColorScheme::all_black);
    EXPECT_EQ(settings.current_settings.colors, kAllBlackColors);

    run_then_draw([](DialogHandle& d) { dialog_user_select(d, kColorScheme, 1); });
    EXPECT_EQ(settings.current_settings.colors, kStandardColors);
}

TEST_F(SettingsDialogRun, CustomColoursAreChosenAndKept)
{
    const Rgb red = make_rgb(255, 0, 0);
    // Custom opens the Color Scheme dialog; "Line" opens the colour chooser, which answers red.
    prompter.color_answers.push_back(red);
    bool cancel_hidden = false;
    run_then_draw([&](DialogHandle& d) {
        prompter.script_dialog([&](DialogHandle& c) {
            cancel_hidden = !dialog_widget_view(c, color_control::kCancel).visible;
            dialog_user_click(c, color_control::kLineButton);
            dialog_user_click(c, color_control::kOk);
        });
        dialog_user_select(d, kColorScheme, 3);
    });
    EXPECT_TRUE(cancel_hidden);
    EXPECT_EQ(settings.color_scheme, ColorScheme::custom);
    EXPECT_EQ(settings.custom_colors[0], red);
    EXPECT_EQ(settings.current_settings.colors[0], red);
    ASSERT_EQ(prompter.color_requests.size(), 1u);
    EXPECT_EQ(prompter.color_requests[0], kStandardColors[0]);

    // The next time, the chooser starts from the chosen red; a cancelled chooser changes nothing.
    run_then_draw([&](DialogHandle& d) {
        prompter.script_dialog([&](DialogHandle& c) {
            dialog_user_click(c, color_control::kLineButton);
            dialog_user_close(c);
        });
        dialog_user_select(d, kColorScheme, 3);
    });
    ASSERT_EQ(prompter.color_requests.size(), 2u);
    EXPECT_EQ(prompter.color_requests[1], red);
    EXPECT_EQ(settings.custom_colors[0], red);
}

TEST_F(SettingsDialogRun, TheColoursDrawnAreThoseOfTheSchemeShown)
{
    const Rgb red = make_rgb(255, 0, 0);
    prompter.color_answers.push_back(red);
    run([&](DialogHandle& d) {
        prompter.script_dialog([](DialogHandle& c) {
            dialog_user_click(c, color_control::kLineButton);
            dialog_user_click(c, color_control::kOk);
        });
        dialog_user_select(d, kColorScheme, 3);
        dialog_user_click(d, kCancel);
    });
    // The loading throws the cancelled settings away; the scheme stays Custom.
    copy_default_settings(settings);
    int shown = 0;
    run_then_draw([&](DialogHandle& d) { shown = dialog_widget_view(d, kColorScheme).selected; });
    EXPECT_EQ(shown, ColorScheme::custom);
    EXPECT_EQ(settings.current_settings.colors, settings.custom_colors);
    EXPECT_EQ(settings.current_settings.colors[0], red);
}

TEST_F(SettingsDialogRun, AutomaticSizesFollowTheCountsAndTickingAllAgainCountsEveryElement)
{
    load(synthetic_model(150, 1200, 2));
    std::string node_size, element_size;
    bool lists_enabled = true;
    run_then_draw([&](DialogHandle& d) {
        const DialogWidgetView nodes = dialog_widget_view(d, kNodeSize);
        const DialogWidgetView elements = dialog_widget_view(d, kElementSize);
        node_size = nodes.entries.at(static_cast<std::size_t>(nodes.selected - 1));
        element_size = elements.entries.at(static_cast<std::size_t>(elements.selected - 1));
        lists_enabled = nodes.enabled || elements.enabled;
    });
    EXPECT_EQ(settings.current_settings.node_index_size, 5);
    EXPECT_EQ(settings.current_settings.element_index_size, 2);
    EXPECT_EQ(node_size, "14");
    EXPECT_EQ(element_size, "11");
    EXPECT_FALSE(lists_enabled);

    GraphSettings& s = settings.current_settings;
    s.all_nodes = false;
    s.selected_node_count = 3;
    s.selected_element_count = 2; // the graph of a range
    dialog.range_text = "1-3";
    run_then_draw([](DialogHandle& d) { dialog_user_click(d, kAllNodes); });
    EXPECT_TRUE(s.all_nodes);
    EXPECT_EQ(s.selected_element_count, 1200);
    EXPECT_EQ(s.element_index_size, auto_index_size("element", 1200));
}

TEST_F(SettingsDialogRun, ManualSizesAndStyles)
{
    bool buttons_enabled_with_auto = true;
    DialogWidgetView node_bold_auto;
    run_then_draw([&](DialogHandle& d) {
        buttons_enabled_with_auto = dialog_widget_view(d, kNodeBold).enabled;
        node_bold_auto = dialog_widget_view(d, kNodeBold);
        dialog_user_click(d, kStyleAuto); // TYPE Auto off
        dialog_user_click(d, kNodeItalic); // node italic
        dialog_user_click(d, kElementBold); // element bold
        dialog_user_click(d, kSizeAuto); // SIZE Auto off
        dialog_user_select(d, kNodeSize, 11);
        dialog_user_select(d, kElementSize, 1);
    });
    EXPECT_FALSE(buttons_enabled_with_auto);
    EXPECT_TRUE(node_bold_auto.checked);
    const GraphSettings& s = settings.current_settings;
    EXPECT_FALSE(s.index_style_auto);
    EXPECT_TRUE(s.node_index_bold);
    EXPECT_TRUE(s.node_index_italic);
    EXPECT_TRUE(s.element_index_bold);
    EXPECT_FALSE(s.element_index_underline);
    EXPECT_FALSE(s.index_size_auto);
    EXPECT_EQ(s.node_index_size, 11);
    EXPECT_EQ(s.element_index_size, 1);

    // TYPE Auto on again: node bold, all else off, buttons disabled.
    DialogWidgetView italic;
    run_then_draw([&](DialogHandle& d) {
        dialog_user_click(d, kStyleAuto);
        italic = dialog_widget_view(d, kNodeItalic);
    });
    EXPECT_FALSE(italic.enabled);
    EXPECT_FALSE(italic.checked);
    EXPECT_TRUE(settings.current_settings.node_index_bold);
    EXPECT_FALSE(settings.current_settings.node_index_italic);
    EXPECT_FALSE(settings.current_settings.element_index_bold);
}

TEST_F(SettingsDialogRun, StyleButtonsCarryTheIcons)
{
    const std::string icon = std::string(VORAX_SOURCE_DIR) + "/resources/uir/Bold.ico";
    bool has_icon = false;
    prompter.script_dialog([&](DialogHandle& s) {
        has_icon = dialog_widget_view(s, kNodeBold).has_icon
            && dialog_widget_view(s, kElementBold).has_icon
            && !dialog_widget_view(s, kNodeItalic).has_icon;
        dialog_user_click(s, kDraw);
    });
    SettingsDialogContext context{settings, model, dialog, "t", UiLanguage::english,
                                  load_icon_file(icon), {}, {}, {}};
    run_graph_settings_dialog(context);
    EXPECT_TRUE(has_icon);
}

} // namespace
} // namespace vorax
