// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace vorax {

std::string file_name_of(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

std::string_view trim_right(std::string_view text)
{
    auto end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

std::string_view trim_left(std::string_view text)
{
    auto begin = text.find_first_not_of(' ');
    return begin == std::string_view::npos ? std::string_view{} : text.substr(begin);
}

std::string cut(std::string_view text, std::size_t length)
{
    if (length >= text.size())
        return std::string(text);
    // A character of several bytes (UTF-8) that the cut would split is left out whole: its
    // first bytes alone would show as a broken character.
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const auto continues = [&](std::size_t at) { return (byte(at) & 0xC0) == 0x80; };
    if (continues(length)) {
        std::size_t start = length;
        while (start > 0 && length - start < 3 && continues(start - 1))
            --start;
        if (start > 0) {
            const unsigned lead = byte(start - 1);
            const std::size_t bytes = lead >= 0xF0 && lead < 0xF8 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
            if (bytes > length - (start - 1))
                length = start - 1;
        }
    }
    return std::string(text.substr(0, length));
}

std::string pad_right(std::string_view text, std::size_t length)
{
    std::string result = cut(text, length);
    result.resize(length, ' ');
    return result;
}

std::string left_adjust(std::string_view text)
{
    auto adjusted = std::string(trim_left(text));
    adjusted.resize(text.size(), ' ');
    return adjusted;
}

bool equals_ignore_case(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

std::string wrap_units(const std::vector<std::string>& units, std::string first, std::size_t indent,
                       std::size_t width)
{
    std::string result;
    std::string line = std::move(first);
    bool line_has_unit = !line.empty() && line.back() != ' ';
    for (const std::string& unit : units) {
        if (line_has_unit && line.size() + 1 + unit.size() > width) {
            result += line + '\n';
            line = std::string(indent, ' ');
            line_has_unit = false;
        }
        if (line_has_unit)
            line += ' ';
        line += unit;
        line_has_unit = true;
    }
    return result + line + '\n';
}

std::vector<std::string> split_words(std::string_view text)
{
    std::vector<std::string> units;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        if (end > at)
            units.emplace_back(text.substr(at, end - at));
        at = end + 1;
    }
    return units;
}

} // namespace vorax
