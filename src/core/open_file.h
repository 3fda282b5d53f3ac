// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether an open descriptor and a name reach one file.
//
// Contents: descriptor_names.

#include <string>

#include <sys/stat.h>

namespace vorax {

// Whether `descriptor` is open on the file `path` names (links followed); with
// `regular_only`, only when that file is a regular one (not a terminal, pipe or device).
inline bool descriptor_names(int descriptor, const std::string& path, bool regular_only = false)
{
    struct stat named {};
    struct stat open {};
    return ::fstat(descriptor, &open) == 0 && (!regular_only || S_ISREG(open.st_mode))
           && ::stat(path.c_str(), &named) == 0 && named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}

} // namespace vorax
