// SPDX-License-Identifier: GPL-3.0-or-later
// Plain records read whole, many at a time and read ahead by the helper thread, against the
// same texts read value by value: generated models, the same with random edits, reals at the
// edges of the quick conversion and a file of several chunks must read the same, bit for bit.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "model_generator.h"
#include "model_test_support.h"

namespace vorax {
namespace {

enum class Way { by_value, whole, read_ahead, without_notes };

ReadResult read_way(std::string_view text, Way way, std::size_t ahead_length = LineSource::kPieceLength)
{
    ReadOptions options;
    options.whole_records = way != Way::by_value;
    options.read_ahead_length = way == Way::read_ahead || way == Way::without_notes ? 1 : 0;
    options.keep_notes = way != Way::without_notes;
    BufferLines lines(text, LineSource::kPieceLength, ahead_length);
    return read_model_lines(lines, "same.dat", options);
}

// Equal results, the floats bit for bit (a model compares -0.0 equal to 0.0).
bool same(const ReadResult& a, const ReadResult& b)
{
    if (a.status != b.status || a.line != b.line || a.message != b.message || !(a.model == b.model)
        || !(a.notes == b.notes))
        return false;
    for (std::size_t n = 0; n < a.model.nodes.size(); ++n)
        for (std::size_t j = 0; j < 3; ++j)
            if (std::bit_cast<std::uint32_t>(a.model.nodes[n].coords[j]) != std::bit_cast<std::uint32_t>(b.model.nodes[n].coords[j])
                || std::bit_cast<std::uint32_t>(a.model.nodes[n].values[j]) != std::bit_cast<std::uint32_t>(b.model.nodes[n].values[j]))
                return false;
    return true;
}

// Reads `text` every way, in windows of every size from `ahead_lengths`; the result read value
// by value. Read without notes, the model is the same and the notes are empty.
ReadResult expect_every_way_alike(const std::string& text, std::initializer_list<std::size_t> ahead_lengths)
{
    ReadResult by_value = read_way(text, Way::by_value);
    ReadResult without_notes = by_value;
    without_notes.notes = {};
    for (std::size_t length : ahead_lengths)
        for (Way way : {Way::whole, Way::read_ahead, Way::without_notes})
            EXPECT_TRUE(same(read_way(text, way, length), way == Way::without_notes ? without_notes : by_value))
                << "ahead length " << length << ", way " << int(way) << ", text:\n" << text.substr(0, 3000);
    return by_value;
}

TEST(PlainRecords, GeneratedAndEditedModelsReadAlike)
{
    testing::ModelGenerator generator(20250101);
    std::mt19937 random(7);
    const char* inserts[] = {" ", ",", "/", "*", "2*", "\n", "\r\n", "\n\n", "-", "+", ".", "E", "d-",
                             "0", "9", "x", "\t", "1.5", "99999999999", "1e23"};
    int read = 0;
    for (int i = 0; i < 300; ++i) {
        std::string text = generator.model();
        read += expect_every_way_alike(text, {1 + random() % 200, LineSource::kPieceLength}).ok() ? 1 : 0;
        for (int edits = 1 + random() % 4; edits > 0; --edits) {
            const std::size_t at = random() % (text.size() + 1);
            if (random() % 3 == 0)
                text.erase(at, 1 + random() % 3);
            else
                text.insert(at, random() % 20 == 0 ? std::string(1, '\0') : std::string(inserts[random() % 20]));
        }
        read += expect_every_way_alike(text, {1 + random() % 200, LineSource::kPieceLength}).ok() ? 1 : 0;
    }
    EXPECT_GT(read, 300); // the unedited models and some edited ones
}

TEST(PlainRecords, BlankLinesAtEveryWindowEndReadAlike)
{
    std::mt19937 random(5);
    const char* blanks[] = {"", "", "", "\n", "  \n", "\r\n", "\n\t\n"};
    std::string text = "BLANKS\n60 60 2 1 0\nEND\nEND\n1\n2\n3\n4\n";
    for (int n = 1; n <= 60; ++n)
        text += blanks[random() % 7] + std::to_string(n) + " " + std::to_string(n % 7) + ".5 -" + std::to_string(n) + "\n";
    text += "END\n\n";
    for (int e = 1; e <= 60; ++e)
        text += std::to_string(e) + " " + std::to_string(e) + " " + std::to_string(61 - e) + "\n" + blanks[random() % 7];
    text += "END\n";
    for (std::size_t length = 1; length < 120; ++length)
        ASSERT_TRUE(expect_every_way_alike(text, {length}).ok());
}

// Reals within the float range: next to halfway points between floats with 15 digits (which a
// double rounds to the halfway point now and then), with 6 to 17 digits, at the limits of the
// powers of ten a double holds exactly, short ones of every shape, and of other plain forms.
std::string tricky_real(std::mt19937& random)
{
    char text[5000];
    const auto f = std::bit_cast<float>(static_cast<std::uint32_t>(0x2C000000 + random() % 0x46000000));
    const double halfway = (double(f) + double(std::nextafter(f, 2.0f * f))) / 2;
    switch (random() % 7) {
    case 0: std::snprintf(text, sizeof text, "%.14e", random() % 2 ? halfway : -halfway); break;
    case 1: std::snprintf(text, sizeof text, "%u", (1u << 24) + static_cast<unsigned>(random() % (1u << 26))); break;
    case 2: std::snprintf(text, sizeof text, "%.*g", int(6 + random() % 12), double(f)); break;
    case 3: std::snprintf(text, sizeof text, "%lluE%d", static_cast<unsigned long long>(random()) * 1000003ull % 999999999999999ull, int(random() % 48) - 25); break;
    case 4: std::snprintf(text, sizeof text, "%s0.%0*d5", random() % 2 ? "-" : "", int(random() % 30), 0); break;
    case 5: { // up to eight digits, a point anywhere among them or none, a sign or none, an
              // exponent or none
        std::string short_real = random() % 3 == 0 ? "-" : random() % 2 ? "+" : "";
        const unsigned digits = 1 + random() % 8;
        const unsigned point = random() % (digits + 2); // before digit `point`; none above digits
        for (unsigned i = 0; i < digits; ++i)
            short_real += std::string(i == point ? "." : "") + char('0' + random() % 10);
        if (point == digits)
            short_real += '.';
        if (random() % 2)
            short_real += "eEdD"[random() % 4] + std::string(random() % 2 ? "-" : random() % 2 ? "+" : "")
                + (random() % 2 ? "0" : "") + std::to_string(random() % 21);
        return short_real;
    }
    default: {
        const char* forms[] = {"-0", "+.5", "5.", ".5E+3", "1D22", "1e-22", "1e-23", "0000001.5", "-0.0e5",
                               "123456789012345", "1234567890123456", "3.4028235e38", "1.17549435e-38"};
        return forms[random() % 13];
    }
    }
    return text;
}

TEST(PlainRecords, RealsAtTheEdgesOfTheQuickConversionReadAlike)
{
    std::mt19937 random(11);
    std::string text = "REALS\n3000 0 3 1 0\nEND\nEND\n1\n2\n3\n4\n";
    for (int n = 1; n <= 3000; ++n)
        text += std::to_string(n) + " " + tricky_real(random) + (n % 7 ? " " : ", ") + tricky_real(random) + "\t"
            + tricky_real(random) + "\n";
    text += "1 " + std::string(5000, '0') + " 0 0\nEND\nEND\n";
    const ReadResult result = expect_every_way_alike(text, {997, LineSource::kPieceLength});
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.notes.block_ends.at(2).value.fault, ValueFault::too_long); // every record read
}

struct LineCase {
    const char* name;
    std::string line;
};

TEST(PlainRecords, LinesOfEveryShapeAroundTheFirstSixtyFourCharactersReadAlike)
{
    const LineCase cases[] = {
        {"blanks_and_tabs", "1\t 1.5   2.5\t3.5"},
        {"comma_between_values", "1 1.5, 2.5 3.5"},
        {"slash_after_the_values", "1 1.5 2.5 3.5 /"},
        {"slash_ends_the_record_early", "1 1.5 /"},
        {"words_after_the_values", "1 1.5 2.5 3.5 anything, here/"},
        {"carriage_return_inside", "1 1.5\r2.5 3.5"},
        {"carriage_return_before_the_line_feed", "1 1.5 2.5 3.5\r"},
        {"too_few_values", "1 1.5 2.5"},
        {"repeat_group", "1 3*2.5"},
        {"null_value", "1 1.5,,3.5"},
        {"letter_in_a_value", "1 1.5x 2.5 3.5"},
        {"real_for_the_node_number", "1.0 1.5 2.5 3.5"},
        {"value_not_read_quickly", "1 16777217 2.5 3.5"},
        // Eight digits above 2^24 and a power of ten: rounded twice, they would miss the float
        // nearest to them.
        {"eight_digits_with_an_exponent", "1 25399607E-7 77129805d-5 99999999"},
        {"leading_comma", ",1 1.5 2.5 3.5"},
        {"blank_lines_before", "\n   \n\t\n1 1.5 2.5 3.5"},
        {"line_of_63_characters", "1 1.5 2.5 3.5" + std::string(50, ' ')},
        {"line_of_64_characters", "1 1.5 2.5 3.5" + std::string(51, ' ')},
        {"value_across_the_64th_character", std::string(56, ' ') + "1 1.5 2.5 3.5"},
        {"long_line", std::string(90, ' ') + "1 1.5 2.5 3.5"},
    };
    std::string rest;
    for (int n = 2; n <= 9; ++n)
        rest += "  " + std::to_string(n) + "   1.25000   2.50000   " + std::to_string(n) + "\n";
    // Each line first in a glance, and after a short line within the same glance.
    for (const std::string before : {"", "9 1 1 1\n"})
        for (const LineCase& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (before.empty() ? "" : " after a short line"));
            const std::string text = "SHAPES\n9 0 3 1 0\nEND\nEND\n1\n2\n3\n4\n" + before + c.line + "\n" + rest + "END\nEND\n";
            expect_every_way_alike(text, {LineSource::kPieceLength});
        }
}

