#pragma once
// Every text the program shows, in English and Romanian, in one table.

#include <string>
#include <string_view>

#include "app/language.h"

namespace vorax {

enum class Message {
    NewGraphMenu,       // the program's top-level menu
    BackToSettings,
    ZoomMouse,
    NewGraph,
    ExitItem,
    ZoomRefusal,        // composed at start-up, lines separated by CR
    GraphLimit,         // composed at start-up, lines separated by CR
};

// The text of a message in a language.
std::string_view message(Message id, UiLanguage language);

} // namespace vorax
