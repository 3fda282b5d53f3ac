// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a model data file into a StructureModel.
//
// Contents:
//   ReaderNotes             where each node and element got its data, and what reading set
//                           aside: blocks ended by records, records out of range or replaced
//   ReadStatus, ReadResult  the model, or why there is none (with file name and line)
//   ReadOptions             the memory the model's arrays may take
//   read_model              from a file
//   read_model_text         from a text in memory (tests, the fuzzer)
//   read_model_lines        from any source of lines
//
// Reading never leaves a half-filled model behind: the result holds a complete model when its
// status is `ok` and an empty one otherwise. Reading does not touch the graph settings; after a
// load the caller sets `all_nodes` and `selected_element_count` and runs update_extents.

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/large_pages.h"
#include "core/language.h"
#include "model/free_format.h"
#include "model/line_source.h"
#include "model/structure_model.h"

namespace vorax {

// Line numbers kept per node and element take 32 bits; a line beyond that range (a file of more
// than four thousand million lines) is kept as kLastRecordLine. 0 means no record.
using RecordLine = std::uint32_t;
inline constexpr RecordLine kLastRecordLine = 0xFFFFFFFFu;

// The last record of a block that named a node or an element: its first line (0 when no record
// did) and which of its fields after the number such records set (bit j for field j + 1: a
// coordinate, or an end node; a null value sets none).
struct RecordMark {
    RecordLine line = 0;
    std::uint32_t fields = 0;

    bool operator==(const RecordMark&) const = default;
};

enum class ModelBlock : std::uint8_t { code, value, coordinate, element };

// A block ended by a record that could not be read (its closing line).
struct BlockEnd {
    ModelBlock block = ModelBlock::code;
    long line = 0;                // the record's first line
    bool looks_like_data = false; // it starts with a number (a digit, or a sign or point before
                                  // one) or a comma, not with a word
    Unreadable value;             // the value that could not be read

    bool operator==(const BlockEnd&) const = default;
};

// A record that reading skipped, or that undid what an earlier record set.
enum class NoteKind : std::uint8_t {
    node_outside,      // a value, coordinate or incidence record for node `a`, outside 1..NN
    nodes_outside,     // a code record for nodes a..b that reaches outside 1..NN
    element_outside,   // an element record for element `a`, outside 1..NE
    end_node_outside,  // an element record for element `a` with the end node `b`, outside 0..NN
    incidence_outside, // an incidence record for node `a` naming element `b`, above NE
    empty_range,       // a code record for nodes a..b with b below a
    replaced,          // a record for node (or element) `a` that sets a field the record at
                       // `earlier_line` set; a code record sets `b` such nodes from node `a` on,
                       // without being narrower than the record that set them
    start_replaced,    // by node: element `a` starts at node `b` (kept) and at node `c` of the
    end_replaced,      // record at `earlier_line`; the same for its end
};
inline constexpr std::size_t kNoteKinds = 9;

struct RecordNote {
    NoteKind kind = NoteKind::replaced;
    ModelBlock block = ModelBlock::code;
    long line = 0;         // the record's first line: where its first value, comma or slash is
    long earlier_line = 0; // for replacements
    std::int32_t a = 0;
    std::int32_t b = 0;
    std::int32_t c = 0;

    bool operator==(const RecordNote&) const = default;
};

// What reading noticed besides the model, for the model check. Once the model is read, the
// arrays have an entry per node or element: `elements` (by number) the element's record,
// `incidences` (by node) the line of the node's incidence record; coordinate_mark gives a
// node's coordinate record.
struct ReaderNotes {
    // Notes kept of each kind; the rest are only counted, so that a file of millions of faulty
    // records costs no more memory than a good one.
    static constexpr std::size_t kMostNotes = 1000;

    // The mark of the coordinate record of node `number` (1..NN).
    RecordMark coordinate_mark(std::int32_t number) const
    {
        const RecordMark& mark = nodes[static_cast<std::size_t>(number - 1)];
        return mark.line >= coordinates_from ? mark : RecordMark{};
    }

