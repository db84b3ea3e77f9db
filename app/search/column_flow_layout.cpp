#include "app/search/column_flow_layout.h"

#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <numeric>

namespace drawfollow {

std::vector<int> balancedColumnStarts(const std::vector<int>& heights, int columns, int spacing) {
    const int n = static_cast<int>(heights.size());
    const int k = std::clamp(columns, 1, std::max(n, 1));
    // runHeight(a, b): blocks a..b-1 stacked with spacing between them.
    const auto runHeight = [&](int a, int b) {
        return std::accumulate(heights.begin() + a, heights.begin() + b, 0) + spacing * (b - a - 1);
    };
    // best[c][i]: the tallest of c runs over the first i blocks, made as short as possible;
    // cut[c][i] the start of the last of those runs. At most ten blocks: the full table is cheap.
    std::vector<std::vector<int>> best(k + 1, std::vector<int>(n + 1, INT_MAX));
    std::vector<std::vector<int>> cut(k + 1, std::vector<int>(n + 1, 0));
    best[0][0] = 0;
    for (int c = 1; c <= k; ++c)
        for (int i = c; i <= n; ++i)
            for (int start = c - 1; start < i; ++start) {
                if (best[c - 1][start] == INT_MAX)
                    continue;
                const int tallest = std::max(best[c - 1][start], runHeight(start, i));
                if (tallest < best[c][i]) {
                    best[c][i] = tallest;
                    cut[c][i] = start;
                }
            }
    std::vector<int> starts(static_cast<size_t>(k));
    for (int c = k, i = n; c >= 1; --c) {
        starts[static_cast<size_t>(c - 1)] = cut[c][i];
        i = cut[c][i];
    }
    return starts;
}

ColumnFlowLayout::ColumnFlowLayout(int maxColumns, QWidget* parent) : QLayout(parent), maxColumns_(maxColumns) {}

ColumnFlowLayout::~ColumnFlowLayout() {
    for (QLayoutItem* item : items_)
        delete item;
}

void ColumnFlowLayout::addItem(QLayoutItem* item) {
    items_.push_back(item);
    invalidate();
}

int ColumnFlowLayout::count() const {
    return static_cast<int>(items_.size());
}

QLayoutItem* ColumnFlowLayout::itemAt(int index) const {
    return index >= 0 && index < count() ? items_[static_cast<size_t>(index)] : nullptr;
}

QLayoutItem* ColumnFlowLayout::takeAt(int index) {
    if (index < 0 || index >= count())
        return nullptr;
    QLayoutItem* item = items_[static_cast<size_t>(index)];
    items_.erase(items_.begin() + index);
    invalidate();
    return item;
}

int ColumnFlowLayout::spacingOrDefault() const {
    if (spacing() >= 0)
        return spacing();
    const QWidget* owner = parentWidget();
    return owner ? owner->style()->pixelMetric(QStyle::PM_LayoutVerticalSpacing, nullptr, owner) : 6;
}

ColumnFlowLayout::Arrangement ColumnFlowLayout::arrange(int columns) const {
    // A hidden block takes no place, so that it neither starts a column nor widens one.
    Arrangement a;
    std::vector<int> heights;
    for (int i = 0; i < count(); ++i)
        if (!items_[static_cast<size_t>(i)]->isEmpty()) {
            a.shown.push_back(i);
            heights.push_back(items_[static_cast<size_t>(i)]->sizeHint().height());
        }
    const int gap = spacingOrDefault();
    a.firstOfColumn = balancedColumnStarts(heights, columns, gap);
    if (a.shown.empty())
        a.firstOfColumn.clear();
    const size_t used = a.firstOfColumn.size();
    for (size_t c = 0; c < used; ++c) {
        const int begin = a.firstOfColumn[c];
        const int end = c + 1 < used ? a.firstOfColumn[c + 1] : static_cast<int>(a.shown.size());
        int width = 0;
        int height = 0;
        for (int i = begin; i < end; ++i) {
            width = std::max(width, items_[static_cast<size_t>(a.shown[static_cast<size_t>(i)])]->sizeHint().width());
            height += heights[static_cast<size_t>(i)] + (i > begin ? gap : 0);
        }
        a.widths.push_back(width);
        a.height = std::max(a.height, height);
    }
    a.width = std::accumulate(a.widths.begin(), a.widths.end(), 0) + gap * static_cast<int>(used > 0 ? used - 1 : 0);
    return a;
}

int ColumnFlowLayout::columnsAt(int width) const {
    const QMargins m = contentsMargins();
    for (int columns = maxColumns_; columns > 1; --columns)
        if (arrange(columns).width + m.left() + m.right() <= width)
            return columns;
    return 1;
}

QSize ColumnFlowLayout::sizeHint() const {
    const Arrangement a = arrange(maxColumns_);
    const QMargins m = contentsMargins();
    return {a.width + m.left() + m.right(), a.height + m.top() + m.bottom()};
}

QSize ColumnFlowLayout::minimumSize() const {
    const QMargins m = contentsMargins();
    return {arrange(1).width + m.left() + m.right(), arrange(maxColumns_).height + m.top() + m.bottom()};
}

int ColumnFlowLayout::heightForWidth(int width) const {
    const QMargins m = contentsMargins();
    return arrange(columnsAt(width)).height + m.top() + m.bottom();
}

void ColumnFlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    const QRect area = rect.marginsRemoved(contentsMargins());
    const Arrangement a = arrange(columnsAt(rect.width()));
    const int columns = static_cast<int>(a.widths.size());
    if (columns == 0)
        return;
    // Spare width widens every column alike, so that the frames line up at both edges.
    const int spare = std::max(0, area.width() - a.width) / columns;
    const int gap = spacingOrDefault();
    int x = area.x();
    for (int c = 0; c < columns; ++c) {
        const int begin = a.firstOfColumn[static_cast<size_t>(c)];
        const int end =
            c + 1 < columns ? a.firstOfColumn[static_cast<size_t>(c) + 1] : static_cast<int>(a.shown.size());
        const int width = a.widths[static_cast<size_t>(c)] + spare;
        int y = area.y();
        for (int i = begin; i < end; ++i) {
            QLayoutItem* item = items_[static_cast<size_t>(a.shown[static_cast<size_t>(i)])];
            const int height = item->sizeHint().height();
            item->setGeometry(QRect(x, y, width, height));
            y += height + gap;
        }
        x += width + gap;
    }
}

}  // namespace drawfollow
