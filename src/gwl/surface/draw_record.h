// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// DrawRecord: what a drawing surface drew, as data, in the order it was drawn and in the
// surface's pixel coordinates, so that a picture can be drawn again on a device of any
// resolution (vector_output.h) instead of being copied as pixels.
//
// It stays small: an operation is 24 bytes, a line among lines of its look 8; colours, line
// style, fill mask and font are shared "looks" referred to by index, and polygon points and
// texts sit in pools of their own. A clear
// drops everything before it, since nothing before it can be seen.
//
// It describes the finished picture. Pixels copied back from a saved image (a rubber band wiped
// out again) are no operation: the record goes back to where it was when the image was saved,
// as far as the copy overwrote what came later (see mark and restore). Nothing here knows Qt.
//
// Contents: RecordOp, RecordedLook, RecordedFont, DrawOp, BlockList, OpStore, RecordMark,
// DrawRecord.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/color.h"
#include "gwl/types.h"

namespace vorax::gwl {

enum class RecordOp : std::uint8_t {
    clear,      // the whole area in the look's background colour
    line,       // (a, b) to (c, d), both end pixels drawn
    rectangle,  // box a..c x b..d (inclusive); outline, or filled and outlined
    ellipse,    // inscribed in the box a..c x b..d
    polygon,    // points a .. a + b - 1 of the point pool, closed
    text,       // graphic text: left a, baseline b, text at pool offset c, advance d pixels
    layer_text, // text-layer text on its cell background: left a, cell top b, text c, width d
};

// How an operation draws: its colours, pen, fill pattern and font.
struct RecordedLook {
    Rgb color = kBlack;           // drawing colour; the text colour for layer text
    Rgb background = kWhite;      // clears, clear bits of a fill mask, behind layer text
    std::uint16_t line_style = 0xFFFF;
    std::optional<std::array<std::uint8_t, 8>> fill_mask; // none: solid fill
    std::int32_t font = -1;       // index into the fonts, -1 none
    friend bool operator==(const RecordedLook&, const RecordedLook&) = default;
};

// A font as the surface created it, and its cell on the surface.
struct RecordedFont {
    std::string family;
    int pixel_size = 12;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    int stretch = 100; // per cent of the natural width
    int ascent = 0;    // pixels from the cell's top to the baseline
    int height = 0;    // the cell's height in pixels
    friend bool operator==(const RecordedFont&, const RecordedFont&) = default;
};

// One operation; the meaning of a..d depends on the kind (see RecordOp).
struct DrawOp {
    RecordOp kind = RecordOp::line;
    bool filled = false; // shapes: interior filled as well as outlined
    std::uint32_t look = 0;
    std::int32_t a = 0, b = 0, c = 0, d = 0;    friend bool operator==(const DrawOp&, const DrawOp&) = default;
};

// Items in blocks that never move: growing copies nothing and touches each byte of fresh memory
// once. A block holds 2^kShift items.
template <class T, unsigned kShift>
class BlockList {
public:
    BlockList() = default;
    ~BlockList() { truncate(0); }
    BlockList(const BlockList&) = delete;
    BlockList& operator=(const BlockList&) = delete;

    std::size_t size() const { return size_; }
    const T& operator[](std::size_t i) const { return blocks_[i >> kShift][i & kMask]; }
    void push_back(const T& item)
    {
        if ((size_ >> kShift) == blocks_.size())
            add_block();
        blocks_[size_ >> kShift][size_ & kMask] = item;
        ++size_;
    }
    // Keeps the first `count` items and gives back the blocks no longer needed.
    void truncate(std::size_t count);

private:
    static constexpr std::size_t kMask = (std::size_t{1} << kShift) - 1;
    static constexpr std::size_t kBlockBytes = sizeof(T) << kShift;
    void add_block();

    std::vector<T*> blocks_;
    std::size_t size_ = 0;
};

// The operations of a record. A drawing of a million elements records millions of them, most
// of them lines of one look after another: such a run keeps its look once and each line in
// 8 bytes (while its ends fit 16 bits, as on any drawing area), every other operation takes its
// 24 bytes. Read back, every operation is a DrawOp as it was added.
class OpStore {
public:
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    DrawOp operator[](std::size_t i) const;
    void push_back(const DrawOp& op)
    {
        if (op.kind == RecordOp::line && packable(op)) {
            if (stretches_.empty() || !stretches_.back().packed || stretches_.back().look != op.look)
                stretches_.push_back({size_, lines_.size(), op.look, true});
            lines_.push_back({static_cast<std::int16_t>(op.a), static_cast<std::int16_t>(op.b),
                              static_cast<std::int16_t>(op.c), static_cast<std::int16_t>(op.d)});
        } else {
            if (stretches_.empty() || stretches_.back().packed)
                stretches_.push_back({size_, whole_.size(), 0, false});
            whole_.push_back(op);
        }
        ++size_;
    }
    // Keeps the first `count` operations.
    void truncate(std::size_t count);

