// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target of the model check: for any bytes that read as a model, the reader notes must not
// depend on how the lines arrive, and the check must run through them and the model without a
// crash or undefined behaviour, its findings within its limits.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/line_source.h"
#include "model/model_check.h"
#include "model/model_reader.h"

namespace {

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vorax::ReadOptions options;
    options.memory_limit = 8u << 20;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const vorax::ReadResult result = vorax::read_model_text(text, "fuzz.dat", options);
    if (!result.ok())
        return 0;
    vorax::BufferLines pieces(text, size > 0 ? 1 + data[0] % 8 : 1);
    require(vorax::read_model_lines(pieces, "fuzz.dat", options).notes == result.notes);
    require(result.notes.nodes.size() == static_cast<std::size_t>(result.model.node_count));

    const vorax::CheckReport report = vorax::check_model(result.model, result.notes);
    std::size_t listed[vorax::kFindingKinds] = {};
    long last_line = 0;
    for (const vorax::Finding& finding : report.findings) {
        require(!finding.text.empty());
        require(++listed[static_cast<std::size_t>(finding.kind)] <= vorax::CheckReport::kMostListed);
        // Lines in file order, the findings about the whole model last.
        require(finding.line == 0 || (last_line >= 0 && finding.line >= last_line));
        last_line = finding.line == 0 ? -1 : finding.line;
        require(!vorax::finding_line("fuzz.dat", finding).empty());
    }
    return 0;
}
