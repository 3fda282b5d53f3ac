// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/dialogs/dialog_handle.h"

#include "core/text.h"
#include "gwl/dialogs/dialog_impl.h"
#include "gwl/prompts.h"

namespace vorax::gwl {

namespace {

namespace sel = dialog_selector;
namespace ev = dialog_event;

// More entries than a list can sensibly hold are refused rather than allocated.
constexpr int kMaxListEntries = 32767;

bool is_list(ControlKind kind)
{
    return kind == ControlKind::drop_down_list || kind == ControlKind::editable_list;
}

bool is_checkable(ControlKind kind)
{
    return kind == ControlKind::check_box || kind == ControlKind::toggle_button;
}

bool is_button(ControlKind kind)
{
    return kind == ControlKind::toggle_button || kind == ControlKind::push_button;
}

// Where a text selector points for a control of this kind.
enum class TextSlot { none, text, entry };

TextSlot text_slot(const ControlState& control, int selector)
{
    const ControlKind kind = control.tmpl.kind;
    if (selector >= 1)
        return is_list(kind) && selector <= static_cast<int>(control.entries.size())
                   ? TextSlot::entry
                   : TextSlot::none;
    switch (kind) {
    case ControlKind::static_text:
    case ControlKind::group_box:
    case ControlKind::check_box:
    case ControlKind::toggle_button:
    case ControlKind::push_button:
        return selector == sel::kDefault || selector == sel::kCaption ? TextSlot::text
                                                                      : TextSlot::none;
    case ControlKind::edit: return selector == sel::kDefault ? TextSlot::text : TextSlot::none;
    case ControlKind::editable_list:
        return selector == sel::kDefault || selector == sel::kState ? TextSlot::text
                                                                    : TextSlot::none;
    case ControlKind::drop_down_list:
    case ControlKind::picture: return TextSlot::none;
    }
    return TextSlot::none;
}

// The event under which a routine attached with `event` is kept, or nullopt when the control
// never fires it. A control's default event is kept under the code it is delivered with.
std::optional<int> stored_event(ControlKind kind, int event)
{
    switch (kind) {
    case ControlKind::check_box:
    case ControlKind::toggle_button:
    case ControlKind::edit:
    case ControlKind::drop_down_list:
        return event == ev::kDefault ? std::optional<int>(ev::kDefault) : std::nullopt;
    case ControlKind::push_button:
        return event == ev::kDefault || event == ev::kButtonClicked
                   ? std::optional<int>(ev::kButtonClicked)
                   : std::nullopt;
    case ControlKind::editable_list:
        if (event == ev::kDefault || event == ev::kEntryChosen)
            return ev::kEntryChosen;
        return event == ev::kEditChanged ? std::optional<int>(ev::kEditChanged) : std::nullopt;
    case ControlKind::static_text:
    case ControlKind::group_box:
    case ControlKind::picture: return std::nullopt;
    }
    return std::nullopt;
}

// An editable list's selection always names the entry its edit line shows; once the two differ
// the selection is dropped, so that choosing that entry again is a change the person can make.
void keep_selection_consistent(ControlState& control)
{
    if (control.tmpl.kind != ControlKind::editable_list || control.selected == 0)
        return;
    if (control.entries[static_cast<std::size_t>(control.selected - 1)] != control.text)
        control.selected = 0;
}

ControlState state_from_template(const ControlTemplate& tmpl)
{
    ControlState state;
    state.tmpl = tmpl;
    state.enabled = !tmpl.disabled;
    state.text = tmpl.caption;
    state.entries = tmpl.entries;
    return state;
}

void reset(DialogHandle::Impl& impl)
{
    impl.tmpl.reset();
    impl.controls.clear();
    impl.callbacks.clear();
    impl.end_id = 0;
    impl.pending = nullptr;
}

} // namespace

ControlState* DialogHandle::Impl::find(int control_id)
{
    if (control_id == kNoControlId)
        return nullptr;
    for (auto& c : controls)
        if (c.tmpl.id == control_id)
            return &c;
    return nullptr;
}

const ControlState* DialogHandle::Impl::find(int control_id) const
{
    return const_cast<Impl*>(this)->find(control_id);
}

DialogHandle::DialogHandle() : impl_(std::make_unique<Impl>()) {}

DialogHandle::~DialogHandle() { dialog_destroy_window(*this); }

bool DialogHandle::is_initialized() const { return impl_->tmpl.has_value(); }
int DialogHandle::template_id() const { return impl_->tmpl ? impl_->tmpl->id : 0; }
const DialogTemplate* DialogHandle::dialog_template() const
{
    return impl_->tmpl ? &*impl_->tmpl : nullptr;
}
bool DialogHandle::has_window() const { return impl_->window != nullptr; }
int DialogHandle::end_id() const { return impl_->end_id; }

bool dialog_init(DialogHandle& dialog, int template_id)
{
    if (dialog.has_window())
        return false;
    const auto tmpl = load_dialog_template(template_id);
    if (!tmpl) {
        reset(dialog.impl());
        return false;
    }
    return dialog_init(dialog, *tmpl);
}

bool dialog_init(DialogHandle& dialog, const DialogTemplate& dialog_template)
{
    if (dialog.has_window())
        return false;
    DialogHandle::Impl& impl = dialog.impl();
    reset(impl);
    impl.tmpl = dialog_template;
    for (const auto& tmpl : dialog_template.controls)
        impl.controls.push_back(state_from_template(tmpl));
    return true;
}

bool dialog_free(DialogHandle& dialog)
{
    if (!dialog.is_initialized() || dialog.has_window())
        return false;
    reset(dialog.impl());
    return true;
}

bool dialog_set_callback(DialogHandle& dialog, int control_id, DialogCallback routine, int event)
{
    DialogHandle::Impl& impl = dialog.impl();
    if (!impl.tmpl)
        return false;
    std::optional<int> key;
    if (control_id == impl.tmpl->id)
        key = event == ev::kDefault || event == ev::kCreated ? std::optional<int>(ev::kCreated)
                                                             : std::nullopt;
    else if (const ControlState* control = impl.find(control_id))
        key = stored_event(control->tmpl.kind, event);
    if (!key)
        return false;
    if (routine)
        impl.callbacks[{control_id, *key}] = std::move(routine);
    else
        impl.callbacks.erase({control_id, *key});
    return true;
}

bool dialog_set_logical(DialogHandle& dialog, int control_id, bool value, int selector)
{
    ControlState* control = dialog.impl().find(control_id);
    if (control == nullptr)
        return false;
    if (selector == sel::kEnabled)
        control->enabled = value;
    else if ((selector == sel::kDefault || selector == sel::kState) &&
             is_checkable(control->tmpl.kind))
        control->checked = value;
    else
        return false;
    apply_control(dialog.impl(), *control);
    return true;
}

bool dialog_get_logical(const DialogHandle& dialog, int control_id, bool& value, int selector)
{
    const ControlState* control = dialog.impl().find(control_id);
    if (control == nullptr)
        return false;
    if (selector == sel::kEnabled)
        value = control->enabled;
    else if ((selector == sel::kDefault || selector == sel::kState) &&
             is_checkable(control->tmpl.kind))
        value = control->checked;
    else
        return false;
    return true;
}

bool dialog_set_int(DialogHandle& dialog, int control_id, int value, int selector)
{
    ControlState* control = dialog.impl().find(control_id);
    if (control == nullptr || !is_list(control->tmpl.kind))
        return false;
    const int count = static_cast<int>(control->entries.size());
    if (selector == sel::kDefault || selector == sel::kState) {
        if (value < 0 || value > count)
            return false;
        control->selected = value;
        if (value > 0 && control->tmpl.kind == ControlKind::editable_list)
            control->text = control->entries[static_cast<std::size_t>(value - 1)];
    } else if (selector == sel::kEntryCount) {
        if (value < 0 || value > kMaxListEntries)
            return false;
        control->entries.resize(static_cast<std::size_t>(value));
        if (control->selected > value)
            control->selected = 0;
    } else {
        return false;
    }
    apply_control(dialog.impl(), *control);
    return true;
}

bool dialog_get_int(const DialogHandle& dialog, int control_id, int& value, int selector)
{
    const ControlState* control = dialog.impl().find(control_id);
    if (control == nullptr || !is_list(control->tmpl.kind))
        return false;
    if (selector == sel::kDefault || selector == sel::kState)
        value = control->selected;
    else if (selector == sel::kEntryCount)
        value = static_cast<int>(control->entries.size());
    else
        return false;
    return true;
}

bool dialog_set_text(DialogHandle& dialog, int control_id, const std::string& text, int selector,
                     int length)
{
    ControlState* control = dialog.impl().find(control_id);
    if (control == nullptr)
        return false;
    const TextSlot slot = text_slot(*control, selector);
    if (slot == TextSlot::none)
        return false;
    std::string value = text.substr(0, text.find('\0'));
    if (length > 0)
        value = cut(value, static_cast<std::size_t>(length));
    if (slot == TextSlot::entry)
        control->entries[static_cast<std::size_t>(selector - 1)] = std::move(value);
    else
        control->text = std::move(value);
    keep_selection_consistent(*control);
    apply_control(dialog.impl(), *control);
    return true;
}

bool dialog_get_text(const DialogHandle& dialog, int control_id, std::string& text, int selector,
                     int length)
{
    const ControlState* control = dialog.impl().find(control_id);
    if (control == nullptr)
        return false;
    const TextSlot slot = text_slot(*control, selector);
    if (slot == TextSlot::none)
        return false;
    const std::string& value = slot == TextSlot::entry
                                   ? control->entries[static_cast<std::size_t>(selector - 1)]
                                   : control->text;
    text = length > 0 ? pad_right(value, static_cast<std::size_t>(length)) : value;
    return true;
}

bool dialog_set_icon(DialogHandle& dialog, int control_id, const IconHandle& icon)
{
    ControlState* control = dialog.impl().find(control_id);
    if (control == nullptr || !is_button(control->tmpl.kind) || icon.is_null())
        return false;
    control->icon = icon;
    apply_control(dialog.impl(), *control);
    return true;
}

bool dialog_set_icon(DialogHandle& dialog, int control_id, const std::string& icon_file_path)
{
    return dialog_set_icon(dialog, control_id, load_icon_file(icon_file_path));
}

int dialog_run_modal(DialogHandle& dialog)
{
    if (!dialog.is_initialized() || dialog.has_window())
        return kDialogNotShown;
    dialog.impl().end_id = 0;
    return prompter().run_modal(dialog);
}

} // namespace vorax::gwl
