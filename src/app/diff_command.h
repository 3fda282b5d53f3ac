// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// `vorax --diff OLD NEW`: reads two model files exactly as the program does, without any window,
// and lists what changed from OLD to NEW (model/model_diff.h), one change per line in NEW's file
// order, then a summary.
//
// Exit status: 0 the models are the same; 3 they differ; 1 either file could not be read
// (reported as by `vorax --info`).

#include <iosfwd>
#include <string>

namespace vorax {

inline constexpr int kDiffSame = 0;
inline constexpr int kDiffUnreadable = 1;
inline constexpr int kDiffChanged = 3;

// Reads the models at `old_path` and `new_path`, writes the changes and the summary to `out`
// (the reasons a file could not be read to `err`) and returns the exit status.
int run_diff_command(const std::string& old_path, const std::string& new_path, std::ostream& out,
                     std::ostream& err);

} // namespace vorax
