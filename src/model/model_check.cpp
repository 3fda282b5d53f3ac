// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/model_check.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <utility>

#include "core/large_pages.h"

namespace vorax {
namespace {

// In the order of FindingKind.
constexpr std::array<std::string_view, kFindingKinds> kKindNames{
    "block-end",        "out-of-range", "empty-range",  "replaced",
    "no-coordinates",   "undefined-element", "zero-length", "coincident-nodes",
    "unused-node",      "disconnected", "no-supports",
};

// Ranges listed in one finding; a longer list ends in "...".
constexpr std::size_t kMostRanges = 20;
// Connected parts described in a "disconnected" finding, and nodes named of each.
constexpr std::size_t kPartsShown = 5;
constexpr std::size_t kPartNodesShown = 5;
// Nodes named in a "coincident-nodes" finding.
constexpr std::size_t kCoincidentShown = 10;
// Nodes in one part of the search for coincident nodes: its table stays in the cache.
constexpr std::size_t kPartSize = 4096;

std::string number(std::int64_t n) { return std::to_string(n); }

std::string real_text(float value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value == 0.0f ? 0.0f : value);
    return std::string(buffer, result.ptr);
}

// The words of the findings in the language asked for.
class Words {
public:
    explicit Words(UiLanguage language) : romanian_(language == UiLanguage::romanian) {}
    std::string operator()(std::string_view english, std::string_view romanian) const
    {
        return std::string(romanian_ ? romanian : english);
    }

private:
    bool romanian_;
};

std::string block_name(ModelBlock block, const Words& w)
{
    switch (block) {
    case ModelBlock::code:
        return w("code block", "blocul de coduri");
    case ModelBlock::value:
        return w("value block", "blocul de valori");
    case ModelBlock::coordinate:
        return w("coordinate block", "blocul de coordonate");
    case ModelBlock::element:
        return w("element block", "blocul de elemente");
    }
    return w("block", "blocul");
}

std::string fault_text(const Unreadable& value, const Words& w)
{
    const std::string quoted = "\"" + value.value + "\"";
    switch (value.fault) {
    case ValueFault::not_a_number:
        return quoted + w(" is not a number", " nu este un numar");
    case ValueFault::real_for_integer:
        return quoted + w(" is a real number where a whole number is needed", " este un numar real unde trebuie un numar intreg");
    case ValueFault::integer_too_large:
        return quoted + w(" is beyond the largest whole number, 2147483647", " depaseste cel mai mare numar intreg, 2147483647");
    case ValueFault::real_too_large:
        return quoted + w(" is beyond the largest real number, 3.4E+38", " depaseste cel mai mare numar real, 3.4E+38");
    case ValueFault::too_long:
        return w("a value is longer than ", "o valoare are mai mult de ") + number(FreeFormatReader::kLongestValue)
            + w(" characters", " de caractere");
    case ValueFault::bad_repeat:
        return quoted + w(" has no valid repeat count", " nu are un numar de repetari valid");
    }
    return quoted + w(" cannot be read", " nu poate fi citit");
}

// The numbers 1..count for which `in` holds, as ranges "7-9,12"; `total` gets their number.
template <class In>
std::string ranges(std::int32_t count, In in, std::int64_t& total)
{
    std::string text;
    std::size_t shown = 0;
    total = 0;
    for (std::int32_t n = 1; n <= count; ++n) {
        if (!in(n))
            continue;
        std::int32_t last = n;
        while (last < count && in(last + 1))
            ++last;
        total += last - n + 1;
        if (shown < kMostRanges) {
            if (shown > 0)
                text += ',';
            text += number(n);
            if (last > n) {
                text += '-';
                text += number(last);
            }
        } else if (shown == kMostRanges) {
            text += ",...";
        }
        ++shown;
        n = last;
    }
    return text;
}

// The numbers 1..count for which `in` holds, the first Finding::kMostItems of them.
template <class In>
std::vector<std::int32_t> first_items(std::int32_t count, In in)
{
    std::vector<std::int32_t> items;
    for (std::int32_t n = 1; n <= count && items.size() < Finding::kMostItems; ++n)
        if (in(n))
            items.push_back(n);
    return items;
}

// The nouns of a finding about a set of nodes or elements.
struct Noun {
    std::string one;  // "node"
    std::string many; // "nodes"
};

// "node 7 has" / "nodes 7-9 have", for a finding about a set of nodes or elements.
std::string subject(const Noun& noun, std::int64_t total, const std::string& list, const std::string& one,
                    const std::string& many, const Words& w)
{
    std::string text = total == 1 ? noun.one : noun.many;
    text += " " + list;
    if (total > 1 && list.find(',') != std::string::npos)
        text += " (" + number(total) + w(" in all)", " in total)");
    text += " ";
    text += total == 1 ? one : many;
    return text;
}

// Collects findings up to kMostListed of each kind and counts the rest.
class Findings {
public:
    // `name_items` puts into the finding the nodes and elements it is about.
    template <class MakeText, class NameItems = void (*)(Finding&)>
    void add(FindingKind kind, long line, MakeText make_text, NameItems name_items = [](Finding&) {})
    {
        const auto k = static_cast<std::size_t>(kind);
        if (listed_[k] >= CheckReport::kMostListed) {
            ++report_.unlisted[k];
            return;
        }
        ++listed_[k];
        Finding& finding = report_.findings.emplace_back(Finding{kind, line, make_text(), {}, {}});
        name_items(finding);
    }

