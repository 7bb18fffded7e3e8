// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_COPYDIALOG_H
#define TARVELO_COPYDIALOG_H

#include <QDialog>

class QLineEdit;
class QRadioButton;
class QSpinBox;
class QWidget;

// Where File > Copy log book to... copies the open log book: a new log book file, or a
// database on a MySQL or MariaDB server.
class CopyDialog : public QDialog
{
    Q_OBJECT

public:
    struct Server {
        QString host;
        int port = 3306;
        QString database;
        QString user;
        QString password;
    };

    // The server fields start with `server`; the file with `file`, whose folder the file
    // chooser opens in.
    CopyDialog(QWidget* parent, const QString& file, const Server& server);

    bool toFile() const;
    QString file() const;
    Server server() const;

public slots:
    void accept() override;

private:
    void chooseFile();
    void updateFields();

    QRadioButton* m_pRadioFile;
    QRadioButton* m_pRadioServer;
    QLineEdit* m_pLineEditFile;
    QWidget* m_pServerFields;
    QLineEdit* m_pLineEditHostname;
    QSpinBox* m_pSpinBoxPort;
    QLineEdit* m_pLineEditDatabase;
    QLineEdit* m_pLineEditUser;
    QLineEdit* m_pLineEditPassword;
};

#endif
