#include "core/messages.h"

#include <array>
#include <utility>

namespace vorax {

namespace {

struct Entry {
    Message id;
    std::string_view english;
    std::string_view romanian;
};

constexpr std::array kTable{
    Entry{Message::NewGraphMenu, "NEW GRAPH", "NOU GRAF"},
    Entry{Message::BackToSettings, "BACK to Settings ...", "INAPOI la Setari ..."},
    Entry{Message::ZoomMouse, "ZOOM (Mouse) ...", "ZOOM (Mouse) ..."},
    Entry{Message::NewGraph, "NEW Graph ...", "NOU Graf ..."},
    Entry{Message::ExitItem, "EXIT", "IESIRE"},
    Entry{Message::ZoomRefusal,
          "ZOOM (Mouse) is allowed only for the last drawn graph (last window).\r"
          "For this window, first redraw the graph via the menu:\r"
          "\"NEW GRAPH\" -> NEW Graph or BACK to settings.",
          "ZOOM (Mouse) este permis numai pentru ultimul graf construit (ultima fereastra).\r"
          "Pentru aceasta fereastra, mai intai redesenati graful prin meniu:\r"
          "\"NOU GRAF\" -> NOU Graf sau INAPOI la setari."},
    Entry{Message::GraphLimit, "10 graphs limit is reaches.\rRun a new instance of VORAX",
          "S-a atins limita de 10 grafuri.\rRuleaza din nou VORAX"},
    Entry{Message::GroupErrorText, "Error in group No. ", "Eroare in grupul nr. "},
    Entry{Message::GroupErrorCaption, "Vorax Message", "Mesaj VORAX"},
    Entry{Message::FactorWarning, "WARNING: Factor can not equal 0.!\n\nFactor = 1 has been set.",
          "ATENTIE: Factor nu poate fi egal cu 0.!\n\nS-a setat Factor = 1."},
    Entry{Message::MessageCaption, "VORAX Message", "Mesaj VORAX"},
    Entry{Message::GraphHeadingSuffix, " Structure Graph", " Graful Structurii"},
    Entry{Message::NodeLineStart, "Nodes ", "Nodurile "},
    Entry{Message::NodeLineEnd, " nodes)", " noduri)"},
    Entry{Message::WrongInputFile, "Wrong Input File", "Fisier de intrare eronat"},
    Entry{Message::ModelCheckStart, " * Model check: ", " * Verificare model: "},
    Entry{Message::ModelCheckWarning, " warning", " avertisment"},
    Entry{Message::ModelCheckWarnings, " warnings", " avertismente"},
    Entry{Message::ModelCheckListsIt, " lists it)", " il listeaza)"},
    Entry{Message::ModelCheckListsThem, " lists them)", " le listeaza)"},
};

} // namespace

std::string_view message(Message id, UiLanguage language)
{
    for (const Entry& e : kTable)
        if (e.id == id)
            return language == UiLanguage::Romanian ? e.romanian : e.english;
    return {};
}

} // namespace vorax