    void add_unlisted(FindingKind kind, std::int64_t count)
    {
        report_.unlisted[static_cast<std::size_t>(kind)] += count;
    }

    CheckReport take()
    {
        // File order for the findings tied to a line; the model-wide ones (line 0) after them,
        // in the order they were found.
        std::stable_sort(report_.findings.begin(), report_.findings.end(),
                         [](const Finding& a, const Finding& b) {
                             const long la = a.line > 0 ? a.line : std::numeric_limits<long>::max();
                             const long lb = b.line > 0 ? b.line : std::numeric_limits<long>::max();
                             return la < lb;
                         });
        return std::move(report_);
    }

private:
    CheckReport report_;
    std::array<std::size_t, kFindingKinds> listed_{};
};

class Checker {
public:
    Checker(const StructureModel& model, const ReaderNotes& notes, UiLanguage language)
        : model_(model), notes_(notes), w_(language), node_{w_("node", "nodul"), w_("nodes", "nodurile")},
          element_{w_("element", "elementul"), w_("elements", "elementele")}
    {
    }

    CheckReport run()
    {
        block_ends();
        record_notes();
        no_coordinates();
        elements();
        coincident_nodes();
        unused_nodes_and_parts();
        if (model_.coded_node_count == 0)
            findings_.add(FindingKind::no_supports, 0,
                          [this] { return w_("no node has a non-zero support code", "niciun nod nu are un cod de rezemare nenul"); });
        return findings_.take();
    }

private:
    std::int32_t node_count() const { return model_.node_count; }
    std::int32_t element_count() const { return model_.element_count; }
    bool by_number() const { return !notes_.elements.empty(); }

    std::string node_limit() const { return w_("the model has nodes 1-", "modelul are nodurile 1-") + number(node_count()); }
    std::string element_limit() const
    {
        return element_count() == 0 ? w_("the model has no elements", "modelul nu are elemente")
                                    : w_("the model has elements 1-", "modelul are elementele 1-") + number(element_count());
    }

    // A closing line that starts like a record lost that record; headings in words are normal.
    void block_ends()
    {
        for (const BlockEnd& end : notes_.block_ends) {
            if (!end.looks_like_data)
                continue;
            findings_.add(FindingKind::block_end, end.line, [&] {
                const std::string block = block_name(end.block, w_);
                const std::string fault = fault_text(end.value, w_);
                if (end.value.value_line == end.line)
                    return w_("this line ends the ", "aceasta linie incheie ") + block + ": " + fault
                        + w_(", so it is read as the block's closing line and its values are lost",
                             ", deci este citita ca linia de inchidere a blocului si valorile ei se pierd");
                return w_("this record ends the ", "aceasta inregistrare incheie ") + block
                    + w_(": it has too few values and goes on into line ", ": are prea putine valori si continua pe linia ")
                    + number(end.value.value_line) + w_(", where ", ", unde ") + fault
                    + w_("; the record's values are lost", "; valorile inregistrarii se pierd");
            });
        }
    }

