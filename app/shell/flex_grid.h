// The window's grids (history, hits, tally): a read-only QTableView that scrolls exactly one row
// per wheel notch, stops at the top row, and reports a right-button release and a
// double click anywhere on it.
#pragma once

#include <QTableView>

#include <span>

namespace drawfollow {

class FlexGrid final : public QTableView {
    Q_OBJECT

public:
    explicit FlexGrid(const QString& objectName, QWidget* parent = nullptr);

    // Sets column widths given in twips.
    void setColumnWidthsTwips(std::span<const int> twips);
    // Brings the last row into view and keeps it there while the grid is resized or rows
    // are added, until the user scrolls: the newest draw stays in view after a refresh.
    void keepLastRowInView();
    // Widens a column, if need be, so that the sample text fits.
    void fitColumnTo(int column, const QString& sample);

signals:
    void rightButtonReleased(const QPoint& globalPos);
    // On a cell, on the header row or on the empty space below the rows: a grid that
    // shows only its header row can be double-clicked too.
    void gridDoubleClicked();

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int wheelRemainder_ = 0;
    bool pinnedToBottom_ = false;
};

}  // namespace drawfollow
