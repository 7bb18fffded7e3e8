// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_MAINWINDOWFIXTURE_H
#define TARVELO_MAINWINDOWFIXTURE_H

// The real main window on a log book of the test's own, started the way the program starts in
// a portable folder: a tarvelo.ini in the working directory selects the store. Warnings are
// collected instead of shown; modal dialogs are driven through whenModal().

#include "app/mainwindow.h"
#include "storage/logbook.h"
#include "storage/sqlbase.h"
#include "storage/sqliteconnection.h"
#include "storage/sqliteschema.h"
#include "views/messagebox.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <functional>
#include <memory>

#include <sqlite3.h>

struct Warning {
    QString title;
    QString text;
};

struct Question {
    QString title;
    QString text;
    QStringList buttons;
    QString checkText; // the check box under the text, if any
};

// Settings of the portable folder; the eleven keys the program reads.
struct IniValues {
    QString host = QStringLiteral("localhost");
    int port = 3306;
    QString db = QStringLiteral("tarvelo");
    QString user = QStringLiteral("tarvelo");
    QString password;
    QString sqliteFile = QStringLiteral("tarvelo.sqlite");
    bool useSqlite = true;
    bool useCharger = false;
    int chargerClass = 0;
    int chargerSubtype = 0;
    QString chargerPort;
};

class MainWindowFixture
{
public:
    MainWindowFixture()
    {
        m_oldDir = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        MessageBox::setHandler([this](QWidget*, const QString& title, const QString& text) {
            m_warnings.append({title, text});
        });
        MessageBox::setQuestionHandler([this](QWidget*, const QString& title, const QString& text,
                                              const QStringList& buttons, const QString& checkText,
                                              bool* checked) {
            m_questions.append({title, text, buttons, checkText});
            if (checked)
                *checked = m_bTick;
            return m_iAnswer;
        });
    }
    ~MainWindowFixture()
    {
        closeWindow();
        MessageBox::setHandler(nullptr);
        MessageBox::setQuestionHandler(nullptr);
        QDir::setCurrent(m_oldDir);
    }
    MainWindowFixture(const MainWindowFixture&) = delete;
    MainWindowFixture& operator=(const MainWindowFixture&) = delete;

    QString path(const QString& name) const { return m_dir.filePath(name); }

    // A new, empty log book in the folder.
    bool createBook(const QString& name = QStringLiteral("tarvelo.sqlite"))
    {
        QString error;
        const bool ok = SqliteSchema::createDatabase(path(name), &error);
        if (!ok)
            qWarning("%s", qPrintable(error));
        return ok;
    }

    // Statements run on a connection of the test's own, beside the window's store.
    bool sql(const QString& statements, const QString& name = QStringLiteral("tarvelo.sqlite"))
    {
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(QFile::encodeName(path(name)).constData(), &db, SQLITE_OPEN_READWRITE,
                            nullptr) != SQLITE_OK) {
            sqlite3_close(db);
            return false;
        }
        char* message = nullptr;
        const int rc =
            sqlite3_exec(db, statements.toUtf8().constData(), nullptr, nullptr, &message);
        if (rc != SQLITE_OK)
            qWarning("sqlite: %s", message ? message : "?");
        sqlite3_free(message);
        sqlite3_close(db);
        return rc == SQLITE_OK;
    }

    void writeIni(const IniValues& v)
    {
        QSettings ini(path(QStringLiteral("tarvelo.ini")), QSettings::IniFormat);
        ini.clear();
        ini.setValue(QStringLiteral("host"), v.host);
        ini.setValue(QStringLiteral("db"), v.db);
        ini.setValue(QStringLiteral("username"), v.user);
        ini.setValue(QStringLiteral("port"), v.port);
        ini.setValue(QStringLiteral("pw"), v.password);
        ini.setValue(QStringLiteral("sqlitefilename"), v.sqliteFile);
        ini.setValue(QStringLiteral("usesqlite"), v.useSqlite);
        ini.setValue(QStringLiteral("usecharger"), v.useCharger);
        ini.setValue(QStringLiteral("chargerclass"), v.chargerClass);
        ini.setValue(QStringLiteral("chargersubtype"), v.chargerSubtype);
        ini.setValue(QStringLiteral("chargerportwin32"), v.chargerPort);
        ini.sync();
    }

    // The program's German file, brought along by the portable folder.
    bool copyGerman()
    {
        const QString built = QStringLiteral(TARVELO_BINARY_DIR "/app/trans_de.qm");
        return QFile::copy(built, path(QStringLiteral("trans_de.qm")));
    }

    MainWindow* openWindow(const QString& logBookFile = QString())
    {
        m_window = std::make_unique<MainWindow>(&m_translator, qApp, logBookFile);
        return m_window.get();
    }
    void closeWindow()
    {
        m_window.reset();
        QCoreApplication::removeTranslator(&m_translator);
    }
    MainWindow* window() const { return m_window.get(); }

    template <class T> T* child(const char* name) const
    {
        T* found = m_window->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qWarning("no child %s", name);
        return found;
    }
    QTableView* table(const char* name = "m_pTableLogList") const
    {
        return child<QTableView>(name);
    }
    QAbstractItemModel* model(const char* name = "m_pTableLogList") const
    {
        return table(name)->model();
    }
    QString cell(int row, int column, const char* name = "m_pTableLogList") const
    {
        QAbstractItemModel* m = model(name);
        return m->data(m->index(row, column)).toString();
    }
    QVariant cellValue(int row, int column, const char* name = "m_pTableLogList") const
    {
        QAbstractItemModel* m = model(name);
        return m->data(m->index(row, column));
    }
    int rows(const char* name = "m_pTableLogList") const
    {
        QAbstractItemModel* m = table(name)->model();
        return m ? m->rowCount() : 0;
    }

    // Makes current the item of a pack or model combo box that stands for an identifier.
    bool chooseId(const char* combo, int id) const
    {
        QComboBox* box = child<QComboBox>(combo);
        const int index = box->findData(id);
        if (index < 0)
            return false;
        box->setCurrentIndex(index);
        return true;
    }

    // Clicks a row of a table the way a user does, so that the click signal fires.
    void clickRow(int row, const char* name = "m_pTableLogList") const
    {
        QTableView* view = table(name);
        const QRect rect = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    }

    // Runs `action` on the modal dialog that the code after this call opens, as soon as it is
    // up. The action must close the dialog.
    static void whenModal(std::function<void(QWidget*)> action)
    {
        auto* timer = new QTimer;
        timer->setInterval(5);
        QObject::connect(timer, &QTimer::timeout, [timer, action]() {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            timer->stop();
            timer->deleteLater();
            action(modal);
        });
        timer->start();
    }

    QList<Warning> takeWarnings()
    {
        QList<Warning> out;
        out.swap(m_warnings);
        return out;
    }
    const QList<Warning>& warnings() const { return m_warnings; }
    // Questions are answered with the button of this index.
    void answerWith(int button) { m_iAnswer = button; }
    // ... ticking the check box of a question that has one, or not.
    void tickCheckBox(bool tick) { m_bTick = tick; }
    QList<Question> takeQuestions()
    {
        QList<Question> out;
        out.swap(m_questions);
        return out;
    }

private:
    QTemporaryDir m_dir;
    QString m_oldDir;
    QTranslator m_translator;
    std::unique_ptr<MainWindow> m_window;
    QList<Warning> m_warnings;
    QList<Question> m_questions;
    int m_iAnswer = 0;
    bool m_bTick = false;
};

#endif
