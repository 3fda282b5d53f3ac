// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fixed-length texts, and words wrapped into lines.
//
// Texts of the program are kept as std::string without trailing blanks; the fixed lengths of
// the records (20, 30, 100, 255, 260 characters) apply only where a text is shown, cut or
// joined. These helpers do the padding, cutting and trimming in one place.

#include <string>
#include <string_view>
#include <vector>

namespace vorax {

// The text without its trailing blanks.
std::string_view trim_right(std::string_view text);
// The last part of a path: "plane_frame.dat" of "/home/ana/plane_frame.dat".
std::string file_name_of(const std::string& path);

// The text without its leading blanks.
std::string_view trim_left(std::string_view text);

// The first `length` characters of the text (all of it when shorter), less a UTF-8 character
// the cut would split.
std::string cut(std::string_view text, std::size_t length);

// The text cut or blank-padded to exactly `length` characters.
std::string pad_right(std::string_view text, std::size_t length);

// Leading blanks moved to the end: the text keeps its length.
std::string left_adjust(std::string_view text);

// Case-insensitive comparison of ASCII texts.
bool equals_ignore_case(std::string_view a, std::string_view b);

// The units in lines of at most `width` characters (a longer unit stands alone), the first line
// after `first` and the others after `indent` blanks; each line ends in a line feed. A `first`
// that ends in a word counts as a line that has a unit already.
std::string wrap_units(const std::vector<std::string>& units, std::string first, std::size_t indent,
                       std::size_t width);

// The words of a text, split at blanks.
std::vector<std::string> split_words(std::string_view text);

} // namespace vorax
