#pragma once
// File names are bytes. On this system a name may hold bytes that are no valid text in the
// file-system encoding (a Latin-1 "é" in a UTF-8 system); Qt turns such a byte into U+FFFD,
// which cannot be turned back. So the program keeps file names as the bytes it was given and
// lets Qt see them only where a person has to read or pick a name.
//
// Contents: shown_file_name, file_name_bytes, argument_bytes.

#include <string>
#include <string_view>
#include <vector>

#include <QString>
#include <QStringList>

namespace vorax::gwl {

// The name as a person reads it (QFile::decodeName): for texts and for Qt's dialogs.
QString shown_file_name(std::string_view name);

// The bytes of a name that Qt gives back (a dialog's choice): QFile::encodeName, except that a
// part Qt could not decode (shown with U+FFFD) is matched against the folder's entries and
// replaced by the one entry shown the same way.
std::string file_name_bytes(const QString& name);

// The bytes of the positional arguments a command-line parser found: each is matched, in order,
// with the argument of argv it came from.
std::vector<std::string> argument_bytes(int argc, const char* const* argv,
                                        const QStringList& positional);

} // namespace vorax::gwl
