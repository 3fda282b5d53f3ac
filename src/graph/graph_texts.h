// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts a graph window shows in its text layer: the heading, the title, and the node line of
// a graph drawn from a node selection; and what it tells of a node or an element pointed at.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/language.h"
#include "model/record_lines.h"
#include "model/structure_model.h"

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

// A pointed node: "Node 17  x 4.000  y 0.000  z 12.000  codes 1 1 1  fixed  (line 63)". The
// coordinates and values as the file gave them (not the centred plot positions); "free" for a
// node without codes, otherwise its codes and "fixed" when all are non-zero; its support values
// when a value record gave it some; the line of its coordinate record. Romanian "Nod ...
// coduri ... fix / liber ... valori ... (linia 63)".
std::string pointed_node_text(const StructureModel& model, std::int32_t number,
                              const RecordLines& lines, UiLanguage language);

// " — also nodes 12, 15 here" after a node's pointing text, for the other nodes drawn at its
// place; nothing when there are none.
std::string nodes_here_text(const std::vector<std::int32_t>& others, UiLanguage language);

// "Node 3 → node 9: 6.708 (dx 6.000, dy 3.000, dz 0.000)": the distance between two nodes and
// its components from the stored coordinates, in model units; Romanian "Nod 3 → nod 9".
std::string distance_text(const StructureModel& model, std::int32_t from, std::int32_t to,
                          UiLanguage language);

// A pointed element: "Element 31  nodes 17-20  length 5.657  (line 112)", with "(lines 40, 57)"
// when its ends come from the incidence records of two nodes. Romanian "noduri", "lungime",
// "linia", "liniile".
std::string pointed_element_text(const StructureModel& model, std::int32_t number,
                                 const RecordLines& lines, UiLanguage language);

} // namespace vorax
