// A grid model's cells as figures and texts, for the files written from what a grid shows:
// a model that keeps figures hands each over as a GridCell under kGridCellRole, so that the
// spreadsheet stores the number and its format rather than a text read back.
#pragma once

#include "store/grid_cell.h"

#include <QAbstractItemModel>
#include <QMetaType>
#include <QString>

Q_DECLARE_METATYPE(drawfollow::GridCell)

namespace drawfollow {

inline constexpr int kGridCellRole = Qt::UserRole + 64;

// The cell the model keeps at `index`; its shown text, as text, where it keeps none.
GridCell shownCell(const QModelIndex& index);
// The same for a header.
GridCell shownHeader(const QAbstractItemModel& model, int section, Qt::Orientation orientation);

// The whole grid, its header row first (with `corner` before the column headers and each
// row's header before its cells when `rowHeaders` says so).
CellGrid shownGrid(const QAbstractItemModel& model, bool rowHeaders = false, const QString& corner = {});

}  // namespace drawfollow
