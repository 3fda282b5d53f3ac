// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The scripted twin of the prompt seam: answers are queued in advance, every call is recorded.
// An unexpected prompt (nothing queued) is recorded and answered as if the person cancelled, so
// a test that forgot an answer fails on its assertions instead of hanging.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "gwl/prompts.h"

class QWidget;

namespace vorax::testing {

struct RecordedMessageBox {
    std::string text;
    std::string caption;
    unsigned style = 0;
};

class ScriptedPrompter final : public gwl::Prompter {
public:
    using DialogScript = std::function<int(gwl::DialogHandle&)>;
    using MouseScript = std::function<gwl::MouseEventResult(gwl::GraphicsWindow&, int mask)>;

    // A mouse script that sends synthetic events to the window's viewport once the real wait
    // has begun, and returns what the real wait returns.
    static MouseScript send_events(std::function<void(QWidget* viewport)> events);

    ScriptedPrompter();  // installs itself as the prompter in force
    ~ScriptedPrompter() override; // restores the Qt prompter

    // Answers, consumed in order. A message box takes its answer from message_box_scripts while
    // there are any (a script may change the world before it answers), then from
    // message_box_answers.
    std::deque<std::function<int(const RecordedMessageBox&)>> message_box_scripts;
    std::deque<int> message_box_answers;
    std::deque<std::optional<std::string>> file_answers;
    std::deque<std::optional<Rgb>> color_answers;
    std::deque<std::string> typed_lines;
    std::deque<std::optional<std::string>> text_answers;
    std::deque<DialogScript> dialog_scripts;
    std::deque<MouseScript> mouse_scripts;

    // Queues one run of a dialog in which the person does `person` with its real window.
    void script_dialog(std::function<void(gwl::DialogHandle&)> person);
    // Queues one run of the Graph Settings dialog that the person ends with "DRAW", changing
    // nothing.
    void script_draw();

    // What was asked.
    std::vector<RecordedMessageBox> message_boxes;
    std::vector<gwl::OpenFileRequest> file_requests;
    std::vector<Rgb> color_requests; // the initial colour of each chooser
    std::array<Rgb, 16> last_custom_colors{};
    int read_line_calls = 0;
    std::vector<std::string> text_prompts;
    int dialog_runs = 0;
    int mouse_waits = 0;
    int unexpected_prompts = 0;

    int message_box(std::string_view text, std::string_view caption, unsigned style) override;
    std::optional<std::string> choose_open_file(const gwl::OpenFileRequest& request) override;
    std::optional<Rgb> choose_color(Rgb initial, std::array<Rgb, 16>& custom_colors) override;
    std::string read_line(gwl::TextWindow& window) override;
    std::optional<std::string> ask_text(std::string_view caption, std::string_view prompt,
                                        std::string_view initial, std::string_view cancel) override;
    int run_modal(gwl::DialogHandle& dialog) override;
    gwl::MouseEventResult wait_mouse(gwl::GraphicsWindow& window, int mask) override;
};

} // namespace vorax::testing
