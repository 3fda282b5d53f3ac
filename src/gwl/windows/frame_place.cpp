// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/windows/frame_place.h"

namespace vorax::gwl {

bool fits_within(const WindowRect& room, const WindowRect& rect)
{
    return rect.width > 0 && rect.height > 0 && rect.x >= room.x && rect.y >= room.y
           && rect.x + rect.width <= room.x + room.width
           && rect.y + rect.height <= room.y + room.height;
}

WindowRect starting_frame_size(const WindowRect& room, const std::optional<WindowRect>& remembered)
{
    if (remembered && remembered->width >= kSmallestRememberedWidth
        && remembered->height >= kSmallestRememberedHeight && remembered->width <= room.width
        && remembered->height <= room.height)
        return {0, 0, remembered->height, remembered->width};
    return {0, 0, room.height * 9 / 10, room.width * 9 / 10};
}

std::optional<WindowRect> restored_frame_place(const WindowRect& room,
                                               const std::optional<WindowRect>& remembered,
                                               const WindowRect& frame)
{
    if (!remembered || !fits_within(room, *remembered))
        return std::nullopt;
    // The frame as it is now, with its decorations, must fit there as well.
    const WindowRect place{remembered->x, remembered->y, frame.height, frame.width};
    if (!fits_within(room, place))
        return std::nullopt;
    return place;
}

} // namespace vorax::gwl
