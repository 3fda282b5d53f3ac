// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/surface/vector_writers.h"

#include <QString>

#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "core/beside.h"
#include "gwl/platform/qt_text.h"
#include "gwl/surface/draw_record.h"
#include "gwl/surface/record_walk.h"
#include "gwl/surface/vector_output.h"

namespace vorax::gwl {

namespace {

constexpr double kPointsPerPixel = 72.0 / 96.0;
// Content of this many bytes and more is deflated in two halves on two threads.
constexpr std::size_t kHalvesFrom = std::size_t{1} << 20;

// --- Numbers ------------------------------------------------------------------------------------

void put_int(std::string& out, long long v)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
    out.append(digits, end);
}

// Characters of a whole number as written.
int width_of(long long v)
{
    int n = v < 0 ? 2 : 1;
    for (unsigned long long u = static_cast<unsigned long long>(v < 0 ? -v : v); u >= 10; u /= 10)
        ++n;
    return n;
}

// A number to three decimals without trailing zeros, nor a zero before the point.
void put_real(std::string& out, double v)
{
    long long m = std::llround(v * 1000.0);
    if (m % 1000 == 0) {
        put_int(out, m / 1000);
        return;
    }
    if (m < 0) {
        out += '-';
        m = -m;
    }
    if (m >= 1000)
        put_int(out, m / 1000);
    char fraction[4] = {char('0' + m / 100 % 10), char('0' + m / 10 % 10), char('0' + m % 10), 0};
    int n = 3;
    while (fraction[n - 1] == '0')
        --n;
    out += '.';
    out.append(fraction, static_cast<std::size_t>(n));
}

void put_hex_color(std::string& out, Rgb c)
{
    static constexpr char kHex[] = "0123456789abcdef";
    const unsigned parts[3] = {red_of(c), green_of(c), blue_of(c)};
    out += '#';
    for (const unsigned p : parts) {
        out += kHex[p >> 4];
        out += kHex[p & 15];
    }
}

std::string xml_escaped(const QString& text)
{
    return xml_characters(text).toHtmlEscaped().toStdString();
}

// --- SVG ----------------------------------------------------------------------------------------

class SvgSink final : public VectorSink {
public:
    SvgSink(const DrawRecord& record, std::string& out) : record_(record), out_(out) {}

    void fill_box(const PixelRect& box, Rgb color) override
    {
        end_path();
        out_ += "<rect x=\"";
        put_int(out_, box.x);
        out_ += "\" y=\"";
        put_int(out_, box.y);
        out_ += "\" width=\"";
        put_int(out_, box.width);
        out_ += "\" height=\"";
        put_int(out_, box.height);
        out_ += "\" fill=\"";
        put_hex_color(out_, color);
        out_ += "\"/>\n";
    }

    void fill_boxes(std::span<const PixelRect> boxes, Rgb color) override
    {
        end_path();
        out_ += "<path fill=\"";
        put_hex_color(out_, color);
        out_ += "\" d=\"";
        for (const PixelRect& b : boxes) {
            out_ += 'M';
            put_int(out_, b.x);
            out_ += ' ';
            put_int(out_, b.y);
            out_ += 'h';
            put_int(out_, b.width);
            out_ += 'v';
            put_int(out_, b.height);
            out_ += 'h';
            put_int(out_, -b.width);
            out_ += 'z';
        }
        out_ += "\"/>\n";
    }

    void polyline(const LinePen& pen, std::span<const PixelPoint> points) override
    {
        begin_path(pen);
        points_in_path_ += points.size();
        move(points[0]);
        for (std::size_t i = 1; i < points.size(); ++i)
            line(points[i]);
    }

