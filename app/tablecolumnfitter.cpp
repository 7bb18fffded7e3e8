// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "app/tablecolumnfitter.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QResizeEvent>
#include <QStyle>
#include <QTableView>
#include <QVector>

TableColumnFitter::TableColumnFitter(QTableView* table) : QObject(table), m_pTable(table)
{
    m_resizeTimer.setSingleShot(true);
    m_resizeTimer.setInterval(100);
    connect(&m_resizeTimer, &QTimer::timeout, this, &TableColumnFitter::fit);
    table->viewport()->installEventFilter(this);
    QHeaderView* header = table->horizontalHeader();
    m_pHeaderViewport = header->viewport();
    m_pHeaderViewport->installEventFilter(this);
    connect(header, &QHeaderView::sectionResized, this, [this]() {
        if (m_bDragging && !m_bFitting)
            takeUserWidths();
    });
    // The table sizes the column to its contents first: it connected before us.
    connect(header, &QHeaderView::sectionHandleDoubleClicked, this,
            &TableColumnFitter::takeUserWidths);
}

void TableColumnFitter::takeUserWidths()
{
    const QHeaderView* header = m_pTable->horizontalHeader();
    m_userWidths.clear();
    for (int c = 0; c < header->count(); ++c)
        m_userWidths << header->sectionSize(c);
}

void TableColumnFitter::setUserWidths(const QList<int>& widths)
{
    m_userWidths = widths;
    fit();
}

void TableColumnFitter::setStretchColumns(const QList<int>& columns)
{
    m_stretchColumns = columns;
    fit();
}

void TableColumnFitter::fit()
{
    QHeaderView* header = m_pTable->horizontalHeader();
    m_bFitting = true;
    if (!m_userWidths.isEmpty() && m_userWidths.size() == header->count()) {
        for (int c = 0; c < header->count(); ++c)
            header->resizeSection(c, m_userWidths[c]);
    } else {
        fitToContents();
    }
    m_bFitting = false;
    fitHeaderHeight();
}

void TableColumnFitter::fitToContents()
{
    QHeaderView* header = m_pTable->horizontalHeader();
    // QTableView hides the hint that QAbstractItemView offers publicly.
    const QAbstractItemView* view = m_pTable;
    const int columns = header->count();
    QVector<int> content(columns), widths(columns);
    int full = 0, cells = 0;
    for (int c = 0; c < columns; ++c) {
        content[c] = qMax(view->sizeHintForColumn(c), header->minimumSectionSize());
        widths[c] = qMax(content[c], header->sectionSizeHint(c));
        full += widths[c];
        cells += content[c];
    }
    const int room = m_pTable->viewport()->width();
    if (full > room && cells < room) {
        // Each title gets the same share of what it lacks.
        const qint64 spare = room - cells;
        const qint64 lacking = full - cells;
        for (int c = 0; c < columns; ++c)
            widths[c] = content[c] + static_cast<int>((widths[c] - content[c]) * spare / lacking);
    } else if (full > room) {
        widths = content;
    } else if (!m_stretchColumns.isEmpty()) {
        const int stretch = int(m_stretchColumns.size());
        const int spare = room - full;
        for (int i = 0; i < stretch; ++i) {
            const int c = m_stretchColumns[i];
            if (c >= 0 && c < columns)
                widths[c] += spare / stretch + (i < spare % stretch ? 1 : 0);
        }
    }
    for (int c = 0; c < columns; ++c)
        header->resizeSection(c, widths[c]);
}

void TableColumnFitter::fitHeaderHeight()
{
    QHeaderView* header = m_pTable->horizontalHeader();
    const QAbstractItemModel* model = m_pTable->model();
    if (!model || !(header->defaultAlignment() & Qt::TextWordWrap))
        return;
    // A title that wraps needs more lines than the header gives it by itself.
    const QFontMetrics metrics(header->font());
    const int margins = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    int lines = 1;
    for (int c = 0; c < header->count(); ++c) {
        const QString title = model->headerData(c, Qt::Horizontal).toString();
        const QRect bounds =
            metrics.boundingRect(QRect(0, 0, qMax(1, header->sectionSize(c) - margins), 10000),
                                 Qt::AlignCenter | Qt::TextWordWrap, title);
        lines = qMax(lines, (bounds.height() + metrics.lineSpacing() - 1) / metrics.lineSpacing());
    }
    header->setMinimumHeight(0);
    const int oneLine = header->sizeHint().height();
    header->setMinimumHeight(oneLine + (lines - 1) * metrics.lineSpacing());
}

bool TableColumnFitter::eventFilter(QObject* watched, QEvent* event)
{
    // Compared, never asked: while the table is destroyed its header is already gone.
    if (watched == m_pHeaderViewport) {
        if (event->type() == QEvent::MouseButtonPress)
            m_bDragging = true;
        else if (event->type() == QEvent::MouseButtonRelease)
            m_bDragging = false;
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::Resize) {
        const auto* resize = static_cast<QResizeEvent*>(event);
        if (resize->size().width() != resize->oldSize().width())
            m_resizeTimer.start();
    }
    return QObject::eventFilter(watched, event);
}
