// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File names are bytes. On this system a name may hold bytes that are no valid text in the
// file-system encoding (a Latin-1 "é" in a UTF-8 system); Qt turns such a byte into U+FFFD,
// which cannot be turned back. So the program keeps file names as the bytes it was given and
// lets Qt see them only where a person has to read or pick a name.
//
// The command line is parsed without this: its parser reads each byte as one character and
// turns it back into the same byte (app/command_line.cpp).
//
// Contents: shown_file_name, file_name_bytes.

#include <string>
#include <string_view>

#include <QString>

namespace vorax::gwl {

// The name as a person reads it (QFile::decodeName): for texts and for Qt's dialogs.
QString shown_file_name(std::string_view name);

// The bytes of a name that Qt gives back (a dialog's choice): QFile::encodeName, except that a
// part Qt could not decode (shown with U+FFFD) is matched against the folder's entries and
// replaced by the one entry shown the same way.
std::string file_name_bytes(const QString& name);

} // namespace vorax::gwl
