// SPDX-License-Identifier: GPL-3.0-or-later
#include "gwl/windows/list_window.h"

#include <QHeaderView>

#include "gwl/platform/qt_text.h"

namespace vorax::gwl {

ListWindow::ListWindow(QWidget* parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setUniformRowHeights(true); // a list of thousands of rows scrolls without measuring each
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAllColumnsShowFocus(true);
    header()->setStretchLastSection(true);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        const int row = item != nullptr && !empty_ ? indexOfTopLevelItem(item) : -1;
        if (row >= 0 && chosen_)
            chosen_(row);
    });
    // Enter on the current row and a double-click on a row.
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const int row = item != nullptr && !empty_ ? indexOfTopLevelItem(item) : -1;
        if (row >= 0 && activated_)
            activated_(row);
    });
}

void ListWindow::set_actions(RowAction chosen, RowAction activated)
{
    chosen_ = std::move(chosen);
    activated_ = std::move(activated);
}

void ListWindow::set_rows(const std::vector<std::string>& headings,
                          const std::vector<std::vector<std::string>>& rows, const std::string& empty_text)
{
    QStringList labels;
    for (const std::string& heading : headings)
        labels << qt_text(heading);
    const QSignalBlocker quiet(this);
    clear();
    setColumnCount(static_cast<int>(labels.size()));
    setHeaderLabels(labels);
    empty_ = rows.empty();
    QList<QTreeWidgetItem*> items;
    for (const std::vector<std::string>& row : rows) {
        QStringList texts;
        for (const std::string& cell : row)
            texts << qt_text(cell);
        items << new QTreeWidgetItem(texts);
    }
    if (empty_) {
        auto* item = new QTreeWidgetItem(QStringList{qt_text(empty_text)});
        item->setFlags(Qt::ItemIsEnabled); // nothing to choose
        items << item;
    }
    addTopLevelItems(items);
    if (empty_)
        setFirstColumnSpanned(0, QModelIndex(), true);
    for (int column = 0; column + 1 < columnCount(); ++column)
        resizeColumnToContents(column);
    if (!empty_)
        setCurrentItem(topLevelItem(0)); // quietly: the program marks a finding when it is chosen
}

int ListWindow::row_count() const { return empty_ ? 0 : topLevelItemCount(); }

int ListWindow::current_row() const
{
    QTreeWidgetItem* item = currentItem();
    return item != nullptr && !empty_ ? indexOfTopLevelItem(item) : -1;
}

bool ListWindow::set_current_row(int row)
{
    if (row < 0 || row >= row_count())
        return false;
    setCurrentItem(topLevelItem(row));
    return true;
}

std::string ListWindow::text(int row, int column) const
{
    if (row < 0 || row >= row_count() || column < 0 || column >= columnCount())
        return {};
    return program_text(topLevelItem(row)->text(column));
}

std::string ListWindow::empty_text() const
{
    return empty_ && topLevelItemCount() > 0 ? program_text(topLevelItem(0)->text(0)) : std::string();
}

} // namespace vorax::gwl
