// SPDX-License-Identifier: GPL-3.0-or-later
// The window of a DialogHandle: its widgets, the delivery of what the person does to the
// callbacks, the end of a run, and the helpers that let tests act as the person.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <type_traits>

#include "gwl/dialogs/dialog_impl.h"
#include "gwl/dialogs/icon_data.h"
#include "gwl/platform/qt_text.h"
#include "gwl/prompts.h"

namespace vorax::gwl {

namespace {

namespace ev = dialog_event;

// Windows of the dialogs that exist, oldest first; a new dialog is owned by the newest, so that
// a dialog run from a callback stays over the dialog that ran it.
std::vector<QPointer<QDialog>>& live_windows()
{
    static std::vector<QPointer<QDialog>> windows;
    return windows;
}

QWidget* parent_for_new_dialog()
{
    auto& windows = live_windows();
    windows.erase(std::remove(windows.begin(), windows.end(), nullptr), windows.end());
    if (!windows.empty())
        return windows.back();
    return owner_window();
}

// Raises a counter for the length of a scope: the signals being handled (so that the window is
// not deleted under its own feet), or the values being pushed into widgets.
class CountingScope {
public:
    explicit CountingScope(int& counter) : counter_(counter) { ++counter_; }
    ~CountingScope() { --counter_; }
    CountingScope(const CountingScope&) = delete;
    CountingScope& operator=(const CountingScope&) = delete;

private:
    int& counter_;
};

void end_dialog(DialogHandle::Impl& impl, int id)
{
    impl.end_id = id;
    if (impl.window != nullptr)
        impl.window->done(id);
}

// Calls the routine attached for (id, event). Exceptions may not travel through Qt's signal
// machinery: one thrown by a routine is kept, the dialog ends, and the exception is thrown
// again where the run or the scripted action returns.
void deliver(DialogHandle& dialog, int control_id, int event)
{
    DialogHandle::Impl& impl = dialog.impl();
    if (impl.pending)
        return;
    const auto found = impl.callbacks.find({control_id, event});
    if (found == impl.callbacks.end())
        return;
    const DialogCallback routine = found->second; // the routine may replace itself
    try {
        routine(dialog, control_id, event);
    } catch (...) {
        impl.pending = std::current_exception();
        end_dialog(impl, kDialogCancel);
    }
}

void press_push_button(DialogHandle& dialog, int control_id)
{
    deliver(dialog, control_id, ev::kButtonClicked);
    if (dialog.impl().pending)
        return;
    if (control_id == kDialogOk || control_id == kDialogCancel)
        end_dialog(dialog.impl(), control_id);
}

// The window's close button and Escape count as "Cancel" when there is one (hidden or not);
// a dialog without button 2 can only be ended by its button 1.
class DialogWindow final : public QDialog {
public:
    DialogWindow(DialogHandle& dialog, QWidget* parent) : QDialog(parent), dialog_(dialog) {}

