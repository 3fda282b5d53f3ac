// SPDX-License-Identifier: GPL-3.0-or-later
// Dialog templates: the text format, the two templates of the program, dialog units.

#include <gtest/gtest.h>

#include <QImage>

#include <set>

#include "gwl/dialogs/dialog_handle.h"
#include "gwl/dialogs/dialog_template.h"
#include "gwl/dialogs/icon.h"
#include "settings/dialog_controls.h"

namespace vorax::gwl {
namespace {

using namespace vorax::settings_control;

constexpr std::string_view kSmallTemplate = R"(# a comment
title "Small"
font "MS Shell Dlg" 8
size 100 60

-    static   "Two\nlines \"quoted\" \\ back"   5  5  90 20  sunken
7    editlist ""        5 30 40 25  entry "Auto" entry "2"
1    button   "OK"     50 40 40 14  default
2    button   "Cancel" 50 20 40 14  hidden disabled
-    picture  ""       70  0 20 20  bitmap 102
)";

TEST(DialogTemplateFormat, ReadsHeaderControlsAndFlagsIgnoringCarriageReturnsAndBlankLines)
{
    const auto parsed = parse_dialog_template(kSmallTemplate, 50);
    ASSERT_TRUE(parsed.dialog) << parsed.error << " on line " << parsed.line;
    const DialogTemplate& d = *parsed.dialog;
    EXPECT_EQ(d.id, 50);
    EXPECT_EQ(d.title, "Small");
    EXPECT_EQ(d.font_face, "MS Shell Dlg");
    EXPECT_EQ(d.font_points, 8);
    EXPECT_EQ(d.width, 100);
    EXPECT_EQ(d.height, 60);
    ASSERT_EQ(d.controls.size(), 5U);

    const ControlTemplate& text = d.controls[0];
    EXPECT_EQ(text.id, kNoControlId);
    EXPECT_EQ(text.kind, ControlKind::static_text);
    EXPECT_EQ(text.caption, "Two\nlines \"quoted\" \\ back");
    EXPECT_TRUE(text.sunken);

    const ControlTemplate* list = d.find(7);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->kind, ControlKind::editable_list);
    EXPECT_EQ(list->entries, (std::vector<std::string>{"Auto", "2"}));
    EXPECT_EQ((std::array{list->x, list->y, list->width, list->height}),
              (std::array{5, 30, 40, 25}));

    EXPECT_TRUE(d.find(1)->is_default);
    EXPECT_FALSE(d.find(1)->hidden);
    EXPECT_TRUE(d.find(2)->hidden);
    EXPECT_TRUE(d.find(2)->disabled);
    EXPECT_EQ(d.controls[4].bitmap, 102);
    EXPECT_EQ(d.find(kNoControlId), nullptr);
    EXPECT_EQ(d.find(3), nullptr);

    const auto crlf =
        parse_dialog_template("title \"T\"\r\n\r\n   \r\nsize 4 5\r\n3 check \"C\" 1 2 3 4\r\n", 1);
    ASSERT_TRUE(crlf.dialog) << crlf.error;
    EXPECT_EQ(crlf.dialog->title, "T");
    ASSERT_EQ(crlf.dialog->controls.size(), 1U);
    EXPECT_EQ(crlf.dialog->controls[0].caption, "C");
    EXPECT_EQ(crlf.dialog->controls[0].height, 4);
}

TEST(DialogTemplateFormat, KindNamesRoundTrip)
{
    for (ControlKind kind :
         {ControlKind::group_box, ControlKind::static_text, ControlKind::check_box,
          ControlKind::toggle_button, ControlKind::edit, ControlKind::editable_list,
          ControlKind::drop_down_list, ControlKind::picture, ControlKind::push_button}) {
        const auto back = control_kind_from_name(control_kind_name(kind));
        ASSERT_TRUE(back.has_value()) << control_kind_name(kind);
        EXPECT_EQ(*back, kind);
    }
    EXPECT_FALSE(control_kind_from_name("slider").has_value());
}

struct MalformedCase {
    const char* name;
    const char* text;
    int line; // where the error is reported; 0 for the whole template
};

void PrintTo(const MalformedCase& c, std::ostream* os) { *os << c.name; }

class DialogTemplateMalformed : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(DialogTemplateMalformed, IsRefusedWithTheLine)
{
    const auto parsed = parse_dialog_template(GetParam().text, 9);
    EXPECT_FALSE(parsed.dialog.has_value());
    EXPECT_FALSE(parsed.error.empty());
    EXPECT_EQ(parsed.line, GetParam().line) << parsed.error;
}

