#include "app/trend/omission_table_view.h"

#include "app/trend/omission_bar_delegate.h"
#include "app/trend/omission_table_model.h"

#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QTableView>

namespace drawfollow {

QTableView* omissionTableView(QWidget* parent, OmissionTableModel* model, const QString& objectName) {
    auto* sorted = new QSortFilterProxyModel(parent);
    sorted->setSourceModel(model);
    sorted->setSortRole(OmissionTableModel::SortRole);
    auto* table = new QTableView(parent);
    table->setObjectName(objectName);
    table->setModel(sorted);
    table->setItemDelegate(new OmissionBarDelegate(table));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSortingEnabled(true);
    table->sortByColumn(0, Qt::AscendingOrder);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    return table;
}

}  // namespace drawfollow
