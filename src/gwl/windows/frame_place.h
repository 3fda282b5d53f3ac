// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the frame opens. The start-up centres it on the screen; these rules give it its size
// before that, and put it back where the person left it in an earlier run when it still fits.
// Rectangles are the screen's available area ("room") and the frame's outside; no Qt here.

#include <optional>

#include "gwl/types.h"

namespace vorax::gwl {

// The smallest frame brought back from an earlier run; a smaller one is taken as damaged.
inline constexpr int kSmallestRememberedWidth = 320;
inline constexpr int kSmallestRememberedHeight = 240;

// The rectangle lies wholly inside the room.
bool fits_within(const WindowRect& room, const WindowRect& rect);

// The frame's size at start (x and y 0): the remembered size when the room holds it, else nine
// tenths of the room in each direction.
WindowRect starting_frame_size(const WindowRect& room, const std::optional<WindowRect>& remembered);

// The remembered place for a frame of the size it has now, when both the remembered rectangle
// and the frame there lie wholly inside the room; none otherwise (the start-up then centres it).
std::optional<WindowRect> restored_frame_place(const WindowRect& room,
                                               const std::optional<WindowRect>& remembered,
                                               const WindowRect& frame);

} // namespace vorax::gwl
