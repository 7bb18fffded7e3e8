// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "views/chart.h"

#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>
#include <QtCharts/QLineSeries>
#include <QtCharts/QStackedBarSeries>
#include <QtCharts/QValueAxis>

#include <QCursor>
#include <QHelpEvent>
#include <QLineF>
#include <QMouseEvent>
#include <QPen>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
// Beyond this many points the markers would hide the line.
const int kMaxMarkedPoints = 150;
const char* const kWholeNumbers = "%.0f";
// Bars with a label each up to this many.
const int kMaxLevelCategories = 12;
// How far from a point, across, the pointer still shows its tip.
const qreal kTipReach = 12.0;
} // namespace

Chart::Chart(QWidget* parent) : QWidget(parent), m_pView(new QChartView(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pView);
    m_pView->setRenderHint(QPainter::Antialiasing);
    m_pView->viewport()->setMouseTracking(true);
    m_pView->viewport()->installEventFilter(this);
    // The view's own chart is used: one set in its place would leave the first unowned.
    chart()->setLocalizeNumbers(true);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    chart()->setMargins(QMargins(4, 4, 4, 4));
}

Chart::~Chart() = default;

QChart* Chart::chart() const
{
    return m_pView->chart();
}

void Chart::clear()
{
    QChart* c = chart();
    c->removeAllSeries();
    for (QAbstractAxis* axis : c->axes()) {
        c->removeAxis(axis);
        delete axis;
    }
    m_pX = m_pLeft = m_pRight = nullptr;
    m_tips.clear();
    m_categories.clear();
}

void Chart::setChartLocale(const QLocale& locale)
{
    chart()->setLocale(locale);
}

void Chart::setTitle(const QString& title)
{
    chart()->setTitle(title);
}

QValueAxis* Chart::makeValueAxis(const QString& title, double min, double max)
{
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setLabelFormat(QString::fromLatin1(kWholeNumbers));
    axis->setRange(min, max);
    axis->applyNiceNumbers();
    return axis;
}

void Chart::setXAxis(const QString& title, double min, double max)
{
    if (m_pX) {
        chart()->removeAxis(m_pX);
        delete m_pX;
    }
    m_pX = makeValueAxis(title, min, max);
    chart()->addAxis(m_pX, Qt::AlignBottom);
}

void Chart::setYAxis(Axis side, const QString& title, double min, double max)
{
    QValueAxis*& axis = side == Axis::Left ? m_pLeft : m_pRight;
    if (axis) {
        chart()->removeAxis(axis);
        delete axis;
    }
    axis = makeValueAxis(title, min, max);
    chart()->addAxis(axis, side == Axis::Left ? Qt::AlignLeft : Qt::AlignRight);
}

void Chart::addPoints(const QString& name, const QVector<QPointF>& points, const QStringList& tips,
                      Axis side)
{
    auto* series = new QLineSeries;
    series->setName(name);
    series->replace(points);
    series->setPointsVisible(points.size() <= kMaxMarkedPoints);
    chart()->addSeries(series);
    for (QValueAxis* axis : {m_pX, side == Axis::Left ? m_pLeft : m_pRight})
        if (axis)
            series->attachAxis(axis);

    Tips& t = m_tips[name];
    t.series = series;
    t.points = points;
    t.texts.clear();
    // Callers give points in order of x; a sorted copy keeps the lookup right if not.
    QVector<int> order(points.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&points](int a, int b) { return points[a].x() < points[b].x(); });
    for (int i = 0; i < order.size(); ++i) {
        t.points[i] = points[order[i]];
        t.texts.append(tips.value(order[i]));
    }
}

void Chart::addLine(const QString& name, QPointF from, QPointF to, Axis side)
{
    auto* series = new QLineSeries;
    series->setName(name);
    series->append(from);
    series->append(to);
    chart()->addSeries(series);
    QPen pen = series->pen();
    pen.setStyle(Qt::DashLine);
    pen.setWidthF(2.0);
    series->setPen(pen);
    for (QValueAxis* axis : {m_pX, side == Axis::Left ? m_pLeft : m_pRight})
        if (axis)
            series->attachAxis(axis);
}

