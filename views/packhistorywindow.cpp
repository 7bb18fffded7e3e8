// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "views/packhistorywindow.h"

#include "records/statentry.h"
#include "settings/tarvelosettings.h"
#include "storage/logbook.h"
#include "views/chart.h"
#include "views/logentrytablemodel.h"
#include "views/wearmark.h"

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace
{
const char* const kCaptions[] = {QT_TRANSLATE_NOOP("PackHistoryWindow", "Pack:"),
                                 QT_TRANSLATE_NOOP("PackHistoryWindow", "Cycles:"),
                                 QT_TRANSLATE_NOOP("PackHistoryWindow", "First use:"),
                                 QT_TRANSLATE_NOOP("PackHistoryWindow", "Last use:"),
                                 QT_TRANSLATE_NOOP("PackHistoryWindow", "Total time:"),
                                 QT_TRANSLATE_NOOP("PackHistoryWindow", "Average current:"),
                                 QT_TRANSLATE_NOOP("PackHistoryWindow", "Models:"),
                                 QT_TRANSLATE_NOOP("PackHistoryWindow", "Rest capacity trend:"),
                                 QT_TRANSLATE_NOOP("PackHistoryWindow", "Over the last:")};
constexpr int kMaxTrendUses = 100000;
// Models named in the figures and given a part of the monthly bars of their own.
constexpr int kModelsNamed = 6;

QLabel* valueLabel(const char* name)
{
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}
} // namespace

PackHistoryWindow::PackHistoryWindow(LogBook* book, const TarveloSettings* settings, int accuId,
                                     QWidget* parent)
    : QWidget(parent, Qt::Window), m_pBook(book), m_pSettings(settings), m_iAccuId(accuId),
      m_pLabelPack(valueLabel("m_pLabelPack")), m_pLabelCycles(valueLabel("m_pLabelCycles")),
      m_pLabelFirstUse(valueLabel("m_pLabelFirstUse")),
      m_pLabelLastUse(valueLabel("m_pLabelLastUse")),
      m_pLabelTotalTime(valueLabel("m_pLabelTotalTime")),
      m_pLabelAvgCurrent(valueLabel("m_pLabelAvgCurrent")),
      m_pLabelModels(valueLabel("m_pLabelModels")), m_pSpinTrendUses(new QSpinBox),
      m_pLabelTrend(valueLabel("m_pLabelTrend")), m_pChartUses(new Chart),
      m_pChartMonths(new Chart), m_pTableEntries(new QTableView),
      m_pModel(new LogEntryTableModel(book))
{
    setObjectName(QStringLiteral("PackHistoryWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(1100, 820);
    m_pModel->setParent(this);
    m_pSpinTrendUses->setObjectName(QStringLiteral("m_pSpinTrendUses"));
    m_pSpinTrendUses->setRange(2, kMaxTrendUses);
    m_pSpinTrendUses->setValue(kDefaultTrendUses);
    m_pChartUses->setObjectName(QStringLiteral("m_pChartUses"));
    m_pChartMonths->setObjectName(QStringLiteral("m_pChartMonths"));
    m_pTableEntries->setObjectName(QStringLiteral("m_pTableEntries"));
    m_pLabelModels->setWordWrap(true);
    m_pLabelPack->setWordWrap(true);
    m_pLabelCycles->setAutoFillBackground(true);

    auto* figures = new QFormLayout;
    QWidget* values[] = {m_pLabelPack,    m_pLabelCycles,    m_pLabelFirstUse,
                         m_pLabelLastUse, m_pLabelTotalTime, m_pLabelAvgCurrent,
                         m_pLabelModels,  m_pLabelTrend,     m_pSpinTrendUses};
    for (QWidget* value : values) {
        m_captions.append(new QLabel);
        figures->addRow(m_captions.last(), value);
    }
    m_pSpinTrendUses->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    auto* top = new QHBoxLayout;
    top->addLayout(figures, 1);
    top->addWidget(m_pChartMonths, 2);
    auto* topWidget = new QWidget;
    topWidget->setLayout(top);

    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(topWidget);
    splitter->addWidget(m_pChartUses);
    splitter->addWidget(m_pTableEntries);
    // The chart of the uses is what the window is for; it gets the most room.
    splitter->setSizes({260, 400, 160});
    splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);

    LogFilter filter;
    filter.accuId = accuId;
    m_pModel->setFilter(filter);
    m_pModel->showIn(m_pTableEntries);
    m_pTableEntries->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_pTableEntries->verticalHeader()->hide();

    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(0);
    connect(&m_refreshTimer, &QTimer::timeout, this, &PackHistoryWindow::refresh);
    connect(m_pSpinTrendUses, &QSpinBox::valueChanged, this, &PackHistoryWindow::showUses);
    // Another log book: the pack is not there any more, whatever its identifier.
    connect(m_pBook, &LogBook::storeReplaced, this, &QWidget::close);
    for (auto changed : {&LogBook::reloaded, &LogBook::accusChanged, &LogBook::modelsChanged})
        connect(m_pBook, changed, this, &PackHistoryWindow::refreshSoon);
    connect(m_pBook, &LogBook::entryAdded, this, &PackHistoryWindow::refreshSoon);
    connect(m_pBook, &LogBook::entryChanged, this, &PackHistoryWindow::refreshSoon);
    connect(m_pBook, &LogBook::entryRemoved, this, &PackHistoryWindow::refreshSoon);
    if (m_pSettings)
        connect(m_pSettings, &TarveloSettings::changed, this, &PackHistoryWindow::showFigures);

    retranslate();
    refresh();
}

PackHistoryWindow::~PackHistoryWindow()
{
    m_pTableEntries->setModel(nullptr);
}

void PackHistoryWindow::refreshSoon()
{
    m_refreshTimer.start();
}

void PackHistoryWindow::refresh()
{
    m_refreshTimer.stop();
    AccuEntry accu;
    if (!m_pBook->accu(m_iAccuId, &accu)) {
        close();
        return;
    }
    m_strName = accu.m_strDescr;
    m_iTyp = accu.m_iTyp;
    m_pLabelPack->setText(accu.toString());
    m_history = PackHistory::of(*m_pBook, m_iAccuId);
    showHistory();
}

void PackHistoryWindow::retranslate()
{
    for (int i = 0; i < m_captions.size(); ++i)
        m_captions[i]->setText(tr(kCaptions[i]));
    m_pSpinTrendUses->setSuffix(tr(" uses"));
}

void PackHistoryWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        showHistory();
    } else if (event->type() == QEvent::LocaleChange) {
        showHistory();
    }
    QWidget::changeEvent(event);
}