    static FindingKind finding_of(NoteKind kind)
    {
        switch (kind) {
        case NoteKind::node_outside:
        case NoteKind::nodes_outside:
        case NoteKind::element_outside:
        case NoteKind::end_node_outside:
        case NoteKind::incidence_outside:
            return FindingKind::out_of_range;
        case NoteKind::empty_range:
            return FindingKind::empty_range;
        case NoteKind::replaced:
        case NoteKind::start_replaced:
        case NoteKind::end_replaced:
            return FindingKind::replaced;
        }
        return FindingKind::replaced;
    }

    std::string note_text(const RecordNote& n) const
    {
        const std::string a = number(n.a);
        const std::string b = number(n.b);
        const std::string earlier = number(n.earlier_line);
        switch (n.kind) {
        case NoteKind::node_outside: {
            const std::string record = n.block == ModelBlock::value ? w_("value record", "inregistrarea de valori")
                : n.block == ModelBlock::coordinate ? w_("coordinate record", "inregistrarea de coordonate")
                                                    : w_("incidence record", "inregistrarea de incidenta");
            return record + w_(" for node ", " pentru nodul ") + a + w_(" skipped: ", " a fost omisa: ") + node_limit();
        }
        case NoteKind::nodes_outside:
            return w_("code record for nodes ", "inregistrarea de coduri pentru nodurile ") + a + "-" + b
                + w_(" reaches outside the model's nodes 1-", " iese din nodurile modelului 1-") + number(node_count())
                + w_(": the nodes outside are skipped", ": nodurile din afara sunt omise");
        case NoteKind::element_outside:
            return w_("element record for element ", "inregistrarea de element pentru elementul ") + a
                + w_(" skipped: ", " a fost omisa: ") + element_limit();
        case NoteKind::end_node_outside:
            return w_("element record for element ", "inregistrarea de element pentru elementul ") + a
                + w_(" skipped: its end node ", " a fost omisa: nodul ei de capat ") + b
                + w_(" lies outside the model's nodes 1-", " este in afara nodurilor modelului 1-") + number(node_count())
                + w_(" (0 for none)", " (0 pentru niciunul)");
        case NoteKind::incidence_outside:
            return w_("incidence record for node ", "inregistrarea de incidenta pentru nodul ") + a
                + w_(" names element ", " numeste elementul ") + b + w_(", which is ignored: ", ", care este ignorat: ")
                + element_limit();
        case NoteKind::empty_range:
            return w_("code record for nodes ", "inregistrarea de coduri pentru nodurile ") + a + "-" + b
                + w_(" sets nothing: its last node is below its first",
                     " nu seteaza nimic: ultimul ei nod este mai mic decat primul");
        case NoteKind::replaced: {
            const std::string at_line = w_(" set at line ", " date pe linia ") + earlier;
            switch (n.block) {
            case ModelBlock::code:
                if (n.b == 1)
                    return w_("code record replaces the codes of node ", "inregistrarea de coduri inlocuieste codurile nodului ")
                        + a + at_line;
                return w_("code record replaces the codes of ", "inregistrarea de coduri inlocuieste codurile a ") + b
                    + w_(" nodes set before, the first of them node ", " noduri date inainte, primul dintre ele nodul ") + a
                    + w_(" set at line ", " dat pe linia ") + earlier;
            case ModelBlock::value:
                return w_("value record replaces the values of node ", "inregistrarea de valori inlocuieste valorile nodului ")
                    + a + at_line;
            case ModelBlock::coordinate:
                return w_("coordinate record replaces the coordinates of node ",
                          "inregistrarea de coordonate inlocuieste coordonatele nodului ")
                    + a + at_line;
            case ModelBlock::element:
                return (by_number() ? w_("element record replaces the end nodes of element ",
                                         "inregistrarea de element inlocuieste nodurile de capat ale elementului ")
                                    : w_("incidence record replaces element numbers of node ",
                                         "inregistrarea de incidenta inlocuieste numerele de elemente ale nodului "))
                    + a + at_line;
            }
            break;
        }
        case NoteKind::start_replaced:
        case NoteKind::end_replaced: {
            const std::string role = n.kind == NoteKind::start_replaced ? w_("starting", "inceputul")
                                                                        : w_("ending", "sfarsitul");
            return w_("element ", "elementul ") + a + w_(" is named as ", " are ") + role
                + w_(" at node ", " la nodul ") + b + w_(" here and at node ", " aici si la nodul ") + number(n.c)
                + w_(" on line ", " pe linia ") + earlier + w_(": node ", ": se pastreaza nodul ") + b
                + w_(" is kept", "");
        }
        }
        return {};
    }