    // Node marks, which served the code and value blocks before the coordinate block: those
    // from lines before `coordinates_from` are not coordinate records.
    LargeVector<RecordMark> nodes;
    RecordLine coordinates_from = 0;
    LargeVector<RecordMark> elements;   // empty in the by-node layout
    LargeVector<RecordLine> incidences; // empty in the by-number layout
    // By node, the line of the last code record and of the value record that named it, 0 for
    // none; each as long as the highest node such a record named.
    LargeVector<RecordLine> code_lines;
    LargeVector<RecordLine> value_lines;
    RecordLine title_line = 0;
    RecordLine header_line = 0; // the header record's first line
    std::vector<BlockEnd> block_ends;           // in file order
    std::vector<RecordNote> notes;              // the first kMostNotes of each kind
    std::array<std::int64_t, kNoteKinds> counts{}; // all notes of each kind

    bool operator==(const ReaderNotes&) const = default;
};

enum class ReadStatus {
    ok,
    wrong_input_file, // the header is unreadable, outside the format or asks for too much memory,
                      // or the file holds a NUL byte (it is no text)
    end_of_file,      // the file ended inside a part that needs more lines
    cannot_open,      // the file could not be opened or read
};

struct ReadResult {
    ReadStatus status = ReadStatus::ok;
    StructureModel model;  // complete when status is ok, empty otherwise
    ReaderNotes notes;     // complete when status is ok, empty otherwise
    std::string file_name; // the name the file was read under
    long line = 0;         // where reading stopped on a problem: the last line read
    std::string message;   // one sentence on the problem; empty when status is ok
    std::string message_ro; // the same in Romanian

    bool ok() const { return status == ReadStatus::ok; }
};

// The reader's sentence on the problem in the program's language.
inline const std::string& read_failure_text(const ReadResult& result, UiLanguage language)
{
    return language == UiLanguage::romanian && !result.message_ro.empty() ? result.message_ro
                                                                           : result.message;
}

struct ReadOptions {
    // Most bytes the model's arrays may take; a header asking for more is a wrong input file.
    // 0 stands for half the physical memory of the machine, which leaves room for the rest of
    // the program and the system: memory that is promised but not there would end the process
    // when it is first used, not when it is asked for.
    std::uint64_t memory_limit = 0;
    // Records of the plain form of almost every record are read whole, many at a time (see
    // FreeFormatReader::read_plain_records); the result is the same without, value by value.
    // The tests that compare the two ways turn it off.
    bool whole_records = true;
    // Off, reading keeps no notes and `notes` of the result stays empty: for a caller that needs
    // only the model, which then takes 16 bytes less per node and element in memory.
    bool keep_notes = true;
    // With whole_records, lines at hand of at least this many characters are read by a helper
    // thread as well, in chunks that both threads take in turns, and the next ones are read
    // ahead while a batch goes into the model; only on a machine with more than one core, and
    // 0 never. The result is the same either way.
    std::size_t read_ahead_length = std::size_t{1} << 18;
    // When set, raised by the bytes of the file read so far as reading goes on (read_model), for
    // a progress display on another thread.
    std::atomic<std::uint64_t>* bytes_read = nullptr;
};

// Reads the model file at `path`.
ReadResult read_model(const std::filesystem::path& path, const ReadOptions& options = {});

// Reads a model from `text`; `file_name` only names it in the result.
ReadResult read_model_text(std::string_view text, std::string_view file_name = "",
                           const ReadOptions& options = {});

// Reads a model from `lines`; `file_name` only names it in the result.
ReadResult read_model_lines(LineSource& lines, std::string_view file_name = "",
                            const ReadOptions& options = {});

// The physical memory of the machine in bytes (a large fixed figure where it cannot be found).
std::uint64_t physical_memory();

} // namespace vorax
