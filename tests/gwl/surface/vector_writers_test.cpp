// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "gwl/surface/draw_record.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/surface/vector_output.h"
#include "surface_test_support.h"
#include "test_helpers.h"

namespace vorax::gwl {
namespace {

using testing::prepare_paper;
using vorax::testing::run_command;
using vorax::testing::shell_quoted;
using vorax::testing::TempDir;

constexpr int kWidth = 120;
constexpr int kHeight = 90;
constexpr int kReach = 2; // pixels a vector picture may stand off the window's

std::string file_of(const TempDir& dir, const char* name, const QByteArray& bytes)
{
    return dir.write(name, bytes.toStdString()).string();
}

bool well_formed_xml(const TempDir& dir, const QByteArray& svg)
{
    return run_command("xmllint --noout " + shell_quoted(file_of(dir, "w.svg", svg))).status == 0;
}

QImage svg_pixels(const QByteArray& svg, QSize size = {kWidth, kHeight})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QSvgRenderer renderer(svg);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    return image;
}

QImage pdf_pixels(const TempDir& dir, const QByteArray& pdf)
{
    const std::string file = file_of(dir, "p.pdf", pdf);
    const std::string picture = (dir.path() / "p").string();
    if (run_command("pdftoppm -r 96 -singlefile -png " + shell_quoted(file) + " " + shell_quoted(picture)).status != 0)
        return {};
    return QImage(QString::fromStdString(picture + ".png")).convertToFormat(QImage::Format_RGB32);
}

std::string pdf_words(const TempDir& dir, const QByteArray& pdf)
{
    return run_command("pdftotext " + shell_quoted(file_of(dir, "t.pdf", pdf)) + " -").output;
}

// `seen` is the colour `c`, or `c` lightened towards the white paper by smoothing.
bool same_family(QRgb seen, QRgb c)
{
    const int base[3] = {qRed(c), qGreen(c), qBlue(c)};
    const int got[3] = {qRed(seen), qGreen(seen), qBlue(seen)};
    double num = 0, den = 0;
    for (int i = 0; i < 3; ++i) {
        num += double(got[i] - base[i]) * (255 - base[i]);
        den += double(255 - base[i]) * (255 - base[i]);
    }
    const double t = den > 0 ? std::clamp(num / den, 0.0, 1.0) : 0.0;
    if (t > 0.85)
        return false;
    for (int i = 0; i < 3; ++i)
        if (std::abs(got[i] - (base[i] + t * (255 - base[i]))) > 48)
            return false;
    return true;
}

bool near(const QImage& image, int x, int y, const std::function<bool(QRgb)>& wanted)
{
    for (int dy = -kReach; dy <= kReach; ++dy)
        for (int dx = -kReach; dx <= kReach; ++dx)
            if (image.valid(x + dx, y + dy) && wanted(image.pixel(x + dx, y + dy)))
                return true;
    return false;
}

// Pixels of one picture with no counterpart near by in the other: window pixels of the checked
// colours without their colour in the vector picture, and strong ink of the vector picture
// where the window has none.
int disagreements(const QImage& window, const QImage& vector, const std::vector<QRgb>& checked)
{
    if (vector.isNull())
        return -1;
    int missed = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const QRgb p = window.pixel(x, y) | 0xFF000000u;
            if (std::find(checked.begin(), checked.end(), p) != checked.end()
                && !near(vector, x, y, [&](QRgb q) { return same_family(q, p); }))
                ++missed;
            const QRgb v = vector.pixel(x, y);
            const bool strong = (255 - qRed(v)) + (255 - qGreen(v)) + (255 - qBlue(v)) > 300;
            if (strong && !near(window, x, y, [](QRgb q) { return (q & 0xFFFFFFu) != 0xFFFFFFu; }))
                ++missed;
        }
    return missed;
}

constexpr Rgb kRed = make_rgb(200, 0, 0);
constexpr Rgb kBlue = make_rgb(0, 0, 200);
constexpr std::array<std::uint8_t, 8> kStripes{0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC};

QRgb qrgb(Rgb c) { return qRgb(int(red_of(c)), int(green_of(c)), int(blue_of(c))); }

