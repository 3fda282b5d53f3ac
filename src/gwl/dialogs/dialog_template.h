// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dialog templates as data.
//
// Contents: the control kinds; the template records; the parser of the template text format;
// loading a template from the compiled-in resources; dialog units and their conversion to pixels.
//
// A template is a small text file, resources/dialogs/<id>.dlg, compiled in as ":/dialogs/<id>.dlg".
// Its header lines give the title, the font and the size; every other line is one control:
//
//     title "VORAX: Graph Settings"
//     font "MS Sans Serif" 8
//     size 249 351
//     1002 check  "Z / Y (vertical axis)"  17 33 75 10
//     -    static "Info"                  102 84 134 20  sunken
//     1015 editlist ""                     63 170 35 29  entry "Auto"
//
// A control line holds the id ("-" for a control without one), the kind, the caption in double
// quotes (\n breaks a line, \" and \\ stand for themselves), x, y, width and height in dialog
// units, then any flags: default, hidden, sunken, disabled, entry "TEXT" (repeatable), bitmap N.
// Lines starting with '#' and blank lines are ignored. Nothing here depends on Qt.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gwl/types.h"

namespace vorax::gwl {

enum class ControlKind {
    group_box,     // "group": a frame with a title around other controls
    static_text,       // "static": a text, optionally sunken
    check_box,     // "check"
    toggle_button, // "toggle": a push-like check box that can show an icon
    edit,         // "edit": a one-line edit field
    editable_list, // "editlist": an edit line with its list always shown under it
    drop_down_list, // "droplist": a list that drops down, no typing
    picture,      // "picture": a bitmap from the resources
    push_button,   // "button"
};

// The keyword of a kind in the template text, and back.
std::string_view control_kind_name(ControlKind kind);
std::optional<ControlKind> control_kind_from_name(std::string_view name);

// The id of a control that has none (statics and group boxes that nobody addresses).
inline constexpr int kNoControlId = -1;

struct ControlTemplate {
    int id = kNoControlId;
    ControlKind kind = ControlKind::static_text;
    std::string caption;
    int x = 0; // dialog units
    int y = 0;
    int width = 0;
    int height = 0;
    bool is_default = false; // the default push button, pressed by Enter
    bool hidden = false;
    bool sunken = false;
    bool disabled = false;
    std::vector<std::string> entries; // list entries given by the template
    int bitmap = 0;                   // resource id of a picture's bitmap, 0 for none
};

struct DialogTemplate {
    int id = 0;
    std::string title;
    std::string font_face;
    int font_points = 8;
    int width = 0; // dialog units
    int height = 0;
    std::vector<ControlTemplate> controls;

    // The control with this id, or null.
    const ControlTemplate* find(int control_id) const;
};

// The outcome of parsing: the template, or the reason and the 1-based line it stands on.
struct TemplateParseResult {
    std::optional<DialogTemplate> dialog;
    std::string error;
    int line = 0;
};

// Parses the template text; `template_id` becomes the template's id.
TemplateParseResult parse_dialog_template(std::string_view text, int template_id);

// Reads ":/dialogs/<id>.dlg" from the compiled-in resources; nullopt when it is missing or does
// not parse.
std::optional<DialogTemplate> load_dialog_template(int template_id);

// The resource path of a picture's bitmap, ":/bitmaps/<id>.png".
std::string bitmap_resource_path(int bitmap_id);

// Dialog base units of a font: the average character width and the character height in pixels.
// A horizontal dialog unit is a quarter of the first, a vertical one an eighth of the second.
// Kept fractional: rounding the width of a substitute font to whole pixels would make the
// dialog narrower than its texts need.
struct DialogBaseUnits {
    double char_width = 0.0;
    double char_height = 0.0;
};

// Horizontal and vertical dialog units in pixels, rounded to the nearest pixel.
int dialog_x_to_pixels(int dialog_units, DialogBaseUnits base);
int dialog_y_to_pixels(int dialog_units, DialogBaseUnits base);
PixelRect dialog_rect_to_pixels(const ControlTemplate& control, DialogBaseUnits base);

// The font face that stands in on this system for a face named by a template: the classic
// dialog faces ("MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2") are not installed on Linux
// and become "Liberation Sans", whose metrics are close; other faces are kept.
std::string substitute_font_face(std::string_view face);

// The base units of a template's font as this system draws it (substituted face, its point
// size): the average advance of the 52 Latin letters and the font's line height.
DialogBaseUnits dialog_base_units(const DialogTemplate& dialog);

} // namespace vorax::gwl
