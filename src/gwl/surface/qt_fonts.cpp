// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/surface/qt_fonts.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <tuple>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>

#include "core/text.h"
#include "gwl/platform/qt_text.h"
#include "gwl/surface/draw_record.h"

namespace vorax::gwl {

namespace {

constexpr int kMaxFaceName = 31;

struct ListState {
    std::mutex mutex;
    bool built = false;
    std::vector<FontEntry> entries;
    int default_index = -1;
};

ListState& list_state()
{
    static ListState state;
    return state;
}

// The system reports the styles of a family in no useful order (Bold Italic may come first);
// the list puts the upright regular style first, so that a face named without options gets its
// plain font, then heavier, lighter and slanted ones.
std::vector<QString> ordered_styles(const QString& family)
{
    QStringList styles = QFontDatabase::styles(family);
    std::vector<QString> ordered(styles.begin(), styles.end());
    const auto rank = [&](const QString& style) {
        return std::make_tuple(QFontDatabase::italic(family, style),
                               std::abs(QFontDatabase::weight(family, style) - 400), style);
    };
    std::stable_sort(ordered.begin(), ordered.end(),
                     [&](const QString& a, const QString& b) { return rank(a) < rank(b); });
    return ordered;
}

std::vector<FontEntry> enumerate_system_fonts()
{
    std::vector<FontEntry> entries;
    if (!gui_available())
        return entries;
    for (const QString& family : QFontDatabase::families()) {
        for (const QString& style : ordered_styles(family)) {
            FontEntry entry;
            entry.family = program_text(family);
            entry.face = cut(entry.family, kMaxFaceName);
            entry.style = program_text(style);
            entry.weight = QFontDatabase::weight(family, style);
            entry.italic = QFontDatabase::italic(family, style);
            entry.fixed_pitch = QFontDatabase::isFixedPitch(family, style);
            if (QFontDatabase::isSmoothlyScalable(family, style)) {
                entry.scalable = true;
                entry.height = kDefaultCellHeight;
                entry.width = 0;
                entries.push_back(entry);
                continue;
            }
            // A raster face: one entry per size it comes in.
            entry.scalable = false;
            for (int points : QFontDatabase::pointSizes(family, style)) {
                const QFontMetrics metrics(QFontDatabase::font(family, style, points));
                entry.height = metrics.height();
                entry.width = metrics.averageCharWidth();
                entries.push_back(entry);
            }
        }
    }
    return entries;
}

int cell_height_at(QFont font, int pixel_size)
{
    font.setPixelSize(pixel_size);
    return QFontMetrics(font).height();
}

} // namespace

bool gui_available()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

bool ensure_font_list()
{
    ListState& state = list_state();
    const std::lock_guard lock(state.mutex);
    if (state.built)
        return true;
    state.entries = enumerate_system_fonts();
    if (state.entries.empty())
        return false;
    state.default_index = static_cast<int>(state.entries.size()) - 1;
    for (int i = state.default_index; i >= 0; --i) {
        if (state.entries[static_cast<std::size_t>(i)].scalable) {
            state.default_index = i;
            break;
        }
    }
    state.built = true;
    return true;
}

const std::vector<FontEntry>& font_list() { return list_state().entries; }

int default_font_index() { return list_state().default_index; }

int pixel_size_for_cell_height(const QFont& font, int cell_height)
{
    cell_height = std::max(cell_height, 1);
    static std::mutex cache_mutex;
    static std::map<std::pair<QString, int>, int> cache;
    const auto key = std::make_pair(font.key(), cell_height);
    {
        const std::lock_guard lock(cache_mutex);
        if (const auto found = cache.find(key); found != cache.end())
            return found->second;
    }
    // Cell heights grow with the pixel size; find the largest size that still fits.
    int size = std::max(1, cell_height - cell_height / 4);
    while (size > 1 && cell_height_at(font, size) > cell_height)
        --size;
    while (size < 4 * cell_height && cell_height_at(font, size + 1) <= cell_height)
        ++size;
    const std::lock_guard lock(cache_mutex);
    cache.emplace(key, size);
    return size;
}

QFont make_font(const FontEntry& entry, const FontChoice& choice)
{
    QFont font(qt_text(entry.family));
    if (choice.weight == entry.weight && choice.italic == entry.italic) {
        // The entry exactly as listed: its style name also keeps widths such as "Condensed".
        font.setStyleName(qt_text(entry.style));
    } else {
        font.setWeight(static_cast<QFont::Weight>(std::clamp(choice.weight, 1, 1000)));
        font.setItalic(choice.italic);
    }
    font.setUnderline(choice.underline);
    // Graphic text is placed glyph after glyph without kerning or ligatures, as the platform's
    // plain text output does; skipping the shaping also makes many short labels much cheaper.
    font.setStyleStrategy(
        QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferMatch | QFont::PreferNoShaping));
    const int height = choice.height > 0 ? choice.height
                                         : (entry.height > 0 ? entry.height : kDefaultCellHeight);
    font.setPixelSize(pixel_size_for_cell_height(font, height));
    if (choice.width > 0) {
        const int natural = QFontMetrics(font).averageCharWidth();
        if (natural > 0)
            font.setStretch(std::clamp(
                static_cast<int>(std::lround(100.0 * choice.width / natural)), 1, 4000));
    }
    return font;
}

QFont text_layer_font(int cell_height)
{
    QFont font(QStringLiteral("Liberation Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setPixelSize(pixel_size_for_cell_height(font, cell_height));
    return font;
}

QFont font_of_record(const RecordedFont& f)
{
    QFont font(QString::fromStdString(f.family));
    font.setPixelSize(std::max(f.pixel_size, 1));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(f.weight, 1, 1000)));
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    if (f.stretch != 100)
        font.setStretch(f.stretch);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferMatch | QFont::PreferNoShaping));
    return font;
}

} // namespace vorax::gwl
