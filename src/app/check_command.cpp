// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/check_command.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <ostream>

#include "core/messages.h"
#include "app/info_command.h"
#include "model/model_check.h"
#include "model/model_reader.h"

namespace vorax {
namespace {

// Characters a POSIX shell passes on unchanged in a word.
bool plain_in_shell(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
        || std::string_view("_./+-:@%,=").find(c) != std::string_view::npos;
}

std::string shell_word(const std::string& given)
{
    // A name that begins with a dash would be read as an option.
    const std::string text = !given.empty() && given.front() == '-' ? "./" + given : given;
    if (!text.empty() && std::all_of(text.begin(), text.end(), plain_in_shell))
        return text;
    // Control characters are written as the shell's escapes inside $'...', so that the line
    // stays one line and what a terminal shows can be pasted as it stands.
    if (std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; })) {
        std::string quoted = "$'";
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            if (c == '\\' || c == '\'') {
                quoted += '\\';
                quoted += c;
            } else if (byte < 0x20 || byte == 0x7F) {
                char code[5];
                std::snprintf(code, sizeof code, "\\x%02x", byte);
                quoted += code;
            } else {
                quoted += c;
            }
        }
        return quoted + "'";
    }
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace

int run_check_command(const std::string& path, std::ostream& out, std::ostream& err)
{
    const ReadResult result = read_model(path);
    if (!result.ok())
        return report_read_failure(result, err);
    const CheckReport report = check_model(result.model, result.notes);
    for (const Finding& finding : report.findings)
        out << finding_line(result.file_name, finding) << '\n';
    for (std::size_t k = 0; k < kFindingKinds; ++k)
        if (report.unlisted[k] > 0)
            out << unlisted_line(result.file_name, static_cast<FindingKind>(k), report.unlisted[k]) << '\n';
    out << summary_line(report.count()) << '\n';
    out.flush();
    return report.count() == 0 ? kCheckClean : kCheckFindings;
}

std::optional<std::string> model_check_line(std::int64_t warnings, std::string_view model,
                                            UiLanguage language, CheckLister lister)
{
    if (warnings <= 0)
        return std::nullopt;
    const bool one = warnings == 1;
    std::string line(message(Message::model_check_start, language));
    line += std::to_string(warnings);
    line += message(one ? Message::model_check_warning : Message::model_check_warnings, language);
    if (lister == CheckLister::window) {
        line += message(Message::model_check_f8, language);
    } else {
        line += " (vorax --check ";
        line += model;
    }
    line += message(one ? Message::model_check_lists_it : Message::model_check_lists_them, language);
    return line;
}

std::string check_command_name(const std::string& given, const std::string& read_path)
{
    std::error_code error;
    const bool same = !given.empty() && std::filesystem::equivalent(given, read_path, error);
    return shell_word(same && !error ? given : read_path);
}

} // namespace vorax
