// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFontMetrics>

#include <variant>

#include "core/text.h"
#include "gwl/surface/digit_text.h"
#include "gwl/surface/draw_surface.h"
#include "gwl/surface/font_list.h"
#include "gwl/surface/qt_fonts.h"
#include "surface_test_support.h"

namespace vorax::gwl {
namespace {

using testing::Pixels;
using testing::prepare_paper;

// --- The FontSpec grammar --------------------------------------------------------------------

FontRequest parsed(std::string_view spec)
{
    const auto result = parse_font_spec(spec);
    EXPECT_TRUE(std::holds_alternative<FontRequest>(result)) << spec;
    return std::holds_alternative<FontRequest>(result) ? std::get<FontRequest>(result) : FontRequest{};
}

GraphicsStatus parse_failure(std::string_view spec)
{
    const auto result = parse_font_spec(spec);
    EXPECT_TRUE(std::holds_alternative<GraphicsStatus>(result)) << spec;
    return std::holds_alternative<GraphicsStatus>(result) ? std::get<GraphicsStatus>(result) : 0;
}

TEST(FontSpec, OptionsInAnyCaseAndOrder)
{
    const FontRequest r = parsed("t'tms rmn'h14be");
    EXPECT_EQ(r.face, "Times New Roman");
    EXPECT_EQ(r.height, 14);
    EXPECT_FALSE(r.width);
    EXPECT_TRUE(r.best_fit);
    EXPECT_TRUE(r.bold);
    EXPECT_FALSE(r.italic);

    const FontRequest upper = parsed("T'TMS RMN'H14BE");
    EXPECT_EQ(upper.face, "Times New Roman");
    EXPECT_EQ(upper.height, 14);
    EXPECT_TRUE(upper.bold && upper.best_fit);

    const FontRequest mixed = parsed("  iu w7 x h9 ; t'Courier'   ");
    EXPECT_EQ(mixed.face, "Courier New");
    EXPECT_EQ(mixed.width, 7);
    EXPECT_EQ(mixed.height, 9);
    EXPECT_TRUE(mixed.italic && mixed.underline);
    EXPECT_FALSE(mixed.bold);
    EXPECT_EQ(parsed("t'HELV'").face, "Arial");
    EXPECT_EQ(parsed("t'Liberation Sans'").face, "Liberation Sans");
    // A number ends the font request.
    EXPECT_EQ(parsed("h20 e n3 t x").number, 3);
    EXPECT_EQ(parsed("n").number, 0);
}

TEST(FontSpec, OppositesCancel)
{
    struct Case {
        const char* spec;
        bool fixed, proportional, raster, scalable, conflicting;
    };
    const Case cases[] = {{"f", true, false, false, false, false},
                          {"fp", false, false, false, false, true},
                          {"fpf", true, false, false, false, true},
                          {"pv", false, true, false, true, false},
                          {"vr", false, false, false, false, true},
                          {"ff", true, false, false, false, false}};
    for (const Case& c : cases) {
        const FontRequest r = parsed(c.spec);
        EXPECT_EQ(r.fixed_only, c.fixed) << c.spec;
        EXPECT_EQ(r.proportional_only, c.proportional) << c.spec;
        EXPECT_EQ(r.raster_only, c.raster) << c.spec;
        EXPECT_EQ(r.scalable_only, c.scalable) << c.spec;
        EXPECT_EQ(r.conflicting, c.conflicting) << c.spec;
    }
}

TEST(FontSpec, MalformedFaceNames)
{
    EXPECT_EQ(parse_failure("t tms rmn"), -4);
    EXPECT_EQ(parse_failure("h12t"), -4);
    EXPECT_EQ(parse_failure("t'tms rmn"), -1);
    // At most 31 characters between the apostrophes.
    EXPECT_EQ(parsed("t'" + std::string(31, 'a') + "'").face, std::string(31, 'a'));
    EXPECT_EQ(parse_failure("t'" + std::string(32, 'a') + "'"), -1);
}

// --- The choice among the entries --------------------------------------------------------------

FontEntry raster(const char* face, int height, int width, bool fixed = true)
{
    FontEntry e;
    e.face = e.family = face;
    e.style = "Regular";
    e.height = height;
    e.width = width;
    e.fixed_pitch = fixed;
    e.scalable = false;
    return e;
}

FontEntry outline(const char* face, bool fixed = false, int weight = 400, bool italic = false)
{
    FontEntry e;
    e.face = e.family = face;
    e.style = "Regular";
    e.height = 16;
    e.weight = weight;
    e.italic = italic;
    e.fixed_pitch = fixed;
    e.scalable = true;
    return e;
}

const std::vector<FontEntry> kList = {
    raster("System", 16, 7, false),  // 0
    raster("Terminal", 8, 8),        // 1
    raster("Terminal", 12, 8),       // 2
    raster("Terminal", 14, 10),      // 3
    outline("Liberation Mono", true),// 4
    outline("Liberation Sans"),      // 5
    outline("Liberation Sans", false, 700, true), // 6
    outline("Liberation Serif"),     // 7
};

int chosen(std::string_view spec, std::optional<int> previous = std::nullopt)
{
    const auto choice = choose_font(kList, parsed(spec), previous);
    return choice ? choice->index : -1;
}

TEST(FontChoice, RulesOverAList)
{
    struct Case {
        const char* name;
        const char* spec;
        int expected;
        std::optional<int> previous = std::nullopt;
    };
    const Case cases[] = {
        {"first entry without options", "", 0},
        {"raster height must match", "t'terminal'h12", 2},
        {"raster without match", "t'terminal'h13", -1},
        {"best fit takes the nearest", "t'terminal'h13b", 2},
        {"best fit ties go to the first", "t'terminal'h10b", 1},
        {"best fit counts the width too", "t'terminal'h13w10b", 3},
        {"scalable taken at once", "t'liberation sans'h40", 5},
        {"face compared without case", "t'LIBERATION SERIF'", 7},
        {"fixed only", "f h99", 4},
        {"proportional scalable", "pv", 5},
        {"raster only", "r h12", 2},
        {"alias replaced by its twin", "t'tms rmn'h12b", 7},
        {"alias helv", "t'helv'", 5},
        {"alias courier", "t'courier'", 4},
        {"font number", "n4", 3},
        {"font number out of range", "n9", -1},
        {"font number zero", "n0", -1},
        {"missing face", "t'Wingbats'h12", -1},
        {"best fit without any match keeps the previous font", "t'Wingbats'h12b", 5, 5},
        {"best fit without a previous font", "t'Wingbats'h12b", -1},
        {"no best fit: the previous font is not kept", "t'Wingbats'h12", -1, 5},
        {"far from every raster size: nothing below 200", "t'terminal'h300b", 7, 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chosen(c.spec, c.previous), c.expected) << c.name;
}

TEST(FontChoice, SizeAndStyleOfTheCreatedFont)
{
    struct Case {
        const char* spec;
        int height, width, weight;
        bool italic, underline;
    };
    const Case cases[] = {
        {"t'liberation sans'", 16, 0, 400, false, false},         // the entry's own
        {"t'liberation sans'h12", 12, 0, 400, false, false},
        {"t'liberation sans'w9", 0, 9, 400, false, false},          // height 0: face default
        {"t'liberation sans'h12w9eiu", 12, 9, 700, true, true},
        {"t'liberation sans'h12b", 12, 0, 400, false, false},       // b is not bold
    };
    for (const Case& c : cases) {
        const auto choice = choose_font(kList, parsed(c.spec), std::nullopt);
        ASSERT_TRUE(choice) << c.spec;
        EXPECT_EQ(choice->height, c.height) << c.spec;
        EXPECT_EQ(choice->width, c.width) << c.spec;
        EXPECT_EQ(choice->weight, c.weight) << c.spec;
        EXPECT_EQ(choice->italic, c.italic) << c.spec;
        EXPECT_EQ(choice->underline, c.underline) << c.spec;
    }
    // The bold italic entry keeps its own styles; n takes an entry as it is.
    const auto own = choose_font(kList, parsed("n7 h30"), std::nullopt);
    ASSERT_TRUE(own);
    EXPECT_EQ(own->weight, 700);
    EXPECT_TRUE(own->italic);
    EXPECT_EQ(own->height, 16);
}

// --- Fonts on a surface, with the system's fonts ----------------------------------------------

class SurfaceFonts : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_GT(surface.init_fonts(), 0);
        ASSERT_EQ(DrawSurface::get_graphics_status(), 0);
    }
    FontInfo info()
    {
        FontInfo i;
        EXPECT_EQ(surface.get_font_info(i), 0);
        return i;
    }
    DrawSurface surface{200, 100};
};

TEST_F(SurfaceFonts, InitSelectsTheLastScalableFont)
{
    const std::vector<FontEntry>& list = font_list();
    const int index = default_font_index();
    EXPECT_TRUE(list[static_cast<std::size_t>(index)].scalable);
    for (std::size_t k = static_cast<std::size_t>(index) + 1; k < list.size(); ++k)
        EXPECT_FALSE(list[k].scalable);
    EXPECT_EQ(trim_right(info().face_name), list[static_cast<std::size_t>(index)].face);
    EXPECT_EQ(surface.init_fonts(), static_cast<int>(list.size())); // no second enumeration
}

TEST_F(SurfaceFonts, TimesBoldAtFourteenButBestFitIsNotBold)
{
    const int result = surface.set_font("t'tms rmn'h14be");
    ASSERT_GT(result, 0);
    EXPECT_EQ(DrawSurface::get_graphics_status(), 0);
    const FontInfo i = info();
    EXPECT_EQ(trim_right(i.face_name), "Liberation Serif");
    EXPECT_EQ(i.face_name.size(), 32u);
    EXPECT_EQ(i.file_name, std::string(81, ' '));
    EXPECT_EQ(i.pixel_height, 14);
    EXPECT_TRUE(i.bold);
    EXPECT_FALSE(i.italic);
    EXPECT_EQ(i.type, 1);
    EXPECT_EQ(i.pixel_width, 0); // proportional
    EXPECT_GT(i.ascent, 8);
    EXPECT_LT(i.ascent, 14);
    EXPECT_EQ(surface.set_font("T'TMS RMN'H14BE"), result);
    EXPECT_TRUE(info().bold);

    ASSERT_GT(surface.set_font("t'tms rmn'h12b"), 0);
    const FontInfo fit = info();
    EXPECT_EQ(trim_right(fit.face_name), "Liberation Serif");
    EXPECT_EQ(fit.pixel_height, 12);
    EXPECT_FALSE(fit.bold);
}

TEST_F(SurfaceFonts, CellHeightIsTheRequestedHeight)
{
    const std::vector<FontEntry>& list = font_list();
    // The sizes the graphs use have an exact cell; others get the largest cell that fits.
    for (int h : {10, 12, 14, 16, 20, 30}) {
        const int index = surface.set_font("t'tms rmn'h" + std::to_string(h)) - 1;
        ASSERT_GE(index, 0);
        const FontChoice choice{index, h, 0, 400, false, false};
        const int cell = QFontMetrics(make_font(list[static_cast<std::size_t>(index)], choice)).height();
        if (h == 12 || h == 14) {
            EXPECT_EQ(cell, h);
        }
        EXPECT_LE(cell, h);
        EXPECT_GE(cell, h - 1);
    }
}

TEST_F(SurfaceFonts, MissingFaceKeepsTheFontWithBestFitOnlyAndMalformedSpecsAreRefused)
{
    const int current = surface.set_font("t'helv'h12");
    ASSERT_GT(current, 0);
    EXPECT_EQ(trim_right(info().face_name), "Liberation Sans");
    EXPECT_EQ(surface.set_font("t'No Such Face'h12b"), current);
    EXPECT_EQ(trim_right(info().face_name), "Liberation Sans");
    EXPECT_EQ(surface.set_font("t'No Such Face'h12"), -1);
    EXPECT_EQ(DrawSurface::get_graphics_status(), -1);
    EXPECT_EQ(trim_right(info().face_name), "Liberation Sans");

    EXPECT_EQ(surface.set_font("ttms rmn'h12"), -1);
    EXPECT_EQ(DrawSurface::get_graphics_status(), -4);
    EXPECT_EQ(surface.set_font("t'tms rmn h12"), -1);
    EXPECT_EQ(DrawSurface::get_graphics_status(), -1);
    EXPECT_EQ(surface.set_font("n0"), -1);
    EXPECT_EQ(DrawSurface::get_graphics_status(), -1);
    EXPECT_EQ(surface.set_font("n1"), 1);
    const int courier = surface.set_font("t'courier'");
    EXPECT_EQ(surface.set_font("t'courier'fp"), courier);
    EXPECT_EQ(DrawSurface::get_graphics_status(), 3);
}

TEST_F(SurfaceFonts, FixedPitchReportsItsWidthAndTrailingBlanksCountInTheExtent)
{
    ASSERT_GT(surface.set_font("t'courier'h16"), 0);
    const FontInfo i = info();
    EXPECT_EQ(trim_right(i.face_name), "Liberation Mono");
    EXPECT_GT(i.pixel_width, 0);
    EXPECT_EQ(i.pixel_width, i.avg_char_width);
    EXPECT_EQ(surface.get_gtext_extent("12   "), surface.get_gtext_extent("12345"));
}

TEST_F(SurfaceFonts, OutGTextAdvancesByItsExtentAndIsTransparent)
{
    prepare_paper(surface);
    ASSERT_GT(surface.set_font("t'tms rmn'h14be"), 0);
    surface.move_to_w(20, 30);
    const int extent = surface.get_gtext_extent("12");
    EXPECT_GT(extent, 8);
    surface.out_gtext("12");
    EXPECT_EQ(DrawSurface::get_graphics_status(), 0);
    EXPECT_EQ(surface.current_position(), (PixelPoint{20 + extent, 30}));
    // The text hangs below its top-left corner, within the cell, in ink on untouched paper.
    const Pixels picture(surface);
    int ink = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            const Rgb p = picture.at(x, y);
            ASSERT_TRUE(p == kBlack || p == kWhite) << x << "," << y; // no antialiasing
            if (p == kBlack) {
                ++ink;
                EXPECT_GE(y, 30);
                EXPECT_LT(y, 30 + 14);
                EXPECT_GE(x, 20);
                EXPECT_LT(x, 20 + extent + 2);
            }
        }
    }
    EXPECT_GT(ink, 20);

    surface.set_color_rgb(testing::kRed);
    surface.rectangle_w(kFillInterior, 0, 0, 199, 99);
    surface.set_color_rgb(kBlack);
    ASSERT_GT(surface.set_font("t'helv'h20"), 0);
    surface.move_to_w(10, 10);
    surface.out_gtext("Wo 88");
    const Pixels over_red(surface);
    EXPECT_EQ(over_red.count(kWhite), 0);
    EXPECT_GT(over_red.count(kBlack), 30);
}

