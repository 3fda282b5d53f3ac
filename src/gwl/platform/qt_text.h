// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts cross into Qt and back here. The program keeps its texts as bytes in the system's 8-bit
// encoding; Qt keeps them as QString. File names are not texts and have conversions of their own
// (file_names.h).

#include <QString>

#include <string>
#include <string_view>

namespace vorax::gwl {

inline QString qt_text(std::string_view text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string program_text(const QString& text) { return text.toLocal8Bit().toStdString(); }

// A text whose lines are separated by CR, LF or CR LF, with LF alone as Qt wants it.
inline QString qt_lines(std::string_view text)
{
    QString s = qt_text(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

} // namespace vorax::gwl
