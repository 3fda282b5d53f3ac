// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the manual page from its template at build time: the OPTIONS section comes from the
// program's own option list, so that the page and `vorax --help` say the same.
//
//   vorax_write_manual TEMPLATE OUTPUT VERSION
//
// In the template, a line "@OPTIONS@" becomes the options, group by group, and "@VORAX_VERSION@"
// the version.

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>

#include "app/command_line.h"

namespace {

// Text for roff: a backslash and a hyphen written as roff wants them, and a line that would
// start with a control character made plain.
std::string roff(std::string_view text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\''))
        out.insert(0, "\\&");
    return out;
}

std::string options_section()
{
    using vorax::OptionGroup;
    std::string page = ".PP\n" + roff(vorax::command_line_rules()) + '\n';
    for (const OptionGroup group : {OptionGroup::mode, OptionGroup::window, OptionGroup::export_picture,
                                    OptionGroup::general, OptionGroup::toolkit}) {
        page += ".SS \"" + roff(vorax::group_heading(group)) + "\"\n";
        for (const vorax::OptionSpec& spec : vorax::command_line_options()) {
            if (spec.group != group)
                continue;
            page += ".TP\n";
            for (char alias : spec.aliases)
                page += "\\fB" + roff(std::string("-") + alias) + "\\fR, ";
            page += "\\fB" + roff((group == OptionGroup::toolkit ? "-" : "--") + std::string(spec.name)) + "\\fR";
            if (!spec.value.empty())
                page += " \\fI" + roff(spec.value) + "\\fR";
            if (!spec.operands.empty())
                page += " \\fI" + roff(spec.operands) + "\\fR";
            page += '\n' + roff(spec.help) + '\n';
        }
    }
    return page;
}

void replace_all(std::string& text, std::string_view what, std::string_view with)
{
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: vorax_write_manual TEMPLATE OUTPUT VERSION\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in.is_open()) {
        std::cerr << "vorax_write_manual: cannot read " << argv[1] << '\n';
        return 1;
    }
    std::string page(std::istreambuf_iterator<char>(in), {});
    if (page.find("\n@OPTIONS@\n") == std::string::npos) {
        std::cerr << "vorax_write_manual: " << argv[1] << " has no line @OPTIONS@\n";
        return 1;
    }
    replace_all(page, "\n@OPTIONS@\n", '\n' + options_section());
    replace_all(page, "@VORAX_VERSION@", argv[3]);
    std::ofstream out(argv[2], std::ios::binary);
    out << page;
    out.close();
    if (!out) {
        std::cerr << "vorax_write_manual: cannot write " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