    // The node or element a record note is about, when the model has it.
    void note_items(const RecordNote& n, Finding& finding) const
    {
        switch (n.kind) {
        case NoteKind::incidence_outside:
            finding.nodes.push_back(n.a);
            break;
        case NoteKind::replaced:
            if (n.block == ModelBlock::element && by_number())
                finding.elements.push_back(n.a);
            else
                finding.nodes.push_back(n.a);
            break;
        case NoteKind::start_replaced:
        case NoteKind::end_replaced:
            finding.elements.push_back(n.a);
            break;
        case NoteKind::node_outside:
        case NoteKind::nodes_outside:
        case NoteKind::element_outside:
        case NoteKind::end_node_outside:
        case NoteKind::empty_range:
            break;
        }
    }

    void record_notes()
    {
        std::array<std::int64_t, kNoteKinds> listed{};
        for (const RecordNote& note : notes_.notes) {
            ++listed[static_cast<std::size_t>(note.kind)];
            findings_.add(finding_of(note.kind), note.line, [&] { return note_text(note); },
                          [&](Finding& finding) { note_items(note, finding); });
        }
        for (std::size_t k = 0; k < kNoteKinds; ++k)
            findings_.add_unlisted(finding_of(static_cast<NoteKind>(k)), notes_.counts[k] - listed[k]);
    }

    bool placed(std::int32_t n) const { return notes_.coordinate_mark(n).line != 0; }

    void no_coordinates()
    {
        std::int64_t total = 0;
        const std::string list = ranges(node_count(), [this](std::int32_t n) { return !placed(n); }, total);
        if (total > 0)
            findings_.add(
                FindingKind::no_coordinates, 0,
                [&] {
                    return subject(node_, total, list,
                                   w_("has no coordinate record: it stays at the origin",
                                      "nu are inregistrare de coordonate: ramane in origine"),
                                   w_("have no coordinate record: they stay at the origin",
                                      "nu au inregistrare de coordonate: raman in origine"),
                                   w_);
                },
                [this](Finding& finding) {
                    finding.nodes = first_items(node_count(), [this](std::int32_t n) { return !placed(n); });
                });
    }

    // The line of the record that defines an element: its own record, or by node the record of
    // its first node.
    long element_line(std::int32_t e) const
    {
        if (by_number())
            return notes_.elements[static_cast<std::size_t>(e - 1)].line;
        const Element& element = model_.element(e);
        const std::int32_t node = element.node1 != 0 ? element.node1 : element.node2;
        return node != 0 && !notes_.incidences.empty() ? notes_.incidences[static_cast<std::size_t>(node - 1)] : 0;
    }

    static bool defined(const Element& e) { return e.node1 != 0 && e.node2 != 0; }

    bool same_point(std::int32_t a, std::int32_t b) const
    {
        return model_.node(a).coords == model_.node(b).coords;
    }

