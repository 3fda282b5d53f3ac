// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/info_command.h"

#include <ostream>

#include "app/model_loading.h"
#include "settings/graph_settings.h"
#include "model/model_reader.h"

namespace vorax {

int run_info_command(const std::string& path, std::ostream& out, std::ostream& err)
{
    ReadResult result = read_model(path);
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

} // namespace vorax
