// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/model_diff.h"

#include <algorithm>
#include <bit>
#include <numeric>
#include <span>
#include <utility>

#include "core/messages.h"
#include "core/number_text.h"

namespace vorax {
namespace {

bool same_real(float a, float b)
{
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b) || (a == 0.0f && b == 0.0f);
}

bool same_reals(const std::array<float, 3>& a, const std::array<float, 3>& b)
{
    return same_real(a[0], b[0]) && same_real(a[1], b[1]) && same_real(a[2], b[2]);
}

// The part of the file each kind of change stands in, in file order.
constexpr std::array<std::size_t, kChangeKinds> kPart{0, 1, 2, 3, 4, 4, 4, 5, 5, 5};
constexpr std::size_t kParts = 6;

// The place of a change within its part (see ModelDiff::changes), as one number.
std::uint64_t order_key(const ModelChange& change)
{
    const std::uint64_t rank = change.side == ChangeSide::old_file ? 2 : change.line == 0 ? 1 : 0;
    return rank << 32 | change.line;
}

// Sorts the changes of a part by their key and keeps the order of equal keys (the changes come
// by number): a radix sort, 11 bits a pass, which takes linear time where a comparison sort
// would not. Changes that come in order already (a file whose records follow the numbers) are
// left as they are.
void sort_in_file_order(std::span<ModelChange> changes)
{
    const auto before = [](const ModelChange& a, const ModelChange& b) { return order_key(a) < order_key(b); };
    if (std::is_sorted(changes.begin(), changes.end(), before))
        return;
    constexpr int kBits = 11;
    constexpr std::size_t kBuckets = std::size_t{1} << kBits;
    constexpr int kKeyBits = 34;
    std::vector<ModelChange> sorted(changes.size());
    std::vector<std::size_t> place(kBuckets);
    for (int shift = 0; shift < kKeyBits; shift += kBits) {
        const auto digit = [shift](const ModelChange& c) { return (order_key(c) >> shift) & (kBuckets - 1); };
        std::fill(place.begin(), place.end(), 0);
        for (const ModelChange& c : changes)
            ++place[digit(c)];
        if (std::find(place.begin(), place.end(), changes.size()) != place.end())
            continue; // one digit for all: the pass would change nothing
        std::size_t start = 0;
        for (std::size_t& p : place)
            start += std::exchange(p, start);
        for (const ModelChange& c : changes)
            sorted[place[digit(c)]++] = c;
        std::copy(sorted.begin(), sorted.end(), changes.begin());
    }
}

// Whether the model has element `number` with both its ends.
bool draws_line(const StructureModel& model, std::int32_t number)
{
    return number <= model.element_count && model.element(number).node1 != 0 && model.element(number).node2 != 0;
}

// The line of the record behind an element's ends: in the by-node layout the incidence record of
// the end that differs from `other` (the first end when both or neither do).
RecordLine element_line(const RecordLines& lines, const StructureModel& model, std::int32_t number,
                        const Element* other)
{
    const std::array<RecordLine, 2> from = lines.element_lines(model, number);
    const bool second = other != nullptr && model.element(number).node1 == other->node1 && from[1] != 0;
    return second || from[0] == 0 ? from[1] : from[0];
}

class Differ {
public:
    Differ(const StructureModel& old_model, const RecordLines& old_lines, const StructureModel& new_model,
           const RecordLines& new_lines)
        : old_(old_model), new_(new_model), old_lines_(old_lines), new_lines_(new_lines)
    {
        diff_.node_count = new_model.node_count;
        diff_.element_count = new_model.element_count;
        diff_.NGL = new_model.NGL;
    }

