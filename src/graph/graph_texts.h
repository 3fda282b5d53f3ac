#pragma once
// The texts a graph window shows in its text layer: the heading, the title, and the node line of
// a graph drawn from a node selection.

#include <cstddef>
#include <string>
#include <string_view>

#include "core/language.h"

namespace vorax {

inline constexpr std::size_t kGraphHeadingLength = 30;
inline constexpr std::size_t kNodeLineLength = 255;
inline constexpr std::size_t kTitleLength = 100;

// A title as windows and graphs show it: at most 100 characters, without trailing blanks.
std::string title_text(std::string_view text);

// The program label without trailing blanks, then " Structure Graph" (Romanian " Graful
// Structurii"), blank-padded or cut to 30 characters.
std::string graph_heading(std::string_view program_label, UiLanguage language);

// "Nodes " + the range text without trailing blanks + " (" + the count + " nodes)"; Romanian
// "Nodurile ... noduri)". Cut to 255 characters, without trailing blanks.
std::string node_line(std::string_view range_text, int node_count, UiLanguage language);

// The column that centres a text of `length` characters in `text_columns` columns:
// (columns - length) / 2, truncated towards zero; a text wider than the window starts at
// column 1.
int centred_column(int text_columns, std::size_t length);

} // namespace vorax
