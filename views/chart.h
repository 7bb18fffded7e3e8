// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_CHART_H
#define TARVELO_CHART_H

#include <QHash>
#include <QLocale>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

QT_BEGIN_NAMESPACE
class QAbstractSeries;
class QChart;
class QChartView;
class QValueAxis;
class QXYSeries;
QT_END_NAMESPACE

// A chart in a widget: point series over a value axis with one or two value axes beside, or
// bars stacked by category. The one place that knows the chart library, so that it can be
// exchanged without touching the windows that show charts. Numbers on the axes follow the
// locale given.
class Chart : public QWidget
{
    Q_OBJECT

public:
    enum class Axis { Left, Right };
    // One stack part of every category: a name and a value per category.
    struct Bars {
        QString name;
        QVector<int> values;
    };

    explicit Chart(QWidget* parent = nullptr);
    ~Chart() override;

    // Removes every series and axis.
    void clear();
    void setChartLocale(const QLocale& locale);
    void setTitle(const QString& title);
    // The horizontal value axis; the series added after share it.
    void setXAxis(const QString& title, double min, double max);
    void setYAxis(Axis side, const QString& title, double min, double max);
    // Points joined by a line, against the x axis and the axis on `side`. The pointer above or
    // below a point shows its tip (one per point, in the same order).
    void addPoints(const QString& name, const QVector<QPointF>& points, const QStringList& tips,
                   Axis side);
    // A dashed straight line from one point to another.
    void addLine(const QString& name, QPointF from, QPointF to, Axis side);
    // Consecutive categories under one label, for when they are too many to label each.
    struct Span {
        QString label;
        int count;
    };
    // Bars per category, each stacked from the parts given; replaces what the chart showed.
    // Beyond a dozen categories the spans label them, where given.
    void setStackedBars(const QStringList& categories, const QVector<Bars>& parts,
                        const QString& valueTitle, const QVector<Span>& spans = {});

    QStringList seriesNames() const;
    // The points of a point or line series; empty for bars or an unknown name.
    QVector<QPointF> seriesPoints(const QString& name) const;
    // The tip of the point of a series nearest to x; empty when it has none.
    QString tipNear(const QString& name, double x) const;
    // The labels under the bars.
    QStringList categories() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QChart* chart() const;
    // The tip of the point under the pointer at a place of the view, or none.
    void showTipAt(const QPointF& at);
    QValueAxis* makeValueAxis(const QString& title, double min, double max);
    void showTip(const QString& text, bool shown);

    struct Tips {
        QXYSeries* series = nullptr; // owned by the chart
        QVector<QPointF> points;     // ascending in x
        QStringList texts;
        // The point whose x is closest to x.
        int nearest(double x) const;
    };

    QChartView* m_pView;           // owned (child)
    QValueAxis* m_pX = nullptr;    // owned by the chart
    QValueAxis* m_pLeft = nullptr; // owned by the chart
    QValueAxis* m_pRight = nullptr;
    QHash<QString, Tips> m_tips;
    QStringList m_categories;
};

#endif
