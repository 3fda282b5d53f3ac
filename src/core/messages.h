#pragma once
// Every text the program shows in both languages, English and Romanian, in one table keyed by
// message. Texts that exist in one form only stay where they are used.

#include <string>
#include <string_view>

#include "core/language.h"

namespace vorax {

enum class Message {
    NewGraphMenu,       // the program's top-level menu
    BackToSettings,
    ZoomMouse,
    NewGraph,
    ExitItem,
    ZoomRefusal,        // composed at start-up, lines separated by CR
    GraphLimit,         // composed at start-up, lines separated by CR
    GroupErrorText,     // "Error in group No. " + i + ": " + first + "-" + last
    GroupErrorCaption,
    FactorWarning,      // lines separated by LF
    MessageCaption,     // "VORAX Message" / "Mesaj VORAX"
    GraphHeadingSuffix, // after the program label in a graph window's heading
    NodeLineStart,      // node_line: this, the ranges, " (", the count, NodeLineEnd
    NodeLineEnd,
    WrongInputFile,
    ModelCheckStart,     // the line after a load with findings: this, the count, the word for
    ModelCheckWarning,   // one or more warnings, " (vorax --check ", the model, and the end
    ModelCheckWarnings,
    ModelCheckListsIt,
    ModelCheckListsThem,
};

// The text of a message in a language.
std::string_view message(Message id, UiLanguage language);

} // namespace vorax