void Chart::setStackedBars(const QStringList& categories, const QVector<Bars>& parts,
                           const QString& valueTitle, const QVector<Span>& spans)
{
    clear();
    m_categories = categories;
    auto* series = new QStackedBarSeries;
    QVector<int> totals(categories.size(), 0);
    for (const Bars& part : parts) {
        auto* set = new QBarSet(part.name);
        for (int i = 0; i < categories.size(); ++i) {
            const int value = part.values.value(i);
            set->append(value);
            totals[i] += value;
        }
        series->append(set);
    }
    chart()->addSeries(series);
    QAbstractAxis* x = nullptr;
    if (categories.size() <= kMaxLevelCategories || spans.isEmpty()) {
        auto* labels = new QBarCategoryAxis;
        labels->append(categories);
        x = labels;
    } else {
        // Too many bars for a label each: one label over each span of them. The bars stand
        // at 0, 1, 2 ... on a value axis.
        auto* labels = new QCategoryAxis;
        labels->setRange(-0.5, categories.size() - 0.5);
        labels->setStartValue(-0.5);
        double end = -0.5;
        for (const Span& span : spans) {
            end += span.count;
            labels->append(span.label, end);
        }
        labels->setLabelsPosition(QCategoryAxis::AxisLabelsPositionCenter);
        labels->setGridLineVisible(false);
        x = labels;
    }
    chart()->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    const int highest = totals.isEmpty() ? 0 : *std::max_element(totals.cbegin(), totals.cend());
    m_pLeft = makeValueAxis(valueTitle, 0, std::max(highest, 1));
    chart()->addAxis(m_pLeft, Qt::AlignLeft);
    series->attachAxis(m_pLeft);
    connect(series, &QStackedBarSeries::hovered, this, [this](bool state, int index, QBarSet* set) {
        const QString text = QStringLiteral("%1, %2: %3")
                                 .arg(set->label(), m_categories.value(index),
                                      chart()->locale().toString(int(set->at(index))));
        showTip(text, state);
    });
}

void Chart::showTip(const QString& text, bool shown)
{
    if (shown && !text.isEmpty())
        QToolTip::showText(QCursor::pos(), text, m_pView);
    else
        QToolTip::hideText();
}

QStringList Chart::seriesNames() const
{
    QStringList names;
    for (const QAbstractSeries* series : chart()->series())
        names << series->name();
    return names;
}

QVector<QPointF> Chart::seriesPoints(const QString& name) const
{
    for (QAbstractSeries* series : chart()->series()) {
        if (series->name() != name)
            continue;
        if (auto* xy = qobject_cast<QXYSeries*>(series))
            return xy->points();
    }
    return {};
}

int Chart::Tips::nearest(double x) const
{
    const auto less = [](const QPointF& p, double value) { return p.x() < value; };
    int i = int(std::lower_bound(points.cbegin(), points.cend(), x, less) - points.cbegin());
    if (i == points.size() || (i > 0 && x - points[i - 1].x() < points[i].x() - x))
        --i;
    return i;
}

QString Chart::tipNear(const QString& name, double x) const
{
    const auto found = m_tips.constFind(name);
    if (found == m_tips.constEnd() || found->points.isEmpty())
        return QString();
    return found->texts.value(found->nearest(x));
}

bool Chart::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_pView->viewport())
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove:
        if (!m_tips.isEmpty())
            showTipAt(static_cast<QMouseEvent*>(event)->position());
        break;
    case QEvent::ToolTip:
        // The scene has no tips of its own: asked for one, it would hide ours.
        if (!m_tips.isEmpty())
            showTipAt(static_cast<QHelpEvent*>(event)->pos());
        return true;
    case QEvent::Leave:
        QToolTip::hideText();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void Chart::showTipAt(const QPointF& at)
{
    // The use under the pointer: the point nearest to it among those at about its x, so that
    // a point needs no aiming at.
    const QPointF inChart = chart()->mapFromScene(m_pView->mapToScene(at.toPoint()));
    QString tip;
    qreal closest = std::numeric_limits<qreal>::max();
    if (chart()->plotArea().contains(inChart)) {
        for (const Tips& t : std::as_const(m_tips)) {
            if (t.points.isEmpty())
                continue;
            const int i = t.nearest(chart()->mapToValue(inChart, t.series).x());
            const QPointF p = chart()->mapToPosition(t.points[i], t.series);
            const qreal distance = QLineF(p, inChart).length();
            if (std::abs(p.x() - inChart.x()) <= kTipReach && distance < closest) {
                closest = distance;
                tip = t.texts.value(i);
            }
        }
    }
    showTip(tip, !tip.isEmpty());
}

QStringList Chart::categories() const
{
    return m_categories;
}