    void patterned_line(const LinePen& pen, PixelPoint a, PixelPoint b) override
    {
        begin_path(pen);
        points_in_path_ += 2;
        const double length = std::hypot(double(b.x - a.x), double(b.y - a.y));
        const double hx = (b.x - a.x) * 0.5 / length, hy = (b.y - a.y) * 0.5 / length;
        out_ += 'M';
        put_real(out_, a.x + 0.5 - hx);
        out_ += ' ';
        put_real(out_, a.y + 0.5 - hy);
        out_ += 'L';
        put_real(out_, b.x + 0.5 + hx);
        out_ += ' ';
        put_real(out_, b.y + 0.5 + hy);
        at_ = std::nullopt;
        last_ = 0;
    }

    void outline(const LinePen& pen, const Shape& shape) override
    {
        end_path();
        if (shape.kind == RecordOp::ellipse) {
            out_ += "<ellipse";
            ellipse_geometry(shape, 0.0);
        } else {
            out_ += "<path d=\"";
            shape_path(shape);
            out_ += '"';
        }
        out_ += " fill=\"none\"";
        stroke(pen);
        out_ += " transform=\"translate(.5 .5)\"/>\n";
    }

    void fill_shape(const Shape& shape, Rgb color) override
    {
        end_path();
        if (shape.kind == RecordOp::ellipse) {
            out_ += "<ellipse";
            ellipse_geometry(shape, 0.5);
        } else if (shape.kind == RecordOp::rectangle) {
            fill_box({shape.a, shape.b, shape.c - shape.a + 1, shape.d - shape.b + 1}, color);
            return;
        } else {
            out_ += "<path fill-rule=\"evenodd\" transform=\"translate(.5 .5)\" d=\"";
            shape_path(shape);
            out_ += '"';
        }
        out_ += " fill=\"";
        put_hex_color(out_, color);
        out_ += "\"/>\n";
    }

    void text(std::int32_t font_index, Rgb color, int x, int baseline, std::string_view text) override
    {
        end_path();
        const RecordedFont& f = record_.font(font_index);
        out_ += "<text x=\"";
        put_int(out_, x);
        out_ += "\" y=\"";
        put_int(out_, baseline);
        out_ += "\" font-family=\"";
        out_ += xml_escaped(QString::fromStdString(f.family));
        out_ += "\" font-size=\"";
        put_int(out_, std::max(f.pixel_size, 1));
        out_ += "\" font-weight=\"";
        put_int(out_, std::clamp(f.weight, 1, 1000));
        out_ += '"';
        if (f.italic)
            out_ += " font-style=\"italic\"";
        if (f.underline)
            out_ += " text-decoration=\"underline\"";
        if (f.stretch != 100) {
            out_ += " font-stretch=\"";
            put_int(out_, f.stretch);
            out_ += "%\"";
        }
        out_ += " fill=\"";
        put_hex_color(out_, color);
        out_ += "\" xml:space=\"preserve\">";
        out_ += xml_escaped(qt_text(text));
        out_ += "</text>\n";
    }

    void end_path()
    {
        if (pen_)
            out_ += "\"/>\n";
        pen_.reset();
    }

private:
    void stroke(const LinePen& pen)
    {
        out_ += " stroke=\"";
        put_hex_color(out_, pen.color);
        out_ += '"';
        if (pen.style == raster::PenStyle::solid) {
            out_ += " stroke-linecap=\"square\" stroke-miterlimit=\"2\"";
            return;
        }
        out_ += " stroke-dasharray=\"";
        const char* gap = "";
        for (const int run : raster::dash_runs(pen.style)) {
            out_ += gap;
            put_int(out_, run);
            gap = " ";
        }
        out_ += "\" stroke-miterlimit=\"2\"";
    }

    // One path for lines of one pen in a row, in paths of at most some ten thousand points:
    // viewers refuse a path of millions (Qt's truncates it).
    void begin_path(const LinePen& pen)
    {
        if (pen_ == pen && points_in_path_ < kMostPointsInPath)
            return;
        end_path();
        points_in_path_ = 0;
        out_ += "<path fill=\"none\"";
        stroke(pen);
        if (pen.style == raster::PenStyle::solid)
            out_ += " transform=\"translate(.5 .5)\"";
        out_ += " d=\"";
        pen_ = pen;
        at_ = std::nullopt;
        last_ = 0;
    }

