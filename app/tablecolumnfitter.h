// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_TABLECOLUMNFITTER_H
#define TARVELO_TABLECOLUMNFITTER_H

#include <QList>
#include <QObject>
#include <QTimer>

class QTableView;

// Sizes the columns of a table to their contents, like QTableView::resizeColumnsToContents,
// but where that would be wider than the view, the cells keep their room and the titles share
// what is left, so that no column is pushed out of sight. Follows the view's width once it
// has stopped changing; room the columns leave goes to the stretch columns (the names, while
// figures keep the width of their contents). Once the user sizes a column by hand (dragging or
// double-clicking the edge of a title), the widths are the user's: the fitter keeps them from then
// on.
class TableColumnFitter : public QObject
{
    Q_OBJECT

public:
    // Watches the table's viewport; the table owns the fitter.
    explicit TableColumnFitter(QTableView* table);

    void fit();

    // The widths the user gave the columns; empty while the fitter chooses them.
    QList<int> userWidths() const { return m_userWidths; }
    // Widths to keep as the user's (remembered from the last run, say); empty hands the columns
    // back to the fitter. Widths for another number of columns are kept but not applied.
    void setUserWidths(const QList<int>& widths);
    // The columns that share the room the others leave.
    void setStretchColumns(const QList<int>& columns);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Room for titles that wrap, when the header wraps its titles.
    void fitToContents();
    void fitHeaderHeight();
    void takeUserWidths();

    QTableView* m_pTable;
    QObject* m_pHeaderViewport = nullptr; // compared in the event filter, never asked there
    // A window dragged wider or narrower sends many sizes; the columns follow the last one.
    QTimer m_resizeTimer;
    QList<int> m_userWidths;
    QList<int> m_stretchColumns;
    bool m_bFitting = false;  // the sizes set now are not the user's
    bool m_bDragging = false; // a mouse button is down on the header
};

#endif
