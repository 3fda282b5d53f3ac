// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A list window: the child window of a list unit (the model check's findings). Rows of texts in
// columns; choosing a row with the keys or the mouse tells the program, and Enter or a
// double-click on a row asks for its action. An empty list shows one line that says so.

#include <QTreeWidget>

#include <functional>
#include <string>
#include <vector>

namespace vorax::gwl {

class ListWindow : public QTreeWidget {
    Q_OBJECT
public:
    explicit ListWindow(QWidget* parent = nullptr);

    using RowAction = std::function<void(int row)>;
    // What choosing a row does, and what Enter or a double-click on it does.
    void set_actions(RowAction chosen, RowAction activated);

    // Puts in the rows under the headings, each row one text per column; with no rows the list
    // shows `empty_text`. The first row becomes the current one, which tells `chosen`.
    void set_rows(const std::vector<std::string>& headings,
                  const std::vector<std::vector<std::string>>& rows, const std::string& empty_text);

    int row_count() const;            // the rows put in (0 for an empty list)
    int current_row() const;          // -1 for none
    bool set_current_row(int row);    // as a person would choose it
    std::string text(int row, int column) const;
    std::string empty_text() const;   // what an empty list shows; empty otherwise

private:
    RowAction chosen_;
    RowAction activated_;
    bool empty_ = true;
};

} // namespace vorax::gwl