    // A command and its numbers; a repeated command (not a move) is left out.
    void command(char c, std::initializer_list<long long> numbers)
    {
        bool first = true;
        if (c != last_ || c == 'M' || c == 'm')
            out_ += c;
        else if (*numbers.begin() >= 0)
            out_ += ' ';
        for (const long long v : numbers) {
            if (!first && v >= 0)
                out_ += ' ';
            put_int(out_, v);
            first = false;
        }
        last_ = c;
    }

    void move(PixelPoint p)
    {
        if (at_ && width_of(p.x - at_->x) + width_of(p.y - at_->y) < width_of(p.x) + width_of(p.y))
            command('m', {p.x - at_->x, p.y - at_->y});
        else
            command('M', {p.x, p.y});
        at_ = p;
    }

    void line(PixelPoint p)
    {
        const long long dx = p.x - at_->x, dy = p.y - at_->y;
        if (dy == 0)
            width_of(dx) < width_of(p.x) ? command('h', {dx}) : command('H', {p.x});
        else if (dx == 0)
            width_of(dy) < width_of(p.y) ? command('v', {dy}) : command('V', {p.y});
        else if (width_of(dx) + width_of(dy) < width_of(p.x) + width_of(p.y))
            command('l', {dx, dy});
        else
            command('L', {p.x, p.y});
        at_ = p;
    }

    // A rectangle or polygon through pixel centres, closed.
    void shape_path(const Shape& shape)
    {
        at_ = std::nullopt;
        last_ = 0;
        if (shape.kind == RecordOp::rectangle) {
            move({shape.a, shape.b});
            line({shape.c, shape.b});
            line({shape.c, shape.d});
            line({shape.a, shape.d});
        } else {
            move(shape.points[0]);
            for (std::size_t i = 1; i < shape.points.size(); ++i)
                line(shape.points[i]);
        }
        out_ += 'z';
    }

    // Centre and radii of the ellipse in the box of pixel centres, grown by `grow` on each side
    // and moved by as much (0.5: the box of whole pixels, in untranslated coordinates).
    void ellipse_geometry(const Shape& s, double grow)
    {
        const auto put = [&](const char* name, double v) {
            out_ += name;
            put_real(out_, v);
            out_ += '"';
        };
        put(" cx=\"", (s.a + s.c) / 2.0 + grow);
        put(" cy=\"", (s.b + s.d) / 2.0 + grow);
        put(" rx=\"", (s.c - s.a) / 2.0 + grow);
        put(" ry=\"", (s.d - s.b) / 2.0 + grow);
    }

    const DrawRecord& record_;
    std::string& out_;
    std::optional<LinePen> pen_; // of the open path
    std::size_t points_in_path_ = 0;
    static constexpr std::size_t kMostPointsInPath = 10000;
    std::optional<PixelPoint> at_;
    char last_ = 0;
};

// --- PDF ----------------------------------------------------------------------------------------

// The standard faces that have the Liberation faces' widths, by family.
std::optional<int> standard_family(const std::string& family)
{
    const QString f = QString::fromStdString(family).toLower();
    if (f == u"liberation sans" || f == u"arial" || f == u"helvetica")
        return 0;
    if (f == u"liberation serif" || f == u"times new roman" || f == u"times")
        return 1;
    if (f == u"liberation mono" || f == u"courier new" || f == u"courier")
        return 2;
    return std::nullopt;
}

const char* standard_face(int family, bool bold, bool italic)
{
    static const char* const kFaces[3][4] = {
        {"Helvetica", "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique"},
        {"Times-Roman", "Times-Bold", "Times-Italic", "Times-BoldItalic"},
        {"Courier", "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique"},
    };
    return kFaces[family][(bold ? 1 : 0) + (italic ? 2 : 0)];
}

class PdfSink final : public VectorSink {
public:
    PdfSink(const DrawRecord& record, std::string& out, int height) : record_(record), out_(out)
    {
        // Pixels, y downwards, at 96 per inch, shifted by half a pixel: lines run through pixel
        // centres, which are whole numbers.
        out_ += ".75 0 0 -.75 0 ";
        put_real(out_, height * kPointsPerPixel);
        out_ += " cm 1 0 0 1 .5 .5 cm 2 M 0 j\n";
    }

