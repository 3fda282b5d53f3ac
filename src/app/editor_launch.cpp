// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/editor_launch.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace vorax {
namespace {

// Editors that draw in the terminal they are started from.
constexpr std::array<std::string_view, 18> kTerminalEditors{
    "vi", "vim", "nvim", "view", "vim.basic", "vim.tiny", "nano", "pico", "micro", "joe",
    "jed", "ne", "mcedit", "ed", "hx", "kak", "mg", "zile",
};

std::string_view base_name(std::string_view path)
{
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// A word of VORAX_EDITOR with %f, %l and %% put in.
std::string filled_in(std::string_view word, const std::string& file, const std::string& line)
{
    std::string out;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] == '%' && i + 1 < word.size()) {
            const char what = word[i + 1];
            if (what == 'f' || what == 'l' || what == '%') {
                out += what == 'f' ? file : what == 'l' ? line : std::string("%");
                ++i;
                continue;
            }
        }
        out += word[i];
    }
    return out;
}

// The words of a variable that is set and holds a command.
std::optional<std::vector<std::string>> command_of(const Environment& environment, const char* name)
{
    const std::optional<std::string> value = environment(name);
    if (!value)
        return std::nullopt;
    auto words = command_words(*value);
    if (!words || words->empty())
        return std::nullopt;
    return words;
}

} // namespace

std::optional<std::string> process_environment(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr)
        return std::nullopt;
    return std::string(value);
}

std::optional<std::vector<std::string>> command_words(std::string_view command)
{
    std::vector<std::string> words;
    std::string word;
    bool in_word = false;
    for (std::size_t i = 0; i < command.size(); ++i) {
        const char c = command[i];
        if (c == ' ' || c == '\t' || c == '\n') {
            if (in_word)
                words.push_back(std::move(word));
            word.clear();
            in_word = false;
            continue;
        }
        in_word = true;
        if (c == '\\') {
            if (++i < command.size())
                word += command[i];
        } else if (c == '\'') {
            const auto end = command.find('\'', i + 1);
            if (end == std::string_view::npos)
                return std::nullopt;
            word += command.substr(i + 1, end - i - 1);
            i = end;
        } else if (c == '"') {
            for (++i;; ++i) {
                if (i >= command.size())
                    return std::nullopt;
                if (command[i] == '"')
                    break;
                if (command[i] == '\\' && i + 1 < command.size()
                    && std::string_view("\"\\$`").find(command[i + 1]) != std::string_view::npos)
                    ++i;
                word += command[i];
            }
        } else {
            word += c;
        }
    }
    if (in_word)
        words.push_back(std::move(word));
    return words;
}

bool runs_in_terminal(const std::vector<std::string>& words)
{
    if (words.empty())
        return false;
    const std::string_view program = base_name(words.front());
    if (program == "emacs")
        return std::any_of(words.begin() + 1, words.end(), [](const std::string& word) {
            return word == "-nw" || word == "--no-window-system" || word == "-t" || word == "--tty";
        });
    return std::find(kTerminalEditors.begin(), kTerminalEditors.end(), program) != kTerminalEditors.end();
}

EditorLaunch editor_launch(const Environment& environment, const std::string& file, long line)
{
    const std::string line_text = std::to_string(std::max(line, 1L));
    if (const auto words = command_of(environment, "VORAX_EDITOR")) {
        EditorLaunch launch{EditorLaunch::Way::editor_command, {}};
        for (const std::string& word : *words)
            launch.arguments.push_back(filled_in(word, file, line_text));
        return launch;
    }
    for (const char* name : {"VISUAL", "EDITOR"}) {
        const auto words = command_of(environment, name);
        if (!words)
            continue;
        EditorLaunch launch{EditorLaunch::Way::editor_variable, {}};
        if (runs_in_terminal(*words))
            launch.arguments = {"x-terminal-emulator", "-e"};
        launch.arguments.insert(launch.arguments.end(), words->begin(), words->end());
        if (line > 0)
            launch.arguments.push_back("+" + line_text);
        // A file name that begins with a dash would be taken for an option.
        launch.arguments.push_back(!file.empty() && file.front() == '-' ? "./" + file : file);
        return launch;
    }
    return {};
}

} // namespace vorax
