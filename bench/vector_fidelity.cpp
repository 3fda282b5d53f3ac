// SPDX-License-Identifier: GPL-3.0-or-later
// Agreement of the vector export with the pixels: each model is exported as PNG, SVG and PDF on
// a 1024 x 768 drawing area; the SVG is rasterised at that size by Qt's QSvgRenderer and by
// rsvg-convert, the PDF by pdftoppm at 96 pixels per inch. Every element-line and grid pixel of
// the PNG must have a pixel of the same colour family (the colour, or the colour lightened
// towards the white paper by antialiasing) within 2 pixels in each rasterised picture; every
// text the graph drew (heading, title, scale numbers, node and element numbers) must be found
// by pdftotext in the PDF and must be a <text> of the SVG. Prints one row per model and picture;
// exits 1 when anything disagrees. Needs poppler-utils and librsvg2-bin.
//
//   cmake --preset release && cmake --build --preset release --target bench_vector_fidelity
//   build/release/bench/bench_vector_fidelity examples/*.dat [/tmp/vorax-bench/lattice-1000000.dat]

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "app/export_command.h"
#include "app/model_loading.h"
#include "core/text.h"
#include "graph/graph_drawing.h"
#include "gwl/surface/draw_record.h"
#include "gwl/surface/draw_surface.h"
#include "model/model_reader.h"
#include "settings/graph_settings.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kReach = 2;

namespace fs = std::filesystem;

std::string file_text(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The colour `c` (0x00BBGGRR) or `c` lightened towards white by up to 85 %.
bool same_family(QRgb p, vorax::Rgb c)
{
    const double base[3] = {double(vorax::red_of(c)), double(vorax::green_of(c)), double(vorax::blue_of(c))};
    const double seen[3] = {double(qRed(p)), double(qGreen(p)), double(qBlue(p))};
    double num = 0, den = 0;
    for (int i = 0; i < 3; ++i) {
        num += (seen[i] - base[i]) * (255 - base[i]);
        den += (255 - base[i]) * (255 - base[i]);
    }
    const double t = den > 0 ? std::clamp(num / den, 0.0, 1.0) : 0.0;
    if (t > 0.85)
        return false;
    for (int i = 0; i < 3; ++i)
        if (std::abs(seen[i] - (base[i] + t * (255 - base[i]))) > 48)
            return false;
    return true;
}

// Pixels of the PNG in one of the colours, and how many of them have no match near by. Pixels
// within reach of a label's ink are counted apart: where a label covers a line, the smoothed
// glyphs of a vector renderer are wider than the surface's, and may hide the line's few pixels
// between their strokes.
struct Agreement {
    long checked = 0;
    long missed = 0;
    long beside_labels = 0;
    long missed_beside_labels = 0;
};

bool near_label(const QImage& png, int x, int y, const std::vector<vorax::Rgb>& label_colors)
{
    for (int dy = -kReach; dy <= kReach; ++dy)
        for (int dx = -kReach; dx <= kReach; ++dx) {
            if (!png.valid(x + dx, y + dy))
                continue;
            const QRgb p = png.pixel(x + dx, y + dy);
            const vorax::Rgb c = vorax::make_rgb(qRed(p), qGreen(p), qBlue(p));
            if (std::find(label_colors.begin(), label_colors.end(), c) != label_colors.end())
                return true;
        }
    return false;
}

Agreement agree(const QImage& png, const QImage& other, const std::vector<vorax::Rgb>& colors,
                const std::vector<vorax::Rgb>& label_colors)
{
    Agreement a;
    for (int y = 0; y < png.height(); ++y)
        for (int x = 0; x < png.width(); ++x) {
            const QRgb p = png.pixel(x, y);
            const vorax::Rgb seen = vorax::make_rgb(qRed(p), qGreen(p), qBlue(p));
            for (const vorax::Rgb c : colors) {
                if (seen != c)
                    continue;
                ++a.checked;
                bool found = false;
                for (int dy = -kReach; dy <= kReach && !found; ++dy)
                    for (int dx = -kReach; dx <= kReach && !found; ++dx)
                        found = other.valid(x + dx, y + dy) && same_family(other.pixel(x + dx, y + dy), c);
                if (near_label(png, x, y, label_colors)) {
                    ++a.beside_labels;
                    a.missed_beside_labels += !found;
                } else if (!found && a.missed++ < 3) {
                    std::fprintf(stderr, "  no match near (%d, %d)\n", x, y);
                }
            }
        }
    return a;
}

QImage rendered_by_qt(const fs::path& svg)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QSvgRenderer renderer(QString::fromStdString(svg.string()));
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, kWidth, kHeight));
    return image;
}

QImage rendered_by(const std::string& command, const fs::path& png)
{
    if (std::system(command.c_str()) != 0)
        return {};
    return QImage(QString::fromStdString(png.string())).convertToFormat(QImage::Format_RGB32);
}

