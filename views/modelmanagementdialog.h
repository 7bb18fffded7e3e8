// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_MODELMANAGEMENTDIALOG_H
#define TARVELO_MODELMANAGEMENTDIALOG_H

#include "records/modelentry.h"
#include "ui_modelmanagementdialog.h"
#include "views/recordlist.h"

#include <QDialog>
#include <QMutex>

class UndoHistory;

// Keeps the list of models: lists every stored model, shows the selected one in the
// editors, and adds, changes or deletes models in the store at once, as edits that can be undone.
class ModelManagementDialog : public QDialog, public Ui::ModelManagementDialog
{
    Q_OBJECT

public:
    ModelManagementDialog(QWidget* parent, UndoHistory* history);

private slots:
    void onSelectionChange();
    void onButtonAddClicked();
    void onButtonChangeClicked();
    void onButtonDeleteClicked();

private:
    void fillTypCombo();
    void fillList();
    // The editors' values into a model record (all but its id).
    void takeEditors(ModelEntry* model) const;
    RecordList<ModelEntry>::Messages messages() const;

    // Taken only with tryLock: keeps the selection handler out while a change rearranges
    // the list.
    QMutex m_mutex;
    RecordList<ModelEntry> m_list;
};

#endif