    void reject() override
    {
        const ControlState* cancel = dialog_.impl().find(kDialogCancel);
        if (cancel == nullptr || cancel->tmpl.kind != ControlKind::push_button)
            return;
        CountingScope scope(dialog_.impl().in_handler);
        press_push_button(dialog_, kDialogCancel);
    }

private:
    DialogHandle& dialog_;
};

// ---- The widget of each kind of control. Each builder connects what the person does to the
// control's state and to the routine attached to it.

QWidget* make_static(const ControlState& control, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (control.tmpl.sunken) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // A framed label indents by half an 'x' from the top as well, which would push a
        // one-line text out of a box one line high.
        label->setIndent(1);
    }
    return label;
}

QWidget* make_picture(const ControlState& control, QWidget* parent, const PixelRect& r)
{
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    QPixmap pixmap(qt_text(bitmap_resource_path(control.tmpl.bitmap)));
    if (!pixmap.isNull() && (pixmap.width() > r.width || pixmap.height() > r.height))
        pixmap = pixmap.scaled(r.width, r.height, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    label->setPixmap(pixmap);
    return label;
}

// A check box, or a toggle button: a push-like check box.
QWidget* make_check(DialogHandle& dialog, ControlState& control, QWidget* parent)
{
    QAbstractButton* button = nullptr;
    if (control.tmpl.kind == ControlKind::check_box) {
        button = new QCheckBox(parent);
    } else {
        button = new QToolButton(parent);
        button->setCheckable(true);
    }
    QObject::connect(button, &QAbstractButton::clicked, button, [&dialog, &control](bool checked) {
        CountingScope scope(dialog.impl().in_handler);
        control.checked = checked;
        deliver(dialog, control.tmpl.id, ev::kDefault);
    });
    return button;
}

QWidget* make_push_button(DialogHandle& dialog, const ControlState& control, QWidget* parent)
{
    auto* button = new QPushButton(parent);
    button->setDefault(control.tmpl.is_default);
    QObject::connect(button, &QPushButton::clicked, button, [&dialog, id = control.tmpl.id] {
        CountingScope scope(dialog.impl().in_handler);
        press_push_button(dialog, id);
    });
    return button;
}

QWidget* make_edit(DialogHandle& dialog, ControlState& control, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [&dialog, &control](const QString& text) {
        CountingScope scope(dialog.impl().in_handler);
        control.text = program_text(text);
        deliver(dialog, control.tmpl.id, ev::kDefault);
    });
    control.edit = edit;
    return edit;
}

// The edit line on top, the list under it, always shown.
QWidget* make_editable_list(DialogHandle& dialog, ControlState& control, QWidget* parent,
                            DialogBaseUnits base, const PixelRect& r)
{
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* edit = new QLineEdit(box);
    edit->setFixedHeight(std::min(dialog_y_to_pixels(12, base), r.height));
    auto* list = new QListWidget(box);
    // Without focus the view never makes its first entry current on its own, which would look
    // like a choice the person made.
    list->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(edit);
    layout->addWidget(list);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [&dialog, &control](const QString& text) {
        CountingScope scope(dialog.impl().in_handler);
        control.text = program_text(text);
        control.selected = 0;
        apply_control(dialog.impl(), control);
        deliver(dialog, control.tmpl.id, ev::kEditChanged);
    });
    QObject::connect(list, &QListWidget::currentRowChanged, list, [&dialog, &control](int row) {
        DialogHandle::Impl& impl = dialog.impl();
        if (impl.applying > 0 || row < 0 || row >= static_cast<int>(control.entries.size()))
            return;
        CountingScope scope(impl.in_handler);
        control.selected = row + 1;
        control.text = control.entries[static_cast<std::size_t>(row)];
        apply_control(impl, control);
        deliver(dialog, control.tmpl.id, ev::kEntryChosen);
    });
    control.edit = edit;
    control.list = list;
    return box;
}

QWidget* make_drop_down_list(DialogHandle& dialog, ControlState& control, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    QObject::connect(combo, &QComboBox::activated, combo, [&dialog, &control](int index) {
        CountingScope scope(dialog.impl().in_handler);
        control.selected = index + 1;
        deliver(dialog, control.tmpl.id, ev::kDefault);
    });
    return combo;
}

QWidget* make_kind_widget(DialogHandle& dialog, ControlState& control, QWidget* parent,
                          DialogBaseUnits base, const PixelRect& r)
{
    switch (control.tmpl.kind) {
    case ControlKind::group_box: return new QGroupBox(parent);
    case ControlKind::static_text: return make_static(control, parent);
    case ControlKind::picture: return make_picture(control, parent, r);
    case ControlKind::check_box:
    case ControlKind::toggle_button: return make_check(dialog, control, parent);
    case ControlKind::push_button: return make_push_button(dialog, control, parent);
    case ControlKind::edit: return make_edit(dialog, control, parent);
    case ControlKind::editable_list: return make_editable_list(dialog, control, parent, base, r);
    case ControlKind::drop_down_list: return make_drop_down_list(dialog, control, parent);
    }
    return new QWidget(parent);
}

// The control's widget, placed as its template says and showing its state.
QWidget* make_widget(DialogHandle& dialog, ControlState& control, QWidget* parent,
                     DialogBaseUnits base)
{
    const PixelRect r = dialog_rect_to_pixels(control.tmpl, base);
    QWidget* widget = make_kind_widget(dialog, control, parent, base, r);
    int height = r.height;
    // The template's height of a drop-down list includes its dropped list; closed, it is as tall
    // as the style draws it.
    if (control.tmpl.kind == ControlKind::drop_down_list)
        height = std::min(r.height, widget->sizeHint().height());
    widget->setGeometry(r.x, r.y, r.width, height);
    if (control.tmpl.hidden)
        widget->hide();
    control.widget = widget;
    apply_control(dialog.impl(), control);
    return widget;
}

// ---- Showing a control's state in its widget, one step per kind.

void show_icon(const ControlState& control, QAbstractButton* button)
{
    if (control.icon.is_null())
        return;
    const QImage& image = control.icon.data()->image;
    button->setIcon(QIcon(QPixmap::fromImage(image)));
    button->setIconSize(image.size().boundedTo(button->size()));
}

void show_toggle_button(const ControlState& control, QToolButton* button)
{
    button->setText(qt_text(control.text));
    button->setChecked(control.checked);
    show_icon(control, button);
    button->setToolButtonStyle(control.icon.is_null() ? Qt::ToolButtonTextOnly
                                                      : Qt::ToolButtonIconOnly);
}

