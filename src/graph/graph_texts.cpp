#include "graph/graph_texts.h"

#include <algorithm>

#include "core/messages.h"
#include "core/text.h"

namespace vorax {

std::string graph_heading(std::string_view program_label, UiLanguage language)
{
    std::string heading(trim_right(program_label));
    heading += message(Message::graph_heading_suffix, language);
    return pad_right(heading, kGraphHeadingLength);
}

std::string node_line(std::string_view range_text, int node_count, UiLanguage language)
{
    std::string line(message(Message::node_line_start, language));
    line += trim_right(range_text);
    line += " (" + std::to_string(node_count)
        + std::string(message(Message::node_line_end, language));
    return std::string(trim_right(cut(line, kNodeLineLength)));
}

std::string title_text(std::string_view text)
{
    return std::string(trim_right(cut(text, kTitleLength)));
}

int centred_column(int text_columns, std::size_t length)
{
    const long long column = (static_cast<long long>(text_columns) - static_cast<long long>(length)) / 2;
    return static_cast<int>(std::max(column, 1LL));
}

} // namespace vorax