struct Scene {
    const char* name;
    std::function<void(DrawSurface&)> draw;
    std::vector<const char*> texts;
};

void line(DrawSurface& s, double x1, double y1, double x2, double y2)
{
    s.move_to_w(x1, y1);
    s.line_to_w(x2, y2);
}

const Scene kScenes[] = {
    {"solid lines joined, straight runs and a pixel",
     [](DrawSurface& s) {
         s.set_color_rgb(kRed);
         line(s, 10, 10, 30, 10);
         s.line_to_w(60, 10);
         s.line_to_w(60, 50);
         s.line_to_w(100, 80);
         line(s, 20, 70, 20, 70);
     },
     {}},
    {"dashed and dotted lines, an invisible one",
     [](DrawSurface& s) {
         s.set_color_rgb(kBlue);
         s.set_line_style(0xFF00);
         line(s, 10, 10, 110, 10);
         line(s, 10, 20, 100, 80);
         s.set_line_style(0xAAAA);
         line(s, 10, 30, 10, 85);
         s.set_line_style(0);
         line(s, 30, 30, 90, 30);
     },
     {}},
    {"rectangles: outlined, one pixel thin, solid, striped",
     [](DrawSurface& s) {
         s.set_color_rgb(kRed);
         s.rectangle_w(kFillOutline, 5, 5, 50, 40);
         s.rectangle_w(kFillOutline, 60, 5, 110, 5);
         s.rectangle_w(kFillInterior, 60, 15, 110, 40);
         s.set_fill_mask(kStripes);
         s.set_color_rgb(kBlue);
         s.rectangle_w(kFillInterior, 5, 50, 110, 85);
     },
     {}},
    {"ellipses: outlined, solid, striped, then what is placed after them",
     [](DrawSurface& s) {
         s.set_color_rgb(kRed);
         s.ellipse_w(kFillOutline, 5, 5, 55, 40);
         s.ellipse_w(kFillInterior, 65, 5, 114, 39); // a centre between pixels
         s.set_fill_mask(kStripes);
         s.set_color_rgb(kBlue);
         s.ellipse_w(kFillInterior, 5, 50, 70, 85);
         s.set_fill_mask(std::nullopt);
         s.set_color_rgb(kRed);
         line(s, 2, 45, 117, 47);
         s.rectangle_w(kFillOutline, 74, 76, 116, 86);
         s.init_fonts();
         s.set_font("t'helv'h14");
         s.move_to_w(76, 52);
         s.out_gtext("After");
     },
     {"After"}},
    {"polygons: outlined, solid, striped, dashed",
     [](DrawSurface& s) {
         s.set_color_rgb(kRed);
         const std::array<WindowPoint, 3> a{{{5, 5}, {50, 5}, {25, 40}}};
         s.polygon_w(2, a);
         const std::array<WindowPoint, 4> b{{{60, 5}, {110, 5}, {60, 40}, {110, 40}}}; // crossed
         s.polygon_w(3, b);
         s.set_fill_mask(kStripes);
         s.set_color_rgb(kBlue);
         s.set_line_style(0xFF00);
         const std::array<WindowPoint, 3> c{{{5, 50}, {110, 55}, {40, 85}}};
         s.polygon_w(3, c);
     },
     {}},
    {"text layer and graphic text",
     [](DrawSurface& s) {
         s.set_bk_color_rgb(kBlue);
         s.set_text_color_rgb(kWhite);
         s.set_text_position(1, 1);
         s.out_text("Heading & <1>");
         s.set_bk_color_rgb(kWhite);
         s.init_fonts();
         s.set_font("t'helv'h14");
         s.set_color_rgb(kRed);
         s.move_to_w(10, 40);
         s.out_gtext("Label (3)");
     },
     {"Heading & <1>", "Label (3)"}},
};

