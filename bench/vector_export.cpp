// SPDX-License-Identifier: GPL-3.0-or-later
// Speed and size of the vector export: the 10^6-node, 10^6-element lattice of the benchmarks
// (bench/lattice_model.h) exported by `vorax --export` as PNG, SVG and PDF on a 1024 x 768
// drawing area; each row is the whole export (read, draw, write), best of three, and the file's
// size. For comparison with other plotting tools it leaves in the folder lattice-segments.txt
// (the element lines as the graph projects them, one "x1 y1\nx2 y2\n\n" block per element, in
// pixels of the drawing area, y downwards) and lattice.gp, a gnuplot script that draws them as
// one-pixel lines on a page of the same size with its pdfcairo and svg terminals; the last rows
// time VORAX doing that same job (the file read, the lines drawn, the document written). Between
// them, the SVG and PDF documents alone are made from the lattice's record by the direct
// writers and by Qt's painter devices:
//
//   cmake --preset release && cmake --build --preset release --target bench_vector_export -- -j2
//   build/release/bench/bench_vector_export [folder]       (default /tmp/vorax-bench)
//   cd /tmp/vorax-bench && time gnuplot -e "set terminal pdfcairo size 10.6667in,8in" -c lattice.gp out.pdf
//   cd /tmp/vorax-bench && time gnuplot -e "set terminal svg size 1024,768" -c lattice.gp out.svg

#include <QGuiApplication>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/export_command.h"
#include "app/model_loading.h"
#include "graph/graph_drawing.h"
#include "gwl/surface/draw_record.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/surface/picture_io.h"
#include "gwl/surface/vector_output.h"
#include "bench_support.h"
#include "model/model_reader.h"

namespace {

using vorax::bench::Clock;
using vorax::bench::seconds_since;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr long kNodes = 1'000'000;

// The element lines in drawing-area pixels, as the export draws them: the lines of the record in
// the line colour.
void write_segments(const std::filesystem::path& model_path, const std::filesystem::path& out_path)
{
    vorax::gwl::DrawSurface surface(kWidth, kHeight);
    const vorax::SettingsState settings = vorax::bench::draw_first_graph(model_path, surface);
    const vorax::Rgb line_color =
        settings.current_settings.colors[vorax::role_index(vorax::ColorRole::line)];
    std::ofstream out(out_path);
    surface.read_record([&](const vorax::gwl::DrawRecord& record) {
        for (const vorax::gwl::DrawOp& op : record.ops())
            if (op.kind == vorax::gwl::RecordOp::line && record.look(op.look).color == line_color)
                out << op.a << ' ' << op.b << '\n' << op.c << ' ' << op.d << "\n\n";
    });
}

void write_gnuplot_script(const std::filesystem::path& path)
{
    vorax::bench::write_gnuplot_script(
        path,
        "# The terminal comes from the command line, e.g.\n"
        "#   gnuplot -e 'set terminal pdfcairo size 10.6667in,8in' lattice.gp\n"
        "#   gnuplot -e 'set terminal svg size 1024,768' lattice.gp\n"
        "set output ARG1 ne '' ? ARG1 : 'lattice-gnuplot.out'\n"
        "set xrange [0:" + std::to_string(kWidth - 1) + "]; set yrange [" + std::to_string(kHeight - 1) + ":0]\n",
        "'lattice-segments.txt'");
}

} // namespace