const std::string kHead = "title \"T\"\nsize 10 10\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, DialogTemplateMalformed,
    ::testing::Values(
        MalformedCase{"NoTitle", "size 10 10\n", 0},
        MalformedCase{"NoSize", "title \"T\"\n", 0},
        MalformedCase{"TitleNotQuoted", "title T\nsize 10 10\n", 1},
        MalformedCase{"ZeroSize", "title \"T\"\nsize 0 10\n", 2},
        MalformedCase{"BadFont", "title \"T\"\nfont Arial 8\nsize 1 1\n", 2},
        MalformedCase{"OpenQuote", "title \"T\"\nsize 10 10\n1 static \"abc 1 1 1 1\n", 3},
        MalformedCase{"UnknownEscape", "title \"T\"\nsize 1 1\n1 static \"a\\t\" 1 1 1 1\n", 3},
        MalformedCase{"UnknownKind", "title \"T\"\nsize 1 1\n1 slider \"\" 1 1 1 1\n", 3},
        MalformedCase{"CaptionNotQuoted", "title \"T\"\nsize 1 1\n1 static abc 1 1 1 1\n", 3},
        MalformedCase{"TooFewNumbers", "title \"T\"\nsize 1 1\n1 static \"\" 1 1 1\n", 3},
        MalformedCase{"NegativeWidth", "title \"T\"\nsize 1 1\n1 static \"\" 1 1 -1 1\n", 3},
        MalformedCase{"NumberWithJunk", "title \"T\"\nsize 1 1\n1 static \"\" 1x 1 1 1\n", 3},
        MalformedCase{"ZeroId", "title \"T\"\nsize 1 1\n0 static \"\" 1 1 1 1\n", 3},
        MalformedCase{"UnknownFlag", "title \"T\"\nsize 1 1\n1 static \"\" 1 1 1 1 bold\n", 3},
        MalformedCase{"EntryWithoutText", "title \"T\"\nsize 1 1\n1 editlist \"\" 1 1 1 1 entry\n",
                      3},
        MalformedCase{"BitmapWithoutId", "title \"T\"\nsize 1 1\n- picture \"\" 1 1 1 1 bitmap\n",
                      3},
        MalformedCase{"DuplicateId",
                      "title \"T\"\nsize 1 1\n5 static \"\" 1 1 1 1\n5 check \"\" 1 1 1 1\n", 4},
        MalformedCase{"TemplateOwnId", "title \"T\"\nsize 1 1\n9 static \"\" 1 1 1 1\n", 3}),
    [](const auto& info) { return std::string(info.param.name); });

// ----- The program's templates --------------------------------------------------------------

struct ExpectedControl {
    int id;
    ControlKind kind;
    const char* caption;
    int x, y, width, height;
};

std::array<int, 4> box_of(const ControlTemplate& c) { return {c.x, c.y, c.width, c.height}; }

void expect_header(const DialogTemplate& d, const char* title, const char* face, int width,
                   int height)
{
    EXPECT_EQ(d.title, title);
    EXPECT_EQ(d.font_face, face);
    EXPECT_EQ(d.font_points, 8);
    EXPECT_EQ(d.width, width);
    EXPECT_EQ(d.height, height);
}

void expect_controls(const DialogTemplate& d, std::initializer_list<ExpectedControl> expected)
{
    for (const ExpectedControl& e : expected) {
        SCOPED_TRACE("control " + std::to_string(e.id));
        const ControlTemplate* c = d.find(e.id);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->kind, e.kind);
        EXPECT_EQ(c->caption, e.caption);
        EXPECT_EQ(box_of(*c), (std::array{e.x, e.y, e.width, e.height}));
    }
}

