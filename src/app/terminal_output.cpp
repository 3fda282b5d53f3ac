// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/terminal_output.h"

#include <unistd.h>

#include <cstdio>

namespace vorax {

namespace {

bool passes(unsigned char c) { return c == '\n' || c == '\t' || (c >= 0x20 && c != 0x7F); }

void append_code(std::string& out, unsigned char c)
{
    char code[5];
    std::snprintf(code, sizeof code, "\\x%02x", c);
    out += code;
}

void append_escaped(std::string& out, unsigned char c)
{
    if (passes(c))
        out += static_cast<char>(c);
    else if (c == 0x1B)
        out += "\\e";
    else if (c == '\r')
        out += "\\r";
    else
        append_code(out, c);
}

// Escapes a text handed in byte by byte. Characters of several bytes (UTF-8) pass whole, but
// the controls U+0080 to U+009F among them (a terminal may take U+009B as the start of a
// command) and bytes that are no part of such a character are written as \xNN.
class Escaper {
public:
    void put(unsigned char c, std::string& out)
    {
        if (!pending_.empty()) {
            if ((c & 0xC0) == 0x80) {
                pending_ += static_cast<char>(c);
                if (pending_.size() == length_) {
                    const bool control = static_cast<unsigned char>(pending_[0]) == 0xC2 && c < 0xA0;
                    if (control)
                        finish(out);
                    else
                        out += pending_;
                    pending_.clear();
                }
                return;
            }
            finish(out);
        }
        length_ = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
        if (length_ > 0)
            pending_ = static_cast<char>(c);
        else if (c < 0x80)
            append_escaped(out, c);
        else
            append_code(out, c);
    }

    bool busy() const { return !pending_.empty(); }

    // The bytes of a character that did not come to its end.
    void finish(std::string& out)
    {
        for (const char c : pending_)
            append_code(out, static_cast<unsigned char>(c));
        pending_.clear();
    }

private:
    std::string pending_;
    std::size_t length_ = 0;
};

// Hands every character on to the original buffer, escaped where it must be.
class EscapingBuffer final : public std::streambuf {
public:
    explicit EscapingBuffer(std::streambuf* target) : target_(target) {}
    ~EscapingBuffer() override
    {
        std::string rest;
        escaper_.finish(rest);
        target_->sputn(rest.data(), static_cast<std::streamsize>(rest.size()));
    }

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        const auto byte = static_cast<unsigned char>(traits_type::to_char_type(c));
        if (byte < 0x80 && passes(byte) && !escaper_.busy())
            return target_->sputc(static_cast<char>(byte));
        std::string escaped;
        escaper_.put(byte, escaped);
        const auto size = static_cast<std::streamsize>(escaped.size());
        return target_->sputn(escaped.data(), size) == size ? c : traits_type::eof();
    }
    int sync() override { return target_->pubsync(); }

private:
    std::streambuf* target_;
    Escaper escaper_;
};

} // namespace

std::string escaped_for_terminal(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    Escaper escaper;
    for (const char c : text)
        escaper.put(static_cast<unsigned char>(c), out);
    escaper.finish(out);
    return out;
}

TerminalEscapes::TerminalEscapes(std::ostream& stream, int descriptor) : stream_(stream)
{
    if (::isatty(descriptor) == 0)
        return;
    filter_ = std::make_unique<EscapingBuffer>(stream.rdbuf());
    original_ = stream.rdbuf(filter_.get());
}

TerminalEscapes::~TerminalEscapes()
{
    if (original_ != nullptr) {
        stream_.flush();
        stream_.rdbuf(original_);
    }
}

} // namespace vorax