void PackHistoryWindow::showHistory()
{
    setWindowTitle(tr("History of %1").arg(m_strName));
    showFigures();
    showUses();
    showMonths();
}

void PackHistoryWindow::showFigures()
{
    const QLocale l = locale();
    const PackHistory& h = m_history;
    const int limit = m_pSettings ? m_pSettings->values().cycleLimit(m_iTyp) : 0;
    const QString cycles =
        limit > 0
            ? tr("%1 of %2 for %3 packs").arg(h.cycles()).arg(limit).arg(AccuEntry::typText(m_iTyp))
            : QString::number(h.cycles());
    m_pLabelCycles->setText(cycles);
    m_pLabelCycles->setToolTip(WearMark::reason(h.cycles(), limit, m_iTyp));
    QPalette palette = this->palette();
    const QColor mark = WearMark::color(PackHistory::wear(h.cycles(), limit));
    if (mark.isValid())
        palette.setColor(QPalette::Window, mark);
    m_pLabelCycles->setPalette(palette);
    m_pLabelCycles->setAutoFillBackground(mark.isValid());

    const QString none = tr("none");
    m_pLabelFirstUse->setText(
        h.firstUse().isValid() ? l.toString(h.firstUse(), QLocale::ShortFormat) : none);
    m_pLabelLastUse->setText(h.lastUse().isValid() ? l.toString(h.lastUse(), QLocale::ShortFormat)
                                                   : none);
    m_pLabelTotalTime->setText(StatEntry::formatDuration(h.totalSeconds()));
    m_pLabelAvgCurrent->setText(l.toString(h.avgCurrentAmps(), 'f', 2) + QStringLiteral(" A"));
    // A club pack may have flown in hundreds: those flown most, and how many more.
    QStringList models;
    for (const PackHistory::Model& m : h.models().mid(0, kModelsNamed))
        models << QStringLiteral("%1 (%2)").arg(modelName(m), l.toString(m.uses));
    if (h.models().size() > kModelsNamed)
        models << tr("%1 more").arg(l.toString(int(h.models().size()) - kModelsNamed));
    m_pLabelModels->setText(models.isEmpty() ? none : models.join(QStringLiteral(", ")));
}

QString PackHistoryWindow::modelName(const PackHistory::Model& model)
{
    return model.name.isEmpty() ? tr("deleted model %1").arg(model.id) : model.name;
}

