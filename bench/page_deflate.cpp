// SPDX-License-Identifier: GPL-3.0-or-later
// The compression of a PDF drawing's page content, zlib against libdeflate, at several levels:
// graph 1 of each model is drawn into the record as `vorax --export OUT.pdf` draws it, the PDF is
// written, its content streams are inflated again, and the whole content is deflated once more by
// each library and level, best of three on one thread. By default the cube and the lattice of
// the benchmarks (bench/lattice_model.h, written to the folder when missing).
//
//   cmake --preset release && cmake --build --preset release --target bench_page_deflate -- -j2
//   build/release/bench/bench_page_deflate [MODEL...] [--size WxH]    (default 1600x1200)

#include <QGuiApplication>

#include <libdeflate.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "bench_support.h"
#include "gwl/surface/vector_writers.h"

namespace {

// The content streams of a PDF written by pdf_file, inflated and joined.
std::string page_content(std::string_view pdf)
{
    std::string content;
    constexpr std::string_view kFlate = "/Filter /FlateDecode >>\nstream\n";
    for (std::size_t at = pdf.find(kFlate); at != std::string_view::npos; at = pdf.find(kFlate, at)) {
        const std::size_t length_at = pdf.rfind("/Length ", at) + 8;
        const std::size_t length = std::stoul(std::string(pdf.substr(length_at, 20)));
        at += kFlate.size();
        for (uLongf room = uLongf(length) * 8 + 1024;; room *= 2) {
            std::string plain(room, '\0');
            uLongf size = room;
            const int result = uncompress(reinterpret_cast<Bytef*>(plain.data()), &size,
                                          reinterpret_cast<const Bytef*>(pdf.data() + at), uLong(length));
            if (result == Z_BUF_ERROR)
                continue;
            if (result != Z_OK) {
                std::fprintf(stderr, "bench_page_deflate: a content stream does not inflate\n");
                std::exit(1);
            }
            content.append(plain.data(), size);
            break;
        }
        at += length;
    }
    return content;
}

std::size_t zlib_deflate(std::string_view plain, int level)
{
    z_stream z{};
    deflateInit(&z, level);
    std::string packed(deflateBound(&z, uLong(plain.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
    z.avail_in = uInt(plain.size());
    z.next_out = reinterpret_cast<Bytef*>(packed.data());
    z.avail_out = uInt(packed.size());
    deflate(&z, Z_FINISH);
    deflateEnd(&z);
    return z.total_out;
}

std::size_t libdeflate_deflate(std::string_view plain, int level)
{
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(level);
    std::string packed(libdeflate_zlib_compress_bound(compressor, plain.size()), '\0');
    const std::size_t size =
        libdeflate_zlib_compress(compressor, plain.data(), plain.size(), packed.data(), packed.size());
    libdeflate_free_compressor(compressor);
    return size;
}

} // namespace

int main(int argc, char** argv)
{
    vorax::bench::use_offscreen_platform();
    int qt_argc = 1;
    QGuiApplication app(qt_argc, argv);
    int width = 1600, height = 1200;
    std::vector<std::filesystem::path> models;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc)
            std::sscanf(argv[++i], "%dx%d", &width, &height);
        else
            models.emplace_back(argv[i]);
    }
    if (models.empty()) {
        const std::filesystem::path folder = vorax::bench::bench_folder();
        models = {vorax::bench::cube_file(folder, 100), vorax::bench::lattice_file(folder, 1000000)};
    }

    std::printf("%-24s %10s %-10s %5s %9s %12s\n", "model", "content", "library", "level", "time (s)", "deflated");
    for (const std::filesystem::path& model : models) {
        vorax::gwl::DrawSurface surface(width, height, vorax::gwl::SurfaceDrawing::record_only);
        vorax::bench::draw_first_graph(model, surface);
        std::string content;
        surface.read_record([&](const vorax::gwl::DrawRecord& record) {
            const auto pdf = vorax::gwl::pdf_file(record, width, height, "bench", "");
            if (pdf)
                content = page_content(*pdf);
        });
        if (content.empty()) {
            std::fprintf(stderr, "bench_page_deflate: no PDF content for %s\n", model.c_str());
            return 1;
        }
        const struct {
            const char* name;
            std::size_t (*deflate)(std::string_view, int);
            std::vector<int> levels;
        } libraries[] = {{"zlib", zlib_deflate, {1, 5, 6, 9}}, {"libdeflate", libdeflate_deflate, {1, 2, 4, 5, 6, 9}}};
        for (const auto& library : libraries)
            for (const int level : library.levels) {
                std::size_t size = 0;
                const double best = vorax::bench::best_of(3, [&] { size = library.deflate(content, level); });
                std::printf("%-24s %10zu %-10s %5d %9.3f %12zu\n", model.filename().c_str(), content.size(),
                            library.name, level, best, size);
            }
    }
    return 0;
}
