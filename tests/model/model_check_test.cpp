// SPDX-License-Identifier: GPL-3.0-or-later
// The model check: one small model per kind of finding with the lines it must name, clean files
// that must give none, and the reader notes it rests on.

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "model/model_check.h"
#include "model_test_support.h"

namespace vorax {

// Kinds by name in test messages.
void PrintTo(FindingKind kind, std::ostream* os) { *os << kind_name(kind); }

namespace {

using testing::example_path;
using testing::file_text;
using testing::model_file;

// A square of four nodes and four elements, node 1 held. Lines: 3 the code record, 4 and 5 the
// closing headings of the code and value blocks, 10-13 the coordinates, 14 their heading,
// 15-18 the elements.
constexpr const char* kCodes = "1 1 1 1\n";
constexpr const char* kCoordinates = "1 0 0\n2 1 0\n3 1 1\n4 0 1\n";
constexpr const char* kElements = "1 1 2\n2 2 3\n3 3 4\n4 4 1\n";

std::string square(const std::string& header = "4 4 2 1 0", const std::string& coordinates = kCoordinates,
                   const std::string& elements = kElements, const std::string& codes = kCodes)
{
    return model_file(header, codes, "", coordinates, elements);
}

// `text` with the first `from` replaced by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    return text.replace(text.find(from), from.size(), to);
}

CheckReport check(const std::string& text)
{
    const ReadResult result = read_model_text(text, "check.dat");
    EXPECT_TRUE(result.ok()) << result.message;
    return check_model(result.model, result.notes);
}

using Expected = std::vector<std::pair<FindingKind, long>>;

Expected kinds_and_lines(const CheckReport& report)
{
    Expected found;
    for (const Finding& f : report.findings)
        found.emplace_back(f.kind, f.line);
    return found;
}

struct Case {
    const char* name;
    std::string text;
    Expected expected;
    const char* words;    // in the text of the first finding
    const char* romanian; // in its Romanian text
};

TEST(ModelCheck, OneModelPerKind)
{
    using K = FindingKind;
    const std::string by_node_square = model_file("4 4 2 0 2", kCodes, "", kCoordinates,
                                                  "1 4 1\n2 1 2\n3 2 3\n4 3 4\n");
    // The square's elements and every other one from 6 to `count`: each undefined one a range.
    const auto every_other_undefined = [](int count) {
        std::string elements = kElements;
        for (int e = 6; e <= count; e += 2)
            elements += std::to_string(e) + " 1 2\n";
        return square("4 " + std::to_string(count) + " 2 1 0", kCoordinates, elements);
    };
    const Case cases[] = {
        {"real_in_a_code_record_ends_the_block", replaced(square(), "END OF CODES", "2 2 1.5 1"),
         {{K::block_end, 4}}, "\"1.5\" is a real number where a whole number is needed", "\"1.5\" este un numar real unde trebuie un numar intreg, deci este citita ca linia de inchidere"},
        {"too_few_values_run_into_the_heading", square("4 4 2 1 0", "1 0 0\n2 1 0\n3 1 1\n4 0\n"),
         {{K::block_end, 13}, {K::no_coordinates, 0}}, "goes on into line 14, where \"END\" is not a number", "continua pe linia 14, unde \"END\" nu este un numar"},
        {"a_lone_sign_ends_the_block", replaced(square(), "END OF COORDINATES", "- 5 1 1"),
         {{K::block_end, 14}}, "\"-\" is not a number", "\"-\" nu este un numar"},
        {"two_signs_end_the_block", replaced(square(), "END OF COORDINATES", "+-5 1 1"),
         {{K::block_end, 14}}, "\"+-5\" is not a number", "\"+-5\" nu este un numar"},
        {"too_large_coordinate", replaced(square(), "END OF COORDINATES", "5 1.0E39 0"),
         {{K::block_end, 14}}, "\"1.0E39\" is beyond the largest real number", "depaseste cel mai mare numar real"},
        {"node_outside", square("4 4 2 1 0", std::string(kCoordinates) + "5 2 2\n"),
         {{K::out_of_range, 14}}, "node 5 skipped: the model has nodes 1-4", "nodul 5 a fost omisa: modelul are nodurile 1-4"},
        {"element_end_outside", square("4 4 2 1 0", kCoordinates, std::string(kElements) + "4 4 7\n"),
         {{K::out_of_range, 19}}, "element 4 skipped: its end node 7", "elementul 4 a fost omisa: nodul ei de capat 7"},
        {"element_without_number", square("4 4 2 1 0", kCoordinates, std::string(kElements) + ", 1 3\n"),
         {{K::out_of_range, 19}}, "element 0 skipped", "elementul 0 a fost omisa"},
        {"code_range_outside", square("4 4 2 1 0", kCoordinates, kElements, "0 1 1 1\n"),
         {{K::out_of_range, 3}}, "nodes 0-1 reaches outside", "nodurile 0-1 iese din nodurile modelului"},
        {"empty_code_range", square("4 4 2 1 0", kCoordinates, kElements, "1 1 1 1\n3 2 0 1\n"),
         {{K::empty_range, 4}}, "nodes 3-2 sets nothing", "nodurile 3-2 nu seteaza nimic"},
        {"coordinates_typed_twice", square("4 4 2 1 0", std::string(kCoordinates) + "2 1 0.5\n"),
         {{K::replaced, 14}}, "coordinates of node 2 set at line 11", "coordonatele nodului 2 date pe linia 11"},
        {"a_wider_code_record_after_a_narrower_one", square("4 4 2 1 0", kCoordinates, kElements, "1 1 1 1\n1 4 0 1\n"),
         {{K::replaced, 4}}, "codes of node 1 set at line 3", "codurile nodului 1 date pe linia 3"},
        {"incidences_typed_twice", replaced(by_node_square, "2 1 2\n", "2 1 2\n2 1 2\n"),
         {{K::replaced, 17}}, "element numbers of node 2 set at line 16", "numerele de elemente ale nodului 2 date pe linia 16"},
        {"element_started_at_two_nodes", replaced(by_node_square, "3 2 3\n", "3 2 1\n"),
         {{K::replaced, 17}, {K::undefined_element, 0}, {K::disconnected, 0}}, "element 1 is named as starting at node 3 here and at node 1 on line 15", "elementul 1 are inceputul la nodul 3 aici si la nodul 1 pe linia 15"},
        {"no_coordinates", square("4 4 2 1 0", "1 0 0\n2 1 0\n3 1 1\n"),
         {{K::no_coordinates, 0}}, "node 4 has no coordinate record", "nodul 4 nu are inregistrare de coordonate"},
        {"undefined_element", square("4 6 2 1 0", kCoordinates, std::string(kElements) + "6 0 1\n"),
         {{K::undefined_element, 0}}, "elements 5-6 are not defined", "elementele 5-6 nu sunt definite"},
        {"twenty_ranges_listed", every_other_undefined(44), {{K::undefined_element, 0}},
         "elements 5,7,9,11,13,15,17,19,21,23,25,27,29,31,33,35,37,39,41,43 (20 in all) are", "43 (20 in total) nu sunt"},
        {"more_ranges_end_the_list", every_other_undefined(46), {{K::undefined_element, 0}},
         ",41,43,... (21 in all) are not defined", ",43,... (21 in total) nu sunt definite"},
        {"minus_zero_is_zero", square("5 5 2 1 0", std::string(kCoordinates) + "5 -0.0 1\n", std::string(kElements) + "5 5 1\n"),
         {{K::coincident_nodes, 14}}, "2 nodes lie at the same point (0, 1): node 4 (line 13), node 5 (line 14)", "2 noduri sunt in acelasi punct (0, 1): nodul 4 (linia 13), nodul 5 (linia 14)"},
        {"zero_length", square("4 5 2 1 0", kCoordinates, std::string(kElements) + "5 2 2\n"),
         {{K::zero_length, 19}}, "element 5 has no length: it starts and ends at node 2", "elementul 5 nu are lungime: incepe si se termina la nodul 2"},
        {"coincident_nodes", square("5 5 2 1 0", std::string(kCoordinates) + "5 1 1\n", std::string(kElements) + "5 5 1\n"),
         {{K::coincident_nodes, 14}}, "2 nodes lie at the same point (1, 1): node 3 (line 12), node 5 (line 14)", "nodul 3 (linia 12), nodul 5"},
        {"unused_node", square("5 4 2 1 0", std::string(kCoordinates) + "5 3 3\n"),
         {{K::unused_node, 0}}, "node 5 is not used by any element", "nodul 5 nu este folosit de niciun element"},
        {"disconnected", square("6 5 2 1 0", std::string(kCoordinates) + "5 3 0\n6 4 0\n", std::string(kElements) + "5 5 6\n"),
         {{K::disconnected, 0}}, "the elements form 2 separate parts: 4 nodes (1, 2, 3, 4); 2 nodes (5, 6)", "elementele formeaza 2 parti separate: 4 noduri (1, 2, 3, 4); 2 noduri (5, 6)"},
        {"no_supports", square("4 4 2 1 0", kCoordinates, kElements, ""),
         {{K::no_supports, 0}}, "no node has a non-zero support code", "niciun nod nu are un cod de rezemare nenul"},
    };
    // The nodes and elements of the first finding, which a window marks; none for the others.
    using Numbers = std::vector<std::int32_t>;
    const std::map<std::string, std::pair<Numbers, Numbers>> items{
        {"coordinates_typed_twice", {{2}, {}}},
        {"a_wider_code_record_after_a_narrower_one", {{1}, {}}},
        {"incidences_typed_twice", {{2}, {}}},
        {"element_started_at_two_nodes", {{}, {1}}},
        {"no_coordinates", {{4}, {}}},
        {"undefined_element", {{}, {5, 6}}},
        {"twenty_ranges_listed", {{}, {5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29, 31, 33, 35, 37, 39, 41, 43}}},
        {"more_ranges_end_the_list", {{}, {5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29, 31, 33, 35, 37, 39, 41, 43, 45}}},
        {"minus_zero_is_zero", {{4, 5}, {}}},
        {"zero_length", {{2}, {5}}},
        {"coincident_nodes", {{3, 5}, {}}},
        {"unused_node", {{5}, {}}},
        {"disconnected", {{1, 2, 3, 4, 5, 6}, {}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CheckReport report = check(c.text);
        EXPECT_EQ(kinds_and_lines(report), c.expected);
        ASSERT_FALSE(report.findings.empty());
        const auto named = items.find(c.name);
        const std::pair<Numbers, Numbers> none;
        const auto& [nodes, elements] = named != items.end() ? named->second : none;
        EXPECT_EQ(report.findings[0].nodes, nodes);
        EXPECT_EQ(report.findings[0].elements, elements);
        EXPECT_NE(report.findings[0].text.find(c.words), std::string::npos) << report.findings[0].text;
        EXPECT_EQ(report.count(), static_cast<std::int64_t>(c.expected.size()));
        const ReadResult read = read_model_text(c.text, "check.dat");
        EXPECT_NE(check_model(read.model, read.notes, UiLanguage::romanian).findings[0].text.find(c.romanian),
                  std::string::npos);
    }
}

TEST(ModelCheck, CleanModelsHaveNoFindings)
{
    // Comments, word headings, a record over two lines, r*c, null values, slashes, codes for a
    // range narrowed down to one node, and a coordinate record completed by a later one.
    const std::string careful = "// A model written with every freedom of the format\n"
                                "// used as meant.\n"
                                "CAREFUL SQUARE\n"
                                "4, 4, 2,\n"
                                "   1 0   trailing words are ignored\n"
                                "1 4,,1\n"
                                "1 1 2*1\n"
                                "CODES END\n"
                                "2 0.0 -0.005\n"
                                "----------\n" // the value block's closing line
                                "E = 2.1E+08\n1 2 3\n4 5 6\n7 8 9\n"
                                "1 2*0.0\n"
                                "2 1.0,0.0\n"
                                "3 1.0\n"
                                "  1.0\n"
                                "4,,1.0\n"
                                "/\n"
                                "4 0.0 /\n"
                                "COORDINATES END\n"
                                "1 1 2\n"
                                "2 2 3 / the rest is a comment\n"
                                "3 3 4\n"
                                "4 4 1\n"
                                "END\n";
    EXPECT_EQ(kinds_and_lines(check(careful)), Expected{});
    EXPECT_EQ(kinds_and_lines(check(square())), Expected{});
    for (const char* name : {"plane_frame.dat", "space_tower.dat", "truss_by_node.dat"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(kinds_and_lines(check(file_text(example_path(name)))), Expected{});
    }
}

TEST(ModelCheck, BeyondTheListedFindingsOnlyCountsAreKept)
{
    std::string outside;
    for (int i = 0; i < 1005; ++i)
        outside += "9 1 1\n";
    const ReadResult result = read_model_text(square("4 4 2 1 0", std::string(kCoordinates) + outside));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.notes.notes.size(), ReaderNotes::kMostNotes);
    const CheckReport report = check_model(result.model, result.notes);
    EXPECT_EQ(report.findings.size(), CheckReport::kMostListed);
    EXPECT_EQ(report.unlisted[static_cast<std::size_t>(FindingKind::out_of_range)], 5);
    EXPECT_EQ(report.count(), 1005);
    EXPECT_EQ(unlisted_line("m.dat", FindingKind::out_of_range, 5),
              "m.dat: note: 5 more findings not listed [out-of-range]");
}

TEST(ModelCheck, NotesDoNotDependOnHowLinesArriveAndFailedReadsHaveNone)
{
    // Node 5 has codes only: the marks of the code block are no coordinate records.
    const std::string text = replaced(square("5 4 2 1 0", std::string(kCoordinates) + "2 1 0.5\n9 1 1\n4 0\n",
                                             kElements, "1 5 1 1\n"),
                                      "END OF CODES", "3 2 0 1\nEND");
    const ReadResult whole = read_model_text(text);
    BufferLines pieces(text, 3);
    const ReadResult cut = read_model_lines(pieces);
    ASSERT_TRUE(whole.ok());
    EXPECT_EQ(cut.notes, whole.notes);
    EXPECT_EQ(whole.notes.nodes.size(), 5u);
    EXPECT_EQ(whole.notes.coordinate_mark(2).line, 15u);
    EXPECT_EQ(whole.notes.coordinate_mark(4).line, 14u);
    EXPECT_EQ(whole.notes.coordinate_mark(5).line, 0u);
    EXPECT_EQ(whole.notes.elements[3].line, 22u);
    EXPECT_EQ(whole.notes.block_ends.size(), 4u);
    EXPECT_EQ(whole.notes.notes.size(), 3u); // empty range, replaced, outside

    EXPECT_EQ(read_model_text("T\n2 1 2 1 0\n1 1 1 1\n").notes, ReaderNotes{});
}

TEST(ModelCheck, CoincidentNodesOfALargeModelAreFoundInEveryPart)
{
    // Nodes 1..N in a row, N large enough for the search to deal them into several parts, with
    // some moved onto the points of others (one as -0, the same point as 0).
    constexpr int kNodes = 30000;
    std::map<int, std::string> moved{{100, "6 0"}, {12345, "-0 0"}, {20001, "4999 0"}, {29999, "4999.0 0"}};
    std::string coordinates;
    std::string elements;
    for (int n = 1; n <= kNodes; ++n) {
        const auto at = moved.find(n);
        coordinates += std::to_string(n) + " " + (at != moved.end() ? at->second : std::to_string(n - 1) + " 0") + "\n";
        if (n < kNodes)
            elements += std::to_string(n) + " " + std::to_string(n) + " " + std::to_string(n + 1) + "\n";
    }
    const CheckReport report = check(model_file(std::to_string(kNodes) + " " + std::to_string(kNodes - 1) + " 2 1 0",
                                                kCodes, "", coordinates, elements));
    std::vector<std::pair<long, std::string>> found;
    for (const Finding& f : report.findings)
        if (f.kind == FindingKind::coincident_nodes)
            found.emplace_back(f.line, f.text);
    const std::vector<std::pair<long, std::string>> expected{
        {109, "2 nodes lie at the same point (6, 0): node 7 (line 16), node 100 (line 109)"},
        {12354, "2 nodes lie at the same point (0, 0): node 1 (line 10), node 12345 (line 12354)"},
        {20010, "3 nodes lie at the same point (4999, 0): node 5000 (line 5009), node 20001 (line 20010), node 29999 (line 30008)"},
    };
    EXPECT_EQ(found, expected);
}

TEST(ModelCheck, LinesAndSummary)
{
    const Finding at_line{FindingKind::replaced, 12, "coordinate record replaces the coordinates of node 2 set at line 11", {}, {}};
    EXPECT_EQ(finding_line("m.dat", at_line),
              "m.dat:12: warning: coordinate record replaces the coordinates of node 2 set at line 11 [replaced]");
    EXPECT_EQ(finding_line("m.dat", Finding{FindingKind::no_supports, 0, "no node has a non-zero support code", {}, {}}),
              "m.dat: warning: no node has a non-zero support code [no-supports]");
    EXPECT_EQ(finding_line("m.dat", at_line, UiLanguage::romanian).substr(0, 23), "m.dat:12: avertisment: ");
    EXPECT_EQ(summary_line(0), "no findings");
    EXPECT_EQ(summary_line(1), "1 warning");
    EXPECT_EQ(summary_line(12), "12 warnings");
}

} // namespace
} // namespace vorax