    bool covered() const { return covered_; }
    const std::vector<const char*>& faces() const { return faces_; }
    // The contents of the forms /E0, /E1 ..., and the largest radius they hold.
    const std::vector<std::string>& forms() const { return forms_; }
    long long form_reach() const
    {
        long long reach = 0;
        for (const auto& key : form_keys_)
            reach = std::max({reach, key[0], key[1]});
        return reach;
    }

    void fill_box(const PixelRect& box, Rgb color) override
    {
        end_stroke();
        fill_color(color);
        rect(box);
        out_ += "f\n";
    }

    void fill_boxes(std::span<const PixelRect> boxes, Rgb color) override
    {
        end_stroke();
        fill_color(color);
        for (const PixelRect& b : boxes)
            rect(b);
        out_ += "f\n";
    }

    // Lines of one pen in a row are one path, stroked once at its end.
    void polyline(const LinePen& pen, std::span<const PixelPoint> points) override
    {
        if (stroke_pen_ != pen) {
            end_stroke();
            use_pen(pen);
            stroke_pen_ = pen;
        }
        point(points[0], 'm');
        for (std::size_t i = 1; i < points.size(); ++i)
            point(points[i], 'l');
    }

    // A node's disc: one form paints both.
    void fill_and_outline(const Shape& ellipse, Rgb color, const LinePen& pen) override
    {
        end_stroke();
        fill_color(color);
        use_pen(pen);
        ellipse_form(ellipse, kFilledAndOutlined);
    }

    // Strokes the path of the lines before, if any.
    void end_stroke()
    {
        if (stroke_pen_)
            out_ += "S\n";
        stroke_pen_.reset();
    }

    void patterned_line(const LinePen& pen, PixelPoint a, PixelPoint b) override
    {
        end_stroke();
        use_pen(pen);
        const double length = std::hypot(double(b.x - a.x), double(b.y - a.y));
        const double hx = (b.x - a.x) * 0.5 / length, hy = (b.y - a.y) * 0.5 / length;
        place(a.x - hx, a.y - hy);
        out_ += "m ";
        place(b.x + hx, b.y + hy);
        out_ += "l S\n";
    }

    void outline(const LinePen& pen, const Shape& shape) override
    {
        end_stroke();
        use_pen(pen);
        shape_path(shape, 0.0);
        if (shape.kind != RecordOp::ellipse)
            out_ += "S\n";
    }

    void fill_shape(const Shape& shape, Rgb color) override
    {
        end_stroke();
        fill_color(color);
        if (shape.kind == RecordOp::rectangle) {
            rect({shape.a, shape.b, shape.c - shape.a + 1, shape.d - shape.b + 1});
            out_ += "f\n";
            return;
        }
        shape_path(shape, 0.5);
        if (shape.kind == RecordOp::polygon)
            out_ += "f*\n";
    }

