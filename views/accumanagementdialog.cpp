// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "views/accumanagementdialog.h"

#include "storage/logbook.h"

#include <QIcon>

AccuManagementDialog::AccuManagementDialog(QWidget* parent, UndoHistory* history)
    : QDialog(parent),
      m_list(this, history, &m_mutex, {&LogBook::accus, &LogBook::accu, &LogBook::entriesWithAccu},
             [](const AccuEntry& accu) {
                 return accu.m_iCapacity > 0 ? QString()
                                             : tr("A pack needs a capacity above 0 mAh.");
             })
{
    setupUi(this);
    m_list.showText(m_pBrand, QString());
    m_list.showText(m_pDescription, QString());
    m_list.enableEditing({m_pButtonAdd, m_pButtonChange, m_pButtonDelete});
    m_list.setList(m_pAccuList);
    fillTypCombo();
    fillList();
    connect(m_pAccuList, &QListWidget::itemSelectionChanged, this,
            &AccuManagementDialog::onSelectionChange);
    connect(m_pButtonAdd, &QPushButton::clicked, this, &AccuManagementDialog::onButtonAddClicked);
    connect(m_pButtonChange, &QPushButton::clicked, this,
            &AccuManagementDialog::onButtonChangeClicked);
    connect(m_pButtonDelete, &QPushButton::clicked, this,
            &AccuManagementDialog::onButtonDeleteClicked);
}

void AccuManagementDialog::fillTypCombo()
{
    for (int typ = 0; typ < AccuEntry::kTypCount; ++typ)
        m_pAccuTyp->addItem(QIcon(), AccuEntry::typText(typ), typ);
}

void AccuManagementDialog::fillList()
{
    m_list.fill();
}

void AccuManagementDialog::takeEditors(AccuEntry* accu) const
{
    accu->m_strBrand = m_pBrand->text();
    accu->m_iCapacity = m_pCapacity->value();
    accu->m_iStrength = m_pStrength->value();
    accu->m_iCells = m_pCells->value();
    accu->m_strDescr = m_pDescription->text();
    accu->m_iTyp = m_pAccuTyp->currentData(Qt::UserRole).toInt();
}

RecordList<AccuEntry>::Messages AccuManagementDialog::messages() const
{
    return {tr("Database error"),
            tr("Couldn't add the accu\n"),
            tr("Couldn't change the accu\n"),
            tr("Couldn't delete the accu\n"),
            tr("Delete pack"),
            tr("%2 log entries refer to the pack \"%1\". Delete it anyway? The entries are kept "
               "and show it as a deleted pack."),
            {tr("Delete"), tr("Cancel")}};
}

void AccuManagementDialog::onSelectionChange()
{
    AccuEntry accu;
    if (!m_list.selected(&accu))
        return;
    m_list.showText(m_pBrand, accu.m_strBrand);
    m_pCapacity->setValue(accu.m_iCapacity);
    m_pCells->setValue(accu.m_iCells);
    m_pStrength->setValue(accu.m_iStrength);
    m_list.showText(m_pDescription, accu.m_strDescr);
    // An unknown chemistry leaves the combo box without a current entry.
    m_pAccuTyp->setCurrentIndex(m_pAccuTyp->findData(accu.m_iTyp, Qt::UserRole, Qt::MatchExactly));
}

void AccuManagementDialog::onButtonAddClicked()
{
    AccuEntry accu(nullptr, QString(), QString(), 0, 0, 0, 0, -1);
    takeEditors(&accu);
    m_list.add(&accu, messages());
}

void AccuManagementDialog::onButtonChangeClicked()
{
    m_list.change([this](AccuEntry* accu) { takeEditors(accu); }, messages());
}

void AccuManagementDialog::onButtonDeleteClicked()
{
    m_list.remove(messages());
}