TEST(PlainRecords, FileOfSeveralChunksReadsAlike)
{
    // Plain lines with now and then one that is not, across the file's 1 MiB chunks.
    std::mt19937 random(3);
    const char* odd[] = {"%d 1.5, , 2.5\n", "%d 2*1.25\n", "\n%d 1 2 3\n", "%d 1.0\r\n2.0 3.0\n", "%d 1 2 3 4 5\r\n"};
    std::string text = "// chunks\nGRID\n90000 90000 3 1 0\n1 90000 1 0 1\nEND\nEND\n1\n2\n3\n4\n";
    char line[200];
    for (int n = 1; n <= 90000; ++n) {
        if (random() % 400 == 0)
            std::snprintf(line, sizeof line, odd[random() % 5], n);
        else
            std::snprintf(line, sizeof line, "%9d %14.5f %14.5f %14.5f\n", n, n * 0.37, n * -1.25e-3, n * 7.0);
        text += line;
    }
    text += "ELEMENTS\n";
    for (int e = 1; e <= 90000; ++e)
        text += std::to_string(e) + (e % 1000 ? " " : " ,") + std::to_string(e) + " " + std::to_string(e % 90000 + 1) + "\n";
    text += "END\n";
    const auto path = testing::temp_file("vorax_plain_records.dat");
    std::ofstream(path, std::ios::binary) << text;
    ReadOptions by_value;
    by_value.whole_records = false;
    const ReadResult expected = read_model(path, by_value);
    const ReadResult whole = read_model(path);
    std::filesystem::remove(path);
    ASSERT_TRUE(expected.ok()) << expected.message;
    EXPECT_TRUE(same(whole, expected));
}

} // namespace
} // namespace vorax