// Each kind of operation, written as SVG and as PDF, is well-formed, shows the window's pixels
// and holds its texts as text.
TEST(VectorWriters, EveryKindOfOperationLooksAsInTheWindow)
{
    TempDir dir;
    for (const Scene& scene : kScenes) {
        SCOPED_TRACE(scene.name);
        DrawSurface surface(kWidth, kHeight);
        prepare_paper(surface);
        scene.draw(surface);
        const QImage window = surface.image_copy().convertToFormat(QImage::Format_RGB32);
        QByteArray svg, pdf;
        surface.read_record([&](const DrawRecord& record) {
            svg = QByteArray::fromStdString(svg_document(record, QSize(kWidth, kHeight), QStringLiteral("a scene")));
            pdf = QByteArray::fromStdString(pdf_document(record, QSize(kWidth, kHeight), QStringLiteral("a scene")));
        });
        EXPECT_TRUE(well_formed_xml(dir, svg));
        EXPECT_FALSE(pdf.contains("/FontFile2")); // written, not painted
        const std::vector<QRgb> checked{qrgb(kRed), qrgb(kBlue)};
        EXPECT_EQ(disagreements(window, svg_pixels(svg), checked), 0) << "SVG";
        EXPECT_EQ(disagreements(window, pdf_pixels(dir, pdf), checked), 0) << "PDF";
        const std::string words = pdf_words(dir, pdf);
        for (const char* text : scene.texts) {
            EXPECT_TRUE(svg.contains(">" + QString::fromUtf8(text).toHtmlEscaped().toUtf8() + "</text>")) << text;
            EXPECT_NE(words.find(text), std::string::npos) << text;
        }
    }
}

// The look of lines in `color`, and of texts in a face of `family` when one is named, 14 pixels
// as the surface records it.
std::uint32_t look_of(DrawRecord& record, Rgb color, const std::string& family = "", bool underline = false,
                      int stretch = 100)
{
    RecordedLook look;
    look.color = color;
    if (!family.empty())
        look.font = record.font_index({family, 14, 400, false, underline, stretch, 11, 16});
    return record.look_index(look);
}

// A record of one text in a face, as the surface records it.
void record_text(DrawRecord& record, const std::string& family, bool underline, const std::string& text)
{
    record.clear(record.look_index({}));
    record.add_text(RecordOp::text, look_of(record, kBlack, family, underline), 5, 30, text, 100);
}

// The PDF writer names the standard faces of the Liberation widths; a text those cannot show is
// painted, its face embedded; either way the text is found in the document.
TEST(VectorWriters, PdfTextsTheStandardFacesCannotShowArePainted)
{
    struct Row {
        const char* name;
        const char* family;
        bool underline;
        const char* text;
        bool painted;
    };
    const Row rows[] = {
        {"Latin-1 in Liberation Sans", "Liberation Sans", false, "\xc3\x85rsta (b) \\ 7", false},
        {"Liberation Mono", "Liberation Mono", false, "10.50", false},
        {"a Greek letter", "Liberation Sans", false, "\xce\xa9mega", true},
        {"underlined", "Liberation Serif", true, "Title", true},
        {"a face without a standard twin", "DejaVu Sans", false, "Title", true},
    };
    TempDir dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DrawRecord record;
        record_text(record, row.family, row.underline, row.text);
        const QByteArray pdf = QByteArray::fromStdString(pdf_document(record, QSize(200, 60), QStringLiteral("t")));
        EXPECT_EQ(pdf.contains("/FontFile2"), row.painted);
        EXPECT_EQ(pdf.contains("/WinAnsiEncoding"), !row.painted);
        EXPECT_NE(pdf_words(dir, pdf).find(row.text), std::string::npos) << pdf_words(dir, pdf);
    }
}

// Characters XML cannot hold become U+FFFD in the SVG's texts and title; markup characters
// stay text.
TEST(VectorWriters, SvgTextsHoldOnlyCharactersXmlAllows)
{
    struct Row {
        const char* name;
        const char* text;
        QString shown;
    };
    const QString bad(QChar::ReplacementCharacter);
    const Row rows[] = {
        {"markup", "A & B <c> \"d\"", QStringLiteral("A & B <c> \"d\"")},
        {"a form feed", "TWO\x0c" "BAY", "TWO" + bad + "BAY"},
        {"Latin-1", "\xc3\xa9t\xc3\xa9", QStringLiteral(u"\u00e9t\u00e9")},
    };
    TempDir dir;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DrawRecord record;
        record_text(record, "Liberation Mono", false, row.text);
        const QByteArray svg = QByteArray::fromStdString(svg_document(record, QSize(200, 60), QString::fromUtf8(row.text)));
        EXPECT_TRUE(well_formed_xml(dir, svg));
        QXmlStreamReader xml(svg);
        std::vector<QString> texts;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement
                && (xml.name() == u"title" || xml.name() == u"text"))
                texts.push_back(xml.readElementText());
        EXPECT_EQ(texts, (std::vector<QString>{row.shown, row.shown}));
    }
}