    void elements()
    {
        std::int64_t total = 0;
        const std::string list = ranges(
            element_count(), [this](std::int32_t e) { return !defined(model_.element(e)); }, total);
        if (total > 0)
            findings_.add(
                FindingKind::undefined_element, 0,
                [&] {
                    return subject(element_, total, list,
                                   w_("is not defined (no record, or an end node 0): it is not drawn",
                                      "nu este definit (nicio inregistrare, sau un nod de capat 0): nu este desenat"),
                                   w_("are not defined (no record, or an end node 0): they are not drawn",
                                      "nu sunt definite (nicio inregistrare, sau un nod de capat 0): nu sunt desenate"),
                                   w_);
                },
                [this](Finding& finding) {
                    finding.elements = first_items(
                        element_count(), [this](std::int32_t e) { return !defined(model_.element(e)); });
                });
        // Nodes without coordinates are all at the origin; they are reported as such, not as
        // elements without length.
        for (std::int32_t e = 1; e <= element_count(); ++e) {
            ask_ahead_for_end_node<&Node::coords>(model_, static_cast<std::size_t>(e - 1));
            const Element& element = model_.element(e);
            if (!defined(element))
                continue;
            if (element.node1 == element.node2) {
                findings_.add(
                    FindingKind::zero_length, element_line(e),
                    [&] {
                        return w_("element ", "elementul ") + number(e)
                            + w_(" has no length: it starts and ends at node ", " nu are lungime: incepe si se termina la nodul ")
                            + number(element.node1);
                    },
                    [&](Finding& finding) {
                        finding.elements = {e};
                        finding.nodes = {element.node1};
                    });
            } else if (placed(element.node1) && placed(element.node2) && same_point(element.node1, element.node2)) {
                findings_.add(
                    FindingKind::zero_length, element_line(e),
                    [&] {
                        return w_("element ", "elementul ") + number(e) + w_(" has no length: its nodes ", " nu are lungime: nodurile lui ")
                            + number(element.node1) + w_(" and ", " si ") + number(element.node2)
                            + w_(" lie at the same point", " sunt in acelasi punct");
                    },
                    [&](Finding& finding) {
                        finding.elements = {e};
                        finding.nodes = {element.node1, element.node2};
                    });
            }
        }
    }

    static std::uint64_t hash(const std::array<float, 3>& coords)
    {
        std::uint64_t h = 0x9E3779B97F4A7C15u;
        for (float c : coords) {
            std::uint32_t bits = 0;
            const float value = c == 0.0f ? 0.0f : c; // -0 and 0 are the same point
            std::memcpy(&bits, &value, sizeof bits);
            h = (h ^ bits) * 0xBF58476D1CE4E5B9u;
            h ^= h >> 31;
        }
        return h;
    }

    // Nodes with coordinate records that share a point, one finding per point. A hash table of
    // node numbers finds, for every node, the first node at its point.
    void coincident_nodes()
    {
        // The nodes are first dealt by the top bits of their hash into parts of a few thousand,
        // in node order, and each part then gets a table of its own that stays in the cache: one
        // table for all would be a cache miss for nearly every node of a large model.
        // An entry keeps the lower half of its node's hash: the table's slot and the tag that
        // spares most comparisons of coordinates (the upper bits chose the part).
        struct Entry {
            std::uint32_t hash;
            std::int32_t node;
        };
        std::size_t placed_count = 0;
        for (std::int32_t n = 1; n <= node_count(); ++n)
            placed_count += placed(n) ? 1 : 0;
        int part_bits = 0;
        while (part_bits < 16 && (placed_count >> part_bits) > kPartSize)
            ++part_bits;
        const auto part_of = [part_bits](std::uint64_t h) {
            return part_bits == 0 ? std::size_t{0} : static_cast<std::size_t>(h >> (64 - part_bits));
        };
        std::vector<std::uint32_t> starts((std::size_t{1} << part_bits) + 1, 0);
        for (std::int32_t n = 1; n <= node_count(); ++n)
            if (placed(n))
                ++starts[part_of(hash(model_.node(n).coords)) + 1];
        for (std::size_t i = 1; i < starts.size(); ++i)
            starts[i] += starts[i - 1];
        LargeVector<Entry> entries(placed_count);
        {
            std::vector<std::uint32_t> next(starts.begin(), starts.end() - 1);
            for (std::int32_t n = 1; n <= node_count(); ++n)
                if (placed(n)) {
                    const std::uint64_t h = hash(model_.node(n).coords);
                    entries[next[part_of(h)]++] = {static_cast<std::uint32_t>(h), n};
                }
        }

        // A slot keeps its node's entry, so that a probe looks at another node's coordinates
        // only when the two hashes agree.
        struct Slot {
            std::uint32_t tag = 0;
            std::int32_t node = 0;
        };
        LargeVector<Slot> table;
        std::vector<std::pair<std::int32_t, std::int32_t>> repeats; // (first node at the point, node)
        for (std::size_t part = 0; part + 1 < starts.size(); ++part) {
            const std::size_t size = starts[part + 1] - starts[part];
            std::size_t capacity = 16;
            while (capacity < 2 * size)
                capacity *= 2;
            table.assign(capacity, Slot{});
            for (std::size_t e = starts[part]; e < starts[part + 1]; ++e) {
                const auto [tag, n] = entries[e];
                const std::array<float, 3>& coords = model_.node(n).coords;
                for (std::size_t slot = tag & (capacity - 1);; slot = (slot + 1) & (capacity - 1)) {
                    const Slot there = table[slot];
                    if (there.node == 0) {
                        table[slot] = {tag, n};
                        break;
                    }
                    if (there.tag == tag && model_.node(there.node).coords == coords) {
                        repeats.emplace_back(there.node, n);
                        break;
                    }
                }
            }
        }
        LargeVector<Slot>().swap(table);
        LargeVector<Entry>().swap(entries);
        std::stable_sort(repeats.begin(), repeats.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t i = 0; i < repeats.size();) {
            std::size_t j = i;
            while (j < repeats.size() && repeats[j].first == repeats[i].first)
                ++j;
            std::vector<std::int32_t> group{repeats[i].first};
            for (std::size_t k = i; k < j; ++k)
                group.push_back(repeats[k].second);
            // The finding stands where the point is given a second time.
            std::vector<long> lines;
            for (std::int32_t n : group)
                lines.push_back(notes_.coordinate_mark(n).line);
            std::nth_element(lines.begin(), lines.begin() + 1, lines.end());
            findings_.add(
                FindingKind::coincident_nodes, lines[1], [&] { return coincident_text(group); },
                [&](Finding& finding) {
                    finding.nodes.assign(group.begin(),
                                         group.begin() + static_cast<std::ptrdiff_t>(
                                                             std::min(group.size(), Finding::kMostItems)));
                });
            i = j;
        }
    }

