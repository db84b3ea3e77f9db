#include "app/shell/ui_text.h"

#include "analysis/panel_values.h"
#include "store/draw.h"

#include <QGroupBox>
#include <QLayout>
#include <QRadioButton>
#include <QWidget>

namespace drawfollow {

QString positionName(int position) {
    return QString::fromStdString(positionLabel(position));
}

QString switchCaption(int position) {
    return position == kPositions ? QStringLiteral("特位") : QStringLiteral("平%1位").arg(position);
}

QString kindCaption(Kind kind) {
    static const QString captions[] = {QStringLiteral("号码"), QStringLiteral("生肖"), QStringLiteral("头数"),
                                       QStringLiteral("尾数"), QStringLiteral("合数"), QStringLiteral("段数")};
    return captions[index(kind)];
}

QString arrayName(const char* control, int index) {
    return QLatin1String(control) + QLatin1Char('_') + QString::number(index);
}

int twipsToPixels(int twips, const QWidget* widget) {
    const int dpi = widget ? widget->logicalDpiX() : 96;
    return (twips * dpi + 720) / 1440;
}

QGroupBox* titledFrame(QWidget* parent, const char* name, const QString& title) {
    auto* f = new QGroupBox(title, parent);
    f->setObjectName(QLatin1String(name));
    return f;
}

QRadioButton* optionButton(QWidget* parent, const char* control, int index, const QString& caption) {
    auto* o = new QRadioButton(caption, parent);
    o->setObjectName(arrayName(control, index));
    return o;
}

void tightenFrames(QWidget* panel) {
    for (QGroupBox* f : panel->findChildren<QGroupBox*>())
        if (QLayout* l = f->layout()) {
            l->setContentsMargins(8, 2, 8, 4);
            l->setSpacing(4);
        }
}

QList<QWidget*> tabStops(const QWidget* root) {
    QList<QWidget*> stops;
    for (QWidget* w : root->findChildren<QWidget*>())
        if ((w->focusPolicy() & Qt::TabFocus) != 0 && !w->focusProxy())
            stops << w;
    return stops;
}

QList<QWidget*> withoutRepeats(const QList<QWidget*>& widgets) {
    QList<QWidget*> once;
    for (QWidget* w : widgets)
        if (!once.contains(w))
            once << w;
    return once;
}

QString gridExportTip() {
    return QStringLiteral("鼠标双击列表可以将列表导出到EXCEL");
}

}  // namespace drawfollow
