#pragma once
// The language of menus and messages, fixed at start-up.

namespace vorax {

enum class UiLanguage { english, romanian };

} // namespace vorax
