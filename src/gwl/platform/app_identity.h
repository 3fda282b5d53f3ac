// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the program names itself to the desktop.

namespace vorax::gwl {

// The name of the installed desktop entry (share/applications/vorax.desktop) without ".desktop".
inline constexpr const char* kDesktopEntryName = "vorax";

// Gives the application its name, organisation and desktop entry, and, when it has windows, the
// program's icon, so that task bars and docks group its windows under its menu entry. Call once
// the application object exists.
void identify_application();

} // namespace vorax::gwl
