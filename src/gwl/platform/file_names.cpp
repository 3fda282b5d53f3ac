// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/platform/file_names.h"

#include <QFile>

#include <dirent.h>
#include <sys/stat.h>

#include <memory>

namespace vorax::gwl {

namespace {

constexpr QChar kUndecodable = QChar::ReplacementCharacter;

bool exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// The single entry of `folder` that Qt shows as `shown`; empty when there is none or several.
std::string entry_shown_as(const std::string& folder, const QString& shown)
{
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()),
                                                 &::closedir);
    if (!dir)
        return {};
    std::string found;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (QFile::decodeName(entry->d_name) != shown)
            continue;
        if (!found.empty())
            return {}; // two names look alike: neither is taken
        found = entry->d_name;
    }
    return found;
}

} // namespace

QString shown_file_name(std::string_view name)
{
    return QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size())));
}

std::string file_name_bytes(const QString& name)
{
    const QByteArray encoded = QFile::encodeName(name);
    std::string bytes(encoded.constData(), static_cast<std::size_t>(encoded.size()));
    if (!name.contains(kUndecodable) || exists(bytes))
        return bytes;

    // Rebuild the path part by part, looking up each part that Qt could not show.
    std::string path = name.startsWith(QLatin1Char('/')) ? "/" : "";
    const QStringList parts = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        std::string part = QFile::encodeName(parts[i]).toStdString();
        if (parts[i].contains(kUndecodable)) {
            const std::string folder = path;
            if (std::string entry = entry_shown_as(folder, parts[i]); !entry.empty())
                part = std::move(entry);
        }
        path += part;
        if (i + 1 < parts.size())
            path += '/';
    }
    return path;
}

} // namespace vorax::gwl
