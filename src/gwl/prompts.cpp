// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/prompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QVBoxLayout>

#include "core/program_exit.h"
#include "gwl/dialogs/dialog_impl.h"
#include "gwl/platform/file_names.h"
#include "gwl/platform/qt_text.h"
#include "gwl/windows/graphics_window.h"
#include "gwl/windows/text_window.h"

namespace vorax::gwl {

namespace {

QtPrompter& qt_prompter()
{
    static QtPrompter instance;
    return instance;
}

Prompter* installed_prompter = nullptr;
QPointer<QWidget> owner;

struct ButtonSet {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton default_button;
    QMessageBox::StandardButton escape_button;
};

ButtonSet buttons_for(unsigned style)
{
    switch (style & mb::kButtonMask) {
    case 0x1: return {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::Cancel};
    case 0x2:
        return {QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, QMessageBox::Abort,
                QMessageBox::Abort};
    case 0x3:
        return {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes,
                QMessageBox::Cancel};
    case 0x4: return {QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::No};
    case 0x5:
        return {QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry, QMessageBox::Cancel};
    default: return {QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok};
    }
}

QMessageBox::Icon icon_for(unsigned style)
{
    switch (style & mb::kIconMask) {
    case mb::kIconError: return QMessageBox::Critical;
    case mb::kIconQuestion: return QMessageBox::Question;
    case mb::kIconWarning: return QMessageBox::Warning;
    case mb::kIconInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

int button_id(int qt_button)
{
    switch (qt_button) {
    case QMessageBox::Ok: return mb::kIdOk;
    case QMessageBox::Cancel: return mb::kIdCancel;
    case QMessageBox::Abort: return 3;
    case QMessageBox::Retry: return mb::kIdRetry;
    case QMessageBox::Ignore: return 5;
    case QMessageBox::Yes: return mb::kIdYes;
    case QMessageBox::No: return mb::kIdNo;
    default: return mb::kIdCancel;
    }
}

// A text too tall for the screen is shown in a scrollable field instead of a plain box.
bool too_tall_for_screen(const QString& text)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return false;
    const int lines = static_cast<int>(text.count(QLatin1Char('\n'))) + 1;
    const int line_height = QFontMetrics(QApplication::font()).lineSpacing();
    return lines * line_height + 150 > screen->availableGeometry().height();
}

int scrolling_message_box(const QString& text, const QString& caption, const ButtonSet& set)
{
    QDialog dialog(owner_window());
    dialog.setWindowTitle(caption);
    auto* layout = new QVBoxLayout(&dialog);
    auto* field = new QPlainTextEdit(text, &dialog);
    field->setReadOnly(true);
    layout->addWidget(field);
    auto* box = new QDialogButtonBox(&dialog);
    int pressed = button_id(set.escape_button);
    for (auto b : {QMessageBox::Ok, QMessageBox::Cancel, QMessageBox::Abort, QMessageBox::Retry,
                   QMessageBox::Ignore, QMessageBox::Yes, QMessageBox::No}) {
        if (set.buttons.testFlag(b)) {
            auto* button = box->addButton(static_cast<QDialogButtonBox::StandardButton>(b));
            QObject::connect(button, &QPushButton::clicked, &dialog, [&pressed, &dialog, b] {
                pressed = button_id(b);
                dialog.done(QDialog::Accepted);
            });
        }
    }
    layout->addWidget(box);
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen != nullptr)
        dialog.resize(screen->availableGeometry().width() / 2,
                      screen->availableGeometry().height() * 2 / 3);
    dialog.exec();
    return pressed;
}

// The open-file dialog. "Path must exist" asks for an existing folder only: a missing file in
// an existing folder comes back to the program, which reports it in its own words. A name in a
// missing folder keeps the dialog open with a warning.
class OpenFileDialog final : public QFileDialog {
public:
    OpenFileDialog(const QString& caption, const QString& folder, bool path_must_exist)
        : QFileDialog(nullptr, caption, folder), path_must_exist_(path_must_exist)
    {
        setAcceptMode(QFileDialog::AcceptOpen);
        setFileMode(QFileDialog::AnyFile);
    }

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (path_must_exist_ && !files.isEmpty()) {
            const QFileInfo name(files.constFirst());
            if (!name.isDir() && !name.absoluteDir().exists()) {
                QMessageBox::warning(this, windowTitle(),
                                     QStringLiteral("%1\nPath not found.\nPlease verify the "
                                                    "correct path was given.")
                                         .arg(QDir::toNativeSeparators(name.absolutePath())));
                return;
            }
        }
        QFileDialog::accept();
    }

private:
    bool path_must_exist_;
};

} // namespace