// The entries of a list or drop-down list, replaced only when they changed: replacing them
// would lose the person's place.
template <class ListWidget>
void show_entries(const ControlState& control, ListWidget* widget)
{
    QStringList entries;
    for (const auto& e : control.entries)
        entries << qt_text(e);
    QStringList shown;
    for (int i = 0; i < widget->count(); ++i) {
        if constexpr (std::is_same_v<ListWidget, QComboBox>)
            shown << widget->itemText(i);
        else
            shown << widget->item(i)->text();
    }
    if (shown != entries) {
        widget->clear();
        widget->addItems(entries);
    }
}

void show_edit(const ControlState& control)
{
    // Setting an unchanged text would move the person's cursor.
    const QString text = qt_text(control.text);
    if (control.edit->text() != text)
        control.edit->setText(text);
    if (control.list != nullptr) {
        show_entries(control, control.list.data());
        control.list->setCurrentRow(control.selected - 1);
    }
}

void show_drop_down_list(const ControlState& control, QComboBox* combo)
{
    show_entries(control, combo);
    combo->setCurrentIndex(control.selected - 1);
}

void show_state(const ControlState& control, QWidget* widget)
{
    switch (control.tmpl.kind) {
    case ControlKind::group_box:
        static_cast<QGroupBox*>(widget)->setTitle(qt_text(control.text));
        break;
    case ControlKind::static_text:
        static_cast<QLabel*>(widget)->setText(qt_lines(control.text));
        break;
    case ControlKind::picture: break;
    case ControlKind::check_box: {
        auto* box = static_cast<QCheckBox*>(widget);
        box->setText(qt_text(control.text));
        box->setChecked(control.checked);
        break;
    }
    case ControlKind::toggle_button:
        show_toggle_button(control, static_cast<QToolButton*>(widget));
        break;
    case ControlKind::push_button: {
        auto* button = static_cast<QPushButton*>(widget);
        button->setText(qt_text(control.text));
        show_icon(control, button);
        break;
    }
    case ControlKind::edit:
    case ControlKind::editable_list: show_edit(control); break;
    case ControlKind::drop_down_list:
        show_drop_down_list(control, static_cast<QComboBox*>(widget));
        break;
    }
}

} // namespace

void apply_control(DialogHandle::Impl& impl, ControlState& control)
{
    QWidget* widget = control.widget;
    if (widget == nullptr)
        return;
    CountingScope scope(impl.applying);
    show_state(control, widget);
    widget->setEnabled(control.enabled);
}

bool create_dialog_window(DialogHandle& dialog)
{
    DialogHandle::Impl& impl = dialog.impl();
    if (!impl.tmpl || impl.window != nullptr)
        return false;
    // Widgets need a widget application; a headless run has none and cannot show a dialog.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return false;
    const DialogTemplate& tmpl = *impl.tmpl;
    auto* window = new DialogWindow(dialog, parent_for_new_dialog());
    QFont font(qt_text(substitute_font_face(tmpl.font_face)));
    font.setPointSize(tmpl.font_points);
    window->setFont(font);
    window->setWindowTitle(qt_text(tmpl.title));
    const DialogBaseUnits base = dialog_base_units(tmpl);
    window->setFixedSize(dialog_x_to_pixels(tmpl.width, base), dialog_y_to_pixels(tmpl.height, base));
    impl.window = window;
    impl.end_id = 0;
    live_windows().push_back(window);
    for (auto& control : impl.controls)
        make_widget(dialog, control, window, base);
    deliver(dialog, tmpl.id, ev::kCreated);
    return true;
}

void rethrow_pending(DialogHandle& dialog)
{
    if (dialog.impl().running_modal)
        return;
    if (std::exception_ptr pending = std::exchange(dialog.impl().pending, nullptr))
        std::rethrow_exception(pending);
}

bool dialog_create_window(DialogHandle& dialog)
{
    if (!create_dialog_window(dialog))
        return false;
    dialog.impl().window->show();
    rethrow_pending(dialog);
    return true;
}

int dialog_script_session(DialogHandle& dialog, const std::function<void(DialogHandle&)>& person)
{
    if (!dialog_create_window(dialog))
        return kDialogNotShown;
    try {
        person(dialog);
    } catch (...) {
        dialog_destroy_window(dialog);
        throw;
    }
    dialog_destroy_window(dialog);
    return dialog.end_id();
}

void dialog_destroy_window(DialogHandle& dialog)
{
    DialogHandle::Impl& impl = dialog.impl();
    QDialog* window = impl.window;
    if (window == nullptr)
        return;
    impl.window = nullptr;
    for (auto& control : impl.controls) {
        control.widget = nullptr;
        control.edit = nullptr;
        control.list = nullptr;
    }
    if (impl.in_handler > 0) {
        window->hide();
        window->deleteLater();
    } else {
        delete window;
    }
}

