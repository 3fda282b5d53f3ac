// SPDX-License-Identifier: GPL-3.0-or-later
// The model file format as the reader takes it: title, header, the blocks, records out of
// range, classification and the origin node.

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <chrono>
#include <thread>
#include <vector>
#include <sys/resource.h>

#include "model_test_support.h"

namespace vorax {
namespace {

using testing::expect_invariants;
using testing::model_file;
using testing::read_valid;

std::array<std::int32_t, 3> codes_of(const StructureModel& m, int n) { return m.node(n).codes; }
std::array<float, 3> coords_of(const StructureModel& m, int n) { return m.node(n).coords; }

long peak_resident_kb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// ---- Comment lines and title -------------------------------------------------------------

TEST(TitleAndComments, TitleFollowsTheCommentsLosesTrailingBlanksAndIsCutAt100Characters)
{
    std::string long_title(120, 'T');
    long_title.replace(99, 1, "X");
    const auto title_of = [](const std::string& text) { return read_valid(text).problem_title; };
    // A single slash line after the comments is the title.
    EXPECT_EQ(title_of("// one\n// two\n//three\n/ A SLASHED TITLE\n"
                       + model_file("1 0 2 1 0", "", "", "", "").substr(11)),
              "/ A SLASHED TITLE");
    const std::string cut = title_of(model_file("1 0 2 1 0", "", "", "", "", long_title));
    EXPECT_EQ(cut.size(), 100u);
    EXPECT_EQ(cut.back(), 'X');
    EXPECT_EQ(title_of(model_file("1 0 2 1 0", "", "", "", "", "  FRAME   ")), "  FRAME");
    EXPECT_EQ(title_of("\xEF\xBB\xBF// comment\n" + model_file("1 0 2 1 0", "", "", "", "", "TITLE")),
              "TITLE"); // a byte order mark is not part of the first line
}

TEST(TitleAndComments, DoubleSlashLaterInTheFileIsNoComment)
{
    // After the title a "//" line is an ordinary line: in a block, a slash ends a record at
    // once, so the line is an empty record and the block goes on.
    std::string text = "T\n1 0 2 1 0\n1 1 1 1\n// not a comment\n1 1 0 1\nEND CODES\nEND VALUES\n1\n2\n3\n4\nEND\nEND\n";
    StructureModel m = read_valid(text);
    EXPECT_EQ(codes_of(m, 1), (std::array<std::int32_t, 3>{0, 1, 0})); // the record after it
    EXPECT_EQ(m.coded_node_count, 1);
}

// ---- Header --------------------------------------------------------------------------------

TEST(Header, GivesCountsAndArraysWithTheirInitialValues)
{
    StructureModel m = read_valid(model_file("3 2 3 1 0", "", "", "", ""));
    EXPECT_EQ(m.node_count, 3);
    EXPECT_EQ(m.element_count, 2);
    EXPECT_EQ(m.NGL, 3);
    for (const Node& node : m.nodes) {
        EXPECT_EQ(node.coords, (std::array<float, 3>{0, 0, 0}));
        EXPECT_EQ(node.codes, (std::array<std::int32_t, 3>{0, 0, 0}));
        EXPECT_EQ(node.values, (std::array<float, 3>{0, 0, 0}));
        EXPECT_TRUE(node.free);
        EXPECT_FALSE(node.fixed);
        EXPECT_FALSE(node.has_values);
    }
    for (const Element& element : m.elements)
        EXPECT_EQ(element, (Element{0, 0}));
}

TEST(Header, ZeroElementsIsAValidModelAndFieldFiveIsIgnoredForElementsByNumber)
{
    StructureModel none = read_valid(model_file("2 0 2 1 0", "", "", "1 1.0 2.0\n", ""));
    EXPECT_EQ(none.element_count, 0);
    EXPECT_TRUE(none.elements.empty());
    StructureModel m = read_valid(model_file("2 1 2 7 -3", "", "", "", "1 1 2\n"));
    EXPECT_EQ(m.element(1), (Element{1, 2}));
}

struct BadHeader {
    const char* name;
    std::string text;
};

TEST(Header, WrongInputFilesWithMessagesThatSayWhatIsWrong)
{
    const BadHeader cases[] = {
        {"word_instead_of_counts", "T\nNODES 3 2\n"},
        {"real_node_count", "T\n3.0 2 2 1 0\n"},
        {"exponent_in_integer", "T\n3E1 2 2 1 0\n"},
        {"too_few_values_before_end", "T\n3 2 2\n"},
        {"ngl_one", model_file("3 2 1 1 0", "", "", "", "")},
        {"ngl_four", model_file("3 2 4 1 0", "", "", "", "")},
        {"no_nodes", model_file("0 2 2 1 0", "", "", "", "")},
        {"negative_node_count", model_file("-5 2 2 1 0", "", "", "", "")},
        {"negative_element_count", model_file("3 -1 2 1 0", "", "", "", "")},
        {"count_beyond_32_bits", "T\n3000000000 2 2 1 0\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReadResult r = read_model_text(c.text, "bad.dat");
        EXPECT_EQ(r.status, ReadStatus::wrong_input_file);
        EXPECT_FALSE(r.message.empty());
        EXPECT_EQ(r.file_name, "bad.dat");
        EXPECT_EQ(r.model, StructureModel{}); // nothing of the file stays
    }
    // The messages say what is wrong.
    EXPECT_NE(read_model_text(model_file("3 2 4 1 0", "", "", "", "")).message.find("NGL = 4"),
              std::string::npos);
    ReadResult r = read_model_text("T\n3 2 2\n");
    EXPECT_NE(r.message.find("ends after line 2"), std::string::npos) << r.message;
    EXPECT_EQ(r.line, 2);
}

TEST(Header, CountsNeedingMoreMemoryThanCanBeHadAreAWrongInputFile)
{
    ReadOptions small;
    small.memory_limit = 1 << 20;
    ReadResult r = read_model_text(model_file("100000 1 3 1 0", "", "", "", ""), "big.dat", small);
    EXPECT_EQ(r.status, ReadStatus::wrong_input_file);
    EXPECT_NE(r.message.find("100000 nodes and 1 element, which need"), std::string::npos) << r.message;
    EXPECT_NE(r.message_ro.find("100000 noduri si 1 element, care"), std::string::npos) << r.message_ro;

    // The largest counts the header can hold are refused before anything is allocated.
    ReadResult huge = read_model_text(model_file("2147483647 2147483647 3 0 2147483647", "", "", "", ""));
    EXPECT_EQ(huge.status, ReadStatus::wrong_input_file);
    EXPECT_TRUE(huge.model.nodes.empty());

    ReadResult fits = read_model_text(model_file("1000 10 3 1 0", "", "", "", ""), "", small);
    EXPECT_EQ(fits.status, ReadStatus::ok) << fits.message;
}

// The lines of a text that come slowly after its first two, as from a slow disk (its length
// given) or a pipe (none).
class SlowLines final : public LineSource {
public:
    SlowLines(std::string_view text, std::optional<std::uint64_t> length) : lines_(text), length_(length) {}
    bool next(std::string_view& piece, bool& line_ends) override
    {
        if (++calls_ == 3)
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        return lines_.next(piece, line_ends);
    }
    std::optional<std::uint64_t> length() const override { return length_; }

private:
    BufferLines lines_;
    std::optional<std::uint64_t> length_;
    int calls_ = 0;
};

TEST(Header, CountsCostNothingUntilRecordsArrive)
{
    // 2.75 GB of arrays were claimed here; the file ends in the code block, at once or after a
    // while.
    ReadOptions roomy;
    roomy.memory_limit = std::uint64_t{1} << 40;
    const long before = peak_resident_kb();
    const std::string claims = "T\n50000000 50000000 3 1 0\n1 1 1 1 1\n";
    ReadResult r = read_model_text(claims, "claims.dat", roomy);
    EXPECT_EQ(r.status, ReadStatus::end_of_file) << r.message;
    for (const std::optional<std::uint64_t> length : {std::optional<std::uint64_t>(claims.size()), {}}) {
        SlowLines slow(claims, length);
        EXPECT_EQ(read_model_lines(slow, "slow.dat", roomy).status, ReadStatus::end_of_file);
    }
    EXPECT_LT(peak_resident_kb() - before, 64 * 1024);

    // Records that name the last node and element fill in everything before them.
    ReadResult full = read_model_text(model_file("300000 200000 2 1 0", "", "", "300000 1.0 2.0\n",
                                                 "200000 300000 1\n"), "", roomy);
    ASSERT_TRUE(full.ok()) << full.message;
    expect_invariants(full.model);
    EXPECT_EQ(full.model.node(300000).coords, (std::array<float, 3>{1, 2, 0}));
    EXPECT_EQ(full.model.element(200000), (Element{300000, 1}));
    EXPECT_EQ(full.model.origin_node, 1);
}

TEST(Header, ArraysLargeEnoughForTheirPagesToBePutInPlaceAheadKeepEveryRecord)
{
    // The pages of arrays this large are put in place from their end while the records are
    // written from their start: nothing a record wrote may be lost where the two meet. (Every
    // byte of these coordinates counts: none is a whole number or a half.)
    constexpr int kNodes = 400000;
    std::string coordinates;
    std::vector<std::array<float, 3>> written(kNodes, {0, 0, 0});
    for (int n = 1; n <= kNodes; ++n) {
        const std::string x = std::to_string(n) + ".3", y = "-" + std::to_string(n % 1000) + ".7";
        std::from_chars(x.data(), x.data() + x.size(), written[n - 1][0]);
        std::from_chars(y.data(), y.data() + y.size(), written[n - 1][1]);
        coordinates += std::to_string(n) + ' ' + x + ' ' + y + '\n';
    }
    const StructureModel m = read_valid(model_file("400000 0 2 1 0", "", "", coordinates, ""));
    int wrong = 0;
    for (int n = 1; n <= kNodes; ++n)
        wrong += coords_of(m, n) != written[n - 1] ? 1 : 0;
    EXPECT_EQ(wrong, 0);
}

// ---- Code block ------------------------------------------------------------------------------

TEST(CodeBlock, AnEmptyBlockOrARecordWithLastBelowFirstLeavesEveryNodeFree)
{
    for (const auto& [header, codes] : {std::pair{"6 0 2 1 0", "5 3 1 1\n"}, {"4 0 3 1 0", ""}}) {
        SCOPED_TRACE(header);
        StructureModel m = read_valid(model_file(header, codes, "", "", ""));
        for (const Node& node : m.nodes)
            EXPECT_TRUE(node.free);
        EXPECT_EQ(m.coded_node_count, 0);
    }
}

TEST(CodeBlock, RangeGetsTheCodesAndIsClassified)
{
    StructureModel m = read_valid(model_file("6 0 2 1 0", "3 5 1 0\n", "", "", ""));
    for (int n = 3; n <= 5; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(codes_of(m, n), (std::array<std::int32_t, 3>{1, 0, 0}));
        EXPECT_FALSE(m.node(n).free);
        EXPECT_FALSE(m.node(n).fixed);
    }
    EXPECT_TRUE(m.node(2).free);
    EXPECT_TRUE(m.node(6).free);
    EXPECT_EQ(m.coded_node_count, 3);
    expect_invariants(m);
}

TEST(CodeBlock, SpatialFixedAndFreeNodesAndAPlaneNodeFixedByItsTwoCodes)
{
    StructureModel m = read_valid(model_file("3 0 3 1 0", "1 1 1 1 1\n2 2 0 0 0\n3 3 2 -1 0\n", "", "", ""));
    EXPECT_TRUE(m.node(1).fixed);
    EXPECT_FALSE(m.node(1).free);
    EXPECT_TRUE(m.node(2).free);
    EXPECT_FALSE(m.node(2).fixed);
    EXPECT_FALSE(m.node(3).fixed);
    EXPECT_FALSE(m.node(3).free);
    EXPECT_EQ(m.coded_node_count, 2);
    StructureModel plane = read_valid(model_file("2 0 2 1 0", "1 1 1 -2\n", "", "", ""));
    EXPECT_TRUE(plane.node(1).fixed);
    EXPECT_EQ(codes_of(plane, 1), (std::array<std::int32_t, 3>{1, -2, 0}));
}

TEST(CodeBlock, LaterRecordReplacesCodesAndNumbersOutsideAreSkipped)
{
    StructureModel m = read_valid(model_file("4 0 2 1 0", "-10 100 1 1\n2 2 0 1\n", "", "", ""));
    EXPECT_EQ(codes_of(m, 1), (std::array<std::int32_t, 3>{1, 1, 0}));
    EXPECT_EQ(codes_of(m, 2), (std::array<std::int32_t, 3>{0, 1, 0}));
    EXPECT_EQ(codes_of(m, 4), (std::array<std::int32_t, 3>{1, 1, 0}));
    EXPECT_EQ(m.coded_node_count, 4);
}

// ---- Value block and the four skipped lines -----------------------------------------------

TEST(ValueBlock, StoresValuesAndMarksTheNodeAndAPlaneModelSetsTwoValuesOnly)
{
    StructureModel m = read_valid(model_file("3 0 3 1 0", "", "2 0.5 -1.5 2.5E-3\n2 1 2 3\n9 1 1 1\n0 1 1 1\n", "", ""));
    EXPECT_TRUE(m.node(2).has_values);
    EXPECT_EQ(m.node(2).values, (std::array<float, 3>{1, 2, 3})); // the later record wins
    EXPECT_FALSE(m.node(1).has_values);
    EXPECT_FALSE(m.node(3).has_values);
    StructureModel plane = read_valid(model_file("1 0 2 1 0", "", "1 4.0 5.0 6.0\n", "", ""));
    EXPECT_EQ(plane.node(1).values, (std::array<float, 3>{4, 5, 0}));
}

TEST(SkippedLines, FourLinesAfterTheValueBlockAreSkippedWhateverTheyHold)
{
    // model_file puts four lines of numbers there; they would be coordinate records otherwise.
    StructureModel m = read_valid(model_file("12 0 2 1 0", "", "", "", ""));
    for (const Node& node : m.nodes)
        EXPECT_EQ(node.coords, (std::array<float, 3>{0, 0, 0}));
    std::string text = "T\n2 0 2 1 0\nC\nV\n\n\n\n\n1 5.0 6.0\nE\nE\n";
    EXPECT_EQ(coords_of(read_valid(text), 1), (std::array<float, 3>{5, 6, 0})); // blank lines count
}

// ---- Coordinate block and the origin node ---------------------------------------------------

TEST(CoordinateBlock, SecondRecordForANodeWinsAndOnesBeyondTheCountAreIgnored)
{
    StructureModel m = read_valid(model_file("8 0 2 1 0", "", "", "7 1.0 2.0\n7 3.0 4.0\n", ""));
    EXPECT_EQ(coords_of(m, 7), (std::array<float, 3>{3, 4, 0}));
    StructureModel beyond = read_valid(model_file("3 0 2 1 0", "", "", "4 9.0 9.0\n0 9.0 9.0\n-1 9.0 9.0\n3 1.0 1.0\n", ""));
    EXPECT_EQ(coords_of(beyond, 3), (std::array<float, 3>{1, 1, 0}));
    EXPECT_EQ(beyond.origin_node, 1);
}

TEST(CoordinateBlock, OriginNodeIsTheFirstAtZero)
{
    StructureModel m = read_valid(model_file("4 0 3 1 0", "", "", "1 1 0 0\n2 0 0 1\n3 0 0 0\n4 0 0 0\n", ""));
    EXPECT_EQ(m.origin_node, 3);
    StructureModel none = read_valid(model_file("2 0 2 1 0", "", "", "1 1 0\n2 0 1\n", ""));
    EXPECT_EQ(none.origin_node, 0);
    // A plane model does not look at a third coordinate.
    StructureModel plane = read_valid(model_file("1 0 2 1 0", "", "", "1 0.0 -0.0\n", ""));
    EXPECT_EQ(plane.origin_node, 1);
    // With all nodes at the origin it is the first of them.
    EXPECT_EQ(read_valid(model_file("3 0 2 1 0", "", "", "", "")).origin_node, 1);
}

// ---- Elements by number ------------------------------------------------------------------------

TEST(ElementsByNumber, RecordsInRangeAreStoredAndOthersSkipped)
{
    StructureModel m = read_valid(model_file("3 4 2 1 0", "", "", "", "1 1 2\n2 2 3\n2 3 1\n3 0 2\n"));
    EXPECT_EQ(m.element(1), (Element{1, 2}));
    EXPECT_EQ(m.element(2), (Element{3, 1})); // the later record wins
    EXPECT_EQ(m.element(3), (Element{0, 2})); // 0 is a valid "no node"
    EXPECT_EQ(m.element(4), (Element{0, 0})); // named by no record
    StructureModel out = read_valid(model_file("3 2 2 1 0", "", "", "", "0 1 2\n3 1 2\n1 1 4\n1 -1 2\n2 2 3\n"));
    EXPECT_EQ(out.element(1), (Element{0, 0}));
    EXPECT_EQ(out.element(2), (Element{2, 3}));
}

// ---- Elements by node ---------------------------------------------------------------------------

TEST(ElementsByNode, PairsNameEndingAndStartingElements)
{
    StructureModel m = read_valid(model_file("5 6 2 0 4", "", "", "", "3 2 5 0 -1\n"));
    EXPECT_EQ(m.element(2), (Element{0, 3}));
    EXPECT_EQ(m.element(5), (Element{3, 0}));
    for (int e : {1, 3, 4, 6})
        EXPECT_EQ(m.element(e), (Element{0, 0})) << e;
}

TEST(ElementsByNode, OddCountIgnoresTheLastValue)
{
    StructureModel m = read_valid(model_file("3 4 2 0 3", "", "", "", "1 0 1 4\n2 1 2 3\n"));
    EXPECT_EQ(m.element(1), (Element{1, 2}));
    EXPECT_EQ(m.element(2), (Element{2, 0}));
    EXPECT_EQ(m.element(3), (Element{0, 0}));
    EXPECT_EQ(m.element(4), (Element{0, 0}));
}

TEST(ElementsByNode, HighestNodeWinsAndLaterRecordReplacesTheRow)
{
    // Node 1 first starts element 1, then its row is replaced and starts element 2 instead;
    // nodes 2 and 3 both start element 3: node 3 wins.
    StructureModel m = read_valid(model_file("3 3 2 0 2", "", "", "",
                                             "1 0 1\n3 0 3\n2 0 3\n1 0 2\n2 1 0\n"));
    EXPECT_EQ(m.element(1), (Element{0, 2}));
    EXPECT_EQ(m.element(2), (Element{1, 0}));
    EXPECT_EQ(m.element(3), (Element{3, 0}));
}

TEST(ElementsByNode, CountBelowTwoConnectsNothing)
{
    for (const char* header : {"2 2 2 0 1", "2 2 2 0 0", "2 2 2 0 -4"}) {
        SCOPED_TRACE(header);
        StructureModel m = read_valid(model_file(header, "", "", "", "1 1\n2 2\n"));
        EXPECT_EQ(m.element(1), (Element{0, 0}));
        EXPECT_EQ(m.element(2), (Element{0, 0}));
    }
}

TEST(ElementsByNode, RecordsForMissingNodesAndElementsAreSkipped)
{
    StructureModel m = read_valid(model_file("2 2 2 0 2", "", "", "", "0 1 2\n3 1 2\n1 9 2\n2 2 -5\n"));
    EXPECT_EQ(m.element(1), (Element{0, 0}));
    EXPECT_EQ(m.element(2), (Element{1, 2}));
}

// ---- Block terminators and the end of the file ----------------------------------------------

TEST(Terminators, FirstUnreadableLineOrARealInAnIntegerFieldEndsTheBlockAndIsConsumed)
{
    // "2 2 X" ends the code block although it starts like a record; the value block starts
    // on the next line.
    std::string text = "T\n3 0 2 1 0\n1 1 1 1\n2 2 X\n3 1.5 2.5\nEND\n1\n2\n3\n4\nEND\nEND\n";
    StructureModel m = read_valid(text);
    EXPECT_EQ(codes_of(m, 2), (std::array<std::int32_t, 3>{0, 0, 0}));
    EXPECT_TRUE(m.node(3).has_values);
    EXPECT_EQ(m.node(3).values, (std::array<float, 3>{1.5f, 2.5f, 0}));
    // A real in an integer field ends a block too: "2.0 2.0 2.0" ends the coordinates, so
    // "END OF COORDINATES" becomes an element line and the element block ends there.
    StructureModel real = read_valid(model_file("3 0 2 1 0", "", "", "1 1.0 1.0\n2.0 2.0 2.0\n", ""));
    EXPECT_EQ(coords_of(real, 1), (std::array<float, 3>{1, 1, 0}));
}

struct EndOfFileCase {
    const char* name;
    std::string text;
    const char* part;
    long line;
};

TEST(EndOfFile, InsideEveryPartThatNeedsMoreLines)
{
    const std::string head = "T\n2 1 2 1 0\n";
    const EndOfFileCase cases[] = {
        {"empty_file", "", "title", 0},
        {"only_comments", "// a\n// b\n", "title", 2},
        {"inside_code_block", head + "1 1 1 1\n", "code block", 3},
        {"code_record_cut_short", head + "1 1 1\n", "code block", 3},
        {"inside_value_block", head + "C\n1 0 0\n", "value block", 4},
        {"inside_skipped_lines", head + "C\nV\n1\n2\n3\n", "four lines", 7},
        {"inside_coordinate_block", head + "C\nV\n1\n2\n3\n4\n1 0 0\n\n", "coordinate block", 10},
        {"element_block_without_closing_line", head + "C\nV\n1\n2\n3\n4\nX\n1 1 2\n", "element block", 10},
        {"empty_element_block_at_end", head + "C\nV\n1\n2\n3\n4\nX\n", "element block", 9},
        {"by_node_without_closing_line", "T\n2 1 2 0 2\nC\nV\n1\n2\n3\n4\nX\n1 0 1\n", "element block", 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReadResult r = read_model_text(c.text, "cut.dat");
        EXPECT_EQ(r.status, ReadStatus::end_of_file);
        EXPECT_EQ(r.line, c.line);
        EXPECT_NE(r.message.find(c.part), std::string::npos) << r.message;
        EXPECT_NE(r.message.find("cut.dat"), std::string::npos) << r.message;
        // In Romanian runs the same report, with no English word left.
        const std::string ro = read_failure_text(r, UiLanguage::romanian);
        EXPECT_EQ(ro.rfind("Sfarsit de fisier in ", 0), 0u) << ro;
        EXPECT_NE(ro.find("\"cut.dat\" dupa linia " + std::to_string(c.line) + ": "), std::string::npos) << ro;
        EXPECT_EQ(ro.find("the "), std::string::npos) << ro;
        EXPECT_EQ(read_failure_text(r, UiLanguage::english), r.message);
        EXPECT_EQ(r.model, StructureModel{});
    }
}

TEST(EndOfFile, ClosingLineWithoutLineBreakIsEnough)
{
    std::string text = model_file("2 1 2 1 0", "", "", "", "1 1 2\n");
    text.pop_back();
    EXPECT_EQ(read_model_text(text).status, ReadStatus::ok);
}

// ---- Invariants over the examples ---------------------------------------------------------------

TEST(Invariants, HoldForMixedRecords)
{
    StructureModel m = read_valid(model_file("5 4 3 1 0", "1 2 1 1 1\n3 3 0 1 0\n", "3 0 -0.01 0\n",
                                             "1 0 0 0\n2 1 0 0\n3 1 1 0\n4 0 1 0\n5 0 0 1\n",
                                             "1 1 2\n2 2 3\n3 3 4\n4 4 1\n"));
    expect_invariants(m);
    EXPECT_EQ(m.coded_node_count, 3);
}

} // namespace
} // namespace vorax
