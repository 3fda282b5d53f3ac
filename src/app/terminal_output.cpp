// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/terminal_output.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace vorax {

namespace {

bool passes(unsigned char c) { return c == '\n' || c == '\t' || (c >= 0x20 && c != 0x7F); }

void append_escaped(std::string& out, unsigned char c)
{
    if (passes(c)) {
        out += static_cast<char>(c);
    } else if (c == 0x1B) {
        out += "\\e";
    } else if (c == '\r') {
        out += "\\r";
    } else {
        char code[5];
        std::snprintf(code, sizeof code, "\\x%02x", c);
        out += code;
    }
}

// Hands every character on to the original buffer, escaped where it must be.
class EscapingBuffer final : public std::streambuf {
public:
    explicit EscapingBuffer(std::streambuf* target) : target_(target) {}

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        const auto byte = static_cast<unsigned char>(traits_type::to_char_type(c));
        if (passes(byte))
            return target_->sputc(static_cast<char>(byte));
        std::string escaped;
        append_escaped(escaped, byte);
        const auto size = static_cast<std::streamsize>(escaped.size());
        return target_->sputn(escaped.data(), size) == size ? c : traits_type::eof();
    }
    int sync() override { return target_->pubsync(); }

private:
    std::streambuf* target_;
};

} // namespace

bool descriptor_reaches(int descriptor, const std::string& path)
{
    struct stat named {};
    struct stat open {};
    return ::fstat(descriptor, &open) == 0 && S_ISREG(open.st_mode) && ::stat(path.c_str(), &named) == 0
           && named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}

std::string escaped_for_terminal(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        append_escaped(out, static_cast<unsigned char>(c));
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
