// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The language of menus and messages, fixed at start-up.

namespace vorax {

enum class UiLanguage { english, romanian };

} // namespace vorax
