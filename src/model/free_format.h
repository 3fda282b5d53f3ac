#pragma once
// Free-format records of the model file.
//
// Contents:
//   LineSource        lines of a text, from memory or from a file read in chunks
//   FieldKind, Item   what a record field asks for and what the reader hands back
//   FreeFormatReader  values of one record at a time, spread over as many lines as it needs
//
// Records are read the way the sibling analysis programs read them, list-directed:
//   - values are separated by blanks (or tabs) and/or one comma;
//   - a record continues over as many lines as it needs, blank lines included, and what stands
//     on its last line after its last value is ignored;
//   - r*c stands for r copies of the value c, r* for r null values;
//   - a comma with nothing but blanks before it (since the start of the record or the previous
//     comma) gives a null value; a line end is a blank, never a null value;
//   - a slash ends the record: the fields not read yet are null and the rest of its line is
//     ignored.
// A null value leaves a field as it is; what that means is up to the record (see model_reader).

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace vorax {

// Lines of a text without their line ends ("\n" or "\r\n"). The view handed out stays valid
// until the next call.
class LineSource {
public:
    virtual ~LineSource() = default;
    // The next line; false at the end of the text.
    virtual bool next(std::string_view& line) = 0;
};

// Lines of a text held in memory.
class BufferLines final : public LineSource {
public:
    explicit BufferLines(std::string_view text) : text_(text) {}
    bool next(std::string_view& line) override;

private:
    std::string_view text_;
    std::size_t position_ = 0;
};

// Lines of an open file, read in chunks so that a large file never has to be held whole.
class FileLines final : public LineSource {
public:
    explicit FileLines(std::FILE* file) : file_(file), buffer_(1 << 20) {}
    bool next(std::string_view& line) override;
    // True when reading the file failed (as opposed to reaching its end), with the errno.
    bool failed() const { return failed_; }
    int error_number() const { return error_number_; }

private:
    std::FILE* file_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool at_end_ = false;
    bool failed_ = false;
    int error_number_ = 0;
};

enum class FieldKind { integer, real };

// One piece of a record: `count` equal values (or `count` null values), at most as many as the
// caller asked for. Integer fields take an optionally signed whole number; real fields also
// take a point and an exponent with E or D, within the range of a 32-bit float.
struct Item {
    std::int64_t count = 0;
    bool null = false;
    std::int32_t integer = 0; // the value of an integer field
    float real = 0.0f;        // the value of a real field
};

enum class ItemStatus { value, unreadable, end_of_file };

class FreeFormatReader {
public:
    explicit FreeFormatReader(LineSource& lines) : lines_(lines) {}

    // The next raw line, for the title and the lines that are skipped whole; false at the end.
    // Any record in progress is dropped.
    bool next_line(std::string_view& line);

    // Starts a record on the line after the last one read.
    void begin_record();

    // The next piece of the current record, read as `kind`, at most `max_count` values. On
    // `unreadable` the record is dropped and its line counts as read; `end_of_file` means the
    // text ended before the piece.
    ItemStatus next_item(FieldKind kind, std::int64_t max_count, Item& item);

    // Ends the current record: the rest of its last line is ignored.
    void end_record();

    // Number of lines read so far; the current line has this number.
    long line_number() const { return line_number_; }

private:
    bool fetch_line();
    ItemStatus take_pending(FieldKind kind, std::int64_t max_count, Item& item);

    LineSource& lines_;
    std::string_view line_;
    std::size_t position_ = 0;
    long line_number_ = 0;
    bool in_line_ = false;        // a line of the current record is being read
    bool comma_pending_ = false;  // a comma (or the record start) with no value after it yet
    bool ended_by_slash_ = false; // the rest of the record is null
    std::int64_t pending_count_ = 0; // values of a repeat group not handed out yet
    bool pending_null_ = false;
    std::string_view pending_text_;
};

} // namespace vorax
