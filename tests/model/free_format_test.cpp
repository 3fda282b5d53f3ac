// SPDX-License-Identifier: GPL-3.0-or-later
// The free-format number syntax of the model file: separators, continuation lines, surplus
// values, number forms, repeat counts, null values and the slash.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include <unistd.h>

#include "model/free_format.h"
#include "model/line_source.h"
#include "model_test_support.h"

namespace vorax {
namespace {

using testing::model_file;
using testing::read_valid;

std::array<float, 3> coords_of(const StructureModel& m, int n) { return m.node(n).coords; }

// ---- Line sources ------------------------------------------------------------------------------

// The lines of a source put together from their pieces; `longest` gets the longest piece. With
// `ahead_every`, the source reads its next chunk ahead after every so many pieces, as the reader
// does while its helper reads the lines at hand.
std::vector<std::string> all_lines(LineSource& source, std::size_t* longest = nullptr, int ahead_every = 0)
{
    std::vector<std::string> lines;
    std::string_view piece;
    bool line_ends = true;
    for (bool new_line = true; source.next(piece, line_ends); new_line = line_ends) {
        if (new_line)
            lines.emplace_back();
        lines.back() += piece;
        if (longest)
            *longest = std::max(*longest, piece.size());
        if (ahead_every > 0 && lines.size() % static_cast<std::size_t>(ahead_every) == 0)
            source.read_next_chunk();
    }
    return lines;
}

TEST(LineSources, SplitLinesAndDropLineEnds)
{
    const std::string text = "one\r\n\ntwo  \r\nlast";
    const std::vector<std::string> expected{"one", "", "two  ", "last"};
    BufferLines buffer(text);
    EXPECT_EQ(all_lines(buffer), expected);

    BufferLines ends_with_break("a\nb\n");
    EXPECT_EQ(all_lines(ends_with_break), (std::vector<std::string>{"a", "b"}));
    BufferLines empty("");
    EXPECT_TRUE(all_lines(empty).empty());
}

TEST(LineSources, FileLinesMatchBufferLinesAcrossChunksAndLongLines)
{
    // Lines that cross the 1 MiB chunks, and one line longer than a chunk; read with the next
    // chunk read ahead now and then or at every line, and with a NUL byte that ends the text
    // in a chunk read ahead.
    std::string text;
    for (int i = 0; i < 120000; ++i)
        text += std::to_string(i) + " some text\r\n";
    text += std::string(3 << 20, 'x') + "\n\nend";
    struct Row {
        const char* name;
        int ahead_every;
        std::size_t nul_at; // npos: none
    };
    const Row rows[] = {
        {"as it comes", 0, std::string::npos},
        {"ahead every 1000 lines", 1000, std::string::npos},
        {"ahead at every line", 1, std::string::npos},
        {"a NUL in a chunk read ahead", 1, (1 << 20) + 5000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string written = text;
        if (row.nul_at != std::string::npos)
            written[row.nul_at] = '\0';
        auto path = testing::temp_file("vorax_line_source_test.txt");
        std::ofstream(path, std::ios::binary) << written;

        std::FILE* file = std::fopen(path.c_str(), "rb");
        ASSERT_NE(file, nullptr);
        FileLines from_file(file);
        BufferLines from_memory(written);
        EXPECT_EQ(from_file.length(), written.size());
        std::size_t longest = 0;
        std::vector<std::string> file_lines = all_lines(from_file, &longest, row.ahead_every);
        EXPECT_FALSE(from_file.failed());
        std::fclose(file);
        std::filesystem::remove(path);
        EXPECT_EQ(file_lines, all_lines(from_memory));
        EXPECT_EQ(from_file.stopped_at_nul(), from_memory.stopped_at_nul());
        if (row.nul_at == std::string::npos) {
            EXPECT_EQ(file_lines.size(), 120003u);
            EXPECT_EQ(longest, LineSource::kPieceLength); // the long line was never held whole
            EXPECT_EQ(from_memory.length(), written.size()); // a text in memory ends at a NUL
        }
    }
}

// A file's length counts from where it is read on; a pipe's is not known.
TEST(LineSources, TheLengthOfAFileIsKnownAndThatOfAPipeIsNot)
{
    auto path = testing::temp_file("vorax_line_source_length.txt");
    std::ofstream(path, std::ios::binary) << "TITLE\n1 0 2 1 0\n";
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::fseek(file, 6, SEEK_SET);
    EXPECT_EQ(FileLines(file).length(), 10u);
    std::fclose(file);
    std::filesystem::remove(path);

    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    EXPECT_EQ(write(ends[1], "T\n", 2), 2);
    close(ends[1]);
    std::FILE* piped = fdopen(ends[0], "rb");
    ASSERT_NE(piped, nullptr);
    EXPECT_EQ(FileLines(piped).length(), std::nullopt);
    std::fclose(piped);
}

TEST(LineSources, SmallPiecesKeepLinesAndLineEnds)
{
    const std::string text = "one\r\n\ntwo  \r\n\r\r\nlast\r";
    const std::vector<std::string> expected{"one", "", "two  ", "\r", "last"};
    for (std::size_t length : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(length);
        BufferLines pieces(text, length);
        std::size_t longest = 0;
        EXPECT_EQ(all_lines(pieces, &longest), expected);
        EXPECT_LE(longest, length);
    }
}

// ---- The record reader itself -------------------------------------------------------------------

// The integer values (or "null") of one record of `count` integer fields.
std::vector<std::string> integer_record(std::string_view text, int count)
{
    BufferLines lines(text);
    FreeFormatReader reader(lines);
    reader.begin_record();
    std::vector<std::string> values;
    while (static_cast<int>(values.size()) < count) {
        Item item;
        ItemStatus status = reader.next_item(FieldKind::integer, count - static_cast<int>(values.size()), item);
        if (status == ItemStatus::unreadable)
            return {"unreadable"};
        if (status == ItemStatus::end_of_file)
            return {"end of file"};
        for (std::int64_t i = 0; i < item.count; ++i)
            values.push_back(item.null ? "null" : std::to_string(item.integer));
    }
    return values;
}

struct RecordCase {
    const char* name;
    const char* text;
    int count;
    std::vector<std::string> expected;
};

TEST(FreeFormatRecords, IntegerFields)
{
    using V = std::vector<std::string>;
    const RecordCase cases[] = {
        {"blanks", "1 2   3", 3, V{"1", "2", "3"}},
        {"tabs", "1\t2\t\t3", 3, V{"1", "2", "3"}},
        {"commas", "1,2,3", 3, V{"1", "2", "3"}},
        {"comma_with_blanks", "1 , 2 ,3", 3, V{"1", "2", "3"}},
        {"signs", "+1 -2 -0", 3, V{"1", "-2", "0"}},
        {"continued", "1\n2\n3", 3, V{"1", "2", "3"}},
        {"blank_lines_skipped", "\n  \n1\n\n2 3", 3, V{"1", "2", "3"}},
        {"surplus_ignored", "1 2 3 4 words", 3, V{"1", "2", "3"}},
        {"repeat_count", "3*0", 3, V{"0", "0", "0"}},
        {"repeat_then_value", "2*-7 5", 3, V{"-7", "-7", "5"}},
        {"repeat_longer_than_record", "9*4", 3, V{"4", "4", "4"}},
        {"repeat_nulls", "2* 5", 3, V{"null", "null", "5"}},
        {"repeat_nulls_then_comma", "2*,5", 3, V{"null", "null", "5"}},
        {"empty_between_commas", "1,,3", 3, V{"1", "null", "3"}},
        {"leading_comma", ",2,3", 3, V{"null", "2", "3"}},
        {"blanks_between_commas", "1, ,3", 3, V{"1", "null", "3"}},
        {"comma_at_line_end_is_no_null", "1,\n2,\n3", 3, V{"1", "2", "3"}},
        {"commas_around_line_end", "1,\n,3", 3, V{"1", "null", "3"}},
        // Blank lines before a record are lines it reads: a comma after them only separates.
        {"comma_after_blank_lines", "\n  \n, 2 1", 2, V{"2", "1"}},
        {"second_comma_after_blank_line", "\n,,3", 2, V{"null", "3"}},
        {"slash_ends_record", "1 / 2 3", 3, V{"1", "null", "null"}},
        {"slash_right_after_value", "1 2/", 3, V{"1", "2", "null"}},
        {"slash_alone", "/", 3, V{"null", "null", "null"}},
        {"real_is_unreadable", "1 2.0 3", 3, V{"unreadable"}},
        {"exponent_is_unreadable", "1 2E1 3", 3, V{"unreadable"}},
        {"word_is_unreadable", "1 two 3", 3, V{"unreadable"}},
        {"sign_alone", "1 - 3", 3, V{"unreadable"}},
        {"beyond_32_bits", "2147483648", 1, V{"unreadable"}},
        {"smallest_32_bit", "-2147483648", 1, V{"-2147483648"}},
        {"zero_repeat", "0*5", 1, V{"unreadable"}},
        {"signed_repeat", "-2*5", 1, V{"unreadable"}},
        {"repeat_of_real", "2*1.5", 1, V{"unreadable"}},
        {"ends_early", "1 2", 3, V{"end of file"}},
        {"nothing", "\n\n", 1, V{"end of file"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(integer_record(c.text, c.count), c.expected);
    }
}

struct RealCase {
    const char* name;
    const char* text;
    bool readable;
    float value;
};

TEST(FreeFormatRecords, RealFields)
{
    const RealCase cases[] = {
        {"whole", "-2", true, -2.0f},
        {"fixed", "1.5", true, 1.5f},
        {"point_last", "5.", true, 5.0f},
        {"point_first", "-.25", true, -0.25f},
        {"plus_sign", "+3.5", true, 3.5f},
        {"e_exponent", "3.0E+02", true, 300.0f},
        {"lower_e", "3.0e2", true, 300.0f},
        {"d_exponent", "3.0D+02", true, 300.0f},
        {"lower_d_negative", "2.5d-1", true, 0.25f},
        {"exponent_without_point", "1E3", true, 1000.0f},
        {"rounded_to_float", "0.1", true, 0.1f},
        {"underflow_reads_as_zero", "1E-60", true, 0.0f},
        {"below_double_range", "1.0E-400", true, 0.0f},
        {"far_below_with_sign", "-1e-99999", true, -0.0f},
        {"just_below_double_range", "2e-324", true, 0.0f},
        {"long_fraction_below_range", "0.00000000000000000000001D-330", true, 0.0f},
        {"negative_zero", "-0.0", true, -0.0f},
        {"too_large_for_float", "1E39", false, 0},
        {"exponent_without_digits", "1.0E", false, 0},
        {"exponent_sign_only", "1.0E+", false, 0},
        {"point_alone", ".", false, 0},
        {"fortran_exponent_without_letter", "1.0+2", false, 0},
        {"infinity_word", "Infinity", false, 0},
        {"nan_word", "NaN", false, 0},
        {"hexadecimal", "0x10", false, 0},
        {"two_points", "1.2.3", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BufferLines lines(c.text);
        FreeFormatReader reader(lines);
        reader.begin_record();
        Item item;
        ItemStatus status = reader.next_item(FieldKind::real, 1, item);
        EXPECT_EQ(status == ItemStatus::value, c.readable);
        if (c.readable) {
            EXPECT_EQ(item.real, c.value);
            EXPECT_EQ(std::signbit(item.real), std::signbit(c.value));
        }
    }
}

TEST(FreeFormatRecords, RecordsStartOnTheLineAfterTheLastOne)
{
    BufferLines lines("1 2 3 4\n5 6\n7\n");
    FreeFormatReader reader(lines);
    Item item;
    reader.begin_record();
    ASSERT_EQ(reader.next_item(FieldKind::integer, 2, item), ItemStatus::value);
    EXPECT_EQ(item.integer, 1);
    reader.end_record();
    reader.begin_record();
    ASSERT_EQ(reader.next_item(FieldKind::integer, 1, item), ItemStatus::value);
    EXPECT_EQ(item.integer, 5); // "2 3 4" was surplus of the first record
    ASSERT_EQ(reader.next_item(FieldKind::integer, 1, item), ItemStatus::value);
    ASSERT_EQ(reader.next_item(FieldKind::integer, 1, item), ItemStatus::value);
    EXPECT_EQ(item.integer, 7); // continued on the next line
    EXPECT_EQ(reader.line_number(), 3);
}

// ---- The same rules inside a model file ----------------------------------------------------

TEST(FreeFormatInModels, CommasContinuationAndSurplus)
{
    StructureModel m = read_valid(model_file("3,2,\n2\n\n 1 0", "1,3,1\n\n,1\n", "",
                                             "1 1.0 2.0 these words are surplus\n2\n3.0\n\n4.0\n",
                                             "1,1,2,99\n"));
    EXPECT_EQ(m.node_count, 3);
    EXPECT_EQ(m.element_count, 2);
    EXPECT_EQ(m.node(3).codes, (std::array<std::int32_t, 3>{1, 1, 0}));
    EXPECT_EQ(coords_of(m, 1), (std::array<float, 3>{1, 2, 0}));
    EXPECT_EQ(coords_of(m, 2), (std::array<float, 3>{3, 4, 0}));
    EXPECT_EQ(m.element(1), (Element{1, 2}));
}

TEST(FreeFormatInModels, RepeatCountsFillFieldsOfEveryKind)
{
    // "4*0" gives the node number 0 and then three real zeros; "2*2.5" two real coordinates.
    StructureModel m = read_valid(model_file("2 0 3 1 0", "1 2 3*1\n", "", "4*0\n2 2*2.5 -1\n", ""));
    EXPECT_TRUE(m.node(1).fixed);
    EXPECT_TRUE(m.node(2).fixed);
    EXPECT_EQ(coords_of(m, 2), (std::array<float, 3>{2.5f, 2.5f, -1.0f}));
}

TEST(FreeFormatInModels, NullValuesKeepWhatTheFieldHeld)
{
    StructureModel m = read_valid(model_file(
        "3 2 3 1 0", "1 3 1 1 1\n2,2,,0,,\n", "",
        "1 1.0 2.0 3.0\n1,,5.0,,\n2 7.0 /\n3 /\n",
        "1 1 2\n1,,3\n2 2 3\n2 /\n"));
    EXPECT_EQ(m.node(2).codes, (std::array<std::int32_t, 3>{1, 0, 1}));
    EXPECT_FALSE(m.node(2).fixed);
    EXPECT_EQ(coords_of(m, 1), (std::array<float, 3>{1.0f, 5.0f, 3.0f}));
    EXPECT_EQ(coords_of(m, 2), (std::array<float, 3>{7.0f, 0.0f, 0.0f}));
    EXPECT_EQ(coords_of(m, 3), (std::array<float, 3>{0, 0, 0}));
    EXPECT_EQ(m.element(1), (Element{1, 3}));
    EXPECT_EQ(m.element(2), (Element{2, 3}));
}

TEST(FreeFormatInModels, NullNumberFieldsNameNoNodeOrElementAndASlashInTheHeaderLeavesTheRestZero)
{
    // A null node number is 0: the record is skipped, not applied to some node.
    StructureModel m = read_valid(model_file("2 1 2 1 0", ",,1,1\n", ",1.0,1.0\n", ",5.0,5.0\n", ",1,2\n"));
    EXPECT_TRUE(m.node(1).free);
    EXPECT_FALSE(m.node(1).has_values);
    EXPECT_EQ(coords_of(m, 1), (std::array<float, 3>{0, 0, 0}));
    EXPECT_EQ(m.element(1), (Element{0, 0}));
    // Fields 4 and 5 null: elements by node with no incidences, so nothing is connected.
    StructureModel slashed = read_valid(model_file("2 1 2 /", "", "", "", "1 0 1\n"));
    EXPECT_EQ(slashed.element(1), (Element{0, 0}));
}

TEST(FreeFormatInModels, ByNodeRowsWithRepeatsNullsAndSlashEvenForHugeIncidenceCounts)
{
    // Node 1 starts elements 1 and 2 ("0 1 0 2"); its second record sets position 1 and the
    // slash keeps positions 2..4, so its row becomes 1 1 0 2: it ends element 1 and starts
    // elements 1 and 2. "4*3" makes node 2 both ends of element 3; node 3 ends element 2.
    StructureModel m = read_valid(model_file("3 3 2 0 4", "", "", "",
                                             "1 0 1 0 2\n1 1 /\n2 4*3\n3 2*0 2 0\n"));
    EXPECT_EQ(m.element(1), (Element{1, 1}));
    EXPECT_EQ(m.element(2), (Element{1, 3}));
    EXPECT_EQ(m.element(3), (Element{2, 2}));

    // Two thousand million positions per record: rows are kept as runs, not one per value.
    StructureModel huge = read_valid(model_file("2 2 2 0 2000000000", "", "", "",
                                                "1 1999999998*0 1 2\n2 1 1999999999*0\n"));
    EXPECT_EQ(huge.element(1), (Element{0, 2}));
    EXPECT_EQ(huge.element(2), (Element{1, 0}));
}

TEST(FreeFormatInModels, PiecesOfAnyLengthReadLikeWholeLines)
{
    // Long lines come in pieces; values, line ends and the title must not notice where.
    const std::string long_title = std::string(150, 'T') + "\r\n";
    const std::string texts[] = {
        model_file("3 2 3 1 0", "1,3,1\n\n,1 0\n2 2 2*0 1 / surplus\n", "2 1.5 -2.5E-02 3.0d1\n",
                   "1 1.0 2.0 3.0 these words are surplus\n2\n\n4.0,,5.0\n3 0.001 123456.75 -0.0\n",
                   "1 1 2\n2,,3\n", long_title),
        model_file("4 3 2 0 4", "", "", "1 1 1\n", "1 0 1 0 2\n2 1 /\n3 4*3\n4 2*0 2 0\n"),
        // A value too long to be a number ends the code block like a word.
        "T\n2 1 2 1 0\n1 1 1 " + std::string(5000, '1') + "\nEND\nV\n1\n2\n3\n4\nE\nE\n",
        "T\n2 0 2 1 0\nC\r\nV\n1\n2\n3\n4\n1 1.0 " + std::string(3000, ' ') + "2.0\nE\nE\n",
    };
    for (const std::string& text : texts) {
        const ReadResult whole = read_model_text(text, "t.dat");
        EXPECT_TRUE(whole.ok()) << whole.message;
        for (std::size_t length : {1u, 2u, 3u, 7u, 100u}) {
            SCOPED_TRACE(std::to_string(length) + " in " + text.substr(0, 40));
            BufferLines pieces(text, length);
            const ReadResult cut = read_model_lines(pieces, "t.dat");
            EXPECT_EQ(cut.status, whole.status) << cut.message;
            EXPECT_EQ(cut.model, whole.model);
            EXPECT_EQ(cut.line, whole.line);
            EXPECT_EQ(cut.message, whole.message);
        }
    }
}

TEST(FreeFormatInModels, WindowsLineEndsAndTabs)
{
    std::string text = model_file("2\t1\t2\t1\t0", "1\t1\t1\t1\n", "", "2\t3.5\t4.5\n", "1\t1\t2\n");
    std::string crlf;
    for (char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    StructureModel m = read_valid(crlf);
    EXPECT_EQ(m.problem_title, "TEST MODEL");
    EXPECT_TRUE(m.node(1).fixed);
    EXPECT_EQ(coords_of(m, 2), (std::array<float, 3>{3.5f, 4.5f, 0}));
    EXPECT_EQ(m.element(1), (Element{1, 2}));
}

} // namespace
} // namespace vorax