int main(int argc, char** argv)
{
    vorax::bench::use_offscreen_platform();
    int qt_argc = 1;
    QGuiApplication app(qt_argc, argv);
    const std::filesystem::path folder = vorax::bench::bench_folder(argc > 1 ? argv[1] : nullptr);
    const std::filesystem::path model = vorax::bench::lattice_file(folder, kNodes);

    std::printf("%-8s %12s %14s\n", "format", "export (s)", "size (bytes)");
    for (const char* format : {"png", "svg", "pdf"}) {
        vorax::ExportOptions options;
        options.model = model.string();
        options.output = (folder / (std::string("lattice.") + format)).string();
        options.width = kWidth;
        options.height = kHeight;
        const double best = vorax::bench::best_export_seconds(options);
        if (best < 0)
            return 1;
        std::printf("%-8s %12.3f %14ju\n", format, best,
                    static_cast<std::uintmax_t>(std::filesystem::file_size(options.output)));
    }
    // The documents alone, from the record of the drawn lattice: written directly, and painted
    // through Qt's QSvgGenerator and QPdfWriter as before.
    {
        vorax::gwl::DrawSurface surface(kWidth, kHeight);
        vorax::bench::draw_first_graph(model, surface);
        const QSize area(kWidth, kHeight);
        const QString title = QStringLiteral("lattice");
        std::printf("\nthe document alone, from the record of the drawing\n");
        using vorax::gwl::DrawRecord;
        using Writer = qsizetype (*)(const DrawRecord&, const QSize&, const QString&); // the size written
        const struct {
            const char* name;
            Writer writer;
        } writers[] = {
            {"svg written", [](const DrawRecord& r, const QSize& a, const QString& t) {
                 return static_cast<qsizetype>(vorax::gwl::svg_document(r, a, t).size());
             }},
            {"svg painted", [](const DrawRecord& r, const QSize& a, const QString& t) {
                 return vorax::gwl::painted_svg_document(r, a, t).size();
             }},
            {"pdf written", [](const DrawRecord& r, const QSize& a, const QString& t) {
                 return static_cast<qsizetype>(vorax::gwl::pdf_document(r, a, t).size());
             }},
            {"pdf painted", [](const DrawRecord& r, const QSize& a, const QString& t) {
                 return vorax::gwl::painted_pdf_document(r, a, t).size();
             }},
        };
        for (const auto& w : writers) {
            qsizetype size = 0;
            const double best = vorax::bench::best_of(3, [&] {
                surface.read_record([&](const vorax::gwl::DrawRecord& record) {
                    size = w.writer(record, area, title);
                });
            });
            std::printf("%-12s %8.3f %14lld\n", w.name, best, static_cast<long long>(size));
        }
    }
    write_segments(model, folder / "lattice-segments.txt");
    write_gnuplot_script(folder / "lattice.gp");

    // The same job as the gnuplot script: the segments file read, drawn and written.
    std::printf("\nthe element lines alone, from lattice-segments.txt (as gnuplot draws them)\n");
    for (const auto format : {vorax::gwl::PictureFormat::svg, vorax::gwl::PictureFormat::pdf}) {
        const std::string name = std::string("lattice-segments.") + vorax::gwl::picture_format_name(format);
        double best = 1e9;
        for (int run = 0; run < 3; ++run) {
            const auto start = Clock::now();
            vorax::gwl::DrawSurface surface(kWidth, kHeight);
            surface.set_bk_color_rgb(vorax::kWhite);
            surface.clear_screen(0);
            surface.set_color_rgb(vorax::make_rgb(128, 0, 0));
            // Read whole and parsed with from_chars, as the model reader reads.
            std::ifstream in(folder / "lattice-segments.txt", std::ios::binary);
            std::string text(std::filesystem::file_size(folder / "lattice-segments.txt"), '\0');
            in.read(text.data(), static_cast<std::streamsize>(text.size()));
            const char* p = text.data();
            const char* const end = p + text.size();
            const auto next = [&](int& v) {
                while (p < end && (*p == ' ' || *p == '\n'))
                    ++p;
                const auto [after, error] = std::from_chars(p, end, v);
                p = after;
                return error == std::errc();
            };
            int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
            while (next(x1) && next(y1) && next(x2) && next(y2)) {
                surface.move_to_w(x1, y1);
                surface.line_to_w(x2, y2);
            }
            const std::string reason = vorax::gwl::write_surface_picture(
                surface, (folder / name).string(), format, QStringLiteral("segments"));
            if (!reason.empty()) {
                std::fprintf(stderr, "%s\n", reason.c_str());
                return 1;
            }
            best = std::min(best, seconds_since(start));
        }
        std::printf("%-8s %12.3f %14ju\n", vorax::gwl::picture_format_name(format), best,
                    static_cast<std::uintmax_t>(std::filesystem::file_size(folder / name)));
    }
    return 0;
}
