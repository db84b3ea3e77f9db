#include "app/shell/row_choice_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace drawfollow {

RowChoiceDialog::RowChoiceDialog(const QString& title, const QString& prompt, const QStringList& columns,
                                 const QList<QStringList>& rows, QWidget* parent)
    : QDialog(parent), table_(new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(columns.size()), this)) {
    setWindowTitle(title);
    table_->setObjectName(QStringLiteral("rowChoiceTable"));
    table_->setHorizontalHeaderLabels(columns);
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size() && c < columns.size(); ++c)
            table_->setItem(r, c, new QTableWidgetItem(rows[r][c]));
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setStretchLastSection(true);
    if (!rows.isEmpty())
        table_->selectRow(0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(table_, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(prompt, this);
    label->setWordWrap(true);
    layout->addWidget(label);
    layout->addWidget(table_, 1);
    layout->addWidget(buttons);
    // Every column in sight, as far as the screen allows.
    int tableWidth = table_->frameWidth() * 2 + table_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int c = 0; c < table_->columnCount(); ++c)
        tableWidth += table_->columnWidth(c);
    const QMargins margins = layout->contentsMargins();
    const int wanted = tableWidth + margins.left() + margins.right();
    const int room = screen()->availableGeometry().width() - 40;
    resize(std::clamp(wanted, 640, std::max(640, room)), 360);
}

std::optional<int> RowChoiceDialog::chosenRow() const {
    const auto selected = table_->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return std::nullopt;
    return selected.first().row();
}

}  // namespace drawfollow