void PackHistoryWindow::showUses()
{
    const QLocale l = locale();
    const PackHistory& h = m_history;
    const PackHistory::Trend trend = h.trend(m_pSpinTrendUses->value());
    if (trend.valid) {
        // One decimal, with a true minus sign for a pack that loses capacity.
        const double figure = std::round(trend.per100Uses() * 10.0) / 10.0;
        const QString sign = figure < 0   ? QStringLiteral("\u2212")
                             : figure > 0 ? QStringLiteral("+")
                                          : QString();
        m_pLabelTrend->setText(
            tr("%1 % per 100 uses").arg(sign + l.toString(std::abs(figure), 'f', 1)));
    } else {
        m_pLabelTrend->setText(tr("too few uses with a rest capacity"));
    }

    Chart* chart = m_pChartUses;
    chart->clear();
    chart->setChartLocale(l);
    chart->setTitle(tr("Rest capacity and charged mAh by use"));
    QVector<QPointF> rest, charged;
    QStringList restTips, chargedTips;
    int highestCharged = 0, lowestRest = 100, highestRest = 0;
    for (const PackHistory::Use& u : h.uses()) {
        const QString tip =
            tr("Use %1, %2: %3 % rest, %4 mAh charged")
                .arg(l.toString(u.number), l.toString(u.date, QLocale::ShortFormat),
                     u.hasRest ? l.toString(u.rest) : QStringLiteral("?"), l.toString(u.charged));
        if (u.hasRest) {
            rest.append(QPointF(u.number, u.rest));
            restTips << tip;
            lowestRest = std::min(lowestRest, u.rest);
            highestRest = std::max(highestRest, u.rest);
        }
        charged.append(QPointF(u.number, u.charged));
        chargedTips << tip;
        highestCharged = std::max(highestCharged, u.charged);
    }
    const int first = h.uses().isEmpty() ? 1 : h.uses().first().number;
    const int last = h.uses().isEmpty() ? 1 : h.uses().last().number;
    chart->setXAxis(tr("Use"), first, std::max(last, first + 1));
    // Close around the figures, so that a few percent lost show; at least 0 to 100 otherwise.
    if (rest.isEmpty())
        lowestRest = 0, highestRest = 100;
    chart->setYAxis(Chart::Axis::Left, tr("Rest capacity (%)"),
                    std::floor(lowestRest / 10.0 - 0.5) * 10,
                    std::ceil(highestRest / 10.0 + 0.5) * 10);
    chart->setYAxis(Chart::Axis::Right, tr("Charged (mAh)"), 0, std::max(highestCharged, 1));
    chart->addPoints(tr("Rest capacity (%)"), rest, restTips, Chart::Axis::Left);
    chart->addPoints(tr("Charged (mAh)"), charged, chargedTips, Chart::Axis::Right);
    if (trend.valid)
        chart->addLine(tr("Trend"), QPointF(trend.fromNumber, trend.at(trend.fromNumber)),
                       QPointF(trend.toNumber, trend.at(trend.toNumber)), Chart::Axis::Left);
}

void PackHistoryWindow::showMonths()
{
    const QLocale l = locale();
    const QVector<PackHistory::Month>& months = m_history.months();
    QStringList categories;
    for (const PackHistory::Month& m : months)
        categories << l.toString(m.first, QStringLiteral("MMM \u2019yy"));
    // The models flown most each a part of the bars, the others together.
    QVector<Chart::Bars> parts;
    const QVector<PackHistory::Model>& models = m_history.models();
    for (int i = 0; i < models.size(); ++i) {
        if (i <= kModelsNamed) {
            Chart::Bars part;
            part.name = i < kModelsNamed || models.size() == kModelsNamed + 1 ? modelName(models[i])
                                                                              : tr("other models");
            part.values.fill(0, months.size());
            parts.append(part);
        }
        QVector<int>& values = parts.last().values;
        for (int month = 0; month < months.size(); ++month)
            values[month] += months[month].uses.value(i);
    }
    // Many months are labelled by their year.
    QVector<Chart::Span> years;
    for (const PackHistory::Month& m : months) {
        if (years.isEmpty() || m.first.month() == 1)
            years.append({QString::number(m.first.year()), 0});
        ++years.last().count;
    }
    m_pChartMonths->setChartLocale(l);
    m_pChartMonths->setStackedBars(categories, parts, tr("Uses"), years);
    m_pChartMonths->setTitle(tr("Uses per month"));
}
