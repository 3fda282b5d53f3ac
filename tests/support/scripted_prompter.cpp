// SPDX-License-Identifier: GPL-3.0-or-later
#include "scripted_prompter.h"

#include <QTimer>

#include "gwl/dialogs/dialog_handle.h"
#include "gwl/windows/graphics_window.h"
#include "settings/dialog_controls.h"

namespace vorax::testing {

ScriptedPrompter::MouseScript
ScriptedPrompter::send_events(std::function<void(QWidget* viewport)> events)
{
    return [events = std::move(events)](gwl::GraphicsWindow& window, int mask) {
        QTimer::singleShot(0, &window, [&window, events] { events(window.viewport()); });
        return window.wait_on_mouse_event(mask);
    };
}

ScriptedPrompter::ScriptedPrompter() { gwl::set_prompter(this); }

void ScriptedPrompter::script_dialog(std::function<void(gwl::DialogHandle&)> person)
{
    dialog_scripts.push_back([person = std::move(person)](gwl::DialogHandle& dialog) {
        return gwl::dialog_script_session(dialog, person);
    });
}

void ScriptedPrompter::script_draw()
{
    script_dialog(
        [](gwl::DialogHandle& dialog) { gwl::dialog_user_click(dialog, settings_control::kDraw); });
}
ScriptedPrompter::~ScriptedPrompter() { gwl::set_prompter(nullptr); }

int ScriptedPrompter::message_box(std::string_view text, std::string_view caption, unsigned style)
{
    message_boxes.push_back({std::string(text), std::string(caption), style});
    if (!message_box_scripts.empty()) {
        auto script = std::move(message_box_scripts.front());
        message_box_scripts.pop_front();
        return script(message_boxes.back());
    }
    if (message_box_answers.empty()) {
        // Nothing queued: an OK box is simply acknowledged; any other box is cancelled.
        const unsigned buttons = style & gwl::mb::kButtonMask;
        if (buttons == gwl::mb::kOk)
            return gwl::mb::kIdOk;
        ++unexpected_prompts;
        return buttons == gwl::mb::kYesNo ? gwl::mb::kIdNo : gwl::mb::kIdCancel;
    }
    const int answer = message_box_answers.front();
    message_box_answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedPrompter::choose_open_file(const gwl::OpenFileRequest& request)
{
    file_requests.push_back(request);
    if (file_answers.empty()) {
        ++unexpected_prompts;
        return std::nullopt;
    }
    auto answer = file_answers.front();
    file_answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedPrompter::ask_text(std::string_view, std::string_view prompt,
                                                      std::string_view, std::string_view)
{
    text_prompts.emplace_back(prompt);
    if (text_answers.empty()) {
        ++unexpected_prompts;
        return std::nullopt;
    }
    auto answer = text_answers.front();
    text_answers.pop_front();
    return answer;
}

std::optional<Rgb> ScriptedPrompter::choose_color(Rgb initial, std::array<Rgb, 16>& custom_colors)
{
    color_requests.push_back(initial);
    last_custom_colors = custom_colors;
    if (color_answers.empty()) {
        ++unexpected_prompts;
        return std::nullopt;
    }
    auto answer = color_answers.front();
    color_answers.pop_front();
    return answer;
}

std::string ScriptedPrompter::read_line(gwl::TextWindow&)
{
    ++read_line_calls;
    if (typed_lines.empty()) {
        ++unexpected_prompts;
        return {};
    }
    std::string line = typed_lines.front();
    typed_lines.pop_front();
    return line;
}

int ScriptedPrompter::run_modal(gwl::DialogHandle& dialog)
{
    ++dialog_runs;
    if (dialog_scripts.empty()) {
        ++unexpected_prompts;
        return 2; // Cancel
    }
    DialogScript script = std::move(dialog_scripts.front());
    dialog_scripts.pop_front();
    return script(dialog);
}

gwl::MouseEventResult ScriptedPrompter::wait_mouse(gwl::GraphicsWindow& window, int mask)
{
    ++mouse_waits;
    if (mouse_scripts.empty()) {
        ++unexpected_prompts;
        return {};
    }
    MouseScript script = std::move(mouse_scripts.front());
    mouse_scripts.pop_front();
    return script(window, mask);
}

} // namespace vorax::testing