    // Reads the operations in order, each as a DrawOp.
    class Iterator {
    public:
        Iterator(const OpStore* store, std::size_t i);
        DrawOp operator*() const;
        Iterator& operator++()
        {
            if (++i_ == next_)
                enter(stretch_ + 1);
            return *this;
        }
        bool operator!=(const Iterator& other) const { return i_ != other.i_; }
        // Moves on to operation i, at or after the present one.
        void seek(std::size_t i);

    private:
        void enter(std::size_t stretch);
        const OpStore* store_;
        std::size_t i_;
        std::size_t stretch_ = 0;
        std::size_t next_ = 0; // first operation of the next stretch
    };
    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, size_}; }

private:
    struct PackedLine {
        std::int16_t a, b, c, d;
    };
    // Operations from `first` on, kept packed (lines of one look) or whole, from `slot` on in
    // their list.
    struct Stretch {
        std::size_t first;
        std::size_t slot;
        std::uint32_t look;
        bool packed;
    };
    static bool packable(const DrawOp& op)
    {
        const auto fits = [](std::int32_t v) { return v >= INT16_MIN && v <= INT16_MAX; };
        return !op.filled && fits(op.a) && fits(op.b) && fits(op.c) && fits(op.d);
    }
    std::size_t stretch_of(std::size_t i) const;
    DrawOp op_in(std::size_t stretch, std::size_t i) const;

    std::vector<Stretch> stretches_;
    BlockList<DrawOp, 16> whole_;     // 1.5 MiB a block
    BlockList<PackedLine, 18> lines_; // 2 MiB a block
    std::size_t size_ = 0;
};

// Where a record stood when a picture was saved; kept in the saved image.
struct RecordMark {
    std::uint64_t record = 0; // which record (0: none)
    std::uint64_t ops = 0;
    std::uint64_t points = 0;
    std::uint64_t text_bytes = 0;
    std::uint64_t cut = 0;    // cuts made before the mark
};

class DrawRecord {
public:
    // A record that is not kept records no operation: its looks and fonts are still indexed.
    explicit DrawRecord(bool kept = true);

    // --- Recording ----------------------------------------------------------------------------
    // The index of a look or font, the same index for the same values.
    std::uint32_t look_index(const RecordedLook& look);
    std::int32_t font_index(const RecordedFont& font);
    // Drops everything and records the clear.
    void clear(std::uint32_t look);
    // (Inline: a large graph records a line for each of its elements.)
    void add_line(std::uint32_t look, PixelPoint from, PixelPoint to)
    {
        if (kept_)
            ops_.push_back({RecordOp::line, false, look, from.x, from.y, to.x, to.y});
    }
    void add_box(RecordOp kind, bool filled, std::uint32_t look, int left, int top, int right,
                 int bottom);
    void add_polygon(bool filled, std::uint32_t look, std::span<const PixelPoint> points);
    // Graphic text (kind text) or text-layer text (kind layer_text), see RecordOp.
    void add_text(RecordOp kind, std::uint32_t look, int x, int y, std::string_view text,
                  int width);

    // --- Saved pictures ------------------------------------------------------------------------
    RecordMark mark() const;
    // Pixels saved at `mark` were copied back over `area` (drawing-area pixels) at the place they
    // came from. With `whole_area` the record returns to the mark; otherwise the operations since
    // the mark that lie wholly inside `area` are dropped. A mark of another record, or one that a
    // later restore or clear went behind, changes nothing.
    void restore(const RecordMark& mark, const PixelRect& area, bool whole_area);

    // --- Reading ------------------------------------------------------------------------------
    const OpStore& ops() const { return ops_; }
    const RecordedLook& look(std::uint32_t index) const { return looks_[index]; }
    const RecordedFont& font(std::int32_t index) const
    {
        return fonts_[static_cast<std::size_t>(index)];
    }
    std::span<const PixelPoint> polygon_points(const DrawOp& op) const;
    std::string_view text(const DrawOp& op) const;
    // The pixels an operation may touch, inclusive edges as a PixelRect (text: its cell).
    PixelRect bounds(const DrawOp& op) const;

private:
    struct LookHash {
        std::size_t operator()(const RecordedLook& look) const;
    };
    // A cut removed the operations from `first` on.
    struct Cut {
        std::uint64_t serial;
        std::uint64_t first;
    };
    void cut_at(std::uint64_t first);
    bool mark_holds(const RecordMark& mark) const;

    std::uint64_t id_;
    bool kept_;
    OpStore ops_;
    std::vector<PixelPoint> points_;
    std::string text_bytes_; // each text: its length (4 bytes), then its bytes
    std::vector<RecordedLook> looks_;
    std::unordered_map<RecordedLook, std::uint32_t, LookHash> look_indices_;
    std::vector<RecordedFont> fonts_;
    // Cuts with the lowest first operation of every later cut: a mark holds when no cut after
    // it reached below its operation count.
    std::vector<Cut> cuts_;
    std::uint64_t cut_serial_ = 0;
};

} // namespace vorax::gwl
