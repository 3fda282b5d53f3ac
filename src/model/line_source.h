// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Sources of the lines of a model text: LineSource, and its two kinds, BufferLines for a text in
// memory and FileLines for an open file read in chunks.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "core/large_pages.h"

namespace vorax {

// Lines of a text without their line ends ("\n" or "\r\n"), handed out in pieces so that no
// line has to be held whole: a line of up to `piece_length` characters comes as one piece, a
// longer one as pieces of that length and a shorter last one. A NUL byte ends the text: a model
// text holds none, and without that rule a device or a binary file of endless NULs would be
// read for as long as it goes on.
class LineSource {
public:
    static constexpr std::size_t kPieceLength = std::size_t{1} << 20;

    virtual ~LineSource() = default;
    // The next piece; `line_ends` is false when its line goes on in the next piece. False at
    // the end of the text. The view handed out stays valid until the next call.
    virtual bool next(std::string_view& piece, bool& line_ends) = 0;
    // The whole lines that follow the last piece handed out, which must have ended its line: as
    // they stand in the text, each with its "\n" (and "\r" before it, if any), as many as the
    // source has at hand (a source that reads in chunks may read the next one first). Empty when
    // it has none at hand; they are then handed out by next as usual.
    virtual std::string_view lines_ahead() { return {}; }
    // Counts the first `length` characters of lines_ahead() (whole lines) as handed out.
    virtual void skip_ahead(std::size_t length) { static_cast<void>(length); }
    // Reads what follows the lines at hand into room of its own, while those lines are still
    // being read, so that the next lines_ahead() or next() need not wait for it (a source that
    // reads in chunks). What was handed out stays valid.
    virtual void read_next_chunk() {}
    // Characters of the whole text, where they are known before it is read (a text in memory,
    // a regular file); nothing for a pipe or a device.
    virtual std::optional<std::uint64_t> length() const { return std::nullopt; }
    // True once a call found the text ended by a NUL byte.
    bool stopped_at_nul() const { return stopped_at_nul_; }

protected:
    bool stopped_at_nul_ = false;
};

// Lines of a text held in memory.
class BufferLines final : public LineSource {
public:
    // lines_ahead hands out at most `ahead_length` characters at a time.
    explicit BufferLines(std::string_view text, std::size_t piece_length = kPieceLength,
                         std::size_t ahead_length = kPieceLength);
    bool next(std::string_view& piece, bool& line_ends) override;
    std::string_view lines_ahead() override;
    void skip_ahead(std::size_t length) override { position_ += length; }
    std::optional<std::uint64_t> length() const override { return text_.size(); }

private:
    std::string_view text_;
    std::size_t piece_length_;
    std::size_t ahead_length_;
    std::size_t position_ = 0;
    bool ends_at_nul_ = false;
};

// Lines of an open file, read in chunks of a fixed size so that neither a large file nor a long
// line is ever held whole.
class FileLines final : public LineSource {
public:
    explicit FileLines(std::FILE* file);
    bool next(std::string_view& piece, bool& line_ends) override;
    std::string_view lines_ahead() override; // what the buffer holds
    void skip_ahead(std::size_t length) override { begin_ += length; }
    void read_next_chunk() override;
    std::optional<std::uint64_t> length() const override { return length_; }
    // True when reading the file failed (as opposed to reaching its end), with the errno.
    bool failed() const { return failed_; }
    int error_number() const { return error_number_; }
    // Adds the bytes of every later read of the file to `bytes` (null: none).
    void count_bytes(std::atomic<std::uint64_t>* bytes) { counted_ = bytes; }

private:
    // What a read of the file gave: the characters up to `end` of the buffer it went into.
    struct Read {
        std::size_t end = 0;
        bool at_end = false;
        bool ends_at_nul = false;
        bool failed = false;
        int error_number = 0;
    };
    void read_more();
    using Buffer = LargeVector<char>;
    Read read_into(Buffer& buffer, std::size_t from);
    void take(const Read& read);

    std::FILE* file_;
    std::optional<std::uint64_t> length_;
    std::atomic<std::uint64_t>* counted_ = nullptr;
    Buffer buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool at_end_ = false;
    bool ends_at_nul_ = false;
    bool failed_ = false;
    int error_number_ = 0;
    // The next chunk read ahead: the unfinished line of the buffer, which began at
    // `next_from_`, and what followed it in the file.
    Buffer next_;
    std::size_t next_from_ = 0;
    std::optional<Read> next_read_;
};

} // namespace vorax
