// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/info_command.h"

#include <ostream>

#include "core/bounds.h"
#include "model/model_info.h"
#include "settings/graph_settings.h"
#include "model/model_reader.h"

namespace vorax {

int run_info_command(const std::string& path, std::ostream& out, std::ostream& err)
{
    // The notes serve the model check, which this does not run.
    ReadOptions options;
    options.keep_notes = false;
    ReadResult result = read_model(path, options);
    if (!result.ok())
        return report_read_failure(result, err);

    StructureModel& model = result.model;
    // The lines of a load, as the info window gets them.
    GraphSettings settings;
    for (const std::string& line : prepare_loaded_model(model, settings))
        out << line << '\n';
    out << " Nodes: " << model.node_count << "  Elements: " << model.element_count
        << "  NGL: " << model.NGL << "  Coded nodes: " << model.coded_node_count
        << "  Origin node: " << model.origin_node << '\n';
    out.flush();
    return 0;
}

int report_read_failure(const ReadResult& result, std::ostream& err)
{
    if (result.status == ReadStatus::wrong_input_file)
        err << "Wrong Input File: " << result.file_name << '\n' << "  " << result.message << '\n';
    else
        err << result.message << '\n';
    return 1;
}

std::vector<std::string> prepare_loaded_model(StructureModel& model, GraphSettings& settings)
{
    // One pass over the nodes both selects them and gathers the extents over all of them.
    Bounds<3> coordinates;
    for (Node& node : model.nodes) {
        node.selected = true;
        coordinates.add(coordinates_of(node));
    }
    set_extents(model, coordinates);
    settings.all_nodes = true;
    settings.selected_element_count = model.element_count;
    preset_index_switches(settings, model.node_count, model.element_count);
    return model_info_lines(model);
}

} // namespace vorax
