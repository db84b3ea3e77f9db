#include "app/trend/omission_bar_delegate.h"

#include "app/trend/omission_table_model.h"

#include <QPainter>

#include <algorithm>

namespace drawfollow {

QColor omissionBarColour() {
    return {0xf4, 0xa2, 0x61};
}

void OmissionBarDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QVariant fraction = index.data(OmissionTableModel::BarFractionRole);
    if (fraction.isValid()) {
        QRect bar = option.rect.adjusted(2, 3, -2, -3);
        bar.setWidth(static_cast<int>(bar.width() * std::clamp(fraction.toDouble(), 0.0, 1.0)));
        painter->fillRect(bar, omissionBarColour());
    }
    QStyledItemDelegate::paint(painter, option, index);
}

}  // namespace drawfollow
