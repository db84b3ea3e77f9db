#include "app/search/chance_charts.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLineSeries>
#include <QScreen>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace drawfollow {

namespace {

// Lines the band series are drawn between; the area owns neither.
QAreaSeries* bandBetween(QLineSeries* lower, QLineSeries* upper, QChart* chart) {
    auto* band = new QAreaSeries(upper, lower);
    band->setName(QStringLiteral("±2σ 随机范围"));
    band->setColor(QColor(0x9e, 0xc5, 0xe8, 0x70));
    band->setBorderColor(Qt::transparent);
    lower->setParent(band);
    upper->setParent(band);
    chart->addSeries(band);
    return band;
}

QLineSeries* namedLine(const QString& name, const QColor& colour, QChart* chart) {
    auto* line = new QLineSeries(chart);
    line->setName(name);
    line->setColor(colour);
    return line;
}

void attach(QChart* chart, QAbstractAxis* x, QAbstractAxis* y) {
    for (QAbstractSeries* s : chart->series()) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
}

// Puts `x` at the bottom and a count axis from 0 to a little above `top` on the left.
QChart* withCountAxis(QChart* chart, QAbstractAxis* x, double top) {
    auto* y = new QValueAxis(chart);
    y->setRange(0, top * 1.05);
    y->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    attach(chart, x, y);
    return chart;
}

}  // namespace

QChart* tallyChanceChart(const ChanceBaseline& chance) {
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("出现次数与随机期望"));
    auto* counts = new QBarSet(QStringLiteral("出现次数"));
    auto* lower = new QLineSeries;
    auto* upper = new QLineSeries;
    QLineSeries* expected = namedLine(QStringLiteral("期望次数"), QColor(0xc0, 0x39, 0x2b), chart);
    QStringList categories;
    double top = 1;
    for (size_t i = 0; i < chance.values.size(); ++i) {
        const ValueChance& v = chance.values[i];
        const double x = static_cast<double>(i);
        const double spread = 2 * std::sqrt(std::max(0.0, v.variance));
        *counts << static_cast<double>(v.count);
        lower->append(x, std::max(0.0, v.expected - spread));
        upper->append(x, v.expected + spread);
        expected->append(x, v.expected);
        categories << QString::fromStdString(v.text);
        top = std::max({top, static_cast<double>(v.count), v.expected + spread});
    }
    auto* bars = new QBarSeries(chart);
    bars->append(counts);
    chart->addSeries(bars);
    bandBetween(lower, upper, chart);
    chart->addSeries(expected);

    auto* x = new QBarCategoryAxis(chart);
    x->append(categories);
    return withCountAxis(chart, x, top);
}

QChart* backtestChart(const BacktestResult& result) {
    std::vector<ChosenScore> scores;
    for (const BacktestTarget& t : result.targets)
        scores.push_back({t.hit, {t.expected, t.variance}});
    return cumulativeHitsChart(scores, QStringLiteral("目标期（按期号顺序）"));
}

QChart* cumulativeHitsChart(const std::vector<ChosenScore>& scores, const QString& axisTitle) {
    auto* chart = new QChart;
    chart->setTitle(QStringLiteral("累计命中与随机期望"));
    auto* lower = new QLineSeries;
    auto* upper = new QLineSeries;
    QLineSeries* observed = namedLine(QStringLiteral("实际命中（累计）"), QColor(0x1f, 0x5f, 0xa8), chart);
    QLineSeries* expected = namedLine(QStringLiteral("随机期望（累计）"), QColor(0xc0, 0x39, 0x2b), chart);
    double o = 0, e = 0, v = 0, top = 1;
    for (size_t i = 0; i < scores.size(); ++i) {
        const ChosenScore& s = scores[i];
        o += s.hit;
        e += s.odds.mean;
        v += s.odds.variance;
        const double x = static_cast<double>(i + 1);
        const double spread = 2 * std::sqrt(std::max(0.0, v));
        observed->append(x, o);
        expected->append(x, e);
        lower->append(x, std::max(0.0, e - spread));
        upper->append(x, e + spread);
        top = std::max({top, o, e + spread});
    }
    bandBetween(lower, upper, chart);
    chart->addSeries(expected);
    chart->addSeries(observed);

    auto* x = new QValueAxis(chart);
    x->setTitleText(axisTitle);
    x->setRange(1, std::max<double>(2, static_cast<double>(scores.size())));
    x->setLabelFormat(QStringLiteral("%.0f"));
    return withCountAxis(chart, x, top);
}

namespace {

// Wide enough for every label of a category axis side by side: a label that does not fit is
// drawn as "…", or turned on its side as "⋮", which says nothing. On a screen too narrow
// for them the labels are turned after all.
int widthForLabels(QChart& chart, const QWidget* parent) {
    constexpr int kPlainWidth = 720;
    constexpr int kAroundPlot = 170;  // the count axis, the margins and the dialog's frame
    const QList<QAbstractAxis*> axes = chart.axes(Qt::Horizontal);
    auto* categories = axes.isEmpty() ? nullptr : qobject_cast<QBarCategoryAxis*>(axes.first());
    if (!categories || categories->count() == 0)
        return kPlainWidth;
    const QFontMetrics metrics(categories->labelsFont());
    int widest = 0;
    for (const QString& label : categories->categories())
        widest = std::max(widest, metrics.horizontalAdvance(label));
    const int wanted = static_cast<int>(categories->count()) * (widest + 12) + kAroundPlot;
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const int room = screen->availableGeometry().width() - 40;
    if (wanted > room)
        categories->setLabelsAngle(-90);
    return std::clamp(wanted, kPlainWidth, std::max(kPlainWidth, room));
}

}  // namespace

QDialog* chartDialog(QWidget* parent, QChart* chart, const QString& title) {
    auto* dialog = new QDialog(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(title);
    auto* view = new QChartView(chart, dialog);
    view->setRenderHint(QPainter::Antialiasing);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(view);
    dialog->resize(widthForLabels(*chart, parent), 440);
    return dialog;
}

}  // namespace drawfollow