// The texts the graph drew, as the record keeps them, without their trailing blanks.
std::vector<std::string> drawn_texts(const fs::path& model_path)
{
    vorax::gwl::DrawSurface surface(kWidth, kHeight);
    vorax::bench::draw_first_graph(model_path, surface);
    std::vector<std::string> texts;
    surface.read_record([&](const vorax::gwl::DrawRecord& record) {
        for (const vorax::gwl::DrawOp& op : record.ops())
            if (op.kind == vorax::gwl::RecordOp::text || op.kind == vorax::gwl::RecordOp::layer_text)
                texts.emplace_back(vorax::trim_right(record.text(op)));
    });
    return texts;
}

} // namespace

int main(int argc, char** argv)
{
    vorax::bench::use_offscreen_platform();
    int qt_argc = 1;
    QGuiApplication app(qt_argc, argv);
    const fs::path folder = fs::temp_directory_path() / "vorax-fidelity";
    fs::create_directories(folder);
    vorax::SettingsState defaults;
    const vorax::GraphSettings& g = defaults.current_settings;
    const auto role = [&](vorax::ColorRole r) { return g.colors[vorax::role_index(r)]; };
    const std::vector<vorax::Rgb> colors{role(vorax::ColorRole::line), role(vorax::ColorRole::grid)};
    const std::vector<vorax::Rgb> label_colors{role(vorax::ColorRole::scale), role(vorax::ColorRole::node_index),
                                               role(vorax::ColorRole::element_index), role(vorax::ColorRole::text)};
    bool all_agree = true;
    std::printf("%-18s %-14s %8s %7s %14s %10s\n", "model", "picture", "pixels", "missed",
                "beside labels", "texts");
    for (int i = 1; i < argc; ++i) {
        const fs::path model = argv[i];
        const std::string stem = model.stem().string();
        for (const char* format : {"png", "svg", "pdf"}) {
            vorax::ExportOptions options;
            options.model = model.string();
            options.output = (folder / (stem + "." + format)).string();
            options.width = kWidth;
            options.height = kHeight;
            std::ostringstream out, err;
            if (vorax::run_export(options, out, err) != 0) {
                std::fprintf(stderr, "%s", err.str().c_str());
                return 1;
            }
        }
        const QImage png = QImage(QString::fromStdString((folder / (stem + ".png")).string()))
                               .convertToFormat(QImage::Format_RGB32);
        const fs::path svg = folder / (stem + ".svg");
        const fs::path pdf = folder / (stem + ".pdf");
        const std::string svg_text = file_text(svg);
        const std::string to_text = "pdftotext '" + pdf.string() + "' '" + (folder / (stem + ".txt")).string() + "'";
        if (std::system(to_text.c_str()) != 0)
            std::fprintf(stderr, "pdftotext failed on %s\n", pdf.c_str());
        const std::string pdf_text = file_text(folder / (stem + ".txt"));

        const std::vector<std::string> texts = drawn_texts(model);
        long in_svg = 0, in_pdf = 0;
        for (const std::string& t : texts) {
            in_svg += svg_text.find(">" + t) != std::string::npos;
            // pdftotext drops the blanks in front of a text.
            const std::string_view words = vorax::trim_left(t);
            in_pdf += pdf_text.find(words) != std::string::npos;
            if (pdf_text.find(words) == std::string::npos)
                std::fprintf(stderr, "  pdftotext misses \"%s\"\n", t.c_str());
        }
        const struct {
            const char* name;
            QImage image;
            long texts_found;
        } pictures[] = {
            {"svg (Qt)", rendered_by_qt(svg), in_svg},
            {"svg (rsvg)",
             rendered_by("rsvg-convert -b white -o '" + (folder / (stem + "-rsvg.png")).string() + "' '" + svg.string() + "'",
                         folder / (stem + "-rsvg.png")),
             in_svg},
            {"pdf (pdftoppm)",
             rendered_by("pdftoppm -r 96 -singlefile -png '" + pdf.string() + "' '" + (folder / (stem + "-pdf")).string() + "'",
                         folder / (stem + "-pdf.png")),
             in_pdf},
        };
        for (const auto& p : pictures) {
            const Agreement a = agree(png, p.image, colors, label_colors);
            const bool ok = !p.image.isNull() && a.missed == 0 && p.texts_found == static_cast<long>(texts.size());
            all_agree = all_agree && ok;
            std::printf("%-18s %-14s %8ld %7ld %6ld (%3ld) %4ld of %-4zu%s\n", stem.c_str(), p.name,
                        a.checked, a.missed, a.beside_labels, a.missed_beside_labels, p.texts_found,
                        texts.size(), ok ? "" : "  DISAGREES");
        }
    }
    return all_agree ? 0 : 1;
}
