// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/dialogs/dialog_template.h"

#include <QFile>
#include <QFont>
#include <QFontMetricsF>

#include <array>
#include <charconv>
#include <cmath>
#include <set>
#include <utility>

#include "core/text.h"
#include "gwl/platform/qt_text.h"

namespace vorax::gwl {

namespace {

constexpr std::array<std::pair<ControlKind, std::string_view>, 9> kKindNames{{
    {ControlKind::group_box, "group"},
    {ControlKind::static_text, "static"},
    {ControlKind::check_box, "check"},
    {ControlKind::toggle_button, "toggle"},
    {ControlKind::edit, "edit"},
    {ControlKind::editable_list, "editlist"},
    {ControlKind::drop_down_list, "droplist"},
    {ControlKind::picture, "picture"},
    {ControlKind::push_button, "button"},
}};

struct Token {
    std::string text;
    bool quoted = false;
};

// Splits a line into blank-separated words and quoted strings; nullopt when a quote is left
// open or an escape is unknown.
std::optional<std::vector<Token>> tokenize(std::string_view line, std::string& error)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        Token token;
        if (c == '"') {
            token.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const char q = line[i++];
                if (q == '"') {
                    closed = true;
                    break;
                }
                if (q != '\\') {
                    token.text += q;
                    continue;
                }
                if (i >= line.size())
                    break;
                const char e = line[i++];
                if (e == 'n')
                    token.text += '\n';
                else if (e == '"' || e == '\\')
                    token.text += e;
                else {
                    error = std::string("unknown escape \\") + e;
                    return std::nullopt;
                }
            }
            if (!closed) {
                error = "a quoted text is not closed";
                return std::nullopt;
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
                token.text += line[i++];
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

std::optional<int> to_int(const Token& token)
{
    if (token.quoted || token.text.empty())
        return std::nullopt;
    int value = 0;
    const char* first = token.text.data();
    const char* last = first + token.text.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last)
        return std::nullopt;
    return value;
}

// Reads the control line's flags from tokens[first..]; false with `error` set on a bad flag.
bool read_flags(const std::vector<Token>& tokens, std::size_t first, ControlTemplate& control,
                std::string& error)
{
    for (std::size_t i = first; i < tokens.size(); ++i) {
        const std::string& flag = tokens[i].text;
        if (tokens[i].quoted) {
            error = "a flag was expected, not a quoted text";
            return false;
        }
        if (flag == "default")
            control.is_default = true;
        else if (flag == "hidden")
            control.hidden = true;
        else if (flag == "sunken")
            control.sunken = true;
        else if (flag == "disabled")
            control.disabled = true;
        else if (flag == "entry") {
            if (i + 1 >= tokens.size() || !tokens[i + 1].quoted) {
                error = "entry needs a quoted text";
                return false;
            }
            control.entries.push_back(tokens[++i].text);
        } else if (flag == "bitmap") {
            const auto id = i + 1 < tokens.size() ? to_int(tokens[i + 1]) : std::nullopt;
            if (!id || *id <= 0) {
                error = "bitmap needs a positive resource id";
                return false;
            }
            control.bitmap = *id;
            ++i;
        } else {
            error = "unknown flag '" + flag + "'";
            return false;
        }
    }
    return true;
}

std::optional<ControlTemplate> read_control(const std::vector<Token>& tokens, std::string& error)
{
    if (tokens.size() < 7) {
        error = "a control needs id, kind, caption, x, y, width and height";
        return std::nullopt;
    }
    ControlTemplate control;
    if (tokens[0].text != "-" || tokens[0].quoted) {
        const auto id = to_int(tokens[0]);
        if (!id || *id <= 0) {
            error = "a control id is a positive number or -";
            return std::nullopt;
        }
        control.id = *id;
    }
    const auto kind = control_kind_from_name(tokens[1].text);
    if (!kind || tokens[1].quoted) {
        error = "unknown control kind '" + tokens[1].text + "'";
        return std::nullopt;
    }
    control.kind = *kind;
    if (!tokens[2].quoted) {
        error = "the caption must be quoted";
        return std::nullopt;
    }
    control.caption = tokens[2].text;
    std::array<int*, 4> numbers{&control.x, &control.y, &control.width, &control.height};
    for (std::size_t k = 0; k < numbers.size(); ++k) {
        const auto value = to_int(tokens[3 + k]);
        if (!value || (k >= 2 && *value < 0)) {
            error = "position and size must be numbers, the size not negative";
            return std::nullopt;
        }
        *numbers[k] = *value;
    }
    if (!read_flags(tokens, 7, control, error))
        return std::nullopt;
    return control;
}

} // namespace

std::string_view control_kind_name(ControlKind kind)
{
    for (const auto& [k, name] : kKindNames)
        if (k == kind)
            return name;
    return {};
}

std::optional<ControlKind> control_kind_from_name(std::string_view name)
{
    for (const auto& [k, n] : kKindNames)
        if (n == name)
            return k;
    return std::nullopt;
}

const ControlTemplate* DialogTemplate::find(int control_id) const
{
    if (control_id == kNoControlId)
        return nullptr;
    for (const auto& c : controls)
        if (c.id == control_id)
            return &c;
    return nullptr;
}

TemplateParseResult parse_dialog_template(std::string_view text, int template_id)
{
    TemplateParseResult result;
    DialogTemplate dialog;
    dialog.id = template_id;
    bool has_title = false;
    bool has_size = false;
    std::set<int> ids;
    int line_number = 0;
    auto fail = [&](std::string message) {
        result.error = std::move(message);
        result.line = line_number;
        return result;
    };

    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++line_number;
        const std::string_view body = trim_left(line);
        if (body.empty() || body.front() == '#')
            continue;

        std::string error;
        const auto tokens = tokenize(body, error);
        if (!tokens)
            return fail(error);
        if (tokens->empty())
            continue;
        const std::string& head = (*tokens)[0].text;
        if (head == "title" && !(*tokens)[0].quoted) {
            if (tokens->size() != 2 || !(*tokens)[1].quoted)
                return fail("title needs one quoted text");
            dialog.title = (*tokens)[1].text;
            has_title = true;
        } else if (head == "font" && !(*tokens)[0].quoted) {
            const auto points = tokens->size() == 3 ? to_int((*tokens)[2]) : std::nullopt;
            if (!points || !(*tokens)[1].quoted || *points <= 0)
                return fail("font needs a quoted face and a positive point size");
            dialog.font_face = (*tokens)[1].text;
            dialog.font_points = *points;
        } else if (head == "size" && !(*tokens)[0].quoted) {
            const auto w = tokens->size() == 3 ? to_int((*tokens)[1]) : std::nullopt;
            const auto h = tokens->size() == 3 ? to_int((*tokens)[2]) : std::nullopt;
            if (!w || !h || *w <= 0 || *h <= 0)
                return fail("size needs a positive width and height");
            dialog.width = *w;
            dialog.height = *h;
            has_size = true;
        } else {
            auto control = read_control(*tokens, error);
            if (!control)
                return fail(error);
            if (control->id != kNoControlId) {
                if (control->id == template_id)
                    return fail("a control cannot have the template's own id");
                if (!ids.insert(control->id).second)
                    return fail("control id " + std::to_string(control->id) + " is used twice");
            }
            dialog.controls.push_back(std::move(*control));
        }
    }
    line_number = 0;
    if (!has_title)
        return fail("the template has no title");
    if (!has_size)
        return fail("the template has no size");
    result.dialog = std::move(dialog);
    return result;
}

