// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_RECORDLIST_H
#define TARVELO_RECORDLIST_H

#include "storage/logbook.h"
#include "storage/recordcommand.h"
#include "storage/sqlbase.h"
#include "views/messagebox.h"
#include "views/undohistory.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMutex>
#include <QString>
#include <QVector>

#include <functional>

// The list of a management dialog: one item per stored record (packs or models), its text the
// record's one-line form, its id under Qt::UserRole. Adds, changes and deletes are stored at
// once, as edits that can be undone; a record the user left incomplete is refused with the reason,
// one that log entries refer to is deleted only after a question, and when the store refuses a
// change the user is told and the list is read again, so that it never shows what the store did not
// take.
template <class Record> class RecordList
{
public:
    // The log book's reads of this kind of record.
    struct Operations {
        const QVector<Record>& (LogBook::*all)() const;
        bool (LogBook::*read)(int, Record*) const;
        int (LogBook::*uses)(int) const; // entries that refer to the record
    };
    // The texts, already translated by the dialog.
    struct Messages {
        QString title;
        QString addFailed;
        QString changeFailed;
        QString deleteFailed;
        QString deleteTitle;
        QString deleteQuestion; // %1: the record, %2: how many entries refer to it
        QStringList deleteButtons;
    };
    // Why a record may not be stored as it is; empty when it may.
    using Check = std::function<QString(const Record&)>;

    RecordList(QWidget* dialog, UndoHistory* history, QMutex* mutex, const Operations& operations,
               Check check)
        : m_pDialog(dialog), m_pHistory(history), m_pBook(history->book()), m_pMutex(mutex),
          m_ops(operations), m_check(std::move(check))
    {
    }

    // The dialog's list widget, once its form is built.
    void setList(QListWidget* list) { m_pList = list; }

    // The buttons that write act only on a log book that is not read-only.
    void enableEditing(std::initializer_list<QWidget*> buttons)
    {
        for (QWidget* button : buttons)
            button->setEnabled(!m_pBook->isReadOnly());
    }

    // A text editor takes as many characters as both stores hold, or a longer stored text
    // unchanged, so that it is not cut unless the user edits it.
    static void showText(QLineEdit* edit, const QString& text)
    {
        edit->setMaxLength(qMax(SqlBase::kMaxTextLength, int(text.size())));
        edit->setText(text);
    }

    // All stored records into the list.
    void fill()
    {
        m_pList->clear();
        for (const Record& record : (m_pBook->*m_ops.all)())
            addItem(record);
    }

    // One record as a new last item.
    QListWidgetItem* addItem(const Record& record)
    {
        auto* item = new QListWidgetItem(record.toString());
        item->setData(Qt::UserRole, record.m_iId);
        m_pList->addItem(item);
        return item;
    }

    // The stored record of the current item, for the editors; false while the list is being
    // rearranged, without a current item or when it cannot be read.
    bool selected(Record* out)
    {
        if (!m_pMutex->tryLock())
            return false;
        QListWidgetItem* item = m_pList->currentItem();
        const bool read = item && (m_pBook->*m_ops.read)(item->data(Qt::UserRole).toInt(), out);
        m_pMutex->unlock();
        return read;
    }

    // Stores a new record made from the editors and selects it.
    void add(Record* record, const Messages& messages)
    {
        if (refused(*record, messages))
            return;
        auto command = RecordCommand<Record>::add(*record);
        const RecordCommand<Record>* added = command.get();
        if (!m_pHistory->run(std::move(command))) {
            MessageBox::warning(m_pDialog, messages.title, messages.addFailed + reason());
            return;
        }
        record->m_iId = added->records().first().m_iId;
        m_pList->setCurrentItem(addItem(*record));
    }

    // Stores the editors' values over the current item's record; `fromEditors` overwrites
    // the fields the dialog edits. The item keeps its row and stays selected.
    template <class FromEditors> void change(FromEditors fromEditors, const Messages& messages)
    {
        if (!m_pMutex->tryLock())
            return;
        const int row = m_pList->currentRow();
        if (row < 0) {
            m_pMutex->unlock();
            return;
        }
        QListWidgetItem* item = m_pList->takeItem(row);
        const int id = item->data(Qt::UserRole).toInt();
        Record before;
        if (!(m_pBook->*m_ops.read)(id, &before)) {
            m_pList->insertItem(row, item);
            m_pMutex->unlock();
            return;
        }
        Record record = before;
        fromEditors(&record);
        if (refused(record, messages)) {
            m_pList->insertItem(row, item);
            m_pList->setCurrentRow(row);
            m_pMutex->unlock();
            return;
        }
        if (!m_pHistory->run(RecordCommand<Record>::change(before, record))) {
            m_pList->insertItem(row, item);
            reload(id);
            m_pMutex->unlock();
            MessageBox::warning(m_pDialog, messages.title, messages.changeFailed + reason());
            return;
        }
        item->setText(record.toString());
        item->setData(Qt::UserRole, id);
        m_pList->insertItem(row, item);
        m_pList->setCurrentRow(row);
        m_pMutex->unlock();
    }

    // Deletes the current item's record; asks first when log entries refer to it (they are
    // kept and show it as deleted).
    void remove(const Messages& messages)
    {
        const int row = m_pList->currentRow();
        QListWidgetItem* current = row < 0 ? nullptr : m_pList->item(row);
        if (!current)
            return;
        const int id = current->data(Qt::UserRole).toInt();
        const int uses = (m_pBook->*m_ops.uses)(id);
        if (uses > 0 && MessageBox::question(m_pDialog, messages.deleteTitle,
                                             messages.deleteQuestion.arg(current->text()).arg(uses),
                                             messages.deleteButtons) != 0)
            return;
        Record record;
        if (!(m_pBook->*m_ops.read)(id, &record))
            return;
        QListWidgetItem* item = m_pList->takeItem(row);
        if (!m_pHistory->run(RecordCommand<Record>::remove({record}))) {
            m_pList->insertItem(row, item);
            reload(id);
            MessageBox::warning(m_pDialog, messages.title, messages.deleteFailed + reason());
            return;
        }
        delete item;
    }

private:
    QString reason() const { return m_pHistory->failureText(); }

    bool refused(const Record& record, const Messages& messages)
    {
        const QString problem = m_check ? m_check(record) : QString();
        if (!problem.isEmpty())
            MessageBox::warning(m_pDialog, messages.title, problem);
        return !problem.isEmpty();
    }

    // The list as the store holds it, with the record `id` current when it is there.
    void reload(int id)
    {
        fill();
        for (int row = 0; row < m_pList->count(); ++row) {
            if (m_pList->item(row)->data(Qt::UserRole).toInt() == id) {
                m_pList->setCurrentRow(row);
                return;
            }
        }
    }

    QWidget* m_pDialog;
    QListWidget* m_pList = nullptr;
    UndoHistory* m_pHistory;
    LogBook* m_pBook;
    QMutex* m_pMutex;
    Operations m_ops;
    Check m_check;
};

#endif
