// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_dialog.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <cmath>

#include "core/messages.h"
#include "core/number_text.h"
#include "core/text.h"
#include "gwl/dialogs/dialog_handle.h"
#include "gwl/prompts.h"
#include "gwl/types.h"
#include "settings/dialog_controls.h"
#include "settings/node_ranges.h"

namespace vorax {

namespace {

using namespace gwl;

using namespace settings_control;
using color_control::kFirstColorButton;
using color_control::kLastColorButton;

constexpr int kStyleButtons[] = {kNodeBold,    kNodeItalic,   kNodeUnderline,
                                 kElementBold, kElementItalic, kElementUnderline};

constexpr std::size_t kFactorLength = 10;

bool checked(const DialogHandle& d, int id)
{
    bool value = false;
    dialog_get_logical(d, id, value);
    return value;
}

int selected_entry(const DialogHandle& d, int id)
{
    int value = 0;
    dialog_get_int(d, id, value, dialog_selector::kState);
    return value;
}

std::string text_of(const DialogHandle& d, int id)
{
    std::string text;
    dialog_get_text(d, id, text);
    return text;
}

// The entry of a view in the View list, from 1.
int view_entry(GraphView view)
{
    const auto at = std::find(std::begin(kGraphViews), std::end(kGraphViews), view);
    return at == std::end(kGraphViews) ? 1 : static_cast<int>(at - std::begin(kGraphViews)) + 1;
}

// The factor field as the drawing will use it.
enum class FactorKind { automatic, number, invalid };

struct FactorReading {
    FactorKind kind = FactorKind::invalid;
    float value = 1.0f;
};

// "Auto" and the forms of 1 mean no factor. Otherwise the number at the start of the text is the
// factor; a text without a number there, zero however written, and a negative or endless value
// are no factor the drawing could use.
FactorReading read_factor(std::string_view factor_text)
{
    const std::string_view text = trim_right(factor_text);
    if (text == "Auto" || text == "1" || text == "1." || text == "1.0")
        return {FactorKind::automatic, 1.0f};
    std::string_view number = trim_left(text);
    bool negative = false;
    if (!number.empty() && (number.front() == '+' || number.front() == '-')) {
        negative = number.front() == '-';
        number.remove_prefix(1);
    }
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(number.data(), number.data() + number.size(), value,
                        std::chars_format::general);
    if (error != std::errc{} || end == number.data())
        return {};
    if (negative)
        value = -value;
    const auto single = static_cast<float>(value);
    if (!(single > 0.0f) || !std::isfinite(single))
        return {FactorKind::invalid, single}; // the number, for the warning
    return {FactorKind::number, single};
}

// The factor field shows "Auto", or the factor with two decimals.
std::string factor_field_text(const GraphSettings& s)
{
    if (s.min_size_factor_auto)
        return "Auto";
    return std::string(trim_right(trim_left(fixed_format(s.min_size_factor, 10, 2))));
}

class SettingsDialog {
public:
    explicit SettingsDialog(SettingsDialogContext& context) : c_(context) {}

    int run();

private:
    GraphSettings& current() { return c_.settings.current_settings; }

    void on_created(DialogHandle& d, int event);
    void on_settings_changed(DialogHandle& d, int control_id);
    void on_font_settings_changed(DialogHandle& d);
    void on_draw(DialogHandle& d, int event);
    void run_color_scheme_dialog();
    void on_color_button(int control_id, int event);
    void select_index_sizes(DialogHandle& d, int node_count, int element_count);