    void text(std::int32_t font_index, Rgb color, int x, int baseline, std::string_view text) override
    {
        end_stroke();
        const RecordedFont& f = record_.font(font_index);
        const std::optional<int> family = standard_family(f.family);
        std::string bytes;
        for (const QChar c : qt_text(text)) {
            const char16_t u = c.unicode();
            if (u < 0x20 || (u >= 0x7F && u < 0xA0) || u > 0xFF)
                covered_ = false;
            bytes += static_cast<char>(u);
        }
        if (!family || f.underline)
            covered_ = false;
        if (!covered_)
            return;
        const char* face = standard_face(*family, f.weight >= 600, f.italic);
        auto found = std::find(faces_.begin(), faces_.end(), face);
        if (found == faces_.end())
            found = faces_.insert(faces_.end(), face);
        fill_color(color);
        // The text state belongs to the page's graphics state: set when it changes, outside
        // the text objects.
        const std::array<long long, 3> text_state{found - faces_.begin(), std::max(f.pixel_size, 1), f.stretch};
        if (text_state != text_state_) {
            out_ += "/F";
            put_int(out_, text_state[0]);
            out_ += ' ';
            put_int(out_, text_state[1]);
            out_ += " Tf ";
            if (text_state[2] != text_state_[2]) {
                put_int(out_, text_state[2]);
                out_ += " Tz";
            }
            out_ += '\n';
            text_state_ = text_state;
        }
        out_ += "BT 1 0 0 -1 ";
        place(x - 0.5, baseline - 0.5);
        out_ += "Tm (";
        for (const char b : bytes) {
            const auto u = static_cast<unsigned char>(b);
            if (b == '(' || b == ')' || b == '\\') {
                out_ += '\\';
                out_ += b;
            } else if (u >= 0x80) {
                const char octal[4] = {'\\', char('0' + (u >> 6)), char('0' + ((u >> 3) & 7)), char('0' + (u & 7))};
                out_.append(octal, 4);
            } else {
                out_ += b;
            }
        }
        out_ += ") Tj ET\n";
    }

private:
    void color_operands(Rgb c)
    {
        const unsigned parts[3] = {red_of(c), green_of(c), blue_of(c)};
        for (const unsigned p : parts) {
            put_real(out_, p / 255.0);
            out_ += ' ';
        }
    }
    void fill_color(Rgb c)
    {
        if (fill_ == c)
            return;
        color_operands(c);
        out_ += "rg\n";
        fill_ = c;
    }

    void use_pen(const LinePen& pen)
    {
        if (stroke_ != pen.color) {
            color_operands(pen.color);
            out_ += "RG\n";
            stroke_ = pen.color;
        }
        if (style_ == pen.style)
            return;
        if (pen.style == raster::PenStyle::solid) {
            out_ += "2 J [] 0 d\n";
        } else {
            out_ += "0 J [";
            const char* gap = "";
            for (const int run : raster::dash_runs(pen.style)) {
                out_ += gap;
                put_int(out_, run);
                gap = " ";
            }
            out_ += "] 0 d\n";
        }
        style_ = pen.style;
    }

    // Whole pixels: their edges lie half a pixel off the centres.
    void rect(const PixelRect& b)
    {
        place(b.x - 0.5, b.y - 0.5);
        put_int(out_, b.width);
        out_ += ' ';
        put_int(out_, b.height);
        out_ += " re\n";
    }

    void point(PixelPoint p, char op)
    {
        put_int(out_, p.x - origin_x_);
        out_ += ' ';
        put_int(out_, p.y - origin_y_);
        out_ += ' ';
        out_ += op;
        out_ += '\n';
    }

    void pair(double x, double y)
    {
        put_real(out_, x);
        out_ += ' ';
        put_real(out_, y);
        out_ += ' ';
    }

    // A position on the page, written from the origin of the moment.
    void place(double x, double y) { pair(x - origin_x_, y - origin_y_); }

    // A shape's path in centre coordinates; `grow` widens a box or ellipse (for an interior
    // over whole pixels). An ellipse is painted by its form.
    void shape_path(const Shape& s, double grow)
    {
        if (s.kind == RecordOp::polygon) {
            point(s.points[0], 'm');
            for (std::size_t i = 1; i < s.points.size(); ++i)
                point(s.points[i], 'l');
            out_ += "h ";
            return;
        }
        const double left = s.a - grow, top = s.b - grow, right = s.c + grow, bottom = s.d + grow;
        if (s.kind == RecordOp::rectangle) {
            place(left, top);
            pair(right - left, bottom - top);
            out_ += "re ";
            return;
        }
        ellipse_form(s, grow > 0 ? kFilled : kOutlined);
    }

