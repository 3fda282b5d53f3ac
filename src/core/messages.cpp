// SPDX-License-Identifier: GPL-3.0-or-later
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
    Entry{Message::new_graph_menu, "NEW GRAPH", "NOU GRAF"},
    Entry{Message::back_to_settings, "BACK to Settings ...", "INAPOI la Setari ..."},
    Entry{Message::zoom_mouse, "ZOOM (Mouse) ...", "ZOOM (Mouse) ..."},
    Entry{Message::new_graph, "NEW Graph ...", "NOU Graf ..."},
    Entry{Message::exit_item, "EXIT", "IESIRE"},
    Entry{Message::zoom_refusal,
          "ZOOM (Mouse) is allowed only for the last drawn graph (last window).\r"
          "For this window, first redraw the graph via the menu:\r"
          "\"NEW GRAPH\" -> NEW Graph or BACK to settings.",
          "ZOOM (Mouse) este permis numai pentru ultimul graf construit (ultima fereastra).\r"
          "Pentru aceasta fereastra, mai intai redesenati graful prin meniu:\r"
          "\"NOU GRAF\" -> NOU Graf sau INAPOI la setari."},
    Entry{Message::graph_limit, "10 graphs limit is reaches.\rRun a new instance of VORAX",
          "S-a atins limita de 10 grafuri.\rRuleaza din nou VORAX"},
    Entry{Message::group_error_text, "Error in group No. ", "Eroare in grupul nr. "},
    Entry{Message::group_error_caption, "Vorax Message", "Mesaj VORAX"},
    Entry{Message::factor_warning, "WARNING: Factor can not equal 0.!\n\nFactor = 1 has been set.",
          "ATENTIE: Factor nu poate fi egal cu 0.!\n\nS-a setat Factor = 1."},
    Entry{Message::factor_negative_warning, "WARNING: Factor can not be negative!\n\nFactor = 1 has been set.",
          "ATENTIE: Factor nu poate fi negativ!\n\nS-a setat Factor = 1."},
    Entry{Message::message_caption, "VORAX Message", "Mesaj VORAX"},
    Entry{Message::graph_heading_suffix, " Structure Graph", " Graful Structurii"},
    Entry{Message::node_line_start, "Nodes ", "Nodurile "},
    Entry{Message::node_line_end, " nodes)", " noduri)"},
    Entry{Message::wrong_input_file, "Wrong Input File", "Fisier de intrare eronat"},
    Entry{Message::model_check_start, " * Model check: ", " * Verificare model: "},
    Entry{Message::model_check_warning, " warning", " avertisment"},
    Entry{Message::model_check_warnings, " warnings", " avertismente"},
    Entry{Message::model_check_lists_it, " lists it)", " il listeaza)"},
    Entry{Message::model_check_lists_them, " lists them)", " le listeaza)"},
    Entry{Message::pointed_node, "Node ", "Nod "},
    Entry{Message::pointed_element, "Element ", "Element "},
    Entry{Message::pointed_nodes, "  nodes ", "  noduri "},
    Entry{Message::pointed_length, "  length ", "  lungime "},
    Entry{Message::pointed_codes, "  codes", "  coduri"},
    Entry{Message::pointed_values, "  values", "  valori"},
    Entry{Message::pointed_fixed, "  fixed", "  fix"},
    Entry{Message::pointed_free, "  free", "  liber"},
    Entry{Message::pointed_line, "  (line ", "  (linia "},
    Entry{Message::pointed_lines, "  (lines ", "  (liniile "},
    Entry{Message::pointed_no_coordinates, "  (no coordinate record)",
          "  (fara inregistrare de coordonate)"},
    Entry{Message::reading_progress, "Reading model … ", "Citire model … "},
    Entry{Message::checking_progress, "Checking model …", "Verificare model …"},
    Entry{Message::out_of_memory, "Not enough memory to finish the command.",
          "Memorie insuficienta pentru a termina comanda."},
    Entry{Message::drawing_progress, "Drawing graph … ", "Desenare graf … "},
    Entry{Message::reloaded, " * Reloaded: ", " * Reincarcat: "},
    Entry{Message::unchanged, "unchanged", "neschimbat"},
    Entry{Message::nodes, "node|nodes", "nod|noduri"},
    Entry{Message::elements, "element|elements", "element|elemente"},
    Entry{Message::nodes_added, "node added|nodes added", "nod adaugat|noduri adaugate"},
    Entry{Message::nodes_removed, "node removed|nodes removed", "nod eliminat|noduri eliminate"},
    Entry{Message::nodes_moved, "node moved|nodes moved", "nod mutat|noduri mutate"},
    Entry{Message::elements_added, "element added|elements added", "element adaugat|elemente adaugate"},
    Entry{Message::elements_removed, "element removed|elements removed",
          "element eliminat|elemente eliminate"},
    Entry{Message::elements_changed, "element changed|elements changed",
          "element modificat|elemente modificate"},
    Entry{Message::supports_changed, "support changed|supports changed",
          "reazem modificat|reazeme modificate"},
    Entry{Message::title_changed, "title changed", "titlu modificat"},
    Entry{Message::now_plane, "now plane", "acum plan"},
    Entry{Message::now_spatial, "now spatial", "acum spatial"},
    Entry{Message::reload_menu, "&Reload Model", "&Reincarca modelul"},
    Entry{Message::watch_menu, "&Watch Model File", "&Urmareste fisierul modelului"},
    Entry{Message::show_changes_menu, "Show &Changes", "Arata &modificarile"},
    Entry{Message::watching, "Watching ", "Urmarire "},
    Entry{Message::read_line_word, " line ", " linia "},
    Entry{Message::showing_version, " — showing the version read at ",
          " — se arata versiunea citita la "},
    Entry{Message::file_gone, "the file is gone", "fisierul nu mai exista"},
    Entry{Message::model_check_menu, "&Model Check", "&Verificare model"},
    Entry{Message::model_check_title, "Model Check", "Verificare model"},
    Entry{Message::check_line_column, "Line", "Linia"},
    Entry{Message::check_kind_column, "Kind", "Tipul"},
    Entry{Message::check_finding_column, "Finding", "Constatare"},
    Entry{Message::no_findings, "No findings", "Nicio constatare"},
    Entry{Message::more_findings, " more findings not listed", " alte constatari nelistate"},
    Entry{Message::model_check_f8, " (F8", " (F8"},
    Entry{Message::finding_not_drawn, "No graph window shows what this finding is about",
          "Nicio fereastra de graf nu arata ce priveste aceasta constatare"},
    Entry{Message::edit_at_line_menu, "&Edit Model at Line", "&Editeaza modelul la linie"},
    Entry{Message::editing_at_line, ": opened in the editor at line ", ": deschis in editor la linia "},
    Entry{Message::editor_failed, "The editor could not be started: ", "Editorul nu a putut fi pornit: "},
    Entry{Message::nothing_pointed, "Point at a node or an element, or choose a finding, to edit its line",
          "Indicati un nod sau un element, sau alegeti o constatare, pentru a-i edita linia"},
    Entry{Message::also_node_here, " — also node ", " — aici si nodul "},
    Entry{Message::also_nodes_here, " — also nodes ", " — aici si nodurile "},
    Entry{Message::here_word, " here", ""},
    Entry{Message::find_menu, "&Find...", "&Cauta..."},
    Entry{Message::find_caption, "Find", "Cautare"},
    Entry{Message::find_prompt, "Node or element (17, node 17, n17, element 31, e31):",
          "Nod sau element (17, nod 17, n17, element 31, e31):"},
    Entry{Message::find_unreadable, "Not a node or an element: ", "Nu este un nod sau un element: "},
    Entry{Message::find_no_such_node, " does not exist: the model has nodes 1-",
          " nu exista: modelul are nodurile 1-"},
    Entry{Message::find_no_such_element, " does not exist: the model has elements 1-",
          " nu exista: modelul are elementele 1-"},
    Entry{Message::find_not_drawn, "No graph window shows ", "Nicio fereastra de graf nu arata "},
    Entry{Message::find_no_model, "No model is loaded to find a node or an element in",
          "Niciun model incarcat in care sa se caute un nod sau un element"},
    Entry{Message::cancel_button, "Cancel", "Renunta"},
    Entry{Message::node_word, "node ", "nodul "},
    Entry{Message::element_word, "element ", "elementul "},
    Entry{Message::measure_anchor, " — Shift+click another node to measure the distance",
          " — Shift+clic pe alt nod pentru a masura distanta"},
    Entry{Message::measure_to, " → node ", " → nod "},
};

} // namespace

std::string_view message(Message id, UiLanguage language)
{
    for (const Entry& e : kTable)
        if (e.id == id)
            return language == UiLanguage::romanian ? e.romanian : e.english;
    return {};
}

std::string progress_text(Message id, int percent, UiLanguage language)
{
    return std::string(message(id, language)) + std::to_string(percent) + "%";
}

std::string count_text(Message id, std::int64_t count, UiLanguage language)
{
    const std::string_view forms = message(id, language);
    const std::size_t bar = forms.find('|');
    const std::string_view form = count == 1 ? forms.substr(0, bar) : forms.substr(bar + 1);
    const std::int64_t last_two = count % 100;
    const bool de = language == UiLanguage::romanian && count >= 20 && (last_two == 0 || last_two >= 20);
    return std::to_string(count) + (de ? " de " : " ") + std::string(form);
}

} // namespace vorax
