// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Ending the program from deep inside a menu action.
//
// A fatal path (Cancel in the wrong-file box, a file not found three times, a font failure, a
// window that did not open) throws ProgramExit. It is caught at the boundary of the menu action
// and at the top of the program thread, which end the event loop with `status`. Tests catch the
// same type. Library code never calls std::exit or abort.

#include <string>

namespace vorax {

struct ProgramExit {
    int status = 0;
    std::string message; // shown or logged by the catcher when not empty
};

} // namespace vorax