    SettingsDialogContext& c_;
    DialogHandle dialog_;
};

int SettingsDialog::run()
{
    DialogHandle& d = dialog_;
    if (!dialog_init(d, kSettingsDialogTemplate)) {
        c_.dialog.settings_dialog_result = kDialogNotShown;
        return kDialogNotShown;
    }

    auto changed = [this](DialogHandle& h, int id, int) { on_settings_changed(h, id); };
    auto font_changed = [this](DialogHandle& h, int, int) { on_font_settings_changed(h); };
    dialog_set_callback(d, kSettingsDialogTemplate,
                        [this](DialogHandle& h, int, int event) { on_created(h, event); });
    for (int id : {kReverseX, kReverseY, kReverseVertical, kAllNodes, kRange, kNodeIndices,
                   kElementIndices, kGridAndScale, kColorScheme, kView})
        dialog_set_callback(d, id, changed);
    dialog_set_callback(d, kFactor, changed, dialog_event::kEditChanged);
    dialog_set_callback(d, kFactor, changed, dialog_event::kEntryChosen);
    for (int id : {kStyleAuto, kSizeAuto, kNodeBold, kNodeItalic, kNodeUnderline, kElementBold,
                   kElementItalic, kElementUnderline, kNodeSize, kElementSize})
        dialog_set_callback(d, id, font_changed);
    dialog_set_callback(d, kDraw, [this](DialogHandle& h, int, int event) { on_draw(h, event); },
                        dialog_event::kButtonClicked);

    const GraphSettings& s = current();
    const StructureModel& model = c_.model;
    dialog_set_logical(d, kReverseVertical, s.reverse_vertical);
    dialog_set_logical(d, kReverseY, s.reverse_y);
    dialog_set_logical(d, kReverseX, false);
    dialog_set_logical(d, kAllNodes, s.all_nodes);
    dialog_set_text(d, kRangeLimits, "Range: 1-" + std::to_string(model.node_count) + ".");
    dialog_set_text(d, kInfo,
                    "Node range and nodes, like: 1-7, 13  20\rSeparators: Comma or/and Space(s).");
    if (!s.all_nodes)
        dialog_set_text(d, kRange, std::string(trim_right(c_.dialog.range_text)));
    dialog_set_text(d, kFactor, factor_field_text(s), dialog_selector::kState);
    if (model.NGL == 3) {
        dialog_set_logical(d, kReverseY, true, dialog_selector::kEnabled);
        dialog_set_logical(d, kReverseY, s.reverse_y);
    } else {
        dialog_set_logical(d, kReverseY, false, dialog_selector::kEnabled);
    }
    // A spatial model is seen in any view; a plane one only in its own plane, the oblique entry.
    const bool spatial = model.NGL == 3;
    const int views = spatial ? static_cast<int>(std::size(kGraphViews)) : 1;
    dialog_set_int(d, kView, views, dialog_selector::kEntryCount);
    for (int k = 1; k <= views; ++k)
        dialog_set_text(d, kView, std::string(view_name(kGraphViews[k - 1], c_.language)), k);
    dialog_set_int(d, kView, spatial ? view_entry(s.view) : 1, dialog_selector::kState);
    dialog_set_logical(d, kView, spatial, dialog_selector::kEnabled);
    dialog_set_logical(d, kNodeIndices, s.show_node_indices);
    dialog_set_logical(d, kElementIndices, s.show_element_indices);
    dialog_set_logical(d, kGridAndScale, s.show_grid_and_scale);
    dialog_set_text(d, kTitle, c_.graph_title);

    dialog_set_int(d, kColorScheme, 3, dialog_selector::kEntryCount);
    dialog_set_text(d, kColorScheme, "Standard", 1);
    dialog_set_text(d, kColorScheme, "All Black", 2);
    dialog_set_text(d, kColorScheme, "Custom", 3);
    dialog_set_int(d, kColorScheme, c_.settings.color_scheme, dialog_selector::kState);
    // The colours drawn are those of the scheme shown, whatever reset the settings since the
    // scheme was chosen (a cancelled dialog puts the default colours back, not the scheme).
    current().colors = scheme_colors(c_.settings, c_.settings.color_scheme);

    dialog_set_logical(d, kStyleAuto, s.index_style_auto);
    dialog_set_logical(d, kSizeAuto, s.index_size_auto);
    for (int id : kStyleButtons)
        dialog_set_logical(d, id, !s.index_style_auto, dialog_selector::kEnabled);
    for (int id : {kNodeSize, kElementSize}) {
        dialog_set_logical(d, id, !s.index_size_auto, dialog_selector::kEnabled);
        dialog_set_int(d, id, kIndexFontSizes, dialog_selector::kEntryCount);
        for (int k = 1; k <= kIndexFontSizes; ++k)
            dialog_set_text(d, id, c_.settings.index_font_sizes[static_cast<std::size_t>(k - 1)], k);
    }
    const bool styles[] = {s.node_index_bold,    s.node_index_italic,    s.node_index_underline,
                           s.element_index_bold, s.element_index_italic, s.element_index_underline};
    for (std::size_t i = 0; i < 6; ++i)
        dialog_set_logical(d, kStyleButtons[i], styles[i]);

    if (!s.index_size_auto) {
        dialog_set_int(d, kNodeSize, s.node_index_size, dialog_selector::kState);
        dialog_set_int(d, kElementSize, s.element_index_size, dialog_selector::kState);
    } else if (s.all_nodes) {
        select_index_sizes(d, model.node_count, model.element_count);
    } else {
        select_index_sizes(d, s.selected_node_count, s.selected_element_count);
    }

    // Captions, enabling and stored values agree with the presets before the dialog shows.
    on_settings_changed(d, 0);

    c_.dialog.settings_dialog_result = dialog_run_modal(d);
    dialog_free(d);
    return c_.dialog.settings_dialog_result;
}

void SettingsDialog::select_index_sizes(DialogHandle& d, int node_count, int element_count)
{
    current().node_index_size = auto_index_size("node", node_count);
    current().element_index_size = auto_index_size("element", element_count);
    dialog_set_int(d, kNodeSize, current().node_index_size, dialog_selector::kState);
    dialog_set_int(d, kElementSize, current().element_index_size, dialog_selector::kState);
}

void SettingsDialog::on_created(DialogHandle& d, int event)
{
    if (event != dialog_event::kCreated)
        return;
    dialog_set_icon(d, kNodeBold, c_.bold_icon);
    dialog_set_icon(d, kElementBold, c_.bold_icon);
    dialog_set_icon(d, kNodeItalic, c_.italic_icon);
    dialog_set_icon(d, kElementItalic, c_.italic_icon);
    dialog_set_icon(d, kNodeUnderline, c_.underline_icon);
    dialog_set_icon(d, kElementUnderline, c_.underline_icon);
}

void SettingsDialog::on_settings_changed(DialogHandle& d, int control_id)
{
    GraphSettings& s = current();
    StructureModel& model = c_.model;

    s.reverse_vertical = checked(d, kReverseVertical);
    if (model.NGL == 3) {
        s.reverse_y = checked(d, kReverseY);
        const int entry = selected_entry(d, kView);
        if (entry >= 1 && entry <= static_cast<int>(std::size(kGraphViews)))
            s.view = kGraphViews[entry - 1];
    }
    s.all_nodes = checked(d, kAllNodes);

    if (s.all_nodes) {
        for (Node& node : model.nodes)
            node.selected = true;
        s.selected_node_count = model.node_count;
        s.selected_element_count = model.element_count;
        dialog_set_logical(d, kRange, false, dialog_selector::kEnabled);
        dialog_set_text(d, kAllNodes, "Yes", dialog_selector::kCaption);
    } else {
        for (Node& node : model.nodes)
            node.selected = false;
        dialog_set_text(d, kAllNodes, "No", dialog_selector::kCaption);
        dialog_set_logical(d, kRange, true, dialog_selector::kEnabled);
        c_.dialog.range_text = cut(text_of(d, kRange), kRangeTextLength);
    }

    const std::pair<bool*, int> switches[] = {{&s.show_node_indices, kNodeIndices},
                                              {&s.show_element_indices, kElementIndices},
                                              {&s.show_grid_and_scale, kGridAndScale}};
    for (const auto& [field, id] : switches) {
        *field = checked(d, id);
        dialog_set_text(d, id, *field ? "ON" : "OFF", dialog_selector::kCaption);
    }

    if (control_id == kColorScheme) {
        SettingsState& st = c_.settings;
        st.color_scheme = selected_entry(d, kColorScheme);
        // The custom scheme is edited first; an entry that names no scheme draws in the standard
        // one, and says so.
        if (st.color_scheme == ColorScheme::custom)
            run_color_scheme_dialog();
        const bool known = st.color_scheme == ColorScheme::standard
                           || st.color_scheme == ColorScheme::all_black
                           || st.color_scheme == ColorScheme::custom;
        if (!known && c_.write_info)
            c_.write_info("Color: Standard");
        s.colors = scheme_colors(st, st.color_scheme);
    }

    // The factor is taken as typed. A text that gives no usable factor is left for DRAW to
    // report: it is often only half typed ("0" on the way to "0.5").
    c_.dialog.factor_text = cut(text_of(d, kFactor), kFactorLength);
    const FactorReading factor = read_factor(c_.dialog.factor_text);
    if (factor.kind == FactorKind::automatic) {
        s.min_size_factor_auto = true;
    } else if (factor.kind == FactorKind::number) {
        s.min_size_factor_auto = false;
        s.min_size_factor = factor.value;
    }

    on_font_settings_changed(d);
}

void SettingsDialog::on_draw(DialogHandle& d, int event)
{
    if (event != dialog_event::kButtonClicked)
        return;
    const std::string text = text_of(d, kFactor);
    const FactorReading factor = read_factor(text);
    if (factor.kind != FactorKind::invalid)
        return;
    current().min_size_factor_auto = true;
    // A negative factor is said to be one; zero, and a text without a number, get the words
    // for zero.
    const bool negative = factor.value < 0.0f && std::isfinite(factor.value);
    prompter().message_box(message(negative ? Message::factor_negative_warning : Message::factor_warning, c_.language),
                           message(Message::message_caption, c_.language),
                           mb::kOk | mb::kIconWarning);
    dialog_set_text(d, kFactor, "1", dialog_selector::kState);
    c_.dialog.factor_text = "1";
}

void SettingsDialog::on_font_settings_changed(DialogHandle& d)
{
    GraphSettings& s = current();
    s.index_style_auto = checked(d, kStyleAuto);
    s.index_size_auto = checked(d, kSizeAuto);
    for (int id : kStyleButtons)
        dialog_set_logical(d, id, !s.index_style_auto, dialog_selector::kEnabled);
    for (int id : {kNodeSize, kElementSize})
        dialog_set_logical(d, id, !s.index_size_auto, dialog_selector::kEnabled);

    bool* fields[] = {&s.node_index_bold,    &s.node_index_italic,    &s.node_index_underline,
                      &s.element_index_bold, &s.element_index_italic, &s.element_index_underline};
    for (std::size_t i = 0; i < 6; ++i) {
        if (s.index_style_auto) {
            *fields[i] = i == 0; // node numbers bold, nothing else
            dialog_set_logical(d, kStyleButtons[i], *fields[i]);
        } else {
            *fields[i] = checked(d, kStyleButtons[i]);
        }
    }

    if (!s.index_size_auto) {
        s.node_index_size = selected_entry(d, kNodeSize);
        s.element_index_size = selected_entry(d, kElementSize);
    } else {
        select_index_sizes(d, s.selected_node_count, s.selected_element_count);
    }
}

void SettingsDialog::run_color_scheme_dialog()
{
    DialogHandle colors;
    if (!dialog_init(colors, kColorSchemeDialogTemplate))
        return;
    for (int id = kFirstColorButton; id <= kLastColorButton; ++id)
        dialog_set_callback(
            colors, id, [this](DialogHandle&, int control_id, int event) {
                on_color_button(control_id, event);
            },
            dialog_event::kButtonClicked);
    // Colours chosen stay chosen, however the dialog is closed.
    dialog_run_modal(colors);
    dialog_free(colors);
}

void SettingsDialog::on_color_button(int control_id, int event)
{
    if (event != dialog_event::kButtonClicked)
        return;
    const auto role = static_cast<std::size_t>(control_id - kFirstColorButton);
    Rgb& color = c_.settings.custom_colors[role];
    if (const auto chosen = prompter().choose_color(color, c_.dialog.chooser_custom_colors))
        color = *chosen;
}

} // namespace

int run_graph_settings_dialog(SettingsDialogContext& context)
{
    return SettingsDialog(context).run();
}

} // namespace vorax
