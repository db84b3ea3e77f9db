#include "app/trend/frequency_chart.h"

#include "app/trend/count_axis.h"
#include "app/trend/trend_chart_data.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>

namespace drawfollow {

FrequencyChart::FrequencyChart(QWidget* parent) : QChartView(new QChart, parent) {
    setObjectName(QStringLiteral("frequencyChart"));
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->setAlignment(Qt::AlignBottom);
}

void FrequencyChart::plot(const TrendTable& range, const std::vector<double>& perDraw) {
    QChart* c = chart();
    clearChart(*c);
    c->setTitle(QStringLiteral("%1 期内各值的出现次数").arg(range.rowCount()));

    auto* bars = new QBarSet(QStringLiteral("出现次数"));
    auto* expectedLine = new QLineSeries;
    expectedLine->setName(QStringLiteral("期望次数（按全部历史的比例）"));
    QStringList categories;
    const std::vector<double> expected = expectedCounts(range, perDraw);
    double top = 0;
    for (int col = 0; col < range.columnCount(); ++col) {
        const ValueFigures& v = range.column(col);
        categories << QString::fromStdString(v.name.text());
        *bars << v.count;
        expectedLine->append(col, expected[static_cast<size_t>(col)]);
        top = std::max({top, double(v.count), expected[static_cast<size_t>(col)]});
    }
    auto* barSeries = new QBarSeries;
    barSeries->append(bars);
    c->addSeries(barSeries);
    c->addSeries(expectedLine);

    auto* x = new QBarCategoryAxis;
    x->append(categories);
    QValueAxis* y = countAxis(top);
    c->addAxis(x, Qt::AlignBottom);
    c->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* s : c->series()) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
}

}  // namespace drawfollow