// A record cleared to paper, and the look of lines in `color`.
std::uint32_t cleared_with_pen(DrawRecord& record, Rgb color)
{
    record.clear(record.look_index({}));
    return look_of(record, color);
}

// Lines of one pen in a row are one path, a straight run of them one segment, written in as
// few characters as keep their pixels.
TEST(VectorWriters, LinesOfOnePenAreOnePathOfFewCharacters)
{
    DrawRecord record;
    const std::uint32_t red = cleared_with_pen(record, kRed);
    for (int x = 0; x < 1000; ++x)
        record.add_line(red, {x, 5}, {x + 1, 5});
    for (int i = 0; i < 500; ++i)
        record.add_line(red, {i, 10 + i}, {i + 1, 11 + i});
    RecordedLook blue_look;
    blue_look.color = kBlue;
    record.add_line(record.look_index(blue_look), {3, 3}, {3, 40});
    const QByteArray svg = QByteArray::fromStdString(svg_document(record, QSize(1200, 600), QStringLiteral("row")));
    EXPECT_EQ(svg.count("<path"), 2);
    EXPECT_TRUE(svg.contains(" d=\"M0 5H1000M0 10L500 510\"/>")) << svg.toStdString();
    EXPECT_TRUE(svg.contains(" d=\"M3 3V40\"/>"));
    const QByteArray pdf = QByteArray::fromStdString(pdf_document(record, QSize(1200, 600), QStringLiteral("row")));
    EXPECT_LT(pdf.size(), 1200); // 1501 lines in a few bytes
}

// The deflated streams of a PDF, inflated one after the other; each must end where its
// compressed data ends.
QByteArray inflated_streams(const QByteArray& pdf)
{
    QByteArray all;
    const QByteArray start = "/FlateDecode >>\nstream\n";
    for (qsizetype at = pdf.indexOf(start); at >= 0; at = pdf.indexOf(start, at + 1)) {
        const qsizetype from = at + start.size();
        QByteArray packed = pdf.mid(from, pdf.indexOf("\nendstream", from) - from);
        std::string plain(std::size_t{16} << 20, '\0');
        z_stream z{};
        inflateInit(&z);
        z.next_in = reinterpret_cast<Bytef*>(packed.data());
        z.avail_in = static_cast<uInt>(packed.size());
        z.next_out = reinterpret_cast<Bytef*>(plain.data());
        z.avail_out = static_cast<uInt>(plain.size());
        EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
        EXPECT_EQ(z.avail_in, 0u) << "bytes after the compressed data";
        all.append(plain.data(), static_cast<qsizetype>(z.total_out));
        inflateEnd(&z);
    }
    return all;
}