namespace {

// The control's widget when a person could use it: the window is still up and the control is
// enabled and not hidden.
ControlState* usable_control(DialogHandle& dialog, int control_id)
{
    DialogHandle::Impl& impl = dialog.impl();
    ControlState* control = impl.find(control_id);
    if (control == nullptr || control->widget == nullptr || impl.window == nullptr ||
        impl.end_id != 0)
        return nullptr;
    if (!control->widget->isEnabled() || !control->widget->isVisibleTo(impl.window))
        return nullptr;
    return control;
}

} // namespace

bool dialog_user_click(DialogHandle& dialog, int control_id)
{
    ControlState* control = usable_control(dialog, control_id);
    if (control == nullptr)
        return false;
    auto* button = qobject_cast<QAbstractButton*>(control->widget.data());
    if (button == nullptr)
        return false;
    button->click();
    rethrow_pending(dialog);
    return true;
}

bool dialog_user_select(DialogHandle& dialog, int control_id, int entry)
{
    ControlState* control = usable_control(dialog, control_id);
    if (control == nullptr || entry < 1 || entry > static_cast<int>(control->entries.size()))
        return false;
    if (control->list != nullptr) {
        control->list->setCurrentRow(entry - 1);
    } else if (auto* combo = qobject_cast<QComboBox*>(control->widget.data())) {
        combo->setCurrentIndex(entry - 1);
        emit combo->activated(entry - 1);
    } else {
        return false;
    }
    rethrow_pending(dialog);
    return true;
}

bool dialog_user_type(DialogHandle& dialog, int control_id, const std::string& text)
{
    ControlState* control = usable_control(dialog, control_id);
    if (control == nullptr || control->edit == nullptr)
        return false;
    const QString typed = qt_text(text);
    control->edit->setText(typed);
    emit control->edit->textEdited(typed);
    rethrow_pending(dialog);
    return true;
}

bool dialog_user_close(DialogHandle& dialog)
{
    QDialog* window = dialog.impl().window;
    if (window == nullptr || dialog.impl().end_id != 0)
        return false;
    window->reject();
    rethrow_pending(dialog);
    return true;
}

DialogWidgetView dialog_widget_view(const DialogHandle& dialog, int control_id)
{
    DialogWidgetView view;
    const DialogHandle::Impl& impl = dialog.impl();
    const ControlState* control = impl.find(control_id);
    if (control == nullptr || control->widget == nullptr || impl.window == nullptr)
        return view;
    const QWidget* widget = control->widget;
    view.exists = true;
    view.enabled = widget->isEnabled();
    view.visible = widget->isVisibleTo(impl.window);
    const QRect g = widget->geometry();
    view.geometry = {g.x(), g.y(), g.width(), g.height()};

    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        view.text = program_text(button->text());
        view.checked = button->isChecked();
        view.has_icon = !button->icon().isNull();
        if (const auto* push = qobject_cast<const QPushButton*>(widget))
            view.is_default = push->isDefault();
    } else if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        view.text = program_text(label->text());
        view.has_picture = !label->pixmap().isNull();
    } else if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        view.text = program_text(group->title());
    } else if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
        view.text = program_text(combo->currentText());
        for (int i = 0; i < combo->count(); ++i)
            view.entries.push_back(program_text(combo->itemText(i)));
        view.selected = combo->currentIndex() + 1;
    }
    if (control->edit != nullptr)
        view.text = program_text(control->edit->text());
    if (control->list != nullptr) {
        for (int i = 0; i < control->list->count(); ++i)
            view.entries.push_back(program_text(control->list->item(i)->text()));
        view.selected = control->list->currentRow() + 1;
    }
    return view;
}

PixelRect dialog_window_geometry(const DialogHandle& dialog)
{
    const QDialog* window = dialog.impl().window;
    if (window == nullptr)
        return {};
    return {window->x(), window->y(), window->width(), window->height()};
}

std::string dialog_window_title(const DialogHandle& dialog)
{
    const QDialog* window = dialog.impl().window;
    return window != nullptr ? program_text(window->windowTitle()) : std::string();
}

int run_dialog_window_modal(DialogHandle& dialog)
{
    DialogHandle::Impl& impl = dialog.impl();
    if (!create_dialog_window(dialog))
        return kDialogNotShown;
    if (!impl.pending && impl.end_id == 0) {
        impl.running_modal = true;
        impl.window->exec();
        impl.running_modal = false;
    }
    // An event loop ended from outside (the program quitting) counts as Cancel.
    const int result = impl.end_id != 0 ? impl.end_id : kDialogCancel;
    impl.end_id = result;
    dialog_destroy_window(dialog);
    rethrow_pending(dialog);
    return result;
}

} // namespace vorax::gwl
