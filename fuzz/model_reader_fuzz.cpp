// Fuzz target of the model reader: any bytes must give a complete model or a reason, never a
// crash, a leak or undefined behaviour. A model that is read must keep the invariants the
// drawing relies on; a broken one stops the run like a crash would. Read again with its lines
// cut into small pieces, the text must give exactly the same result.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/free_format.h"
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A small memory budget keeps every input quick; the header check is what is exercised.
    vorax::ReadOptions options;
    options.memory_limit = 8u << 20;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    vorax::ReadResult result = vorax::read_model_text(text, "fuzz.dat", options);
    vorax::BufferLines pieces(text, size > 0 ? 1 + data[size - 1] % 8 : 1);
    const vorax::ReadResult cut = vorax::read_model_lines(pieces, "fuzz.dat", options);
    require(cut.status == result.status && cut.model == result.model && cut.line == result.line
            && cut.message == result.message);
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
