// SPDX-License-Identifier: GPL-3.0-or-later
// DrawSurface: pixels saved into an ImageBuffer and put back.

#include <algorithm>
#include <cstring>

#include "gwl/surface/surface_private.h"

namespace vorax::gwl {

namespace {

// The image actions behind the integer codes that callers pass.
enum class ImageAction { bit_or, bit_and, inverted_copy, copy, bit_xor };

std::optional<ImageAction> image_action(int code)
{
    switch (code) {
    case 0: return ImageAction::bit_or;
    case 1: return ImageAction::bit_and;
    case 2: return ImageAction::inverted_copy;
    case kActionCopy: return ImageAction::copy;
    case 4: return ImageAction::bit_xor;
    default: return std::nullopt;
    }
}

// The layout of an ImageBuffer: this header, then the stored pixels row by row (32 bits each).
// The stored part is the rectangle's intersection with the drawing area, at (stored_x,
// stored_y) within the rectangle; the rest of the rectangle lay outside and is not kept. The
// rectangle's top-left pixel and the record's mark say where and when the pixels were taken,
// so that copying them back to the same place takes back what the record got since.
struct ImageHeader {
    std::uint32_t magic = 0;
    std::int32_t stored_x = 0;
    std::int32_t stored_y = 0;
    std::int32_t stored_width = 0;
    std::int32_t stored_height = 0;
    std::int32_t origin_x = 0;
    std::int32_t origin_y = 0;
    RecordMark mark;
};
constexpr std::uint32_t kImageMagic = 0x4D495856; // "VXIM"

struct ImageLayout {
    Box rect;          // the requested rectangle in pixels
    PixelRect stored;  // its part inside the drawing area, in drawing-area pixels
    std::size_t bytes = 0;
};

ImageLayout image_layout(const Box& rect, int width, int height)
{
    ImageLayout layout{rect, clip_box(rect, width, height), sizeof(ImageHeader)};
    layout.bytes += static_cast<std::size_t>(layout.stored.width) *
                    static_cast<std::size_t>(layout.stored.height) * 4u;
    return layout;
}

// The box of pixels that may lie far outside the drawing area, each edge clamped to
// -1 .. kPixelLimit: what lies outside the area stays outside, and every edge fits an int.
Box clamped_box(long long left, long long top, long long right, long long bottom)
{
    const auto edge = [](long long value) {
        return static_cast<int>(std::clamp<long long>(value, -1, kPixelLimit));
    };
    return {edge(left), edge(top), edge(right), edge(bottom)};
}

std::uint32_t combine(ImageAction action, std::uint32_t destination, std::uint32_t source)
{
    switch (action) {
    case ImageAction::bit_or: return destination | source;
    case ImageAction::bit_and: return destination & source;
    case ImageAction::inverted_copy: return ~source | 0xFF000000u;
    case ImageAction::copy: return source;
    case ImageAction::bit_xor: return (destination ^ source) | 0xFF000000u;
    }
    return source;
}

} // namespace

std::size_t DrawSurface::image_size_w(double wx1, double wy1, double wx2, double wy2)
{
    Operation op(*this);
    bool swapped = false;
    const Box rect = op.s().box_of({wx1, wy1}, {wx2, wy2}, swapped);
    return image_layout(rect, op.s().image.width(), op.s().image.height()).bytes;
}

void DrawSurface::get_image_w(double wx1, double wy1, double wx2, double wy2, ImageBuffer& buffer)
{
    Operation op(*this);
    State& s = op.s();
    const Box rect = op.box({wx1, wy1}, {wx2, wy2});
    const ImageLayout layout = image_layout(rect, s.image.width(), s.image.height());
    s.close_text_painter();
    if (buffer.size() < layout.bytes)
        buffer.resize(layout.bytes);
    const ImageHeader header{kImageMagic,          layout.stored.x - rect.left,
                             layout.stored.y - rect.top, layout.stored.width,
                             layout.stored.height, rect.left,
                             rect.top,             s.record.mark()};
    std::memcpy(buffer.data(), &header, sizeof header);
    std::uint8_t* out = buffer.data() + sizeof header;
    const std::size_t row_bytes = static_cast<std::size_t>(layout.stored.width) * 4u;
    for (int row = 0; row < layout.stored.height; ++row) {
        const uchar* line = s.image.constScanLine(layout.stored.y + row) + layout.stored.x * 4;
        std::memcpy(out, line, row_bytes);
        out += row_bytes;
    }
}

void DrawSurface::put_image_w(double wx, double wy, const ImageBuffer& buffer, int action)
{
    Operation op(*this);
    State& s = op.s();
    const std::optional<ImageAction> how = image_action(action);
    if (!how) {
        op.fail(status::kInvalidParameter);
        return;
    }
    ImageHeader header;
    if (buffer.size() < sizeof header) {
        op.fail(status::kError);
        return;
    }
    std::memcpy(&header, buffer.data(), sizeof header);
    const bool well_formed = header.magic == kImageMagic && header.stored_width >= 0 &&
                             header.stored_height >= 0 && header.stored_x >= 0 &&
                             header.stored_y >= 0 &&
                             buffer.size() >= sizeof header +
                                                  static_cast<std::size_t>(header.stored_width) *
                                                      static_cast<std::size_t>(header.stored_height) *
                                                      4u;
    if (!well_formed) {
        op.fail(status::kError);
        return;
    }
    const PixelPoint corner = s.mapping.to_pixel({wx, wy});
    const long long left = static_cast<long long>(corner.x) + header.stored_x;
    const long long top = static_cast<long long>(corner.y) + header.stored_y;
    const raster::PixelBuffer pixels = s.buffer();
    const std::uint8_t* in = buffer.data() + sizeof header;
    for (int row = 0; row < header.stored_height; ++row) {
        const long long y = top + row;
        if (y < 0 || y >= pixels.height)
            continue;
        for (int col = 0; col < header.stored_width; ++col) {
            const long long x = left + col;
            if (x < 0 || x >= pixels.width)
                continue;
            std::uint32_t source = 0;
            std::memcpy(&source,
                        in + (static_cast<std::size_t>(row) * header.stored_width + col) * 4u,
                        sizeof source);
            std::uint32_t& destination = pixels.at(static_cast<int>(x), static_cast<int>(y));
            destination = combine(*how, destination, source);
        }
    }
    const Box written = clamped_box(left, top, left + header.stored_width - 1,
                                    top + header.stored_height - 1);
    // Copied back where they were taken, the pixels take back what was drawn over them since.
    if (how == ImageAction::copy && corner.x == header.origin_x && corner.y == header.origin_y) {
        const PixelRect area = clip_box(written, pixels.width, pixels.height);
        s.record.restore(header.mark, area,
                         area == PixelRect{0, 0, pixels.width, pixels.height});
    }
    if (header.stored_width > 0 && header.stored_height > 0)
        op.changed(written);
}

} // namespace vorax::gwl
