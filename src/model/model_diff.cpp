#include "model/model_diff.h"

#include <algorithm>
#include <bit>
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
constexpr std::array<std::uint64_t, kChangeKinds> kPart{0, 1, 2, 3, 4, 4, 4, 5, 5, 5};

// The place of a change in NEW's file order (see ModelDiff::changes), as one number.
std::uint64_t order_key(const ModelChange& change)
{
    const std::uint64_t rank = change.side == ChangeSide::old_file ? 2 : change.line == 0 ? 1 : 0;
    return kPart[static_cast<std::size_t>(change.kind)] << 34 | rank << 32 | change.line;
}

// Sorts the changes by their key and keeps the order of equal keys (the changes come by number):
// a radix sort, 11 bits a pass, which takes linear time where a comparison sort would not.
void sort_in_file_order(std::vector<ModelChange>& changes)
{
    constexpr int kBits = 11;
    constexpr std::size_t kBuckets = std::size_t{1} << kBits;
    constexpr int kKeyBits = 37;
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
        changes.swap(sorted);
    }
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

    ModelDiff run()
    {
        if (old_.problem_title != new_.problem_title)
            add(ChangeKind::title_changed, 0, new_lines_.title_line(), old_lines_.title_line());
        if (old_.NGL != new_.NGL)
            add(ChangeKind::ngl_changed, 0, new_lines_.header_line(), old_lines_.header_line());
        compare_nodes();
        compare_elements();
        sort_in_file_order(diff_.changes);
        return std::move(diff_);
    }

private:
    void add(ChangeKind kind, std::int32_t number, RecordLine new_line, RecordLine old_line)
    {
        const bool removed = kind == ChangeKind::node_removed || kind == ChangeKind::element_removed;
        const bool on_new = new_line != 0 || (old_line == 0 && !removed);
        diff_.changes.push_back(ModelChange{kind, on_new ? ChangeSide::new_file : ChangeSide::old_file,
                                            on_new ? new_line : old_line, number});
        ++diff_.counts[static_cast<std::size_t>(kind)];
    }

    void compare_nodes()
    {
        const std::int32_t both = std::min(old_.node_count, new_.node_count);
        for (std::int32_t n = 1; n <= both; ++n) {
            const Node& a = old_.node(n);
            const Node& b = new_.node(n);
            const bool codes = a.codes != b.codes;
            const bool values = a.has_values != b.has_values || !same_reals(a.values, b.values);
            if (codes)
                add(ChangeKind::codes_changed, n, new_lines_.code_line(n), old_lines_.code_line(n));
            if (values)
                add(ChangeKind::values_changed, n, new_lines_.value_line(n), old_lines_.value_line(n));
            if (!same_reals(a.coords, b.coords))
                add(ChangeKind::node_moved, n, new_lines_.coordinate_line(n), old_lines_.coordinate_line(n));
            diff_.supports_changed += codes || values ? 1 : 0;
        }
        for (std::int32_t n = both + 1; n <= new_.node_count; ++n)
            add(ChangeKind::node_added, n, new_lines_.coordinate_line(n), 0);
        for (std::int32_t n = both + 1; n <= old_.node_count; ++n)
            add(ChangeKind::node_removed, n, 0, old_lines_.coordinate_line(n));
    }

    void compare_elements()
    {
        const std::int32_t both = std::min(old_.element_count, new_.element_count);
        for (std::int32_t e = 1; e <= both; ++e) {
            const Element& a = old_.element(e);
            const Element& b = new_.element(e);
            if (a == b)
                continue;
            add(ChangeKind::element_rejoined, e, element_line(new_lines_, new_, e, &a),
                element_line(old_lines_, old_, e, &b));
            if (b.node1 == 0 || b.node2 == 0)
                keep_removed_line(e);
        }
        for (std::int32_t e = both + 1; e <= new_.element_count; ++e)
            add(ChangeKind::element_added, e, element_line(new_lines_, new_, e, nullptr), 0);
        for (std::int32_t e = both + 1; e <= old_.element_count; ++e) {
            add(ChangeKind::element_removed, e, 0, element_line(old_lines_, old_, e, nullptr));
            keep_removed_line(e);
        }
    }

    // The line OLD's element drew, if it drew one.
    void keep_removed_line(std::int32_t number)
    {
        const Element& element = old_.element(number);
        if (element.node1 >= 1 && element.node2 >= 1)
            diff_.removed_lines.push_back(
                RemovedLine{number, old_.node(element.node1).coords, old_.node(element.node2).coords});
    }

    const StructureModel& old_;
    const StructureModel& new_;
    const RecordLines& old_lines_;
    const RecordLines& new_lines_;
    ModelDiff diff_;
};

// The first NGL of a node's components: "12.000, 3.500" or, for codes, "0 1".
template <typename T, typename Text>
std::string components(const std::array<T, 3>& values, std::int32_t NGL, std::string_view between, Text text)
{
    std::string out;
    for (std::size_t k = 0; k < static_cast<std::size_t>(std::clamp(NGL, 0, 3)); ++k)
        out += (k == 0 ? "" : std::string(between)) + text(values[k]);
    return out;
}

std::string position_text(const StructureModel& model, std::int32_t number)
{
    return "(" + components(model.node(number).coords, model.NGL, ", ", stored_real_text) + ")";
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
    if (change.line != 0)
        line += ":" + std::to_string(change.line);
    return line + ": " + change_text(change, old_model, new_model);
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
