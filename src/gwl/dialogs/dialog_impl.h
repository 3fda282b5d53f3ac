// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Inside a DialogHandle: the value of every control, the callbacks and the window while it
// exists. For the layer's own files (dialog_handle.cpp, dialog_window.cpp, prompts_dialog.cpp).

#include <QDialog>
#include <QPointer>

#include <exception>
#include <map>
#include <optional>
#include <utility>

#include "gwl/dialogs/dialog_handle.h"

class QLineEdit;
class QListWidget;

namespace vorax::gwl {

// One control: what its template says, the values held for it and, while the window exists,
// its widgets.
struct ControlState {
    ControlTemplate tmpl;
    bool checked = false;
    bool enabled = true;
    std::string text; // caption, text, or edit text of an editable list
    std::vector<std::string> entries;
    int selected = 0; // 1-based, 0 for none
    IconHandle icon;

    QPointer<QWidget> widget;     // the control's outer widget
    QPointer<QLineEdit> edit;     // the edit line of an edit field or editable list
    QPointer<QListWidget> list;   // the list of an editable list
};

struct DialogHandle::Impl {
    std::optional<DialogTemplate> tmpl;
    std::vector<ControlState> controls;
    std::map<std::pair<int, int>, DialogCallback> callbacks; // by (control id, event)
    QPointer<QDialog> window;
    int end_id = 0;
    bool running_modal = false; // inside run_dialog_window_modal's event loop
    int applying = 0;      // > 0 while values are pushed into widgets: their signals are not the
                           // person's doing
    int in_handler = 0;    // > 0 while a widget signal is being handled
    std::exception_ptr pending; // thrown by a callback; rethrown once Qt is out of the way

    ControlState* find(int control_id);
    const ControlState* find(int control_id) const;
};

// Pushes the values held for a control into its widgets, if the window exists.
void apply_control(DialogHandle::Impl& impl, ControlState& control);

// Builds the window with every control's values and delivers kCreated; does not show it.
bool create_dialog_window(DialogHandle& dialog);

// The real run: creates the window, shows it modally until button 1 or 2 ends it, destroys it;
// returns that id, or -1 when the window cannot be created.
int run_dialog_window_modal(DialogHandle& dialog);

// Rethrows, once, what a callback threw while Qt was calling it; during a modal run the run
// itself rethrows it once its event loop has ended.
void rethrow_pending(DialogHandle& dialog);

} // namespace vorax::gwl
