// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Looking around a model: finding a node or an element by its number (Edit > Find, Ctrl+F) and
// measuring the distance between two nodes (a click on one, Shift+click on another; Escape
// clears).
//
// A found item is marked in every graph window that drew it, with the marks of the edit-look
// loop, and scrolled into view; the status line gives its pointing text, or says that it does
// not exist or that no window drew it.
//
// Contents: FindTarget, parse_find_text, LookAround.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/app_state.h"
#include "graph/hit_index.h"

namespace vorax::gwl {
class Layer;
}

namespace vorax {

class ModelReload;

// "17", "node 17", "n17", "element 31", "e31" (Romanian "nod 17", "nodul 17", "elementul 31"),
// in any case, blanks around: the node or element named. Nothing for another text or a number
// that is not positive or too large.
std::optional<HitItem> parse_find_text(std::string_view text);

class LookAround {
public:
    LookAround(AppState& state, gwl::Layer& layer, ModelReload& reload);

    // Edit > Find (Ctrl+F).
    void add_menu_items();
    int find_item() const { return find_item_; }

    // The menu action: asks for the item, then finds it (user-interface thread).
    void find();
    // Finds the item a text names and says what became of it.
    void find_text(const std::string& text);

    // A click, a Shift+click or Escape on the picture of a graph window (GraphicsWindow::Gesture).
    void gesture(int unit, int gesture, double x, double y, double per_screen_pixel);
    // Ends a measuring, as Escape does: the status line gets back what it showed before. A
    // reload calls it, since the distance said was one of the model read before, and so does a
    // new model (which also ends the word that Find had no model).
    void forget_pick();

private:
    void say(const std::string& text);

    AppState& state_;
    gwl::Layer& layer_;
    ModelReload& reload_;
    int find_item_ = 0;
    std::string last_find_;
    // The node measured from, and the model it belongs to.
    std::int32_t anchor_ = 0;
    std::shared_ptr<struct PointedModel> anchor_model_;
    // What the status line showed before the measuring wrote it.
    std::optional<std::string> status_before_;
};

} // namespace vorax
