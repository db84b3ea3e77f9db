#include "app/shell/ui_text.h"

#include "analysis/panel_values.h"
#include "store/draw.h"

#include <QWidget>

namespace drawfollow {

QString positionName(int position) {
    return QString::fromStdString(positionLabel(position));
}

QString switchCaption(int position) {
    return position == kPositions ? QStringLiteral("特位") : QStringLiteral("平%1位").arg(position);
}

QString arrayName(const char* control, int index) {
    return QLatin1String(control) + QLatin1Char('_') + QString::number(index);
}

int twipsToPixels(int twips, const QWidget* widget) {
    const int dpi = widget ? widget->logicalDpiX() : 96;
    return (twips * dpi + 720) / 1440;
}

QString gridExportTip() {
    return QStringLiteral("鼠标双击列表可以将列表导出到EXCEL");
}

}  // namespace drawfollow
