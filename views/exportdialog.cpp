// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "views/exportdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

ExportDialog::ExportDialog(QWidget* parent, bool germanFirst)
    : QDialog(parent), m_pRadioLog(new QRadioButton(tr("The &log, as filtered and sorted"))),
      m_pRadioModelStats(new QRadioButton(tr("The statistics per &model"))),
      m_pRadioAccuStats(new QRadioButton(tr("The statistics per &pack"))),
      m_pCheckGerman(new QCheckBox(tr("&German spreadsheet: semicolons between the values, a "
                                      "decimal comma"))),
      m_pCheckByteOrderMark(new QCheckBox(tr("&Byte-order mark, so that spreadsheet programs "
                                             "read umlauts right")))
{
    setObjectName(QStringLiteral("ExportDialog"));
    setWindowTitle(tr("Export"));
    m_pRadioLog->setObjectName(QStringLiteral("m_pRadioLog"));
    m_pRadioModelStats->setObjectName(QStringLiteral("m_pRadioModelStats"));
    m_pRadioAccuStats->setObjectName(QStringLiteral("m_pRadioAccuStats"));
    m_pCheckGerman->setObjectName(QStringLiteral("m_pCheckGerman"));
    m_pCheckByteOrderMark->setObjectName(QStringLiteral("m_pCheckByteOrderMark"));
    m_pRadioLog->setChecked(true);
    m_pCheckGerman->setChecked(germanFirst);
    m_pCheckByteOrderMark->setChecked(true);

    auto* what = new QGroupBox(tr("Export"));
    auto* whatLayout = new QVBoxLayout(what);
    for (QRadioButton* radio : {m_pRadioLog, m_pRadioModelStats, m_pRadioAccuStats})
        whatLayout->addWidget(radio);
    auto* form = new QGroupBox(tr("CSV file"));
    auto* formLayout = new QVBoxLayout(form);
    formLayout->addWidget(m_pCheckGerman);
    formLayout->addWidget(m_pCheckByteOrderMark);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Export..."));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(what);
    layout->addWidget(form);
    layout->addWidget(buttons);
}

ExportDialog::What ExportDialog::what() const
{
    if (m_pRadioModelStats->isChecked())
        return What::ModelStats;
    if (m_pRadioAccuStats->isChecked())
        return What::AccuStats;
    return What::Log;
}

CsvWriter::Format ExportDialog::format() const
{
    const bool mark = m_pCheckByteOrderMark->isChecked();
    return m_pCheckGerman->isChecked() ? CsvWriter::german(mark) : CsvWriter::standard(mark);
}