Prompter& prompter()
{
    return installed_prompter != nullptr ? *installed_prompter : qt_prompter();
}

void set_prompter(Prompter* p) { installed_prompter = p; }

QWidget* owner_window() { return owner.data(); }
void set_owner_window(QWidget* w) { owner = w; }

int QtPrompter::message_box(std::string_view text, std::string_view caption, unsigned style)
{
    const QString body = qt_lines(text);
    const QString title = qt_lines(caption);
    const ButtonSet set = buttons_for(style);
    if (too_tall_for_screen(body))
        return scrolling_message_box(body, title, set);

    QMessageBox box(icon_for(style), title, body, set.buttons, owner_window());
    box.setDefaultButton(set.default_button);
    box.setEscapeButton(set.escape_button);
    if ((style & mb::kSystemModal) != 0)
        box.setWindowModality(Qt::ApplicationModal);
    return button_id(box.exec());
}

std::optional<std::string> QtPrompter::choose_open_file(const OpenFileRequest& request)
{
    OpenFileDialog dialog(qt_text(request.title),
                          shown_file_name(request.initial_folder), request.path_must_exist);
    QStringList filters;
    for (const auto& f : request.filters) {
        // "*.*" means every file; here that is "*", since names need no dot.
        QString name = qt_text(f.name);
        if (f.pattern == "*.*")
            name.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
        filters << name;
    }
    dialog.setNameFilters(filters);
    if (request.filter_index >= 1 && request.filter_index <= filters.size())
        dialog.selectNameFilter(filters.at(request.filter_index - 1));
    dialog.setDefaultSuffix(qt_text(request.default_extension));
    if (!request.file_name.empty())
        dialog.selectFile(shown_file_name(request.file_name));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return file_name_bytes(dialog.selectedFiles().constFirst());
}

std::optional<Rgb> QtPrompter::choose_color(Rgb initial, std::array<Rgb, 16>& custom_colors)
{
    auto to_qcolor = [](Rgb c) { return QColor(red_of(c), green_of(c), blue_of(c)); };
    for (int i = 0; i < 16; ++i)
        QColorDialog::setCustomColor(i, to_qcolor(custom_colors[static_cast<std::size_t>(i)]));
    QWidget* parent = QApplication::activeModalWidget();
    if (parent == nullptr)
        parent = owner_window();
    const QColor chosen = QColorDialog::getColor(to_qcolor(initial), parent);
    for (int i = 0; i < 16; ++i) {
        const QColor c = QColorDialog::customColor(i);
        custom_colors[static_cast<std::size_t>(i)] =
            make_rgb(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()),
                     static_cast<unsigned>(c.blue()));
    }
    if (!chosen.isValid())
        return std::nullopt;
    return make_rgb(static_cast<unsigned>(chosen.red()), static_cast<unsigned>(chosen.green()),
                    static_cast<unsigned>(chosen.blue()));
}

std::optional<std::string> QtPrompter::ask_text(std::string_view caption, std::string_view prompt,
                                                std::string_view initial, std::string_view cancel)
{
    QWidget* parent = QApplication::activeModalWidget();
    if (parent == nullptr)
        parent = owner_window();
    QInputDialog box(parent);
    box.setWindowTitle(qt_text(caption));
    box.setLabelText(qt_text(prompt));
    box.setTextValue(qt_text(initial));
    box.setCancelButtonText(qt_text(cancel));
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return program_text(box.textValue());
}

std::string QtPrompter::read_line(TextWindow& window)
{
    TextWindow::TypedLine line = window.read_line_interactive();
    // The program is ending (the person chose Exit while the line was awaited): like a layer
    // call released by the end of the event loop, the action that asked unwinds instead of
    // going on with half a name.
    if (line.end == TextWindow::LineEnd::loop_ended)
        throw ProgramExit{0, {}};
    return std::move(line.text);
}

int QtPrompter::run_modal(DialogHandle& dialog) { return run_dialog_window_modal(dialog); }

MouseEventResult QtPrompter::wait_mouse(GraphicsWindow& window, int mask)
{
    return window.wait_on_mouse_event(mask);
}

} // namespace vorax::gwl
