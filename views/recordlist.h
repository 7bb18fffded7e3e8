#ifndef TARVELO_RECORDLIST_H
#define TARVELO_RECORDLIST_H

#include "storage/sqlbase.h"
#include "views/messagebox.h"

#include <QListWidget>
#include <QMutex>
#include <QString>
#include <QVector>

// The list of a management dialog: one item per stored record (packs or models), its text the
// record's one-line form, its id under Qt::UserRole. Adds, changes and deletes go to the store
// at once; when the store refuses one, the user is told and the list is read again, so that it
// never shows what the store did not take.
template <class Record> class RecordList
{
public:
    // The store's operations for this kind of record.
    struct Operations {
        bool (SqlBase::*readAll)(QVector<Record>*);
        bool (SqlBase::*read)(int, Record*);
        int (SqlBase::*add)(Record*);
        bool (SqlBase::*change)(int, Record*);
        bool (SqlBase::*remove)(int);
    };
    // The warnings, already translated by the dialog.
    struct Messages {
        QString title;
        QString addFailed;
        QString changeFailed;
        QString deleteFailed;
    };

    RecordList(QWidget* dialog, SqlBase* db, QMutex* mutex, const Operations& operations)
        : m_pDialog(dialog), m_pDb(db), m_pMutex(mutex), m_ops(operations)
    {
    }

    // The dialog's list widget, once its form is built.
    void setList(QListWidget* list) { m_pList = list; }

    // All stored records into the list; a failed read leaves the list as it is.
    void fill()
    {
        QVector<Record> records;
        if (!m_pDb || !(m_pDb->*m_ops.readAll)(&records))
            return;
        m_pList->clear();
        for (const Record& record : records)
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
        const bool read =
            item && m_pDb && (m_pDb->*m_ops.read)(item->data(Qt::UserRole).toInt(), out);
        m_pMutex->unlock();
        return read;
    }

    // Stores a new record made from the editors and selects it.
    void add(Record* record, const Messages& messages)
    {
        if (!m_pDb || (m_pDb->*m_ops.add)(record) == -1) {
            MessageBox::warning(m_pDialog, messages.title, messages.addFailed);
            return;
        }
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
        Record record;
        if (!m_pDb || !(m_pDb->*m_ops.read)(id, &record)) {
            m_pList->insertItem(row, item);
            m_pMutex->unlock();
            return;
        }
        fromEditors(&record);
        if (!(m_pDb->*m_ops.change)(id, &record)) {
            m_pList->insertItem(row, item);
            reload(id);
            m_pMutex->unlock();
            MessageBox::warning(m_pDialog, messages.title, messages.changeFailed);
            return;
        }
        item->setText(record.toString());
        item->setData(Qt::UserRole, id);
        m_pList->insertItem(row, item);
        m_pList->setCurrentRow(row);
        m_pMutex->unlock();
    }

    // Deletes the current item's record, without asking.
    void remove(const Messages& messages)
    {
        const int row = m_pList->currentRow();
        QListWidgetItem* item = row < 0 ? nullptr : m_pList->takeItem(row);
        if (!item)
            return;
        const int id = item->data(Qt::UserRole).toInt();
        if (!m_pDb || !(m_pDb->*m_ops.remove)(id)) {
            m_pList->insertItem(row, item);
            reload(id);
            MessageBox::warning(m_pDialog, messages.title, messages.deleteFailed);
            return;
        }
        delete item;
    }

private:
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
    SqlBase* m_pDb;
    QMutex* m_pMutex;
    Operations m_ops;
};

#endif
