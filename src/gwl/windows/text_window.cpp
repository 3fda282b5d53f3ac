// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/windows/text_window.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFile>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMimeData>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include "gwl/platform/qt_text.h"
#include "gwl/surface/drawing_area.h"

namespace vorax::gwl {

namespace {

QColor to_qcolor(Rgb c) { return QColor(red_of(c), green_of(c), blue_of(c)); }

} // namespace

TextWindow::TextWindow(QWidget* parent)
    : QPlainTextEdit(parent), text_color_(kWhite)
{
    // A new window's text layer writes white on black until told otherwise.
    QFont font(QStringLiteral("Liberation Mono"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(14);
    setFont(font);
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::black);
    p.setColor(QPalette::Text, Qt::white);
    setPalette(p);
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setCursorWidth(0);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

TextWindow::~TextWindow() { finish_input(LineEnd::window_closed); }

void TextWindow::write(const std::string& text, bool end_line)
{
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    // The document's first block exists from the start: the first line goes there.
    if (!line_open_ && has_lines_)
        cursor.insertBlock();
    QTextCharFormat format;
    format.setForeground(to_qcolor(text_color_));
    cursor.insertText(qt_text(text),
                      format);
    has_lines_ = true;
    line_open_ = !end_line;
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

Rgb TextWindow::set_text_color(Rgb color)
{
    const Rgb previous = text_color_;
    text_color_ = color;
    return previous;
}

bool TextWindow::display_cursor(bool on)
{
    const bool previous = cursor_shown_;
    cursor_shown_ = on;
    setCursorWidth(on ? 2 : 0);
    return previous;
}

TextWindow::TypedLine TextWindow::read_line_interactive()
{
    // One reader at a time, and only in a window that is on screen to be typed into.
    if (reading() || !isVisible())
        return {{}, LineEnd::window_closed};
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (!line_open_ && has_lines_)
        cursor.insertBlock();
    has_lines_ = true;
    line_open_ = true;
    input_start_ = cursor.position();
    setTextCursor(cursor);
    setReadOnly(false);
    setTextInteractionFlags(Qt::TextEditorInteraction);
    setFocus();

    // Unless Enter or the window's end says otherwise, the loop ended because every loop was
    // told to end.
    TypedLine result{{}, LineEnd::loop_ended};
    const QPointer<TextWindow> alive(this);
    QEventLoop loop;
    input_loop_ = &loop;
    input_result_ = &result;
    loop.exec();
    if (alive.isNull())
        return result; // finish_input took the text as the window went away
    input_loop_ = nullptr;
    finish_input(LineEnd::loop_ended);
    return result;
}

QString TextWindow::typed_text() const
{
    QTextCursor typed(document());
    typed.setPosition(std::min(input_start_, document()->characterCount() - 1));
    typed.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    return typed.selectedText();
}

void TextWindow::finish_input(LineEnd end)
{
    if (input_result_ == nullptr)
        return;
    input_result_->text = QFile::encodeName(typed_text()).toStdString();
    input_result_->end = end;
    input_result_ = nullptr;
    input_start_ = -1;
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    line_open_ = false; // the typed line is ended
    if (input_loop_ != nullptr)
        input_loop_->quit();
}

void TextWindow::keep_cursor_in_input()
{
    QTextCursor cursor = textCursor();
    if (cursor.position() < input_start_ || cursor.anchor() < input_start_) {
        cursor.movePosition(QTextCursor::End);
        setTextCursor(cursor);
    }
}

void TextWindow::keyPressEvent(QKeyEvent* event)
{
    if (!reading()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        finish_input(LineEnd::enter);
        return;
    }
    keep_cursor_in_input();
    // Nothing before the start of the input may be erased.
    if (event->key() == Qt::Key_Backspace && textCursor().position() <= input_start_
        && !textCursor().hasSelection())
        return;
    QPlainTextEdit::keyPressEvent(event);
}

void TextWindow::insertFromMimeData(const QMimeData* source)
{
    if (!reading())
        return;
    keep_cursor_in_input();
    // A pasted name is one line: anything after its first line break is dropped.
    QString text = source->text();
    text = text.left(text.indexOf(QLatin1Char('\n')) < 0 ? text.size()
                                                           : text.indexOf(QLatin1Char('\n')));
    textCursor().insertText(text);
}

void TextWindow::closeEvent(QCloseEvent* event)
{
    finish_input(LineEnd::window_closed);
    QPlainTextEdit::closeEvent(event);
}

std::vector<std::string> TextWindow::lines() const
{
    std::vector<std::string> result;
    for (QTextBlock b = document()->firstBlock(); b.isValid(); b = b.next())
        result.push_back(program_text(b.text()));
    if (!has_lines_)
        result.clear();
    return result;
}

int TextWindow::text_columns() const
{
    const QFontMetrics metrics(font());
    return std::max(1, default_drawing_area().width / std::max(1, metrics.horizontalAdvance('0')));
}

int TextWindow::text_rows() const
{
    const QFontMetrics metrics(font());
    return std::max(1, default_drawing_area().height / std::max(1, metrics.lineSpacing()));
}

} // namespace vorax::gwl