    // The ellipse of a shape's box: its interior over whole pixels, its outline through the
    // centres of its edge pixels, or both. The same ellipse anywhere is one form, drawn in the
    // colours of the moment at the whole pixel at or before its centre, which becomes the origin
    // of what follows: the marks of a row of nodes then repeat to the byte, and deflate to little.
    enum EllipsePaint : long long { kOutlined, kFilled, kFilledAndOutlined };
    void ellipse_form(const Shape& s, EllipsePaint paint)
    {
        const double rx = (s.c - s.a) / 2.0, ry = (s.d - s.b) / 2.0;
        const double grow = paint == kOutlined ? 0.0 : 0.5;
        // Twice the centre: its half pixel, if any, is drawn within the form.
        const long long twice_x = static_cast<long long>(s.a) + s.c, twice_y = static_cast<long long>(s.b) + s.d;
        const long long x = floor_half(twice_x), y = floor_half(twice_y);
        // Keyed by the reach of its paint (the diameters of the interior where it has one), how
        // it is painted and the half pixels of its centre.
        const std::array<long long, 5> key{std::llround(rx * 2 + 2 * grow), std::llround(ry * 2 + 2 * grow), paint,
                                           twice_x - 2 * x, twice_y - 2 * y};
        auto found = std::find(form_keys_.begin(), form_keys_.end(), key);
        if (found == form_keys_.end()) {
            const double cx = (twice_x - 2 * x) / 2.0, cy = (twice_y - 2 * y) / 2.0;
            std::string form;
            if (paint != kOutlined) {
                ellipse_path(form, cx, cy, rx + 0.5, ry + 0.5);
                form += "f\n";
            }
            if (paint != kFilled) {
                ellipse_path(form, cx, cy, rx, ry);
                form += "S";
            }
            forms_.push_back(std::move(form));
            found = form_keys_.insert(form_keys_.end(), key);
        }
        // Far off the page the origin stays, so that the sums of origins a viewer makes stay
        // exact even in single precision.
        const bool moves = std::abs(x) <= kFarthestOrigin && std::abs(y) <= kFarthestOrigin;
        if (!moves)
            out_ += "q ";
        if (x != origin_x_ || y != origin_y_ || !moves) {
            out_ += "1 0 0 1 ";
            put_int(out_, x - origin_x_);
            out_ += ' ';
            put_int(out_, y - origin_y_);
            out_ += " cm ";
        }
        out_ += "/E";
        put_int(out_, found - form_keys_.begin());
        out_ += moves ? " Do\n" : " Do Q\n";
        if (moves) {
            origin_x_ = x;
            origin_y_ = y;
        }
    }

    static long long floor_half(long long twice) { return twice >= 0 ? twice / 2 : -((1 - twice) / 2); }

    // An ellipse around (cx, cy) as four cubic arcs, each a quarter.
    static void ellipse_path(std::string& out, double cx, double cy, double rx, double ry)
    {
        constexpr double k = 0.5522847498;
        const auto put_pair = [&](double x, double y) {
            put_real(out, cx + x);
            out += ' ';
            put_real(out, cy + y);
            out += ' ';
        };
        put_pair(rx, 0);
        out += "m ";
        const double quarters[4][6] = {
            {rx, k * ry, k * rx, ry, 0, ry},
            {-k * rx, ry, -rx, k * ry, -rx, 0},
            {-rx, -k * ry, -k * rx, -ry, 0, -ry},
            {k * rx, -ry, rx, -k * ry, rx, 0},
        };
        for (const auto& q : quarters) {
            put_pair(q[0], q[1]);
            put_pair(q[2], q[3]);
            put_pair(q[4], q[5]);
            out += "c\n";
        }
        out += "h ";
    }

