// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/diff_command.h"

#include <ostream>

#include "app/info_command.h"
#include "model/model_diff.h"
#include "model/model_reader.h"

namespace vorax {

int run_diff_command(const std::string& old_path, const std::string& new_path, std::ostream& out,
                     std::ostream& err)
{
    const ReadResult old_read = read_model(old_path);
    const ReadResult new_read = read_model(new_path);
    for (const ReadResult* read : {&old_read, &new_read})
        if (!read->ok())
            report_read_failure(*read, err);
    if (!old_read.ok() || !new_read.ok())
        return kDiffUnreadable;
    const ModelDiff diff = diff_models(old_read.model, RecordLines(old_read.notes), new_read.model,
                                       RecordLines(new_read.notes));
    for (const ModelChange& change : diff.changes)
        out << change_line(old_read.file_name, new_read.file_name, change, old_read.model, new_read.model)
            << '\n';
    out << change_summary(diff, UiLanguage::english) << '\n';
    out.flush();
    return diff.changes.empty() ? kDiffSame : kDiffChanged;
}

} // namespace vorax
