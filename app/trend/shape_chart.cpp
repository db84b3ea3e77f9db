#include "app/trend/shape_chart.h"

#include "app/trend/count_axis.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QValueAxis>

#include <algorithm>

namespace drawfollow {

namespace {

constexpr qsizetype kMostLabels = 40;

}  // namespace

ShapeChart::ShapeChart(QWidget* parent) : QChartView(new QChart, parent) {
    setObjectName(QStringLiteral("shapeChart"));
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->setAlignment(Qt::AlignBottom);
}

void ShapeChart::clear() {
    QChart* c = chart();
    clearChart(*c);
    c->setTitle({});
}

void ShapeChart::plot(const ShapeDistribution& distribution) {
    clear();
    QChart* c = chart();
    const std::string_view name = measureName(distribution.measure);
    c->setTitle(QStringLiteral("%1：%2 期的分布")
                    .arg(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())))
                    .arg(distribution.draws));

    auto* observed = new QBarSet(QStringLiteral("出现次数"));
    auto* expected = new QBarSet(QStringLiteral("理论次数"));
    expected->setColor(QColor(0x90, 0xa4, 0xae));
    // Two hundred sums leave a bar a pixel or two: an outline would hide it.
    for (QBarSet* set : {observed, expected})
        set->setPen(Qt::NoPen);
    QStringList categories;
    double top = 0;
    for (const ShapeValue& v : distribution.values) {
        categories << QString::fromStdString(v.text);
        *observed << static_cast<double>(v.count);
        *expected << v.expected;
        top = std::max({top, static_cast<double>(v.count), v.expected});
    }
    auto* bars = new QBarSeries;
    bars->setBarWidth(0.9);
    bars->append(observed);
    bars->append(expected);
    c->addSeries(bars);

    auto* x = new QBarCategoryAxis;
    x->append(categories);
    // A label under each of two hundred sums would be unreadable: the ends say the range.
    if (categories.size() > kMostLabels) {
        x->setLabelsVisible(false);
        c->setTitle(c->title() + QStringLiteral("（横轴 %1～%2）").arg(categories.front(), categories.back()));
    }
    c->addAxis(x, Qt::AlignBottom);
    c->addAxis(countAxis(top), Qt::AlignLeft);
    for (QAbstractAxis* axis : c->axes())
        bars->attachAxis(axis);
}

}  // namespace drawfollow
