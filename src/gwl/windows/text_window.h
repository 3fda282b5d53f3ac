// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A text window: the child window of a text unit (the info window). It takes lines written to
// the unit, and can read one line typed by the user up to Enter.

#include <QPlainTextEdit>

#include <string>
#include <vector>

#include "core/color.h"

class QEventLoop;

namespace vorax::gwl {

class TextWindow : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextWindow(QWidget* parent = nullptr);
    ~TextWindow() override;

    // Appends text at the current position; `end_line` closes the line afterwards.
    void write(const std::string& text, bool end_line);
    // The colour of text written from now on; returns the previous one.
    Rgb set_text_color(Rgb color);
    Rgb text_color() const { return text_color_; }

    // Shows or hides the text cursor; returns the previous setting.
    bool display_cursor(bool on);

    // How the reading of a typed line ended.
    enum class LineEnd {
        enter,         // the person pressed Enter
        window_closed, // the window was closed or went away (or was not on screen)
        loop_ended,    // every event loop was told to end: the program is ending
    };
    struct TypedLine {
        std::string text; // as the file system's bytes, since the line is a file name
        LineEnd end = LineEnd::enter;
    };

    // Lets the user type one line at the end of the text and waits (keeping the windows alive)
    // until Enter is pressed. Backspace erases typed characters, never the prompt before them.
    // Also ends, with what was typed so far, when the window closes or goes away or when the
    // event loop ends meanwhile.
    TypedLine read_line_interactive();
    bool reading() const { return input_result_ != nullptr; }
    // The last line has not been ended yet (a prompt waits on it).
    bool line_open() const { return line_open_; }

    // The window's lines as plain text (for Save and for tests).
    std::vector<std::string> lines() const;

    // Pixel size of the drawing area and the text rows and columns it holds.
    int text_columns() const;
    int text_rows() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void finish_input(LineEnd end);
    void keep_cursor_in_input();
    QString typed_text() const;

    Rgb text_color_;
    bool has_lines_ = false;   // something was written (the first line is in use)
    bool line_open_ = false;   // the last line has not been ended yet
    bool cursor_shown_ = false;
    int input_start_ = -1;     // document position where typed input begins
    QEventLoop* input_loop_ = nullptr;
    // Where finish_input puts the line; set while the person may type. finish_input may run as
    // the window dies, so the line lives with the reader, not here.
    TypedLine* input_result_ = nullptr;
};

} // namespace vorax::gwl
