// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target of the model reader: any bytes must give a complete model or a reason, never a
// crash, a leak or undefined behaviour. A model that is read must keep the invariants the
// drawing relies on; a broken one stops the run like a crash would. Read again with its lines
// cut into small pieces, value by value, and with plain records read ahead in small windows by
// the helper thread, the text must give exactly the same result, floats bit for bit.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/line_source.h"
#include "model/model_info.h"
#include "model/model_reader.h"

namespace {

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void check(const vorax::StructureModel& model)
{
    require(model.node_count >= 1);
    require(model.element_count >= 0);
    require(model.NGL == 2 || model.NGL == 3);
    require(model.nodes.size() == static_cast<std::size_t>(model.node_count));
    require(model.elements.size() == static_cast<std::size_t>(model.element_count));
    require(model.problem_title.size() <= 100);
    std::int32_t coded = 0;
    for (const vorax::Node& node : model.nodes) {
        require(!(node.free && node.fixed));
        coded += node.free ? 0 : 1;
    }
    require(coded == model.coded_node_count);
    for (const vorax::Element& element : model.elements) {
        require(element.node1 >= 0 && element.node1 <= model.node_count);
        require(element.node2 >= 0 && element.node2 <= model.node_count);
    }
    require(model.origin_node >= 0 && model.origin_node <= model.node_count);
}

// The same result: the model with its floats bit for bit, the notes, where and why reading stopped.
bool same(const vorax::ReadResult& a, const vorax::ReadResult& b)
{
    if (a.status != b.status || !(a.model == b.model) || !(a.notes == b.notes) || a.line != b.line
        || a.message != b.message)
        return false;
    for (std::size_t n = 0; n < a.model.nodes.size(); ++n) {
        const vorax::Node& p = a.model.nodes[n];
        const vorax::Node& q = b.model.nodes[n];
        for (std::size_t j = 0; j < 3; ++j)
            if (std::bit_cast<std::uint32_t>(p.coords[j]) != std::bit_cast<std::uint32_t>(q.coords[j])
                || std::bit_cast<std::uint32_t>(p.values[j]) != std::bit_cast<std::uint32_t>(q.values[j]))
                return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A small memory budget keeps every input quick; the header check is what is exercised.
    vorax::ReadOptions options;
    options.memory_limit = 8u << 20;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vorax::ReadResult result = vorax::read_model_text(text, "fuzz.dat", options);
    vorax::BufferLines pieces(text, size > 0 ? 1 + data[size - 1] % 8 : 1);
    require(same(vorax::read_model_lines(pieces, "fuzz.dat", options), result));
    vorax::ReadOptions by_value = options;
    by_value.whole_records = false;
    require(same(vorax::read_model_text(text, "fuzz.dat", by_value), result));
    vorax::ReadOptions ahead = options;
    ahead.read_ahead_length = 1;
    vorax::BufferLines windows(text, vorax::LineSource::kPieceLength, size > 0 ? 1 + data[0] % 128 : 1);
    require(same(vorax::read_model_lines(windows, "fuzz.dat", ahead), result));
    if (!result.ok()) {
        require(result.model == vorax::StructureModel{});
        require(!result.message.empty());
        return 0;
    }
    check(result.model);
    vorax::update_extents(result.model, true);
    for (const std::string& line : vorax::model_info_lines(result.model))
        require(!line.empty());
    return 0;
}
