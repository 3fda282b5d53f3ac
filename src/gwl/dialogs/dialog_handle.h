// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Modal dialog services: dialogs built from templates and driven by control ids.
//
// Contents: selector and event codes; DialogHandle; the operations (init, callbacks, set, get,
// icons, run, free); the helpers that let a test act as the person in front of the dialog.
//
// Life of a dialog: dialog_init -> presets and dialog_set_callback -> dialog_run_modal (the
// callbacks run inside it, on the calling thread) -> dialog_free. Every control value lives in
// the handle: a value set before the run is applied when the window is created, a value set while
// it runs (from a callback) is shown at once, and a value the person changes is in the handle
// before the callback hears of it. Setting a value from code never fires a callback; only what
// the person does (or a test's dialog_user_* call) does.
//
// A control id that the template does not have, or a selector that the control's kind does not
// have, makes an operation return false and change nothing.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gwl/dialogs/dialog_template.h"
#include "gwl/dialogs/icon.h"

namespace vorax::gwl {

// Value selectors: the "selector" argument of the set and get operations. A selector n >= 1
// addresses list entry n.
namespace dialog_selector {
inline constexpr int kDefault = -1;    // check state; text of an edit, static or editable list;
                                       // selected entry of a list
inline constexpr int kCaption = -2;    // the text shown on a check box, button, static or group
inline constexpr int kEnabled = -3;    // whether the control is enabled
inline constexpr int kState = -5;      // check state; selected entry of a list (1-based, 0 none);
                                       // edit text of an editable list
inline constexpr int kEntryCount = -13; // number of entries of a list
} // namespace dialog_selector

// Callback events. A routine attached with kDefault hears the control's natural event: a click
// on a check box or toggle button and a change of a drop-down list's choice arrive as kDefault,
// a text change of an edit field as kDefault, a click on a push button as kButtonClicked, a
// choice in an editable list as kEntryChosen.
namespace dialog_event {
inline constexpr int kDefault = -1;
inline constexpr int kButtonClicked = -4;
inline constexpr int kEditChanged = -7;  // the edit text of an editable list was typed in
inline constexpr int kEntryChosen = -10; // an entry of an editable list was chosen
inline constexpr int kCreated = 0;       // to the dialog's own id: the window was just created
} // namespace dialog_event

// The push buttons that end a dialog, and the results of dialog_run_modal.
inline constexpr int kDialogOk = 1;        // the default button ("DRAW", "OK")
inline constexpr int kDialogCancel = 2;    // "Cancel"; also the window's close button and Escape
inline constexpr int kDialogNotShown = -1; // the dialog could not be created

class DialogHandle;

// routine(dialog, control id, event); the dialog is the handle being run.
using DialogCallback = std::function<void(DialogHandle&, int control_id, int event)>;

// One dialog template with its control values, callbacks and (while it runs) its window. Owned by
// the caller; kept for the whole run and initialised again before every use. Neither copied nor
// moved: its window refers to it.
class DialogHandle {
public:
    DialogHandle();
    ~DialogHandle();
    DialogHandle(const DialogHandle&) = delete;
    DialogHandle& operator=(const DialogHandle&) = delete;

    bool is_initialized() const;
    int template_id() const;                       // 0 when not initialised
    const DialogTemplate* dialog_template() const; // null when not initialised
    bool has_window() const;
    // The push button (1 or 2) that ended the last run or scripted session; 0 while none has.
    int end_id() const;

