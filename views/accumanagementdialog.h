// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_ACCUMANAGEMENTDIALOG_H
#define TARVELO_ACCUMANAGEMENTDIALOG_H

#include "records/accuentry.h"
#include "ui_accumanagementdialog.h"
#include "views/recordlist.h"

#include <QDialog>
#include <QMutex>

class UndoHistory;

// Keeps the list of battery packs: lists every stored pack, shows the selected one in the
// editors, and adds, changes or deletes packs in the store at once, as edits that can be undone.
class AccuManagementDialog : public QDialog, public Ui::AccuManagementDialog
{
    Q_OBJECT

public:
    AccuManagementDialog(QWidget* parent, UndoHistory* history);

private slots:
    void onSelectionChange();
    void onButtonAddClicked();
    void onButtonChangeClicked();
    void onButtonDeleteClicked();

private:
    void fillTypCombo();
    void fillList();
    // The editors' values into a pack record (all but its id).
    void takeEditors(AccuEntry* accu) const;
    RecordList<AccuEntry>::Messages messages() const;

    // Taken only with tryLock: keeps the selection handler out while a change rearranges
    // the list.
    QMutex m_mutex;
    RecordList<AccuEntry> m_list;
};

#endif
