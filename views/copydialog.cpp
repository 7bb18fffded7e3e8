// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "views/copydialog.h"

#include "views/filechooser.h"
#include "views/messagebox.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

CopyDialog::CopyDialog(QWidget* parent, const QString& file, const Server& server)
    : QDialog(parent), m_pRadioFile(new QRadioButton(tr("A new log book &file"))),
      m_pRadioServer(new QRadioButton(tr("A database on a MySQL or MariaDB &server"))),
      m_pLineEditFile(new QLineEdit(QDir::toNativeSeparators(file))), m_pServerFields(new QWidget),
      m_pLineEditHostname(new QLineEdit(server.host)), m_pSpinBoxPort(new QSpinBox),
      m_pLineEditDatabase(new QLineEdit(server.database)),
      m_pLineEditUser(new QLineEdit(server.user)),
      m_pLineEditPassword(new QLineEdit(server.password))
{
    setObjectName(QStringLiteral("CopyDialog"));
    setWindowTitle(tr("Copy log book"));
    const std::pair<QWidget*, const char*> names[] = {
        {m_pRadioFile, "m_pRadioFile"},       {m_pRadioServer, "m_pRadioServer"},
        {m_pLineEditFile, "m_pLineEditFile"}, {m_pLineEditHostname, "m_pLineEditHostname"},
        {m_pSpinBoxPort, "m_pSpinBoxPort"},   {m_pLineEditDatabase, "m_pLineEditDatabase"},
        {m_pLineEditUser, "m_pLineEditUser"}, {m_pLineEditPassword, "m_pLineEditPassword"}};
    for (const auto& [widget, name] : names)
        widget->setObjectName(QLatin1String(name));
    m_pSpinBoxPort->setRange(1, 65535);
    m_pSpinBoxPort->setValue(server.port);
    m_pLineEditPassword->setEchoMode(QLineEdit::Password);
    // Room for a whole path.
    m_pLineEditFile->setMinimumWidth(360);

    auto* explanation = new QLabel(tr("Packs, models and entries are copied with their numbers "
                                      "into a new file or into a database that holds no log "
                                      "book yet; missing tables are made. The open log book "
                                      "stays as it is."));
    explanation->setWordWrap(true);
    auto* browse = new QPushButton(tr("&Browse..."));
    browse->setObjectName(QStringLiteral("m_pButtonBrowse"));
    connect(browse, &QPushButton::clicked, this, &CopyDialog::chooseFile);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_pLineEditFile);
    fileRow->addWidget(browse);
    auto* serverForm = new QFormLayout(m_pServerFields);
    serverForm->addRow(tr("Host:"), m_pLineEditHostname);
    serverForm->addRow(tr("Port:"), m_pSpinBoxPort);
    serverForm->addRow(tr("Database:"), m_pLineEditDatabase);
    serverForm->addRow(tr("User:"), m_pLineEditUser);
    serverForm->addRow(tr("Password:"), m_pLineEditPassword);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Copy"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CopyDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addWidget(m_pRadioFile);
    layout->addLayout(fileRow);
    layout->addWidget(m_pRadioServer);
    layout->addWidget(m_pServerFields);
    layout->addWidget(buttons);
    m_pRadioFile->setChecked(true);
    connect(m_pRadioFile, &QRadioButton::toggled, this, &CopyDialog::updateFields);
    updateFields();
}

void CopyDialog::updateFields()
{
    m_pLineEditFile->setEnabled(toFile());
    m_pServerFields->setEnabled(!toFile());
}

void CopyDialog::chooseFile()
{
    const QString chosen = FileChooser::chooseLogBook(
        this, FileChooser::Purpose::Name, tr("Copy log book to"), QFileInfo(file()).absolutePath());
    if (!chosen.isEmpty())
        m_pLineEditFile->setText(QDir::toNativeSeparators(chosen));
}

bool CopyDialog::toFile() const
{
    return m_pRadioFile->isChecked();
}

QString CopyDialog::file() const
{
    return QDir::fromNativeSeparators(m_pLineEditFile->text().trimmed());
}

CopyDialog::Server CopyDialog::server() const
{
    return {m_pLineEditHostname->text().trimmed(), m_pSpinBoxPort->value(),
            m_pLineEditDatabase->text().trimmed(), m_pLineEditUser->text().trimmed(),
            m_pLineEditPassword->text()};
}

void CopyDialog::accept()
{
    if (toFile() ? file().isEmpty() : server().host.isEmpty() || server().database.isEmpty()) {
        MessageBox::warning(this, tr("Copy log book"),
                            toFile() ? tr("Name the new log book file.")
                                     : tr("Name the server and the database."));
        return;
    }
    QDialog::accept();
}