TEST(ProgramTemplates, GraphSettingsHasEveryControl)
{
    const auto d = load_dialog_template(kSettingsDialogTemplate);
    ASSERT_TRUE(d.has_value());
    expect_header(*d, "VORAX: Graph Settings", "MS Sans Serif", 249, 351);

    using K = ControlKind;
    expect_controls(*d, {
        {kReverseVertical, K::check_box, "Z / Y (vertical axis)", 17, 33, 75, 10},
        {kReverseY, K::check_box, "Y (For: NGL =3)", 17, 51, 64, 10},
        {kReverseX, K::check_box, "X", 120, 51, 23, 10},
        {kView, K::drop_down_list, "", 170, 50, 66, 60},
        {kInfo, K::static_text, "Info", 102, 84, 134, 20},
        {kAllNodes, K::check_box, "All", 40, 112, 26, 11},
        {kRangeLimits, K::static_text, "Range 10000-20000", 87, 112, 68, 10},
        {kRange, K::edit, "", 159, 111, 77, 12},
        {kNodeIndices, K::check_box, "On/Off", 40, 142, 36, 9},
        {kElementIndices, K::check_box, "On/Off", 122, 142, 35, 9},
        {kGridAndScale, K::check_box, "On/Off", 199, 142, 35, 9},
        {kFactor, K::editable_list, "", 63, 170, 35, 29},
        {kColorScheme, K::drop_down_list, "", 187, 176, 45, 44},
        {kStyleAuto, K::check_box, "Auto", 43, 222, 31, 10},
        {kNodeBold, K::toggle_button, "B", 43, 240, 16, 14},
        {kNodeItalic, K::toggle_button, "I", 71, 240, 16, 14},
        {kNodeUnderline, K::toggle_button, "&U", 99, 240, 16, 14},
        {kElementBold, K::toggle_button, "B", 43, 264, 16, 14},
        {kElementItalic, K::toggle_button, "I", 71, 264, 16, 14},
        {kElementUnderline, K::toggle_button, "&U", 99, 264, 16, 14},
        {kSizeAuto, K::check_box, "Auto", 199, 222, 31, 10},
        {kNodeSize, K::drop_down_list, "", 199, 242, 32, 64},
        {kElementSize, K::drop_down_list, "", 199, 264, 32, 64},
        {kTitle, K::static_text, "My Problem", 14, 299, 222, 17},
        {kDialogOk, K::push_button, "DRAW", 202, 328, 40, 16},
        {kDialogCancel, K::push_button, "Cancel", 7, 331, 35, 13},
    });
    EXPECT_EQ(d->find(kFactor)->entries, std::vector<std::string>{"Auto"});
    EXPECT_TRUE(d->find(kDialogOk)->is_default);
    EXPECT_FALSE(d->find(kDialogCancel)->is_default);
    for (int sunken : {kInfo, kRangeLimits, kTitle})
        EXPECT_TRUE(d->find(sunken)->sunken) << sunken;
    for (const auto& c : d->controls)
        EXPECT_FALSE(c.hidden) << c.caption;
}

TEST(ProgramTemplates, GraphSettingsHasItsUnnamedControls)
{
    const auto d = load_dialog_template(kSettingsDialogTemplate);
    ASSERT_TRUE(d.has_value());
    std::vector<std::string> groups;
    std::multiset<std::string> statics;
    const ControlTemplate* picture = nullptr;
    const ControlTemplate* factor_label = nullptr;
    for (const auto& c : d->controls) {
        if (c.id != kNoControlId)
            continue;
        if (c.kind == ControlKind::group_box)
            groups.push_back(c.caption);
        else if (c.kind == ControlKind::static_text)
            statics.insert(c.caption);
        else if (c.kind == ControlKind::picture)
            picture = &c;
        if (c.caption == "Increasing Factor for\nMinimum Size")
            factor_label = &c;
    }
    EXPECT_EQ(groups, (std::vector<std::string>{"AXIS ORIENTATION", "STRUCTURE DRAWING",
                                                "FONT STYLE (Indices)"}));
    EXPECT_EQ(statics, (std::multiset<std::string>{
                           "Check to Reverse Orientation vs. Standard Orientation", "View", "All Nodes",
                           "Node Indices", "Element Indices", "Grid and Scale",
                           "Increasing Factor for\nMinimum Size", "Color Scheme", "TYPE", "Node",
                           "Element", "SIZE", "Node", "Element"}));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->bitmap, 102);
    EXPECT_EQ(box_of(*picture), (std::array{200, 15, 36, 33}));
    ASSERT_NE(factor_label, nullptr);
    EXPECT_EQ(box_of(*factor_label), (std::array{15, 169, 43, 25}));
}

TEST(ProgramTemplates, ColorSchemeHasSixRoleButtonsAndAHiddenCancelAndAMissingOneIsNotLoaded)
{
    const auto d = load_dialog_template(kColorSchemeDialogTemplate);
    ASSERT_TRUE(d.has_value());
    expect_header(*d, "Color Scheme", "MS Shell Dlg", 263, 188);
    ASSERT_EQ(d->controls.size(), 8U);
    const char* roles[] = {"Line", "Grid", "Scale", "Node (Index)", "Element (Index)", "Text"};
    for (int r = 0; r < 6; ++r) {
        SCOPED_TRACE(roles[r]);
        const ControlTemplate* c = d->find(color_control::kFirstColorButton + r);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->kind, ControlKind::push_button);
        EXPECT_EQ(c->caption, roles[r]);
        EXPECT_EQ(box_of(*c), (std::array{35, 19 + 27 * r, 55, 14}));
    }
    expect_controls(*d, {{1, ControlKind::push_button, "OK", 206, 167, 50, 14},
                         {2, ControlKind::push_button, "Cancel", 151, 167, 50, 14}});
    EXPECT_TRUE(d->find(kDialogOk)->is_default);
    EXPECT_TRUE(d->find(kDialogCancel)->hidden);
    EXPECT_FALSE(d->find(kDialogOk)->hidden);
    EXPECT_FALSE(load_dialog_template(999).has_value());
}