TEST(SurfaceWithoutFont, DrawsNothing)
{
    DrawSurface surface(200, 100);
    prepare_paper(surface);
    surface.move_to_w(20, 30);
    surface.out_gtext("12");
    EXPECT_EQ(DrawSurface::get_graphics_status(), 1);
    EXPECT_EQ(surface.current_position(), (PixelPoint{20, 30}));
    EXPECT_EQ(Pixels(surface).count(kWhite), 200 * 100);
    EXPECT_EQ(surface.get_gtext_extent("12"), -1);
    FontInfo info;
    EXPECT_EQ(surface.get_font_info(info), -1);
}

// A watched surface hears a box that holds all the ink of a text, upright or italic, laid out
// whole or, once a font drew many numbers, glyph by glyph.
TEST_F(SurfaceFonts, AWatchedSurfaceHearsTheInkOfEachText)
{
    std::vector<PixelRect> heard;
    surface.set_change_listener([&](const PixelRect& r) { heard.push_back(r); });
    for (const char* spec : {"t'helv'h14", "t'tms rmn'h16i"})
        for (const auto& [text, times] : {std::pair{"17.5 kN", 1}, {"2071", DigitText::kNumbersLaidOutWhole + 1}}) {
            SCOPED_TRACE(std::string(spec) + " " + text);
            prepare_paper(surface);
            ASSERT_GT(surface.set_font(spec), 0);
            for (int i = 0; i < times; ++i) {
                surface.move_to_w(60, 40);
                surface.out_gtext(text);
            }
            const PixelRect box = heard.back();
            const Pixels picture(surface);
            EXPECT_GT(picture.count(kBlack), 20);
            for (int y = 0; y < 100; ++y)
                for (int x = 0; x < 200; ++x)
                    EXPECT_TRUE(picture.at(x, y) == kWhite
                                || (x >= box.x && x < box.x + box.width && y >= box.y && y < box.y + box.height))
                        << x << "," << y;
        }
}
} // namespace
} // namespace vorax::gwl
