// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Records that the graphics window layer exchanges with the program, in the program's terms.
// Nothing here depends on Qt.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/color.h"

namespace vorax::gwl {

// Window units: 9 is the info window, 10..19 are graph windows.
using Unit = int;
inline constexpr Unit kInfoUnit = 9;
inline constexpr Unit kFirstGraphUnit = 10;
inline constexpr Unit kLastGraphUnit = 19;
inline constexpr Unit kNoUnit = -1;
inline constexpr Unit kFrameWindow = 0; // names the frame in get_window_size / set_window_size

// What a unit's child window shows.
enum class WindowKind { text, graphics, list };

// Position and size of a window in pixels.
struct WindowRect {
    int x = 0;
    int y = 0;
    int height = 0;
    int width = 0;
};

// A point in real window coordinates (the mapping set by set_window).
struct WindowPoint {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const WindowPoint&, const WindowPoint&) = default;
};

// A line between two points in window coordinates.
struct WindowLine {
    WindowPoint from;
    WindowPoint to;
};

// A pixel of a window's drawing area; (0, 0) is the top-left corner. A different type from
// WindowPoint on purpose, so that the two cannot be mixed up.
struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// A rectangle of pixels of a drawing area: left, top, width and height.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The smallest rectangle that holds both; an empty rectangle adds nothing.
inline PixelRect united(const PixelRect& a, const PixelRect& b)
{
    if (a.empty())
        return b;
    if (b.empty())
        return a;
    const int left = a.x < b.x ? a.x : b.x;
    const int top = a.y < b.y ? a.y : b.y;
    const int right = a.x + a.width > b.x + b.width ? a.x + a.width : b.x + b.width;
    const int bottom = a.y + a.height > b.y + b.height ? a.y + a.height : b.y + b.height;
    return {left, top, right - left, bottom - top};
}

// Saved pixels of a drawing surface (get_image_w / put_image_w). The caller owns the block and
// sizes it with image_size_w; its layout is the surface's own.
using ImageBuffer = std::vector<std::uint8_t>;

// Configuration of the active window (get_window_config).
struct WindowConfig {
    std::int16_t pixels_x = 0;     // pixels across the drawing area
    std::int16_t pixels_y = 0;     // pixels down the drawing area
    std::int16_t text_columns = 0; // columns of the text layer
    std::int16_t text_rows = 0;    // rows of the text layer
    std::int16_t colors = 0;       // number of colours (-1 for true colour)
    std::int32_t font_size = 0;    // not read by the program
    std::string title;             // up to 80 characters
    std::int16_t bits_per_pixel = 0;
};

struct TextPosition {
    std::int16_t row = 1;
    std::int16_t column = 1;
};

// Description of the current font (get_font_info).
struct FontInfo {
    std::int32_t type = 0;          // 1 scalable, 0 raster
    std::int32_t ascent = 0;        // pixels
    std::int32_t pixel_width = 0;   // 0 for a proportional font
    std::int32_t pixel_height = 0;  // height of the character cell
    std::int32_t avg_char_width = 0;
    std::string file_name;          // 81 blanks
    std::string face_name;          // 32 characters, blank-padded
    bool italic = false;
    bool bold = false;
    bool underline = false;
};

// Outcome of the last drawing-surface operation: 0 success, negative error, positive warning.
using GraphicsStatus = std::int16_t;
namespace status {
inline constexpr GraphicsStatus kOk = 0;
inline constexpr GraphicsStatus kError = -1;
inline constexpr GraphicsStatus kInvalidParameter = -4;
inline constexpr GraphicsStatus kNoMemory = -8;
inline constexpr GraphicsStatus kNothingDrawn = 1;
inline constexpr GraphicsStatus kClipped = 2;
inline constexpr GraphicsStatus kReordered = 3;
} // namespace status

// Shape controls and image actions as the program passes them.
inline constexpr int kFillOutline = 2;
inline constexpr int kFillInterior = 3;
inline constexpr int kActionCopy = 3;

// Mouse event bits.
namespace mouse {
inline constexpr int kLeftDown = 1;
inline constexpr int kLeftUp = 2;
inline constexpr int kLeftDoubleClick = 4;
inline constexpr int kRightDown = 8;
inline constexpr int kRightUp = 16;
inline constexpr int kRightDoubleClick = 32;
inline constexpr int kMove = 64;
inline constexpr int kAllEvents = 127;
// Key state flags reported with an event.
inline constexpr int kKeyLeftButton = 1;
inline constexpr int kKeyRightButton = 2;
inline constexpr int kKeyShift = 4;
inline constexpr int kKeyControl = 8;
inline constexpr int kKeyMiddleButton = 16;
} // namespace mouse

// The result of a mouse wait: the event bit (or -1), the key state, the pixel position in the
// drawing area.
struct MouseEventResult {
    int event = -1;
    int key_state = 0;
    int x = 0;
    int y = 0;
};

// What a graph window's picture shows near a point of its drawing area, as a text for the
// person (empty: nothing there). The point is in drawing-area pixels with fractions;
// `per_screen_pixel` is how many of them one screen pixel spans, so that "near" can be measured
// as the person sees it.
using PointingSource = std::function<std::string(double x, double y, double per_screen_pixel)>;

// Message box style bits and results, with the values the program's callers pass.
namespace mb {
inline constexpr unsigned kOk = 0x0;
inline constexpr unsigned kOkCancel = 0x1;
inline constexpr unsigned kRetryCancel = 0x5;
inline constexpr unsigned kYesNo = 0x4;
inline constexpr unsigned kButtonMask = 0xF;
inline constexpr unsigned kIconError = 0x10;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconWarning = 0x30;
inline constexpr unsigned kIconInformation = 0x40;
inline constexpr unsigned kIconMask = 0xF0;
inline constexpr unsigned kSystemModal = 0x1000;
inline constexpr unsigned kTaskModal = 0x2000;

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdRetry = 4;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
} // namespace mb

} // namespace vorax::gwl
