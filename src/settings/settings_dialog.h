// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Graph Settings" dialog (template 101) and the nested "Color Scheme" dialog (template 108).
//
// The dialog shows the current settings and the loaded model's node count, and its callbacks
// write every change straight back into the current settings. run_graph_settings_dialog returns
// the button that closed it: 1 "DRAW", 2 "Cancel" (-1 when it could not be shown).

#include <array>
#include <functional>
#include <string>

#include "core/color.h"
#include "core/language.h"
#include "gwl/dialogs/icon.h"
#include "model/structure_model.h"
#include "settings/dialog_controls.h"
#include "settings/graph_settings.h"

namespace vorax {


// What the dialogs keep between their runs.
struct SettingsDialogState {
    int settings_dialog_result = 0; // how it ended: gwl::kDialogOk (DRAW), kDialogCancel, kDialogNotShown
    std::string range_text;         // the "Range" field, at most 255 characters
    std::string factor_text;        // the factor field as last read, at most 10 characters
    std::array<Rgb, 16> chooser_custom_colors{}; // the colour chooser's custom row, all black at first
};

// What one run of the dialog reads and writes.
struct SettingsDialogContext {
    SettingsState& settings;
    StructureModel& model;
    SettingsDialogState& dialog;
    std::string graph_title;
    UiLanguage language = UiLanguage::english;
    gwl::IconHandle bold_icon;
    gwl::IconHandle italic_icon;
    gwl::IconHandle underline_icon;
    std::function<void(const std::string& line)> write_info; // a line to the info window
};

// Runs the Graph Settings dialog once; sets and returns settings_dialog_result.
int run_graph_settings_dialog(SettingsDialogContext& context);

} // namespace vorax