    struct Impl;
    Impl& impl() { return *impl_; }
    const Impl& impl() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

// Builds the handle's controls from template ":/dialogs/<template_id>.dlg"; a handle in use is
// freed first. False (and the handle left empty) when the template is missing or malformed, or
// when the handle's dialog is on screen.
bool dialog_init(DialogHandle& dialog, int template_id);
// The same from a template already in memory.
bool dialog_init(DialogHandle& dialog, const DialogTemplate& dialog_template);

// Attaches a routine to a control for an event; with the template's own id as control id the
// routine hears the dialog-level event kCreated. An empty routine detaches. False for an unknown
// id or an event the control never fires (statics, group boxes and pictures fire none).
bool dialog_set_callback(DialogHandle& dialog, int control_id, DialogCallback routine,
                         int event = dialog_event::kDefault);

// Check state (kDefault, kState) of a check box or toggle button; enabled flag (kEnabled) of any
// control with an id.
bool dialog_set_logical(DialogHandle& dialog, int control_id, bool value,
                        int selector = dialog_selector::kDefault);
bool dialog_get_logical(const DialogHandle& dialog, int control_id, bool& value,
                        int selector = dialog_selector::kDefault);

// Selected entry (kDefault, kState; 1-based, 0 for none) or number of entries (kEntryCount) of
// a drop-down or editable list. Changing the count keeps the first entries and adds empty ones;
// choosing an entry of an editable list also puts it into the edit text.
bool dialog_set_int(DialogHandle& dialog, int control_id, int value,
                    int selector = dialog_selector::kDefault);
bool dialog_get_int(const DialogHandle& dialog, int control_id, int& value,
                    int selector = dialog_selector::kDefault);

// Texts: the text of a static, edit field, check box, toggle or push button, or group box
// (kDefault; kCaption too, except for an edit field); the edit text of an editable list
// (kDefault, kState); list entry n (n >= 1, up to the number of entries). `length` > 0 cuts the
// text set to that many characters, and pads with blanks or cuts the text read to exactly that
// many; 0 leaves texts as they are. A text set stops at an embedded NUL. Line breaks in a
// static's text may be CR, LF or CR LF.
bool dialog_set_text(DialogHandle& dialog, int control_id, const std::string& text,
                     int selector = dialog_selector::kDefault, int length = 0);
bool dialog_get_text(const DialogHandle& dialog, int control_id, std::string& text,
                     int selector = dialog_selector::kDefault, int length = 0);

// Puts an icon on a toggle or push button; its caption stays its text. False for a null icon or
// a control of another kind. The path form loads the file first.
bool dialog_set_icon(DialogHandle& dialog, int control_id, const IconHandle& icon);
bool dialog_set_icon(DialogHandle& dialog, int control_id, const std::string& icon_file_path);

// Shows the dialog modally (through the prompt seam, so tests can script it) over the frame
// window, or over the dialog on screen when called from a callback; returns the push button that
// ended it (1 or 2), or -1 when the handle is not initialised or its dialog is already on screen.
int dialog_run_modal(DialogHandle& dialog);

// Releases what dialog_init built; the handle can be initialised again. False while the
// dialog's window exists (it cannot be released from inside its own run).
bool dialog_free(DialogHandle& dialog);

// ----- Acting as the person in front of the dialog (tests, scripted runs) ---------------------
//
// A scripted run (a ScriptedPrompter dialog script) creates the real window without a modal loop,
// acts through these helpers, which go through the real widgets so that the same callbacks fire
// as for a person, and destroys the window, returning dialog.end_id().

// A whole scripted session: creates the window, lets `person` act on it, destroys it; returns
// the button that ended it (1 or 2), 0 when `person` left it open, -1 when it could not be
// created. Meant as the body of a scripted prompter's dialog script.
int dialog_script_session(DialogHandle& dialog, const std::function<void(DialogHandle&)>& person);

// Creates the window (applying every value held, then delivering kCreated) and shows it, not
// modally. False when not initialised or a window exists already.
bool dialog_create_window(DialogHandle& dialog);
void dialog_destroy_window(DialogHandle& dialog);

// Clicks a check box, toggle or push button. False when the control does not exist, is disabled
// or hidden, or the dialog has no window or has ended (a person could not click it); the same
// holds for the other dialog_user_* helpers.
bool dialog_user_click(DialogHandle& dialog, int control_id);
// Chooses entry n (1-based) of a drop-down or editable list.
bool dialog_user_select(DialogHandle& dialog, int control_id, int entry);
// Replaces the text of an edit field or the edit text of an editable list as if typed.
bool dialog_user_type(DialogHandle& dialog, int control_id, const std::string& text);
// The window's close button or Escape: ends the dialog with 2 when it has a button 2.
bool dialog_user_close(DialogHandle& dialog);

// What the real widget of a control shows.
struct DialogWidgetView {
    bool exists = false;  // false when the control or the window does not exist
    std::string text;     // caption, text or edit text, as shown (line breaks as LF)
    bool enabled = false;
    bool visible = false; // shown on the screen (not hidden)
    bool checked = false;
    std::vector<std::string> entries; // the entries of a list
    int selected = 0;                 // the current entry of a list, 1-based, 0 for none
    bool has_icon = false;
    bool has_picture = false;
    bool is_default = false;
    PixelRect geometry;   // in the dialog's client area
};
DialogWidgetView dialog_widget_view(const DialogHandle& dialog, int control_id);
// The dialog window's client size and title; {} when it has no window.
PixelRect dialog_window_geometry(const DialogHandle& dialog);
std::string dialog_window_title(const DialogHandle& dialog);

} // namespace vorax::gwl