    // The changes are counted first and then put straight into their part of one array of the
    // right size: fresh memory, which each step of a growing array would take, costs more than
    // a second look at the models.
    ModelDiff run()
    {
        visit([this](ChangeKind kind, std::int32_t number) { count(kind, number); });
        std::array<std::size_t, kParts + 1> start{};
        for (std::size_t k = 0; k < kChangeKinds; ++k)
            start[kPart[k] + 1] += static_cast<std::size_t>(diff_.counts[k]);
        std::partial_sum(start.begin(), start.end(), start.begin());
        if (start[kParts] == 0)
            return std::move(diff_);
        diff_.changes.resize(start[kParts]);
        diff_.removed_lines.reserve(static_cast<std::size_t>(diff_.count(ChangeKind::element_rejoined)
                                                             + diff_.count(ChangeKind::element_removed)));
        std::array<std::size_t, kParts + 1> next = start;
        visit([&](ChangeKind kind, std::int32_t number) {
            diff_.changes[next[kPart[static_cast<std::size_t>(kind)]]++] = placed(kind, number);
            if ((kind == ChangeKind::element_rejoined || kind == ChangeKind::element_removed)
                && draws_line(old_, number) && !draws_line(new_, number))
                diff_.removed_lines.push_back(RemovedLine{number, old_.node(old_.element(number).node1).coords,
                                                          old_.node(old_.element(number).node2).coords});
        });
        for (std::size_t p = 0; p < kParts; ++p)
            sort_in_file_order(std::span(diff_.changes).subspan(start[p], start[p + 1] - start[p]));
        return std::move(diff_);
    }

private:
    // Calls sink(kind, number) for every change: the title, NGL, then node by node and element
    // by element.
    template <class Sink>
    void visit(Sink&& sink) const
    {
        using K = ChangeKind;
        if (old_.problem_title != new_.problem_title)
            sink(K::title_changed, 0);
        if (old_.NGL != new_.NGL)
            sink(K::ngl_changed, 0);
        const std::int32_t nodes = std::min(old_.node_count, new_.node_count);
        for (std::int32_t n = 1; n <= nodes; ++n) {
            const Node& a = old_.node(n);
            const Node& b = new_.node(n);
            if (a.codes != b.codes)
                sink(K::codes_changed, n);
            if (a.has_values != b.has_values || !same_reals(a.values, b.values))
                sink(K::values_changed, n);
            if (!same_reals(a.coords, b.coords))
                sink(K::node_moved, n);
        }
        for (std::int32_t n = nodes + 1; n <= new_.node_count; ++n)
            sink(K::node_added, n);
        for (std::int32_t n = nodes + 1; n <= old_.node_count; ++n)
            sink(K::node_removed, n);
        const std::int32_t elements = std::min(old_.element_count, new_.element_count);
        for (std::int32_t e = 1; e <= elements; ++e)
            if (old_.element(e) != new_.element(e))
                sink(K::element_rejoined, e);
        for (std::int32_t e = elements + 1; e <= new_.element_count; ++e)
            sink(K::element_added, e);
        for (std::int32_t e = elements + 1; e <= old_.element_count; ++e)
            sink(K::element_removed, e);
    }

    void count(ChangeKind kind, std::int32_t number)
    {
        ++diff_.counts[static_cast<std::size_t>(kind)];
        // The codes and the values of a node come one after the other: one support.
        if ((kind == ChangeKind::codes_changed || kind == ChangeKind::values_changed) && number != last_support_) {
            ++diff_.supports_changed;
            last_support_ = number;
        }
    }

    // The change on the line of NEW's record behind it, else on OLD's.
    ModelChange placed(ChangeKind kind, std::int32_t number) const
    {
        const auto [new_line, old_line] = lines_of(kind, number);
        const bool removed = kind == ChangeKind::node_removed || kind == ChangeKind::element_removed;
        const bool on_new = new_line != 0 || (old_line == 0 && !removed);
        return ModelChange{kind, on_new ? ChangeSide::new_file : ChangeSide::old_file,
                           on_new ? new_line : old_line, number};
    }

    // The lines of the records behind a change in NEW and in OLD (0 for none, and on the side
    // where the node or element does not exist).
    std::pair<RecordLine, RecordLine> lines_of(ChangeKind kind, std::int32_t n) const
    {
        switch (kind) {
        case ChangeKind::title_changed:
            return {new_lines_.title_line(), old_lines_.title_line()};
        case ChangeKind::ngl_changed:
            return {new_lines_.header_line(), old_lines_.header_line()};
        case ChangeKind::codes_changed:
            return {new_lines_.code_line(n), old_lines_.code_line(n)};
        case ChangeKind::values_changed:
            return {new_lines_.value_line(n), old_lines_.value_line(n)};
        case ChangeKind::node_added:
        case ChangeKind::node_moved:
        case ChangeKind::node_removed:
            return {new_lines_.coordinate_line(n), old_lines_.coordinate_line(n)};
        case ChangeKind::element_added:
        case ChangeKind::element_rejoined:
        case ChangeKind::element_removed:
            break;
        }
        const Element* a = n <= old_.element_count ? &old_.element(n) : nullptr;
        const Element* b = n <= new_.element_count ? &new_.element(n) : nullptr;
        return {b ? element_line(new_lines_, new_, n, a) : 0, a ? element_line(old_lines_, old_, n, b) : 0};
    }