    std::string coincident_text(const std::vector<std::int32_t>& group) const
    {
        const std::array<float, 3>& c = model_.node(group[0]).coords;
        std::string point = "(";
        for (int j = 0; j < model_.NGL; ++j) {
            if (j > 0)
                point += ", ";
            point += real_text(c[static_cast<std::size_t>(j)]);
        }
        point += ")";
        std::string text = number(static_cast<std::int64_t>(group.size()))
            + w_(" nodes lie at the same point ", " noduri sunt in acelasi punct ") + point + ":";
        for (std::size_t k = 0; k < group.size() && k < kCoincidentShown; ++k)
            text += (k > 0 ? ", " : " ") + node_.one + " " + number(group[k]) + w_(" (line ", " (linia ")
                + number(notes_.coordinate_mark(group[k]).line) + ")";
        if (group.size() > kCoincidentShown)
            text += ", ...";
        return text;
    }

    // Unused nodes, then the connected parts that the defined elements form (union-find over
    // the nodes, a root holding minus the size of its part).
    void unused_nodes_and_parts()
    {
        const auto nn = static_cast<std::size_t>(node_count());
        LargeVector<std::uint8_t> used(nn, 0); // 1: an end of an element; 2: of a defined one
        LargeVector<std::int32_t> parent(nn, -1);
        const auto find = [&parent](std::int32_t i) {
            std::int32_t root = i;
            while (parent[static_cast<std::size_t>(root)] >= 0)
                root = parent[static_cast<std::size_t>(root)];
            while (parent[static_cast<std::size_t>(i)] >= 0) {
                const std::int32_t next = parent[static_cast<std::size_t>(i)];
                parent[static_cast<std::size_t>(i)] = root;
                i = next;
            }
            return root;
        };
        for (const Element& e : model_.elements) {
            for (std::int32_t end : {e.node1, e.node2})
                if (end != 0)
                    used[static_cast<std::size_t>(end - 1)] |= static_cast<std::uint8_t>(defined(e) ? 3 : 1);
            if (!defined(e))
                continue;
            std::int32_t a = find(e.node1 - 1);
            std::int32_t b = find(e.node2 - 1);
            if (a == b)
                continue;
            if (parent[static_cast<std::size_t>(a)] > parent[static_cast<std::size_t>(b)])
                std::swap(a, b); // a is the larger part
            parent[static_cast<std::size_t>(a)] += parent[static_cast<std::size_t>(b)];
            parent[static_cast<std::size_t>(b)] = a;
        }

        std::int64_t total = 0;
        const std::string list = ranges(
            node_count(), [&used](std::int32_t n) { return used[static_cast<std::size_t>(n - 1)] == 0; }, total);
        if (total > 0)
            findings_.add(
                FindingKind::unused_node, 0,
                [&] {
                    return subject(node_, total, list,
                                   w_("is not used by any element", "nu este folosit de niciun element"),
                                   w_("are not used by any element", "nu sunt folosite de niciun element"), w_);
                },
                [&](Finding& finding) {
                    finding.nodes = first_items(
                        node_count(), [&used](std::int32_t n) { return used[static_cast<std::size_t>(n - 1)] == 0; });
                });

        // The parts in the order of their lowest node; the first few with some of their nodes.
        struct Part {
            std::int32_t root;
            std::vector<std::int32_t> nodes;
        };
        std::vector<Part> shown;
        std::int64_t parts = 0;
        for (std::int32_t i = 0; i < node_count(); ++i) {
            if ((used[static_cast<std::size_t>(i)] & 2) == 0)
                continue;
            parts += parent[static_cast<std::size_t>(i)] < 0 ? 1 : 0;
            const std::int32_t root = find(i);
            auto part = std::find_if(shown.begin(), shown.end(), [root](const Part& p) { return p.root == root; });
            if (part == shown.end() && shown.size() < kPartsShown)
                part = shown.insert(shown.end(), Part{root, {}});
            if (part != shown.end() && part->nodes.size() < kPartNodesShown)
                part->nodes.push_back(i + 1);
        }
        if (parts < 2)
            return;
        findings_.add(FindingKind::disconnected, 0, [&] {
            std::string text = w_("the elements form ", "elementele formeaza ") + number(parts)
                + w_(" separate parts:", " parti separate:");
            for (std::size_t p = 0; p < shown.size(); ++p) {
                const std::int32_t size = -parent[static_cast<std::size_t>(shown[p].root)];
                text += (p > 0 ? "; " : " ") + number(size) + (size == 1 ? w_(" node (", " nod (") : w_(" nodes (", " noduri ("));
                for (std::size_t k = 0; k < shown[p].nodes.size(); ++k)
                    text += (k > 0 ? ", " : "") + number(shown[p].nodes[k]);
                text += static_cast<std::size_t>(size) > shown[p].nodes.size() ? ", ...)" : ")";
            }
            if (static_cast<std::size_t>(parts) > shown.size())
                text += "; ...";
            return text;
        }, [&](Finding& finding) {
            for (const Part& part : shown)
                finding.nodes.insert(finding.nodes.end(), part.nodes.begin(), part.nodes.end());
        });
    }

