#include "model/info_command.h"

#include <ostream>
#include <string_view>

#include "model/model_info.h"
#include "model/model_reader.h"

namespace vorax {

int run_info_command(const std::string& path, std::ostream& out, std::ostream& err)
{
    ReadResult result = read_model(path);
    switch (result.status) {
    case ReadStatus::ok:
        break;
    case ReadStatus::wrong_input_file:
        err << "Wrong Input File: " << result.file_name << '\n' << "  " << result.message << '\n';
        return 1;
    case ReadStatus::end_of_file:
    case ReadStatus::cannot_open:
        err << result.message << '\n';
        return 1;
    }

    StructureModel& model = result.model;
    update_extents(model, true);
    for (const std::string& line : model_info_lines(model))
        out << line << '\n';
    out << " Nodes: " << model.node_count << "  Elements: " << model.element_count
        << "  NGL: " << model.NGL << "  Coded nodes: " << model.coded_node_count
        << "  Origin node: " << model.origin_node << '\n';
    out.flush();
    return 0;
}

std::optional<int> run_info_option(int argc, const char* const* argv, std::ostream& out,
                                   std::ostream& err)
{
    constexpr std::string_view option = "--info";
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        if (argument == option) {
            if (i + 1 >= argc) {
                err << "vorax --info: name the model file to read (vorax --info MODEL).\n";
                return 1;
            }
            return run_info_command(argv[i + 1], out, err);
        }
        if (argument.substr(0, option.size() + 1) == "--info=")
            return run_info_command(std::string(argument.substr(option.size() + 1)), out, err);
    }
    return std::nullopt;
}

} // namespace vorax
