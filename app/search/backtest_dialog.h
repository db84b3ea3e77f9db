// What a backtest found: each target with the values the search put on top and how many
// of them were drawn, the hits adding up against chance, and the verdict in words.
#pragma once

#include "analysis/backtest.h"
#include "store/grid_cell.h"

#include <QDialog>

namespace drawfollow {

// The per-target table, header row first.
CellGrid backtestTable(const BacktestResult& result);

class BacktestDialog final : public QDialog {
    Q_OBJECT

public:
    // `searchName`: 跟随检索 or 组合检索. Deleted when closed.
    BacktestDialog(const BacktestResult& result, const QString& searchName, QWidget* parent);
};

}  // namespace drawfollow
