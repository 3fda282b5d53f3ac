#include "core/text.h"

#include <algorithm>
#include <cctype>

namespace vorax {

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
    return std::string(text.substr(0, std::min(length, text.size())));
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

} // namespace vorax