TEST(ProgramResources, BitmapAndStyleIconsLoad)
{
    const QImage bitmap(QString::fromStdString(bitmap_resource_path(102)));
    ASSERT_FALSE(bitmap.isNull());
    // Drawn to fit the picture's 36 x 33 dialog units at the usual base units (about 6 x 12).
    EXPECT_EQ(bitmap.width(), 54);
    EXPECT_EQ(bitmap.height(), 50);

    for (const char* name : {"Bold", "Italic", "Underline"}) {
        SCOPED_TRACE(name);
        const std::string path = std::string(VORAX_SOURCE_DIR) + "/resources/uir/" + name + ".ico";
        EXPECT_FALSE(load_icon_file(path).is_null());
        const QImage image(QString::fromStdString(path), "ICO");
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(16, 16));
        // Something dark is drawn on a transparent ground.
        int dark = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                dark += qAlpha(image.pixel(x, y)) > 128 && qGray(image.pixel(x, y)) < 100;
        EXPECT_GT(dark, 10);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        // A style icon missing from uir/ is the program's built-in copy.
        EXPECT_FALSE(load_icon_file(std::string("/nonexistent/uir/") + name + ".ico").is_null());
    }
    EXPECT_TRUE(load_icon_file("/nonexistent/Strike.ico").is_null());
    EXPECT_TRUE(load_icon_file("/nonexistent/uir/").is_null());
    EXPECT_TRUE(load_icon_file("").is_null());
}

// ----- Dialog units --------------------------------------------------------------------------

struct UnitCase {
    const char* name;
    int units;
    DialogBaseUnits base;
    int x_pixels; // units * char_width / 4, rounded
    int y_pixels; // units * char_height / 8, rounded
};

void PrintTo(const UnitCase& c, std::ostream* os) { *os << c.name; }

class DialogUnits : public ::testing::TestWithParam<UnitCase> {};

TEST_P(DialogUnits, ConvertToPixels)
{
    const UnitCase& c = GetParam();
    EXPECT_EQ(dialog_x_to_pixels(c.units, c.base), c.x_pixels);
    EXPECT_EQ(dialog_y_to_pixels(c.units, c.base), c.y_pixels);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DialogUnits,
    ::testing::Values(UnitCase{"Zero", 0, {6, 13}, 0, 0},
                      UnitCase{"OneCharacter", 4, {6, 13}, 6, 7},      // 6.5 rounds up
                      UnitCase{"DialogWidth", 249, {6, 13}, 374, 405}, // 373.5 -> 374, 404.6
                      UnitCase{"DialogHeight", 351, {6, 12}, 527, 527}, // 526.5 -> 527
                      UnitCase{"Button", 16, {7, 16}, 28, 32},
                      // A substitute font's fractional units: 43 * 6.41 / 4 = 68.9,
                      // 43 * 12.3 / 8 = 66.1
                      UnitCase{"Fractional", 43, {6.41, 12.3}, 69, 66}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DialogUnitsRect, MapsPositionAndSize)
{
    ControlTemplate c;
    c.x = 202;
    c.y = 328;
    c.width = 40;
    c.height = 16;
    // 202 * 6 / 4 = 303, 328 * 12 / 8 = 492, 40 * 6 / 4 = 60, 16 * 12 / 8 = 24
    EXPECT_EQ(dialog_rect_to_pixels(c, {6, 12}), (PixelRect{303, 492, 60, 24}));
}

TEST(DialogUnitsFont, ClassicDialogFacesAreSubstitutedAndGiveNearlyTheClassicBaseUnits)
{
    EXPECT_EQ(substitute_font_face("MS Sans Serif"), "Liberation Sans");
    EXPECT_EQ(substitute_font_face("MS Shell Dlg"), "Liberation Sans");
    EXPECT_EQ(substitute_font_face("ms shell dlg 2"), "Liberation Sans");
    EXPECT_EQ(substitute_font_face("Courier New"), "Courier New");
    // The base units of an eight point font are near the classic six by thirteen.
    DialogTemplate d;
    d.font_face = "MS Sans Serif";
    d.font_points = 8;
    const DialogBaseUnits base = dialog_base_units(d);
    EXPECT_GE(base.char_width, 5);
    EXPECT_LE(base.char_width, 7);
    EXPECT_GE(base.char_height, 11);
    EXPECT_LE(base.char_height, 15);

    d.font_points = 16;
    const DialogBaseUnits larger = dialog_base_units(d);
    EXPECT_GT(larger.char_width, base.char_width);
    EXPECT_GT(larger.char_height, base.char_height);
}

} // namespace
} // namespace vorax::gwl
