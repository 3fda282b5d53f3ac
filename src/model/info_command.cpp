#include "model/info_command.h"

#include <ostream>
#include <string_view>

#include "model/model_info.h"
#include "model/model_reader.h"

namespace vorax {

int run_info_command(const std::string& path, std::ostream& out, std::ostream& err)
{
    ReadResult result = read_model(path);
    if (!result.ok())
        return report_read_failure(result, err);

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
    return run_model_option(argc, argv, "--info", err,
                            [&](const std::string& path) { return run_info_command(path, out, err); });
}

int report_read_failure(const ReadResult& result, std::ostream& err)
{
    if (result.status == ReadStatus::wrong_input_file)
        err << "Wrong Input File: " << result.file_name << '\n' << "  " << result.message << '\n';
    else
        err << result.message << '\n';
    return 1;
}

std::optional<int> run_model_option(int argc, const char* const* argv, std::string_view option,
                                    std::ostream& err,
                                    const std::function<int(const std::string&)>& command)
{
    const std::string glued = std::string(option) + "=";
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        if (argument == option) {
            if (i + 1 >= argc) {
                err << "vorax " << option << ": name the model file to read (vorax " << option
                    << " MODEL).\n";
                return 1;
            }
            return command(argv[i + 1]);
        }
        if (argument.substr(0, glued.size()) == glued)
            return command(std::string(argument.substr(glued.size())));
    }
    return std::nullopt;
}

} // namespace vorax