    const DrawRecord& record_;
    std::string& out_;
    bool covered_ = true;
    std::optional<Rgb> fill_ = kBlack;   // the PDF's initial colours
    std::optional<Rgb> stroke_ = kBlack;
    std::optional<raster::PenStyle> style_; // cap and dashes not yet set
    std::optional<LinePen> stroke_pen_; // of the path not yet stroked
    std::vector<const char*> faces_;
    std::vector<std::array<long long, 5>> form_keys_; // diameters, how painted, half pixels of the centre
    std::vector<std::string> forms_;
    std::array<long long, 3> text_state_{-1, 0, 100}; // face, size and stretch; no face yet
    // Where the last form moved the page's origin, in pixels: positions are written from here.
    long long origin_x_ = 0, origin_y_ = 0;
    static constexpr long long kFarthestOrigin = 1 << 20;
};

// The bytes deflated in zlib's format, by libdeflate, which compresses a whole buffer at once:
// at its level 5 the page content of a large drawing comes out about a tenth smaller than zlib's
// level 5 made it, in two thirds of the time (bench_page_deflate compares the two).
std::string deflated(std::string_view plain)
{
    constexpr int kLevel = 5;
    const std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> compressor(
        libdeflate_alloc_compressor(kLevel), &libdeflate_free_compressor);
    if (!compressor)
        throw std::bad_alloc();
    // Room for the bound, of which only what is written is ever touched.
    const std::size_t bound = libdeflate_zlib_compress_bound(compressor.get(), plain.size());
    const auto room = std::make_unique_for_overwrite<char[]>(bound);
    const std::size_t size = libdeflate_zlib_compress(compressor.get(), plain.data(), plain.size(), room.get(), bound);
    if (size == 0) // never within the bound
        throw std::bad_alloc();
    return std::string(room.get(), size);
}

// A PDF text string: UTF-16BE after its byte-order mark, the bytes that end or escape a string
// escaped.
std::string pdf_text_string(std::string_view utf8)
{
    std::string out = "(\xFE\xFF";
    for (const QChar c : QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()))) {
        for (const char b : {char(c.unicode() >> 8), char(c.unicode() & 0xFF)}) {
            if (b == '(' || b == ')' || b == '\\')
                out += '\\';
            if (b == '\r')
                out += "\\r";
            else
                out += b;
        }
    }
    return out + ')';
}

// Room for the usual few bytes an operation of `record`, reserved for its text at once: growing
// would copy the text each time its room doubles, into fresh memory, and every fresh page costs
// a fault.
std::size_t text_room(const DrawRecord& record)
{
    return std::max<std::size_t>(std::size_t{1} << 16, record.ops().size() * 8);
}

} // namespace