// A node's disc, filled and outlined, is one form, drawn at the page's origin moved to it;
// what follows is placed from there. The font is set when it changes, a stretch undone when a
// text has none.
TEST(VectorWriters, PdfDiscsAreOneFormEachAndTheFontIsSetWhenItChanges)
{
    DrawRecord record;
    const std::uint32_t black = cleared_with_pen(record, kBlack);
    record.add_line(black, {0, 0}, {99, 0});
    for (int x : {10, 40, 70})
        record.add_box(RecordOp::ellipse, true, black, x, 10, x + 8, 18);
    record.add_box(RecordOp::ellipse, true, black, 10, 30, 30, 30); // one pixel high: its row
    record.add_box(RecordOp::ellipse, true, black, 16, 3000000, 24, 3000008); // far off: the origin stays
    for (int x : {-9, 50}) // centres half a pixel on, either side of the page's edge: one form
        record.add_box(RecordOp::ellipse, true, black, x, 40, x + 9, 49);
    const std::uint32_t plain = look_of(record, kBlack, "Liberation Sans");
    const std::uint32_t wide = look_of(record, kBlack, "Liberation Sans", false, 120);
    for (const std::uint32_t text_look : {plain, plain, wide, plain})
        record.add_text(RecordOp::text, text_look, 5, 50, "12", 20);
    const QByteArray pdf = QByteArray::fromStdString(pdf_document(record, QSize(100, 60), QStringLiteral("discs")));
    const QByteArray content = inflated_streams(pdf);
    const std::pair<const char*, int> counts[] = {
        {"0 0 m\n99 0 l\n", 1}, // before any form, from the page's corner
        {" Do\n", 6}, {"/E0 Do", 4}, {"/E1 Do", 1}, {"/E2 Do", 2}, {"q 1 0 0 1 0 2999974 cm /E0 Do Q\n", 1},
        {"1 0 0 1 30 0 cm /E0 Do\n", 2}, // a row of marks repeats to the byte
        {"-10.5 -.5 21 1 re\nf\n", 1},  // the thin disc's row, from its centre
        {" Tf", 3},   {"120 Tz", 1}, {"100 Tz", 1}, {"BT 1 0 0 -1 -49.5 5.5 Tm", 4}};
    for (const auto& [what, n] : counts)
        EXPECT_EQ(content.count(what), n) << what << '\n' << content.toStdString();
    EXPECT_LT(content.indexOf("\nS\n"), content.indexOf(" Do\n")); // the line is stroked first
    EXPECT_EQ(pdf.count("/Subtype /Form"), 3);
}

// The first and last strokes and the blue line of the long drawing below show.
void expect_long_record_shown(const QImage& pixels)
{
    ASSERT_FALSE(pixels.isNull());
    EXPECT_TRUE(near(pixels, 0, 0, [](QRgb q) { return same_family(q, qrgb(kRed)); }));
    EXPECT_TRUE(near(pixels, 999, 236, [](QRgb q) { return same_family(q, qrgb(kRed)); }));
    EXPECT_TRUE(near(pixels, 500, 300, [](QRgb q) { return same_family(q, qrgb(kBlue)); }));
}

// A content of a megabyte and more is deflated in two parts at once: both are drawn, in order.
// The SVG keeps a run of one pen in paths of at most 10 000 points, which every viewer draws.
TEST(VectorWriters, ALongDrawingIsWrittenInPartsThatAllShow)
{
    // 60 000 short red strokes apart from each other, a text, then a blue line across.
    DrawRecord record;
    const std::uint32_t red = cleared_with_pen(record, kRed);
    for (int i = 0; i < 60000; ++i)
        record.add_line(red, {i % 1000, 4 * (i / 1000)}, {i % 1000, 4 * (i / 1000) + 1});
    record.add_text(RecordOp::text, look_of(record, kRed, "Liberation Sans"), 5, 580, "end", 100);
    record.add_line(look_of(record, kBlue), {100, 300}, {900, 300});
    const QByteArray pdf = QByteArray::fromStdString(pdf_document(record, QSize(1200, 600), QStringLiteral("long")));
    EXPECT_TRUE(pdf.contains("/Contents [4 0 R ")) << pdf.left(600).toStdString();
    TempDir dir;
    expect_long_record_shown(pdf_pixels(dir, pdf));
    // Each pen's run of strokes is one path, stroked once.
    const QByteArray content = inflated_streams(pdf);
    EXPECT_EQ(content.count("\nS\n"), 2);
    EXPECT_LT(content.indexOf("\nS\n"), content.indexOf("BT ")); // the path is stroked before the text
    EXPECT_EQ(content.count(" m\n"), 60001);

    const QByteArray svg = QByteArray::fromStdString(svg_document(record, QSize(1200, 600), QStringLiteral("long")));
    EXPECT_EQ(svg.count("<path"), 120000 / 10000 + 1);
    expect_long_record_shown(svg_pixels(svg, QSize(1200, 600)));
}

} // namespace
} // namespace vorax::gwl
