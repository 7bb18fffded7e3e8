#include "app/tablecolumnfitter.h"

#include <QEvent>
#include <QHeaderView>
#include <QResizeEvent>
#include <QTableView>
#include <QVector>

TableColumnFitter::TableColumnFitter(QTableView* table) : QObject(table), m_pTable(table)
{
    m_resizeTimer.setSingleShot(true);
    m_resizeTimer.setInterval(100);
    connect(&m_resizeTimer, &QTimer::timeout, this, &TableColumnFitter::fit);
    table->viewport()->installEventFilter(this);
}

void TableColumnFitter::fit()
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
    }
    for (int c = 0; c < columns; ++c)
        header->resizeSection(c, widths[c]);
}

bool TableColumnFitter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        const auto* resize = static_cast<QResizeEvent*>(event);
        if (resize->size().width() != resize->oldSize().width())
            m_resizeTimer.start();
    }
    return QObject::eventFilter(watched, event);
}
