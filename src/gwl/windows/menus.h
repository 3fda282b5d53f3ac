// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Menu vocabulary shared by the frame and the program: state flags and action routines.

#include <functional>
#include <string>

namespace vorax::gwl {

// The frame's own menus, numbered in bar order; the program's menus follow them. Items count
// from 1, separators included; item 0 is the menu itself.
inline constexpr int kFileMenu = 1;
inline constexpr int kEditMenu = 2;
inline constexpr int kViewMenu = 3;
inline constexpr int kStateMenu = 4;
inline constexpr int kWindowMenu = 5;
inline constexpr int kHelpMenu = 6;
inline constexpr int kFirstProgramMenu = 7;
inline constexpr int kMenuItself = 0;

// Items of the Help menu.
inline constexpr int kHelpContentsItem = 1;
inline constexpr int kUsingHelpItem = 2;
inline constexpr int kAboutItem = 3;

// Menu state flags; they combine.
namespace menu_flag {
inline constexpr unsigned kGrayed = 1;    // shown gray, not selectable
inline constexpr unsigned kDisabled = 2;  // not selectable, drawn normally
inline constexpr unsigned kEnabled = 4;
inline constexpr unsigned kSeparator = 8;
inline constexpr unsigned kChecked = 16;
inline constexpr unsigned kUnchecked = 32;
} // namespace menu_flag

// What a menu item does when chosen: nothing, the frame's Exit, or a routine of the program
// (run on the user-interface thread, one at a time).
struct MenuAction {
    enum class Kind { none, exit, routine };
    Kind kind = Kind::none;
    std::function<void()> routine;
};

inline MenuAction menu_no_action() { return {}; }
inline MenuAction menu_exit_action() { return {MenuAction::Kind::exit, {}}; }
inline MenuAction menu_routine(std::function<void()> routine)
{
    return {MenuAction::Kind::routine, std::move(routine)};
}

// A text without "&" gets one in front, so that its first letter becomes the mnemonic.
std::string with_mnemonic(const std::string& text);

} // namespace vorax::gwl
