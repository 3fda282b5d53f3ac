// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way the program writes a file (pictures and texts of "--export" and File > Save).
//
// Nothing is lost and nothing is reported as written that is not. A regular file, or a new one,
// is written to a temporary file beside it, synced and then renamed over the name, so a failure
// leaves the old file untouched and no partial file behind. A name that exists but is no regular
// file (a device, a FIFO) is written directly, never renamed over (that would replace the device
// with a file); a folder is refused; a symbolic link is followed to its target. Every write,
// flush, sync and close error is reported.
//
// Names are bytes (see file_names.h): no Qt text conversion touches them.

#include <functional>
#include <string>

class QIODevice;

namespace vorax::gwl {

// Writes the content onto the device; returns why it could not, or nothing when it did.
using ContentWriter = std::function<std::string(QIODevice& device)>;

// True when the name is the file that the process's standard output goes to (/dev/stdout, a
// pipe's /proc/self/fd/1, or the very file that output was redirected into).
bool names_standard_output(const std::string& path);

// Writes a file with the content `write` produces. Returns the reason of a failure, or an empty
// text when every byte is in the file.
std::string write_file(const std::string& path, const ContentWriter& write);

} // namespace vorax::gwl