std::optional<DialogTemplate> load_dialog_template(int template_id)
{
    QFile file(QStringLiteral(":/dialogs/%1.dlg").arg(template_id));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    return parse_dialog_template(std::string_view(bytes.constData(),
                                                  static_cast<std::size_t>(bytes.size())),
                                 template_id)
        .dialog;
}

std::string bitmap_resource_path(int bitmap_id)
{
    return ":/bitmaps/" + std::to_string(bitmap_id) + ".png";
}

int dialog_x_to_pixels(int dialog_units, DialogBaseUnits base)
{
    return static_cast<int>(std::lround(dialog_units * base.char_width / 4.0));
}

int dialog_y_to_pixels(int dialog_units, DialogBaseUnits base)
{
    return static_cast<int>(std::lround(dialog_units * base.char_height / 8.0));
}

PixelRect dialog_rect_to_pixels(const ControlTemplate& control, DialogBaseUnits base)
{
    return {dialog_x_to_pixels(control.x, base), dialog_y_to_pixels(control.y, base),
            dialog_x_to_pixels(control.width, base), dialog_y_to_pixels(control.height, base)};
}

std::string substitute_font_face(std::string_view face)
{
    for (std::string_view classic : {"MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2"})
        if (equals_ignore_case(trim_right(face), classic))
            return "Liberation Sans";
    return std::string(face);
}

DialogBaseUnits dialog_base_units(const DialogTemplate& dialog)
{
    QFont font(qt_text(substitute_font_face(dialog.font_face)));
    font.setPointSize(dialog.font_points > 0 ? dialog.font_points : 8);
    const QFontMetricsF metrics(font);
    const qreal letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {letters / 52.0, metrics.height()};
}

} // namespace vorax::gwl
