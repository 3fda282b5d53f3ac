// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/line_source.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#if defined(__unix__)
#include <sys/stat.h>
#endif

namespace vorax {
namespace {

// How the next piece is cut from `window`, the text from the current position on. `whole` says
// that nothing follows the window; `by_nul` that a NUL byte stands right after it.
struct Cut {
    std::size_t length = 0; // characters of the piece
    std::size_t used = 0;   // characters it takes from the window, line end included
    bool line_ends = true;
    bool more_needed = false; // the window is too short to tell: read more first
};

Cut cut_piece(std::string_view window, std::size_t limit, bool whole, bool by_nul)
{
    // A line of `limit` characters ends at most two characters later ("\r\n").
    const std::size_t look = std::min(window.size(), limit + 2);
    if (const void* found = std::memchr(window.data(), '\n', look)) {
        const auto at = static_cast<std::size_t>(static_cast<const char*>(found) - window.data());
        const std::size_t length = at > 0 && window[at - 1] == '\r' ? at - 1 : at;
        if (length <= limit)
            return {length, at + 1, true, false};
        return {limit, limit, false, false};
    }
    if (look == limit + 2)
        return {limit, limit, false, false};
    if (!whole)
        return {0, 0, false, true};
    // The end of the text without a line end. Before a NUL the line goes on (with the NUL).
    const std::size_t length = !by_nul && !window.empty() && window.back() == '\r' ? window.size() - 1 : window.size();
    if (length > limit)
        return {limit, limit, false, false};
    return {length, window.size(), !by_nul, false};
}

// The whole lines of `window`: up to its last line feed.
std::string_view whole_lines(std::string_view window)
{
    const std::size_t last = window.rfind('\n');
    return last == std::string_view::npos ? std::string_view() : window.substr(0, last + 1);
}

} // namespace

BufferLines::BufferLines(std::string_view text, std::size_t piece_length, std::size_t ahead_length)
    : text_(text), piece_length_(std::clamp<std::size_t>(piece_length, 1, std::size_t{1} << 40)),
      ahead_length_(ahead_length)
{
    if (const void* nul = std::memchr(text.data(), '\0', text.size())) {
        text_ = text.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));
        ends_at_nul_ = true;
    }
}

bool BufferLines::next(std::string_view& piece, bool& line_ends)
{
    if (position_ >= text_.size()) {
        stopped_at_nul_ = ends_at_nul_;
        return false;
    }
    const std::string_view window = text_.substr(position_);
    const Cut cut = cut_piece(window, piece_length_, true, ends_at_nul_);
    piece = window.substr(0, cut.length);
    line_ends = cut.line_ends;
    position_ += cut.used;
    return true;
}

std::string_view BufferLines::lines_ahead()
{
    return whole_lines(text_.substr(std::min(position_, text_.size()), ahead_length_));
}

FileLines::FileLines(std::FILE* file) : file_(file), buffer_(kPieceLength + 2)
{
#if defined(__unix__)
    // A regular file's size from where it is read on; a pipe or a device has none.
    struct stat status {};
    const off_t at = ftello(file);
    if (fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode) && at >= 0 && status.st_size >= at)
        length_ = static_cast<std::uint64_t>(status.st_size - at);
#endif
}

std::string_view FileLines::lines_ahead()
{
    std::string_view lines = whole_lines(std::string_view(buffer_.data() + begin_, end_ - begin_));
    // With no line end left, the rest of a line is at the front of a buffer with room behind.
    if (lines.empty() && !at_end_ && end_ - begin_ < buffer_.size()) {
        read_more();
        lines = whole_lines(std::string_view(buffer_.data() + begin_, end_ - begin_));
    }
    return lines;
}

bool FileLines::next(std::string_view& piece, bool& line_ends)
{
    for (;;) {
        const std::string_view window(buffer_.data() + begin_, end_ - begin_);
        if (window.empty() && at_end_) {
            stopped_at_nul_ = ends_at_nul_;
            return false;
        }
        const Cut cut = cut_piece(window, kPieceLength, at_end_, ends_at_nul_);
        if (!cut.more_needed) {
            piece = window.substr(0, cut.length);
            line_ends = cut.line_ends;
            begin_ += cut.used;
            return true;
        }
        // The buffer holds a whole piece and its line end, so there is always room.
        read_more();
    }
}

// Keeps the unfinished line at the front and reads more behind it; or takes the next chunk read
// ahead, which begins with that line.
void FileLines::read_more()
{
    if (next_read_) {
        // No line end follows begin_ here: the unfinished line, or what is left of it, is at
        // the front of the next chunk.
        std::swap(buffer_, next_);
        begin_ -= next_from_;
        take(*next_read_);
        next_read_.reset();
        return;
    }
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    take(read_into(buffer_, end_));
}

void FileLines::read_next_chunk()
{
    if (next_read_ || at_end_)
        return;
    const std::string_view window(buffer_.data() + begin_, end_ - begin_);
    const std::size_t last = window.rfind('\n');
    next_from_ = begin_ + (last == std::string_view::npos ? 0 : last + 1);
    const std::size_t unfinished = end_ - next_from_;
    // Only with room for a chunk behind the unfinished line; a line that long is read as
    // before, when it is reached.
    if (unfinished > kPieceLength / 2)
        return;
    next_.resize(buffer_.size());
    std::memcpy(next_.data(), buffer_.data() + next_from_, unfinished);
    next_read_ = read_into(next_, unfinished);
}

FileLines::Read FileLines::read_into(Buffer& buffer, std::size_t from)
{
    Read read;
    const std::size_t n = std::fread(buffer.data() + from, 1, buffer.size() - from, file_);
    if (counted_ != nullptr)
        counted_->fetch_add(n, std::memory_order_relaxed);
    read.end = from + n;
    if (const void* nul = std::memchr(buffer.data() + from, '\0', n)) {
        read.end = static_cast<std::size_t>(static_cast<const char*>(nul) - buffer.data());
        read.ends_at_nul = true;
        read.at_end = true;
    } else if (n == 0) {
        read.failed = std::ferror(file_) != 0;
        read.error_number = read.failed ? errno : 0;
        read.at_end = true;
    }
    return read;
}

void FileLines::take(const Read& read)
{
    end_ = read.end;
    at_end_ = read.at_end;
    ends_at_nul_ = read.ends_at_nul;
    failed_ = read.failed;
    error_number_ = read.error_number;
}

} // namespace vorax
