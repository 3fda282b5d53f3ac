#pragma once
// DrawRecord: what a drawing surface drew, as data, in the order it was drawn and in the
// surface's pixel coordinates, so that a picture can be drawn again on a device of any
// resolution (vector_output.h) instead of being copied as pixels.
//
// It stays small: an operation is 24 bytes; colours, line style, fill mask and font are shared
// "looks" referred to by index, and polygon points and texts sit in pools of their own. A clear
// drops everything before it, since nothing before it can be seen.
//
// It describes the finished picture. Pixels copied back from a saved image (a rubber band wiped
// out again) are no operation: the record goes back to where it was when the image was saved,
// as far as the copy overwrote what came later (see mark and restore). Nothing here knows Qt.
//
// Contents: RecordOp, RecordedLook, RecordedFont, DrawOp, RecordMark, DrawRecord.

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
    std::int32_t a = 0, b = 0, c = 0, d = 0;
};

// The operations of a record. A drawing of a million elements records millions of them, so they
// are kept in blocks of 2 MiB that never move: growing copies nothing and touches each byte of
// fresh memory once.
class OpStore {
public:
    OpStore() = default;
    ~OpStore();
    OpStore(const OpStore&) = delete;
    OpStore& operator=(const OpStore&) = delete;

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const DrawOp& operator[](std::size_t i) const { return const_cast<OpStore&>(*this)[i]; }
    DrawOp& operator[](std::size_t i)
    {
        if (i < kFirstBlock)
            return first_[i];
        const std::size_t k = i - kFirstBlock;
        return blocks_[k / kBlockOps][k % kBlockOps];
    }
    void push_back(const DrawOp& op)
    {
        if (size_ < kFirstBlock) {
            first_.push_back(op);
        } else {
            const std::size_t k = size_ - kFirstBlock;
            if (k / kBlockOps == blocks_.size())
                add_block();
            blocks_[k / kBlockOps][k % kBlockOps] = op;
        }
        ++size_;
    }
    // Keeps the first `count` operations.
    void truncate(std::size_t count);

    class Iterator {
    public:
        Iterator(const OpStore* store, std::size_t i) : store_(store), i_(i) {}
        const DrawOp& operator*() const { return (*store_)[i_]; }
        Iterator& operator++()
        {
            ++i_;
            return *this;
        }
        bool operator!=(const Iterator& other) const { return i_ != other.i_; }

    private:
        const OpStore* store_;
        std::size_t i_;
    };
    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, size_}; }

private:
    static constexpr std::size_t kBlockBytes = std::size_t{2} << 20;
    static constexpr std::size_t kBlockOps = kBlockBytes / sizeof(DrawOp);
    // A small drawing stays in one ordinary vector.
    static constexpr std::size_t kFirstBlock = 16384;
    void add_block();

    std::vector<DrawOp> first_;
    std::vector<DrawOp*> blocks_;
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
    DrawRecord();

    // --- Recording ----------------------------------------------------------------------------
    // The index of a look or font, the same index for the same values.
    std::uint32_t look_index(const RecordedLook& look);
    std::int32_t font_index(const RecordedFont& font);
    // Drops everything and records the clear.
    void clear(std::uint32_t look);
    void add_line(std::uint32_t look, PixelPoint from, PixelPoint to);
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