    const StructureModel& model_;
    const ReaderNotes& notes_;
    Words w_;
    Noun node_;
    Noun element_;
    Findings findings_;
};

} // namespace

std::string_view kind_name(FindingKind kind) { return kKindNames[static_cast<std::size_t>(kind)]; }

std::int64_t CheckReport::count() const
{
    std::int64_t total = static_cast<std::int64_t>(findings.size());
    for (std::int64_t n : unlisted)
        total += n;
    return total;
}

CheckReport check_model(const StructureModel& model, const ReaderNotes& notes, UiLanguage language)
{
    return Checker(model, notes, language).run();
}

std::string finding_line(std::string_view file_name, const Finding& finding, UiLanguage language)
{
    std::string line(file_name);
    if (finding.line > 0) {
        line += ':';
        line += number(finding.line);
    }
    line += Words(language)(": warning: ", ": avertisment: ");
    line += finding.text;
    line += " [";
    line += kind_name(finding.kind);
    line += "]";
    return line;
}

std::string unlisted_line(std::string_view file_name, FindingKind kind, std::int64_t count)
{
    std::string line(file_name);
    line += ": note: " + number(count) + " more findings not listed [";
    line += kind_name(kind);
    line += "]";
    return line;
}

std::string summary_line(std::int64_t count)
{
    if (count == 0)
        return "no findings";
    return number(count) + (count == 1 ? " warning" : " warnings");
}

} // namespace vorax
