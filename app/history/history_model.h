// The history grid's model: one row per stored draw in issue order, the issue
// and its eight numbers as plain integers.
#pragma once

#include "app/shell/centred_text_model.h"
#include "store/draw_row.h"

#include <vector>

namespace drawfollow {

class HistoryModel final : public CentredTextModel {
    Q_OBJECT

public:
    enum Column { IssueColumn = 0, FirstNumberColumn = 1, SpecialColumn = 8, ColumnCount = 9 };

    struct Row {
        int issue = 0;
        Numbers numbers{};
    };

    using CentredTextModel::CentredTextModel;

    void reset(const std::vector<StoredDraw>& draws);
    void append(const StoredDraw& draw);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // "期号", "平1码" … "平7码", "特码".
    static QString header(int column);

private:
    int valueAt(int row, int column) const;
    QString textAt(int row, int column) const override;
    GridCell cellAt(int row, int column) const override;
    static Row rowOf(const StoredDraw& draw);
    std::vector<Row> rows_;
};

}  // namespace drawfollow