std::string svg_text(const DrawRecord& record, int width, int height, std::string_view title)
{
    std::string out;
    out.reserve(text_room(record));
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n<svg width=\"";
    put_real(out, width * kPointsPerPixel);
    out += "pt\" height=\"";
    put_real(out, height * kPointsPerPixel);
    out += "pt\" viewBox=\"0 0 ";
    put_int(out, width);
    out += ' ';
    put_int(out, height);
    out += "\" version=\"1.1\" xmlns=\"http://www.w3.org/2000/svg\">\n<title>";
    out += xml_escaped(QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
    out += "</title>\n<desc>Structure Graph drawn by VORAX</desc>\n";
    SvgSink sink(record, out);
    walk_record(record, width, height, sink);
    sink.end_path();
    out += "</svg>\n";
    return out;
}

std::optional<std::string> pdf_file(const DrawRecord& record, int width, int height,
                                    std::string_view title, std::string_view date)
{
    std::string content;
    content.reserve(text_room(record));
    PdfSink sink(record, content, height);
    walk_record(record, width, height, sink);
    sink.end_stroke();
    if (!sink.covered())
        return std::nullopt;
    // A long content is deflated in two halves at once, cut at a line end (between operators):
    // a page's content may be a list of streams, read as if they were one.
    std::vector<std::string> packed;
    const std::size_t middle = content.size() >= kHalvesFrom ? content.find('\n', content.size() / 2) : std::string::npos;
    if (middle != std::string::npos) {
        const std::string_view all(content);
        auto later = start_beside([all, middle] { return deflated(all.substr(middle + 1)); });
        packed.push_back(deflated(all.substr(0, middle + 1)));
        packed.push_back(later.get());
    } else {
        packed.push_back(deflated(content));
    }
    content = std::string();

    std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::size_t room = std::size_t{1} << 16; // for everything but the streams
    for (const std::string& part : packed)
        room += part.size();
    for (const std::string& form : sink.forms())
        room += form.size();
    out.reserve(room);
    std::vector<std::size_t> offsets;
    // An object whose body is the pieces given, one after the other.
    const auto object = [&](const auto&... body) {
        offsets.push_back(out.size());
        put_int(out, static_cast<long long>(offsets.size()));
        out += " 0 obj\n";
        ((out += body), ...);
        out += "\nendobj\n";
    };
    const std::size_t faces = sink.faces().size();
    const long long first_face = 6;
    object("<< /Type /Catalog /Pages 2 0 R >>");
    object("<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
    std::string page = "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 ";
    put_real(page, width * kPointsPerPixel);
    page += ' ';
    put_real(page, height * kPointsPerPixel);
    page += "] /Resources << /Font <<";
    for (std::size_t i = 0; i < faces; ++i) {
        page += " /F";
        put_int(page, static_cast<long long>(i));
        page += ' ';
        put_int(page, first_face + static_cast<long long>(i));
        page += " 0 R";
    }
    page += " >> /XObject <<";
    const long long first_form = first_face + static_cast<long long>(faces);
    for (std::size_t i = 0; i < sink.forms().size(); ++i) {
        page += " /E";
        put_int(page, static_cast<long long>(i));
        page += ' ';
        put_int(page, first_form + static_cast<long long>(i));
        page += " 0 R";
    }
    // The first half of the content is object 4, the second follows the forms.
    page += " >> >> /Contents ";
    if (packed.size() == 1) {
        page += "4 0 R";
    } else {
        page += "[4 0 R ";
        put_int(page, first_form + static_cast<long long>(sink.forms().size()));
        page += " 0 R]";
    }
    page += " >>";
    object(page);
    const auto content_stream = [&](std::string& part) {
        std::string head = "<< /Length ";
        put_int(head, static_cast<long long>(part.size()));
        head += " /Filter /FlateDecode >>\nstream\n";
        object(head, part, "\nendstream");
        part = std::string();
    };
    content_stream(packed[0]);
    std::string info = "<< /Title " + pdf_text_string(title) + " /Creator (VORAX) /Producer (VORAX)";
    if (!date.empty())
        info += " /CreationDate (D:" + std::string(date) + "Z)";
    object(info + " >>");
    for (const char* face : sink.faces())
        object(std::string("<< /Type /Font /Subtype /Type1 /BaseFont /") + face + " /Encoding /WinAnsiEncoding >>");
    const long long reach = sink.form_reach() + 2; // a radius, the pen and a margin
    for (const std::string& form : sink.forms()) {
        std::string body = "<< /Type /XObject /Subtype /Form /BBox [";
        put_int(body, -reach);
        body += ' ';
        put_int(body, -reach);
        body += ' ';
        put_int(body, reach);
        body += ' ';
        put_int(body, reach);
        body += "] /Length ";
        put_int(body, static_cast<long long>(form.size()));
        body += " >>\nstream\n" + form + "\nendstream";
        object(body);
    }

    if (packed.size() > 1)
        content_stream(packed[1]);

    const std::size_t xref = out.size();
    out += "xref\n0 ";
    put_int(out, static_cast<long long>(offsets.size() + 1));
    out += "\n0000000000 65535 f \n";
    for (const std::size_t offset : offsets) {
        char line[24];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        out += line;
    }
    out += "trailer\n<< /Size ";
    put_int(out, static_cast<long long>(offsets.size() + 1));
    out += " /Root 1 0 R /Info 5 0 R >>\nstartxref\n";
    put_int(out, static_cast<long long>(xref));
    out += "\n%%EOF\n";
    return out;
}

} // namespace vorax::gwl
