#ifndef TARVELO_TABLECOLUMNFITTER_H
#define TARVELO_TABLECOLUMNFITTER_H

#include <QObject>
#include <QTimer>

class QTableView;

// Sizes the columns of a table to their contents, like QTableView::resizeColumnsToContents,
// but where that would be wider than the view, the cells keep their room and the titles share
// what is left, so that no column is pushed out of sight. Follows the view's width once it
// has stopped changing.
class TableColumnFitter : public QObject
{
    Q_OBJECT

public:
    // Watches the table's viewport; the table owns the fitter.
    explicit TableColumnFitter(QTableView* table);

    void fit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Room for titles that wrap, when the header wraps its titles.
    void fitHeaderHeight();

    QTableView* m_pTable;
    // A window dragged wider or narrower sends many sizes; the columns follow the last one.
    QTimer m_resizeTimer;
};

#endif
