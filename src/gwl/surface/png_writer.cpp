// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/surface/png_writer.h"

#include <QImage>

#include <cstdint>
#include <new>
#include <vector>

#include <zlib.h>

#include "core/beside.h"
#include "core/large_pages.h"

namespace vorax::gwl {

namespace {

// Fast compression: a drawing on paper is long runs that even the fastest levels find.
constexpr int kLevel = 3;
constexpr unsigned char kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void put_u32(std::vector<unsigned char>& out, std::uint32_t value)
{
    out.push_back(static_cast<unsigned char>(value >> 24));
    out.push_back(static_cast<unsigned char>(value >> 16));
    out.push_back(static_cast<unsigned char>(value >> 8));
    out.push_back(static_cast<unsigned char>(value));
}

void put_chunk(QByteArray& file, const char* type, const std::vector<unsigned char>& data)
{
    std::vector<unsigned char> head;
    put_u32(head, static_cast<std::uint32_t>(data.size()));
    head.insert(head.end(), type, type + 4);
    uLong crc = crc32(0, head.data() + 4, 4);
    if (!data.empty()) // a null buffer would ask zlib for the starting value instead
        crc = crc32_z(crc, data.data(), data.size());
    std::vector<unsigned char> tail;
    put_u32(tail, static_cast<std::uint32_t>(crc));
    file.append(reinterpret_cast<const char*>(head.data()), static_cast<qsizetype>(head.size()));
    file.append(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
    file.append(reinterpret_cast<const char*>(tail.data()), static_cast<qsizetype>(tail.size()));
}

// Rows [first, last) of the picture, filtered and compressed as raw deflate data. The last part
// ends the stream; an earlier one ends on a byte boundary with the stream open, so that the next
// part's data can follow it.
struct Part {
    LargeVector<unsigned char> data; // room for the bound of deflate's output, most never written
    uLong adler = 1;     // of the filtered rows
    z_off_t length = 0;  // their bytes
    bool ok = false;
};

void compress_rows(const QImage& picture, int first, int last, bool ends_stream, Part& part)
{
    const std::size_t width = static_cast<std::size_t>(picture.width());
    std::vector<unsigned char> row(1 + 3 * width);
    std::vector<unsigned char> above(3 * width, 0);
    std::vector<unsigned char> here(3 * width);
    const auto rgb = [&](int y, std::vector<unsigned char>& out) {
        const auto* pixels = reinterpret_cast<const std::uint32_t*>(picture.constScanLine(y));
        for (std::size_t x = 0; x < width; ++x) {
            out[3 * x] = static_cast<unsigned char>(pixels[x] >> 16);
            out[3 * x + 1] = static_cast<unsigned char>(pixels[x] >> 8);
            out[3 * x + 2] = static_cast<unsigned char>(pixels[x]);
        }
    };
    if (first > 0)
        rgb(first - 1, above);

    z_stream z{};
    if (deflateInit2(&z, kLevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return;
    const std::size_t rows = static_cast<std::size_t>(last - first);
    part.data.resize(deflateBound(&z, static_cast<uLong>(rows * row.size())) + 64);
    z.next_out = part.data.data();
    z.avail_out = static_cast<uInt>(part.data.size());
    bool ok = true;
    // Runs deflate until it has room left over: all input taken, the flush done.
    const auto pump = [&](int flush) {
        do {
            if (z.avail_out == 0) {
                const std::size_t used = part.data.size();
                part.data.resize(used * 2);
                z.next_out = part.data.data() + used;
                z.avail_out = static_cast<uInt>(part.data.size() - used);
            }
            if (deflate(&z, flush) == Z_STREAM_ERROR)
                ok = false;
        } while (ok && z.avail_out == 0);
    };
    row[0] = 2; // Up
    for (int y = first; y < last && ok; ++y) {
        rgb(y, here);
        for (std::size_t i = 0; i < here.size(); ++i)
            row[1 + i] = static_cast<unsigned char>(here[i] - above[i]);
        here.swap(above);
        part.adler = adler32_z(part.adler, row.data(), row.size());
        part.length += static_cast<z_off_t>(row.size());
        z.next_in = row.data();
        z.avail_in = static_cast<uInt>(row.size());
        pump(Z_NO_FLUSH);
    }
    if (ok)
        pump(ends_stream ? Z_FINISH : Z_SYNC_FLUSH);
    part.data.resize(part.data.size() - z.avail_out);
    deflateEnd(&z);
    part.ok = ok;
}

} // namespace

QByteArray png_encoding(const QImage& picture)
{
    if (picture.format() != QImage::Format_RGB32 || picture.isNull())
        return {};
    const int height = picture.height();
    const int middle = height / 2;
    Part top;
    Part bottom;
    try {
        // The halves are compressed apart even on one processor, so the file never depends on it.
        auto lower = start_beside([&] { compress_rows(picture, middle, height, true, bottom); });
        compress_rows(picture, 0, middle, false, top);
        lower.get();
    } catch (const std::bad_alloc&) {
        return {};
    }
    if (!top.ok || !bottom.ok)
        return {};

    QByteArray file;
    file.append(reinterpret_cast<const char*>(kSignature), sizeof kSignature);
    std::vector<unsigned char> header;
    put_u32(header, static_cast<std::uint32_t>(picture.width()));
    put_u32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8 bits, RGB, deflate, filters, no interlace
    put_chunk(file, "IHDR", header);
    if (picture.dotsPerMeterX() > 0 && picture.dotsPerMeterY() > 0) {
        std::vector<unsigned char> resolution;
        put_u32(resolution, static_cast<std::uint32_t>(picture.dotsPerMeterX()));
        put_u32(resolution, static_cast<std::uint32_t>(picture.dotsPerMeterY()));
        resolution.push_back(1); // per metre
        put_chunk(file, "pHYs", resolution);
    }
    std::vector<unsigned char> stream{0x78, 0x5E}; // deflate, 32 KiB window, fast
    stream.reserve(2 + top.data.size() + bottom.data.size() + 4);
    stream.insert(stream.end(), top.data.begin(), top.data.end());
    stream.insert(stream.end(), bottom.data.begin(), bottom.data.end());
    put_u32(stream, static_cast<std::uint32_t>(adler32_combine(top.adler, bottom.adler, bottom.length)));
    put_chunk(file, "IDAT", stream);
    put_chunk(file, "IEND", {});
    return file;
}

} // namespace vorax::gwl
