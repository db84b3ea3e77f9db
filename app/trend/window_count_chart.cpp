#include "app/trend/window_count_chart.h"

#include "analysis/trend_table.h"
#include "app/trend/count_axis.h"
#include "app/trend/trend_chart_data.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace drawfollow {

namespace {

// More pixel columns than a chart on the widest screens has.
constexpr int kLineBuckets = 2048;

}  // namespace

WindowCountChart::WindowCountChart(const TrendTable& table, QWidget* parent) : QWidget(parent), table_(table) {
    valueBox_ = new QComboBox(this);
    valueBox_->setObjectName(QStringLiteral("windowValue"));
    windowBox_ = new QSpinBox(this);
    windowBox_->setObjectName(QStringLiteral("windowSize"));
    windowBox_->setRange(2, 1000);
    windowBox_->setValue(10);
    windowBox_->setSuffix(QStringLiteral(" 期"));
    windowBox_->setToolTip(QStringLiteral("每一点是截至该期的连续这么多期里这个值的出现次数。"));
    view_ = new QChartView(new QChart, this);
    view_->setObjectName(QStringLiteral("windowChart"));
    view_->setRenderHint(QPainter::Antialiasing);
    view_->chart()->legend()->hide();

    auto* choice = new QHBoxLayout;
    choice->addWidget(new QLabel(QStringLiteral("值"), this));
    choice->addWidget(valueBox_);
    choice->addWidget(new QLabel(QStringLiteral("每"), this));
    choice->addWidget(windowBox_);
    choice->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(choice);
    layout->addWidget(view_, 1);

    connect(valueBox_, &QComboBox::currentIndexChanged, this, &WindowCountChart::plot);
    connect(windowBox_, &QSpinBox::valueChanged, this, &WindowCountChart::plot);
}

void WindowCountChart::refresh() {
    // The same value stays chosen when the kind keeps it.
    const int chosen = valueBox_->currentData().toInt();
    {
        const QSignalBlocker quiet(valueBox_);
        valueBox_->clear();
        for (const ValueFigures& v : table_.columns())
            valueBox_->addItem(QString::fromStdString(v.name.text()), v.value);
        valueBox_->setCurrentIndex(std::max(0, valueBox_->findData(chosen)));
    }
    plot();
}

void WindowCountChart::plot() {
    QChart* c = view_->chart();
    clearChart(*c);
    const int column = valueBox_->currentIndex();
    const int window = windowBox_->value();
    if (column < 0 || table_.rowCount() < window) {
        c->setTitle(QStringLiteral("所选范围不足 %1 期").arg(window));
        return;
    }
    c->setTitle(QStringLiteral("“%1”每 %2 期的出现次数（%3 ～ %4 期）")
                    .arg(valueBox_->currentText())
                    .arg(window)
                    .arg(table_.issue(window - 1))
                    .arg(table_.issue(table_.rowCount() - 1)));
    const std::vector<int> counts = windowCounts(table_, column, window);
    const int top = counts.empty() ? 0 : *std::max_element(counts.begin(), counts.end());
    QList<QPointF> points;
    for (const LinePoint& p : pixelLine(counts, window, kLineBuckets))
        points.append(QPointF(p.x, p.y));
    auto* line = new QLineSeries;
    line->replace(points);
    c->addSeries(line);
    auto* x = new QValueAxis;
    x->setRange(window, table_.rowCount());
    x->setLabelFormat(QStringLiteral("%d"));
    x->setTitleText(QStringLiteral("范围内第几期"));
    QValueAxis* y = countAxis(top);
    c->addAxis(x, Qt::AlignBottom);
    c->addAxis(y, Qt::AlignLeft);
    line->attachAxis(x);
    line->attachAxis(y);
}

}  // namespace drawfollow
