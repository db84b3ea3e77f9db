// An omission table 遗漏统计 as the 走势图 window shows one: sortable by every column, the
// current omission drawn as a bar.
#pragma once

#include <QString>

class QTableView;
class QWidget;

namespace drawfollow {

class OmissionTableModel;

QTableView* omissionTableView(QWidget* parent, OmissionTableModel* model, const QString& objectName);

}  // namespace drawfollow
