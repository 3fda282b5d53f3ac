// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the program writes to a terminal shows control characters escaped.
//
// A model title or a file name may hold bytes that a terminal takes as commands (an escape
// sequence that clears the screen or retitles the window). On a terminal they are written as
// `\e`, `\r` or `\x01` instead; line feeds and tabs pass, and so do characters of several bytes
// (UTF-8), but for the controls U+0080 to U+009F and bytes that make no character. Output into a
// file or a pipe is left byte for byte as it is.

#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

namespace vorax {

// The text with its control characters written out (ESC as \e, CR as \r, others as \xNN, each
// byte of a C1 control or of no character too).
std::string escaped_for_terminal(const std::string& text);

// While it lives, `stream` escapes control characters when `descriptor` is a terminal.
class TerminalEscapes {
public:
    TerminalEscapes(std::ostream& stream, int descriptor);
    ~TerminalEscapes();
    TerminalEscapes(const TerminalEscapes&) = delete;
    TerminalEscapes& operator=(const TerminalEscapes&) = delete;

private:
    std::ostream& stream_;
    std::streambuf* original_ = nullptr;
    std::unique_ptr<std::streambuf> filter_;
};

} // namespace vorax
