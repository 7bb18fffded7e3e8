// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "views/modelmanagementdialog.h"

#include "storage/logbook.h"

#include <QIcon>

ModelManagementDialog::ModelManagementDialog(QWidget* parent, UndoHistory* history)
    : QDialog(parent),
      m_list(
          this, history, &m_mutex, {&LogBook::models, &LogBook::model, &LogBook::entriesWithModel},
          [](const ModelEntry& model) {
              return model.m_strName.trimmed().isEmpty() ? tr("A model needs a name.") : QString();
          })
{
    setupUi(this);
    m_list.showText(m_pModelName, QString());
    m_list.enableEditing({m_pButtonAdd, m_pButtonChange, m_pButtonDelete});
    m_list.setList(m_pModelList);
    fillTypCombo();
    fillList();
    connect(m_pModelList, &QListWidget::itemSelectionChanged, this,
            &ModelManagementDialog::onSelectionChange);
    connect(m_pButtonAdd, &QPushButton::clicked, this, &ModelManagementDialog::onButtonAddClicked);
    connect(m_pButtonChange, &QPushButton::clicked, this,
            &ModelManagementDialog::onButtonChangeClicked);
    connect(m_pButtonDelete, &QPushButton::clicked, this,
            &ModelManagementDialog::onButtonDeleteClicked);
}

void ModelManagementDialog::fillTypCombo()
{
    for (int typ = 0; typ < ModelEntry::kTypCount; ++typ)
        m_pModelTyp->addItem(QIcon(), ModelEntry::typText(typ), typ);
}

void ModelManagementDialog::fillList()
{
    m_list.fill();
}

void ModelManagementDialog::takeEditors(ModelEntry* model) const
{
    model->m_strName = m_pModelName->text();
    model->m_iTyp = m_pModelTyp->currentData(Qt::UserRole).toInt();
}

RecordList<ModelEntry>::Messages ModelManagementDialog::messages() const
{
    return {tr("Database error"),
            tr("Couldn't add the model\n"),
            tr("Couldn't change the model\n"),
            tr("Couldn't delete the model\n"),
            tr("Delete model"),
            tr("%2 log entries refer to the model \"%1\". Delete it anyway? The entries are kept "
               "and show it as a deleted model."),
            {tr("Delete"), tr("Cancel")}};
}

void ModelManagementDialog::onSelectionChange()
{
    ModelEntry model;
    if (!m_list.selected(&model))
        return;
    m_list.showText(m_pModelName, model.m_strName);
    // An unknown type leaves the combo box without a current entry.
    m_pModelTyp->setCurrentIndex(
        m_pModelTyp->findData(model.m_iTyp, Qt::UserRole, Qt::MatchExactly));
}

void ModelManagementDialog::onButtonAddClicked()
{
    ModelEntry model(nullptr, QString(), 0, -1);
    takeEditors(&model);
    m_list.add(&model, messages());
}

void ModelManagementDialog::onButtonChangeClicked()
{
    m_list.change([this](ModelEntry* model) { takeEditors(model); }, messages());
}

void ModelManagementDialog::onButtonDeleteClicked()
{
    m_list.remove(messages());
}
