// SPDX-License-Identifier: GPL-3.0-or-later
// DrawSurface: the text layer, fonts and graphic text.

#include <algorithm>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "core/text.h"
#include "gwl/platform/qt_text.h"
#include "gwl/surface/surface_private.h"

namespace vorax::gwl {

namespace {

constexpr std::size_t kFaceField = 32;
constexpr std::size_t kFileField = 81;

} // namespace

// --- Text layer --------------------------------------------------------------------------------

TextPosition DrawSurface::set_text_position(int row, int column)
{
    Operation op(*this);
    State& s = op.s();
    const TextPosition previous = s.text_position;
    s.text_position.row = to_int16(std::clamp(row, 1, s.text_rows));
    s.text_position.column = to_int16(std::clamp(column, 1, s.text_columns));
    if (s.cursor_on) {
        op.changed(s.cursor_rect());
        const TextPosition now = std::exchange(s.text_position, previous);
        op.changed(s.cursor_rect());
        s.text_position = now;
    }
    return previous;
}

void DrawSurface::out_text(std::string_view text)
{
    Operation op(*this);
    State& s = op.s();
    if (!s.has_fonts) {
        op.fail(status::kError);
        return;
    }
    const QString line = qt_text(text);
    const int x = (s.text_position.column - 1) * s.cell_width;
    const int y = (s.text_position.row - 1) * s.cell_height;
    const int width = static_cast<int>(line.size()) * s.cell_width;
    s.close_text_painter();
    if (s.draws_pixels) {
        QPainter painter(&s.image);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.fillRect(x, y, width, s.cell_height, qcolor_of(s.background));
        painter.setFont(s.text_font);
        painter.setPen(qcolor_of(s.text_color));
        painter.drawText(x, y + s.text_ascent, line);
    }
    s.record.add_text(RecordOp::layer_text, s.layer_look(), x, y, text, width);
    op.changed(Box{x, y, x + width - 1, y + s.cell_height - 1});
    // A glyph of a font that is not strictly of fixed pitch can reach past its cells.
    if (s.listener) {
        const QFontMetrics metrics(s.text_font);
        const QRect ink = metrics.boundingRect(line).translated(x, y + s.text_ascent);
        op.changed(Box{std::min(x, ink.left()), std::min(y, ink.top()),
                       std::max(x + metrics.horizontalAdvance(line), ink.right()),
                       std::max(y + s.cell_height - 1, ink.bottom())});
    }
    if (s.cursor_on)
        op.changed(s.cursor_rect());
    // The position moves past the text, to the start of the next row when that runs off the
    // line; the last row stays the last row.
    int column = s.text_position.column + static_cast<int>(line.size());
    int row = s.text_position.row;
    if (column > s.text_columns) {
        column = 1;
        row = std::min(row + 1, s.text_rows);
    }
    s.text_position = {to_int16(row), to_int16(column)};
    if (s.cursor_on)
        op.changed(s.cursor_rect());
}

bool DrawSurface::display_cursor(bool on)
{
    Operation op(*this);
    const bool previous = std::exchange(op.s().cursor_on, on);
    if (previous != on)
        op.changed(op.s().cursor_rect());
    return previous;
}

TextPosition DrawSurface::text_position() const
{
    const std::lock_guard lock(d_->mutex);
    return d_->text_position;
}

bool DrawSurface::cursor_shown() const
{
    const std::lock_guard lock(d_->mutex);
    return d_->cursor_on;
}

PixelRect DrawSurface::text_cursor_rect() const
{
    const std::lock_guard lock(d_->mutex);
    return d_->cursor_rect();
}

// --- Fonts and graphic text --------------------------------------------------------------------

int DrawSurface::init_fonts()
{
    Operation op(*this);
    if (!ensure_font_list()) {
        op.fail(status::kError);
        return 0;
    }
    const std::vector<FontEntry>& list = font_list();
    const int index = default_font_index();
    const FontEntry& entry = list[static_cast<std::size_t>(index)];
    const FontChoice choice{index, entry.height, entry.width, entry.weight, entry.italic,
                            entry.underline};
    const QFont font = make_font(entry, choice);
    op.s().font.emplace(State::CurrentFont{index, choice, font, QFontMetrics(font)});
    op.s().looks_changed();
    return static_cast<int>(list.size());
}

int DrawSurface::set_font(std::string_view spec)
{
    Operation op(*this);
    State& s = op.s();
    const auto parsed = parse_font_spec(spec);
    if (const auto* failure = std::get_if<GraphicsStatus>(&parsed)) {
        op.fail(*failure);
        return -1;
    }
    const FontRequest& request = std::get<FontRequest>(parsed);
    const std::vector<FontEntry>& list = font_list();
    const std::optional<int> previous = s.font ? std::optional(s.font->index) : std::nullopt;
    const std::optional<FontChoice> choice = choose_font(list, request, previous);
    if (!choice) {
        op.fail(status::kError);
        return -1;
    }
    const QFont font = make_font(list[static_cast<std::size_t>(choice->index)], *choice);
    s.font.emplace(State::CurrentFont{choice->index, *choice, font, QFontMetrics(font)});
    s.looks_changed();
    if (request.conflicting)
        op.fail(status::kReordered);
    return choice->index + 1;
}

int DrawSurface::get_font_info(FontInfo& info)
{
    Operation op(*this);
    const State& s = op.s();
    if (!s.font) {
        op.fail(status::kError);
        return -1;
    }
    const FontEntry& entry = font_list()[static_cast<std::size_t>(s.font->index)];
    const FontChoice& choice = s.font->choice;
    const QFontMetrics& metrics = s.font->metrics;
    const int width = choice.width > 0 ? choice.width : metrics.averageCharWidth();
    info.type = entry.scalable ? 1 : 0;
    info.ascent = metrics.ascent();
    info.pixel_width = entry.fixed_pitch ? width : 0;
    info.pixel_height = choice.height > 0 ? choice.height : metrics.height();
    info.avg_char_width = width;
    info.file_name = std::string(kFileField, ' ');
    info.face_name = pad_right(entry.face, kFaceField);
    info.italic = choice.italic;
    info.bold = choice.weight >= 700;
    info.underline = choice.underline;
    return 0;
}

int DrawSurface::get_gtext_extent(std::string_view text)
{
    Operation op(*this);
    if (!op.s().font) {
        op.fail(status::kError);
        return -1;
    }
    return op.s().font->metrics.horizontalAdvance(qt_text(text));
}

void DrawSurface::out_gtext(std::string_view text)
{
    Operation op(*this);
    State& s = op.s();
    if (!s.font) {
        op.fail(status::kNothingDrawn);
        return;
    }
    const QFontMetrics& metrics = s.font->metrics;
    // A number goes glyph by glyph where the font allows; any other text is laid out whole.
    DigitText* const digits = DigitText::is_number(text) ? s.digit_text() : nullptr;
    const QString line = digits ? QString() : qt_text(text);
    const int advance = digits ? digits->lay_out(text) : metrics.horizontalAdvance(line);
    const int x = s.position.x;
    const int y = s.position.y;
    const int baseline = y + metrics.ascent();
    // A number's digits go into the pixels as they are, or failing that as one glyph run.
    if (s.draws_pixels && !(digits && digits->blit(s.buffer(), pixel_of(s.color), x, baseline))) {
        QPainter& painter = s.text_painter_for(s.font->font, s.color);
        if (digits)
            digits->paint(painter, QPointF(x, baseline));
        else
            painter.drawText(x, baseline, line);
    }
    s.record.add_text(RecordOp::text, s.text_look(), x, baseline, text, advance);
    // Italic and some glyphs reach beyond the advance; the bounding box covers them. Measuring it
    // costs as much as shaping the text again, so only a surface that is watched pays for it
    // (a headless export of many labels is not).
    if (s.listener) {
        const QRect ink = digits ? digits->ink(x, baseline) : metrics.boundingRect(line).translated(x, baseline);
        op.changed(Box{std::min(x, ink.left()), std::min(y, ink.top()),
                       std::max(x + advance, ink.right()), std::max(y + metrics.height(), ink.bottom())});
    }
    s.position.x = static_cast<int>(std::min<long long>(static_cast<long long>(x) + advance,
                                                        kPixelLimit));
}

} // namespace vorax::gwl
