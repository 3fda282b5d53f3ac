// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Free-format records of the model file.
//
// Contents:
//   FieldKind, Item   what a record field asks for and what the reader hands back
//   Unreadable        why a record could not be read, for the model check
//   PlainValue, PlainRecords  records of the plain form that nearly every record has, read whole
//   FreeFormatReader  values of one record at a time, spread over as many lines as it needs, or
//                     plain records whole, many at a time
//
// Records are read the way the sibling analysis programs read them, list-directed:
//   - values are separated by blanks (or tabs) and/or one comma;
//   - a record continues over as many lines as it needs, blank lines included, and what stands
//     on its last line after its last value is ignored;
//   - r*c stands for r copies of the value c, r* for r null values;
//   - a comma with nothing but blanks before it, since the previous comma or, on the first line
//     the record reads, since the start of the record, gives a null value; a line end is a
//     blank, never a null value (so after blank lines a leading comma only separates);
//   - a slash ends the record: the fields not read yet are null and the rest of its line is
//     ignored;
//   - a value is at most kLongestValue characters long; a longer one is unreadable.
// A null value leaves a field as it is; what that means is up to the record (see model_reader).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorax {

class LineSource; // model/line_source.h

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

// How read_whole_record went: the record was read, it needs next_item, or the text ended.
enum class WholeStatus { read, by_item, end_of_file };

// A value of a record read whole: `integer` for an integer field, `real` for a real one.
struct PlainValue {
    std::int32_t integer = 0;
    float real = 0.0f;
};

// Plain records read whole, in file order: for each, the line it stands on (counted from
// `first_line`) and one value per field (`fields` of them).
struct PlainRecords {
    std::size_t fields = 0;
    long first_line = 0; // the line before the first that `lines` counts
    std::vector<long> lines;
    std::vector<PlainValue> values;

    std::size_t size() const { return lines.size(); }
    long line(std::size_t i) const { return first_line + lines[i]; }
    std::span<const PlainValue> record(std::size_t i) const
    {
        return std::span(values).subspan(i * fields, fields);
    }
};

// Why a value could not be read.
enum class ValueFault : std::uint8_t {
    not_a_number,      // no number at all, a heading word for instance
    real_for_integer,  // a real number where a whole number is needed
    integer_too_large, // a whole number beyond 32 bits
    real_too_large,    // a real number beyond the range of a 32-bit float
    too_long,          // longer than kLongestValue characters
    bad_repeat,        // r*c with an r that is not a count of at least 1
};

// The value that made the last unreadable record unreadable.
struct Unreadable {
    static constexpr std::size_t kShownLength = 40; // characters of the value kept

    long value_line = 0; // the line of the value
    ValueFault fault = ValueFault::not_a_number;
    std::string value;   // its first kShownLength characters, control characters as '?'

    bool operator==(const Unreadable&) const = default;
};

class HelperThread;
struct LineChunks;

class FreeFormatReader {
public:
    // Longest value text read; anything longer is not a number any record could want, and the
    // limit keeps the memory of a value cut by a piece end small.
    static constexpr std::size_t kLongestValue = 4096;
    // Characters of a long line that next_line hands out at least.
    static constexpr std::size_t kLineHead = 256;

    // Lines at hand of at least `read_ahead_length` characters are read as plain records by a
    // helper thread too, and read ahead by it (0: never).
    explicit FreeFormatReader(LineSource& lines, std::size_t read_ahead_length = 0);
    ~FreeFormatReader();

    // The next raw line, for the title and the lines that are skipped whole: the whole line, or
    // when it is longer than a piece of the source, at least its first kLineHead characters.
    // False at the end. Any record in progress is dropped.
    bool next_line(std::string_view& line);

    // Starts a record on the line after the last one read.
    void begin_record();

    // The next piece of the current record, read as `kind`, at most `max_count` values. On
    // `unreadable` the record is dropped and its line counts as read; `end_of_file` means the
    // text ended before the piece.
    ItemStatus next_item(FieldKind kind, std::int64_t max_count, Item& item);

    // Ends the current record: the rest of its last line is ignored.
    void end_record();

    // Reads the record just begun in one go when it is plain, the form almost every record has:
    // on the first line that is not blank, one value per field of `kinds`, separated by blanks or
    // a comma, no null value, slash or repeat group among them, each value a number of its kind
    // written plainly enough to be converted on the spot (quick_integer and quick_real in
    // number_syntax.h), the line shorter than a piece. `values` gets one value per field; what
    // follows the last is ignored, as after any record. Anything else gives `by_item`, and the
    // record goes on with next_item from where it stands, exactly as if next_item had read the
    // blank lines and fetched the line; end_record follows a record that was read. The result
    // is the same either way.
    WholeStatus read_whole_record(std::span<const FieldKind> kinds, std::span<PlainValue> values);

    // Reads plain records of `kinds` (as read_whole_record does) one after another from the
    // lines the source has at hand, up to the first line that is neither blank nor plain, and
    // hands them to `take` in batches, in file order; returns how many. Blank lines belong to
    // the record after them; those after the last record are left. Called when a record has
    // just begun; reads nothing when none of the lines is at hand or the next one is not plain.
    // The record after them begins where it stops. With a helper thread the lines are read in
    // chunks by both threads, and after a run through all lines at hand the helper goes on with
    // the next ones while `take` runs; any other call drops that read-ahead. The records are
    // the same in any case.
    std::size_t read_plain_records(std::span<const FieldKind> kinds,
                                   const std::function<void(const PlainRecords&)>& take);

    // Number of lines read so far; the current line has this number.
    long line_number() const { return line_number_; }
    // The last record that next_item found unreadable.
    const Unreadable& unreadable() const { return unreadable_; }
    // The line in which the text ended: the last one read when the text ended inside it,
    // otherwise the one after it.
    long end_line() const { return ended_inside_line_ ? line_number_ : line_number_ + 1; }

private:
    void drop_read_ahead();
    std::shared_ptr<LineChunks> chunks_of(std::string_view text, std::span<const FieldKind> kinds);
    bool fetch_piece();
    bool fetch_line();
    std::string_view scan_value();
    ItemStatus take_pending(FieldKind kind, std::int64_t max_count, Item& item);
    ItemStatus refuse(ValueFault fault, std::string_view value);

    LineSource& lines_;
    std::size_t read_ahead_length_ = 0;
    std::unique_ptr<HelperThread> helper_; // started for the first lines long enough to share
    std::shared_ptr<LineChunks> ahead_;    // the lines the helper reads ahead
    std::shared_ptr<LineChunks> spare_;    // chunks read before, whose room serves again
    std::string_view line_;        // the current piece of the current line
    bool line_ends_ = true;        // the current piece is the last of its line
    bool ended_inside_line_ = false;
    std::size_t position_ = 0;
    long line_number_ = 0;
    bool in_line_ = false;        // a line of the current record is being read
    bool comma_pending_ = false;  // a comma (or the record start) with no value after it yet
    bool record_start_ = false;   // nothing of the record read yet, on the first line it reads
    bool ended_by_slash_ = false; // the rest of the record is null
    std::int64_t pending_count_ = 0; // values of a repeat group not handed out yet
    bool pending_null_ = false;
    std::string_view pending_text_;
    std::string value_; // a value cut by a piece end, put together
    std::string head_;  // the start of a long line for next_line
    Unreadable unreadable_;
};

} // namespace vorax
