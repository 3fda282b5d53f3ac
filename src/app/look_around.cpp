// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/look_around.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "app/model_reload.h"
#include "app/pointing.h"
#include "core/messages.h"
#include "graph/change_marks.h"
#include "graph/graph_texts.h"
#include "gwl/platform/system.h"
#include "gwl/prompts.h"
#include "gwl/windows/frame.h"
#include "gwl/windows/graphics_window.h"
#include "gwl/windows/layer.h"

namespace vorax {

std::optional<HitItem> parse_find_text(std::string_view text)
{
    std::string word;
    std::size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
        ++at;
    while (at < text.size() && std::isalpha(static_cast<unsigned char>(text[at])))
        word += static_cast<char>(std::tolower(static_cast<unsigned char>(text[at++])));
    HitItem item;
    if (word.empty() || word == "n" || word == "node" || word == "nod" || word == "nodul")
        item.kind = HitItem::Kind::node;
    else if (word == "e" || word == "el" || word == "element" || word == "elementul")
        item.kind = HitItem::Kind::element;
    else
        return std::nullopt;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
        ++at;
    const char* first = text.data() + at;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, item.number);
    if (error != std::errc() || end == first || item.number < 0)
        return std::nullopt;
    for (const char* p = end; p != last; ++p)
        if (!std::isspace(static_cast<unsigned char>(*p)))
            return std::nullopt;
    return item;
}

LookAround::LookAround(AppState& state, gwl::Layer& layer, ModelReload& reload)
    : state_(state), layer_(layer), reload_(reload)
{
}

void LookAround::add_menu_items()
{
    layer_.run_on_ui([this] {
        layer_.append_menu_item(gwl::kEditMenu, gwl::menu_flag::kEnabled,
                                message(Message::find_menu, state_.language),
                                gwl::menu_routine([this] { find(); }));
        find_item_ = layer_.frame().menu_item_count(gwl::kEditMenu);
        layer_.set_menu_item_shortcut(gwl::kEditMenu, find_item_, "Ctrl+F");
    });
}

void LookAround::say(const std::string& text) { layer_.set_status_text(text); }

void LookAround::find()
{
    const UiLanguage lang = state_.language;
    // None before the first graph, nor once the run has ended (the graph limit released it).
    if (!state_.model_loaded) {
        gwl::beep(440, 100);
        // Said until a model comes, as a measuring is.
        if (!status_before_)
            status_before_ = layer_.frame().status_text();
        say(std::string(message(Message::find_no_model, lang)));
        return;
    }
    const auto text = gwl::prompter().ask_text(message(Message::find_caption, lang),
                                               message(Message::find_prompt, lang), last_find_,
                                               message(Message::cancel_button, lang));
    if (!text)
        return;
    last_find_ = *text;
    find_text(*text);
}

void LookAround::find_text(const std::string& text)
{
    const UiLanguage lang = state_.language;
    const std::optional<HitItem> item = parse_find_text(text);
    if (!item || !state_.model_loaded) {
        say(std::string(message(Message::find_unreadable, lang)) + text);
        return;
    }
    const StructureModel& model = state_.model;
    const bool node = item->kind == HitItem::Kind::node;
    const std::string name = std::string(message(node ? Message::node_word : Message::element_word, lang))
                             + std::to_string(item->number);
    const std::int32_t count = node ? model.node_count : model.element_count;
    if (item->number < 1 || item->number > count) {
        std::string said(message(node ? Message::pointed_node : Message::pointed_element, lang));
        said += std::to_string(item->number);
        said += message(node ? Message::find_no_such_node : Message::find_no_such_element, lang);
        say(said + std::to_string(count));
        return;
    }
    GraphMarks marks;
    (node ? marks.nodes : marks.elements).push_back(item->number);
    if (reload_.mark_items(marks, true) == 0) {
        say(std::string(message(Message::find_not_drawn, lang)) + name);
        return;
    }
    static const RecordLines kNoLines;
    const RecordLines& lines = state_.pointed_model ? state_.pointed_model->lines : kNoLines;
    say(node ? pointed_node_text(model, item->number, lines, lang)
             : pointed_element_text(model, item->number, lines, lang));
}

void LookAround::gesture(int unit, int gesture, double x, double y, double per_screen_pixel)
{
    using Gesture = gwl::GraphicsWindow::Gesture;
    const auto what = static_cast<Gesture>(gesture);
    if (what == Gesture::escape) {
        forget_pick();
        return;
    }
    if (what != Gesture::click && what != Gesture::shift_click)
        return;
    const auto found = pointed_item(state_, unit, x, y, per_screen_pixel);
    if (!found || found->item.kind != HitItem::Kind::node)
        return;
    if (!status_before_)
        status_before_ = layer_.frame().status_text();
    const std::int32_t node = found->item.number;
    const UiLanguage lang = state_.language;
    const StructureModel& model = *found->pointed->model;
    if (what == Gesture::shift_click && anchor_ != 0 && anchor_ != node && anchor_model_ == found->pointed
        && anchor_ <= model.node_count) {
        say(distance_text(model, anchor_, node, lang));
        return;
    }
    anchor_ = node;
    anchor_model_ = found->pointed;
    say(std::string(message(Message::pointed_node, lang)) + std::to_string(node)
        + std::string(message(Message::measure_anchor, lang)));
}

void LookAround::forget_pick()
{
    anchor_ = 0;
    anchor_model_.reset();
    if (status_before_)
        say(*status_before_);
    status_before_.reset();
}

} // namespace vorax
