// Blocks stacked top to bottom in up to a given number of columns, as many as the width
// allows, keeping their order: reading down the first column, then the next. A narrow
// panel gets fewer, taller columns instead of clipped blocks.
#pragma once

#include <QLayout>

#include <vector>

namespace drawfollow {

class ColumnFlowLayout final : public QLayout {
public:
    explicit ColumnFlowLayout(int maxColumns, QWidget* parent = nullptr);
    ~ColumnFlowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;

    // The widest arrangement; the narrowest one is the minimum.
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    Qt::Orientations expandingDirections() const override { return {}; }
    void setGeometry(const QRect& rect) override;

    // How many columns the blocks take at this width (margins included).
    int columnsAt(int width) const;

private:
    struct Arrangement {
        std::vector<int> shown;          // the blocks in sight, by index
        std::vector<int> firstOfColumn;  // index into `shown` of each column's first block
        std::vector<int> widths;         // each column's width
        int width = 0;                   // the columns and the spacing between them
        int height = 0;                  // the tallest column
    };
    Arrangement arrange(int columns) const;
    int spacingOrDefault() const;

    std::vector<QLayoutItem*> items_;
    int maxColumns_;
};

// Where each column begins when `heights` are cut into `columns` runs in order, so that
// the tallest run (blocks plus `spacing` between them) is as short as it can be.
std::vector<int> balancedColumnStarts(const std::vector<int>& heights, int columns, int spacing);

}  // namespace drawfollow