    const StructureModel& old_;
    const StructureModel& new_;
    const RecordLines& old_lines_;
    const RecordLines& new_lines_;
    ModelDiff diff_;
    std::int32_t last_support_ = 0; // the last node whose supports were counted
};

// The first NGL of a node's components: "12.000, 3.500" or, for codes, "0 1".
template <typename T, typename Text>
std::string components(const std::array<T, 3>& values, std::int32_t NGL, std::string_view between, Text text)
{
    std::string out;
    for (std::size_t k = 0; k < static_cast<std::size_t>(std::clamp(NGL, 0, 3)); ++k) {
        if (k > 0)
            out += between;
        out += text(values[k]);
    }
    return out;
}

std::string position_text(const StructureModel& model, std::int32_t number)
{
    std::string text(1, '(');
    text += components(model.node(number).coords, model.NGL, ", ", stored_real_text);
    return text += ')';
}

std::string codes_text(const StructureModel& model, std::int32_t number)
{
    return components(model.node(number).codes, model.NGL, " ", [](std::int32_t c) { return std::to_string(c); });
}

std::string ends_text(const Element& element)
{
    return std::to_string(element.node1) + "-" + std::to_string(element.node2);
}

std::string change_text(const ModelChange& change, const StructureModel& old_model,
                        const StructureModel& new_model)
{
    const std::int32_t n = change.number;
    const std::string node = "node " + std::to_string(n);
    const std::string element = "element " + std::to_string(n);
    switch (change.kind) {
    case ChangeKind::title_changed:
        return "title changed";
    case ChangeKind::ngl_changed:
        return std::string("model now ") + (new_model.NGL == 3 ? "spatial" : "plane") + ": NGL "
            + std::to_string(new_model.NGL) + " (was " + std::to_string(old_model.NGL) + ")";
    case ChangeKind::codes_changed:
        return node + " supports changed: codes " + codes_text(old_model, n) + " -> " + codes_text(new_model, n);
    case ChangeKind::values_changed:
        return "support values of " + node + " changed";
    case ChangeKind::node_added:
        return node + " added";
    case ChangeKind::node_moved:
        return node + " moved from " + position_text(old_model, n) + " to " + position_text(new_model, n);
    case ChangeKind::node_removed:
        return node + " removed";
    case ChangeKind::element_added:
        return element + " added";
    case ChangeKind::element_rejoined:
        return element + " now joins " + ends_text(new_model.element(n)) + " (was "
            + ends_text(old_model.element(n)) + ")";
    case ChangeKind::element_removed:
        return element + " removed";
    }
    return {};
}

} // namespace

ModelDiff diff_models(const StructureModel& old_model, const RecordLines& old_lines,
                      const StructureModel& new_model, const RecordLines& new_lines)
{
    return Differ(old_model, old_lines, new_model, new_lines).run();
}

std::string change_line(std::string_view old_name, std::string_view new_name, const ModelChange& change,
                        const StructureModel& old_model, const StructureModel& new_model)
{
    std::string line(change.side == ChangeSide::old_file ? old_name : new_name);
    if (change.line != 0) {
        line += ':';
        line += std::to_string(change.line);
    }
    line += ": ";
    return line += change_text(change, old_model, new_model);
}

std::string change_summary(const ModelDiff& diff, UiLanguage language)
{
    std::string text = count_text(Message::nodes, diff.node_count, language) + ", "
                       + count_text(Message::elements, diff.element_count, language) + "; ";
    std::vector<std::string> parts;
    const auto counted = [&](Message id, std::int64_t count) {
        if (count > 0)
            parts.push_back(count_text(id, count, language));
    };
    counted(Message::nodes_added, diff.count(ChangeKind::node_added));
    counted(Message::nodes_removed, diff.count(ChangeKind::node_removed));
    counted(Message::nodes_moved, diff.count(ChangeKind::node_moved));
    counted(Message::elements_added, diff.count(ChangeKind::element_added));
    counted(Message::elements_removed, diff.count(ChangeKind::element_removed));
    counted(Message::elements_changed, diff.count(ChangeKind::element_rejoined));
    counted(Message::supports_changed, diff.supports_changed);
    if (diff.count(ChangeKind::title_changed) > 0)
        parts.emplace_back(message(Message::title_changed, language));
    if (diff.count(ChangeKind::ngl_changed) > 0)
        parts.emplace_back(message(diff.NGL == 3 ? Message::now_spatial : Message::now_plane, language));
    if (parts.empty())
        return text + std::string(message(Message::unchanged, language));
    for (std::size_t i = 0; i < parts.size(); ++i)
        text += (i == 0 ? "" : ", ") + parts[i];
    return text;
}

std::string reloaded_line(const ModelDiff& diff, UiLanguage language)
{
    return std::string(message(Message::reloaded, language)) + change_summary(diff, language);
}

} // namespace vorax
