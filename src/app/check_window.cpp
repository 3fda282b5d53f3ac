// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/check_window.h"

#include <algorithm>
#include <filesystem>

#include "app/model_reload.h"
#include "app/pointing.h"
#include "core/messages.h"
#include "core/text.h"
#include "gwl/platform/process_start.h"
#include "gwl/windows/frame.h"
#include "gwl/windows/graphics_window.h"
#include "gwl/windows/layer.h"
#include "gwl/windows/list_window.h"

namespace vorax {

std::vector<std::vector<std::string>> finding_rows(const CheckReport& report, UiLanguage language)
{
    std::vector<std::vector<std::string>> rows;
    rows.reserve(report.findings.size());
    for (const Finding& finding : report.findings)
        rows.push_back({finding.line > 0 ? std::to_string(finding.line) : std::string(),
                        std::string(kind_name(finding.kind)), finding.text});
    for (std::size_t k = 0; k < kFindingKinds; ++k)
        if (report.unlisted[k] > 0)
            rows.push_back({std::string(), std::string(kind_name(static_cast<FindingKind>(k))),
                            std::to_string(report.unlisted[k])
                                + std::string(message(Message::more_findings, language))});
    return rows;
}

CheckWindow::CheckWindow(AppState& state, gwl::Layer& layer, ModelReload& reload)
    : state_(state), layer_(layer), reload_(reload)
{
}

void CheckWindow::add_menu_items()
{
    layer_.run_on_ui([this] {
        using namespace gwl::menu_flag;
        const UiLanguage lang = state_.language;
        layer_.append_menu_item(gwl::kViewMenu, kEnabled, message(Message::model_check_menu, lang),
                                gwl::menu_routine([this] { open(); }));
        items_.model_check = layer_.frame().menu_item_count(gwl::kViewMenu);
        layer_.set_menu_item_shortcut(gwl::kViewMenu, items_.model_check, "F8");
        layer_.append_menu_item(gwl::kEditMenu, kSeparator, "", gwl::menu_no_action());
        layer_.append_menu_item(gwl::kEditMenu, kEnabled, message(Message::edit_at_line_menu, lang),
                                gwl::menu_routine([this] { edit_at_line(); }));
        items_.edit_at_line = layer_.frame().menu_item_count(gwl::kEditMenu);
        layer_.set_menu_item_shortcut(gwl::kEditMenu, items_.edit_at_line, "Ctrl+E");
    });
}

std::string CheckWindow::model_file() const { return std::string(trim_right(state_.input_file_name)); }

void CheckWindow::open()
{
    const std::string title = state_.program_label + " " + std::string(message(Message::model_check_title, state_.language));
    layer_.open_unit(kCheckUnit, gwl::WindowKind::list, "user", title);
    fill();
    if (gwl::ListWindow* list = layer_.frame().list_window(kCheckUnit)) {
        list->setFocus();
        if (list->row_count() > 0) {
            wanted_row_ = list->current_row();
            follow_choice();
        }
    }
}

void CheckWindow::refresh()
{
    layer_.run_on_ui([this] {
        marked_row_ = -1;
        wanted_row_ = -1;
        fill();
    });
}

void CheckWindow::fill()
{
    gwl::ListWindow* list = layer_.frame().list_window(kCheckUnit);
    if (list == nullptr)
        return;
    const UiLanguage lang = state_.language;
    list->set_actions([this](int row) { choose(row); }, [this](int row) { edit_finding(row); });
    const CheckReport empty;
    list->set_rows({std::string(message(Message::check_line_column, lang)),
                    std::string(message(Message::check_kind_column, lang)),
                    std::string(message(Message::check_finding_column, lang))},
                   finding_rows(state_.model_loaded ? state_.model_check : empty, lang),
                   std::string(message(Message::no_findings, lang)));
}

void CheckWindow::choose(int row)
{
    wanted_row_ = row;
    // While the windows are drawn with the marks of one finding, the person may go on to the
    // next: the loop of the first takes it up.
    if (!marking_)
        layer_.run_when_idle([this] { follow_choice(); });
}

void CheckWindow::follow_choice()
{
    marking_ = true;
    while (marked_row_ != wanted_row_) {
        const int row = wanted_row_;
        marked_row_ = row;
        mark_row(row);
    }
    marking_ = false;
}

void CheckWindow::mark_row(int row)
{
    const std::vector<Finding>& findings = state_.model_check.findings;
    GraphMarks marks;
    if (row >= 0 && static_cast<std::size_t>(row) < findings.size()) {
        const Finding& finding = findings[static_cast<std::size_t>(row)];
        marks.nodes = finding.nodes;
        marks.elements = finding.elements;
        layer_.set_status_text(finding_line(file_name_of(model_file()), finding, state_.language));
    }
    if (marks.empty()) {
        // The marks of the finding before go.
        if (std::any_of(state_.drawn_graphs.begin(), state_.drawn_graphs.end(),
                        [](const DrawnGraph& graph) { return !graph.marks.empty(); }))
            reload_.mark_items(marks, false);
        return;
    }
    if (reload_.mark_items(marks, true) == 0)
        layer_.set_status_text(message(Message::finding_not_drawn, state_.language));
}

void CheckWindow::edit_finding(int row)
{
    const std::vector<Finding>& findings = state_.model_check.findings;
    if (row < 0 || static_cast<std::size_t>(row) >= findings.size())
        return;
    const Finding& finding = findings[static_cast<std::size_t>(row)];
    long line = finding.line;
    // A finding about the whole model opens at the first item it names.
    if (line == 0 && state_.pointed_model && state_.pointed_model->model != nullptr) {
        const PointedModel& pointed = *state_.pointed_model;
        if (!finding.nodes.empty())
            line = item_line(*pointed.model, pointed.lines, {HitItem::Kind::node, finding.nodes.front()});
        else if (!finding.elements.empty())
            line = item_line(*pointed.model, pointed.lines, {HitItem::Kind::element, finding.elements.front()});
    }
    open_editor(model_file(), line);
}

void CheckWindow::edit_pointed(int unit, double x, double y, double per_screen_pixel)
{
    if (const auto pointed = pointed_item_line(state_, unit, x, y, per_screen_pixel))
        open_editor(pointed->file, pointed->line);
}

void CheckWindow::edit_at_line()
{
    gwl::Frame& frame = layer_.frame();
    // The item under the pointer now (the keys pressed while it rests there), else the finding
    // chosen in the findings window when that has the focus, else what was pointed at last in
    // the active graph window (the menu chosen with the mouse took the pointer away).
    gwl::Unit unit = frame.focus_unit();
    if (gwl::GraphicsWindow* now = gwl::GraphicsWindow::pointing_now()) {
        for (gwl::Unit u = gwl::kFirstGraphUnit; u <= gwl::kLastGraphUnit; ++u)
            if (frame.graphics_window(u) == now)
                unit = u;
    } else if (unit == kCheckUnit) {
        if (const gwl::ListWindow* list = frame.list_window(kCheckUnit); list && list->current_row() >= 0) {
            edit_finding(list->current_row());
            return;
        }
    }
    if (gwl::GraphicsWindow* window = frame.graphics_window(unit))
        if (const auto point = window->pointed_point())
            if (const auto pointed = pointed_item_line(state_, unit, point->x(), point->y(),
                                                       window->drawing_pixels_per_screen_pixel())) {
                open_editor(pointed->file, pointed->line);
                return;
            }
    layer_.set_status_text(message(Message::nothing_pointed, state_.language));
}

void CheckWindow::open_editor(const std::string& file, long line)
{
    const UiLanguage lang = state_.language;
    const EditorLaunch launch = editor_launch(environment, file, line);
    std::string error;
    if (launch.way == EditorLaunch::Way::desktop) {
        if (!gwl::open_with_desktop(file))
            error = file_name_of(file) + ": no application opens it";
    } else {
        error = gwl::start_program(launch.arguments);
    }
    if (!error.empty()) {
        const std::string text = std::string(message(Message::editor_failed, lang)) + error;
        layer_.set_status_text(text);
        layer_.write_line(gwl::kInfoUnit, text);
        return;
    }
    std::string text = file_name_of(file);
    if (line > 0 && launch.way != EditorLaunch::Way::desktop)
        text += std::string(message(Message::editing_at_line, lang)) + std::to_string(line);
    layer_.set_status_text(text);
}

} // namespace vorax
