// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pointing at a graph window's nodes and elements: each graph window keeps the index of what its
// graph drew and a share of the model it was drawn from, and tells the person what the pointer
// rests on (graph/hit_index.h finds it, graph/graph_texts.h words it).
//
// A later load replaces the program's model; the windows of the earlier model keep it, so that
// they go on naming what they show. So does the end of the run, which releases the model.
//
// Contents: PointedModel, start_pointed_model, retire_pointed_model, pointed_text,
// start_pointing_index, install_pointing.

#include <future>
#include <memory>
#include <optional>
#include <string>

#include "app/app_state.h"
#include "graph/hit_index.h"
#include "gwl/types.h"
#include "model/record_lines.h"

namespace vorax::gwl {
class Layer;
}

namespace vorax {

// The model that graph windows describe, with the lines of the file that made it.
struct PointedModel {
    // The program's loaded model while it is loaded; `kept` once a later load replaced it.
    const StructureModel* model = nullptr;
    StructureModel kept;
    RecordLines lines;
    std::string file; // the path it was read from
};

// An item of a model with the line of the file where it is given (0 when none is known).
struct ItemLine {
    HitItem item;
    long line = 0;
    std::string file;
};

// Makes the loaded model (already in state.model) the one new graph windows describe.
void start_pointed_model(AppState& state, RecordLines lines);

// Before the loaded model is replaced or released: windows that describe it keep it.
void retire_pointed_model(AppState& state);

// What a pointer at (x, y) of a graph's drawing area points at, as the person reads it; empty
// for nothing. `per_screen_pixel` turns the slack of kPointerSlack screen pixels into
// drawing-area pixels.
std::string pointed_text(const HitIndex& index, const PointedModel& pointed, double x, double y,
                         double per_screen_pixel, UiLanguage language);

// The item a pointer at (x, y) of the graph window of `unit` points at, with the model that
// window describes; nothing when it points at nothing.
struct PointedItem {
    HitItem item;
    std::shared_ptr<PointedModel> pointed;
};
std::optional<PointedItem> pointed_item(const AppState& state, int unit, double x, double y,
                                        double per_screen_pixel);

// The item a pointer at (x, y) of the graph window of `unit` points at, with its line: a node's
// coordinate record (else its code or value record), an element's own record (else the
// incidence record of an end). Nothing when it points at nothing.
std::optional<ItemLine> pointed_item_line(const AppState& state, int unit, double x, double y,
                                          double per_screen_pixel);

// The line of a node or element of the model, as pointed_item_line gives it.
long item_line(const StructureModel& model, const RecordLines& lines, const HitItem& item);

// Starts the index of what a graph of the loaded model draws with `view` onto an area of
// width x height pixels, on a thread of its own: it only reads the model and the current
// settings, as the drawing does, so the two go on side by side. `state` must outlive it.
std::future<std::shared_ptr<const HitIndex>> start_pointing_index(const AppState& state,
                                                                  const ViewMapping& view,
                                                                  int width, int height);

// Lets the graph window of `unit`, just drawn from the loaded model, tell what the pointer rests
// on, with the index of what it drew.
void install_pointing(AppState& state, gwl::Layer& layer, gwl::Unit unit,
                      std::shared_ptr<const HitIndex> index);

} // namespace vorax
