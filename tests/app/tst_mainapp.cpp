// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The application object and the start-up order: the window is created once, the language is
// the one chosen last time or else the system's, and the language menu switches between German
// and English.
// This program lives in a folder of its own, without a translation beside it, so that the
// German file is found only when a test puts it into the working directory.
#include "app/mainapp.h"
#include "app/mainwindow.h"
#include "app/optionsdialog.h"
#include "settings/tarvelosettings.h"
#include "storage/sqliteschema.h"
#include "views/messagebox.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

namespace
{
const char* const kGermanFile = TARVELO_BINARY_DIR "/app/trans_de.qm";

// The value of `key` in the main group of a desktop entry; a null string when it has none.
QString desktopValue(const QByteArray& entry, const QByteArray& key)
{
    bool inMain = false;
    for (const QByteArray& line : entry.split('\n')) {
        if (line.startsWith('['))
            inMain = line == "[Desktop Entry]";
        else if (inMain && line.startsWith(key + '='))
            return QString::fromUtf8(line.mid(key.size() + 1));
    }
    return QString();
}

QByteArray sourceFile(const QString& name)
{
    QFile file(QStringLiteral(TARVELO_SOURCE_DIR "/data/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class MainAppTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void initLanguageWithoutWindowDoesNothing();
    void windowIsCreatedOnce();
    void startLanguageFollowsSystemLocale_data();
    void startLanguageFollowsSystemLocale();
    void languageMenu();
    void missingGermanFileWarnsAndLeavesEnglish();
    void startLanguageFollowsTheLastChoice_data();
    void startLanguageFollowsTheLastChoice();
    void desktopEntryFitsTheProgram();

private:
    MainApp* app() const { return static_cast<MainApp*>(QCoreApplication::instance()); }
    QString settingsText() const;
    QString optionsTitle() const;
    void invoke(const char* slot);

    QTemporaryDir m_dir;
    QString m_oldDir;
    QTranslator m_translator;
    QStringList m_warnings;
};

void MainAppTest::initTestCase()
{
    QCOMPARE(QLocale::system().name(), QStringLiteral("de_DE"));
    QVERIFY(m_dir.isValid());
    m_oldDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.path()));
    QString error;
    QVERIFY2(SqliteSchema::createDatabase(m_dir.filePath(QStringLiteral("tarvelo.sqlite")), &error),
             qPrintable(error));
    QFile ini(QStringLiteral("tarvelo.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[General]\nhost=localhost\ndb=tarvelo\nusername=tarvelo\nport=3306\npw=\n"
              "sqlitefilename=tarvelo.sqlite\nusesqlite=true\nusecharger=false\nchargerclass=0\n"
              "chargersubtype=0\nchargerportwin32=\n");
    ini.close();
    MessageBox::setHandler([this](QWidget*, const QString& title, const QString& text) {
        m_warnings << title + QLatin1Char('|') + text;
    });
}

void MainAppTest::cleanupTestCase()
{
    MessageBox::setHandler(nullptr);
    QDir::setCurrent(m_oldDir);
}

void MainAppTest::init()
{
    m_warnings.clear();
    QFile::remove(QStringLiteral("trans_de.qm"));
}

QString MainAppTest::settingsText() const
{
    auto* action = app()->mainWindow()->findChild<QAction*>(QStringLiteral("actionSettings"));
    return action ? action->text() : QString();
}

QString MainAppTest::optionsTitle() const
{
    auto* options = app()->mainWindow()->findChild<OptionsDialog*>();
    return options ? options->windowTitle() : QString();
}

void MainAppTest::invoke(const char* slot)
{
    QVERIFY(QMetaObject::invokeMethod(app()->mainWindow(), slot));
}

void MainAppTest::initLanguageWithoutWindowDoesNothing()
{
    QVERIFY(!app()->mainWindow());
    app()->initLanguage();
    QVERIFY(!app()->mainWindow());
}

void MainAppTest::windowIsCreatedOnce()
{
    app()->createMainWindow(&m_translator, app());
    MainWindow* window = app()->mainWindow();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    window->hide();
    app()->createMainWindow(&m_translator, app());
    QCOMPARE(app()->mainWindow(), window);
    QVERIFY(window->isVisible());
    QCoreApplication::installTranslator(&m_translator);
}

void MainAppTest::startLanguageFollowsSystemLocale_data()
{
    QTest::addColumn<bool>("fileThere");
    QTest::newRow("German file in the working directory") << true;
    QTest::newRow("no German file") << false;
}

void MainAppTest::startLanguageFollowsSystemLocale()
{
    QFETCH(bool, fileThere);
    if (fileThere)
        QVERIFY(QFile::copy(QString::fromUtf8(kGermanFile), QStringLiteral("trans_de.qm")));
    // trans_de_DE is found as trans_de.qm by the translator's shortening lookup.
    app()->initLanguage();
    QCOMPARE(optionsTitle(),
             fileThere ? QStringLiteral("Einstellungen") : QStringLiteral("Options"));
    QCOMPARE(settingsText(),
             fileThere ? QStringLiteral("Einstellungen") : QStringLiteral("Settings"));
    QCOMPARE(m_warnings, QStringList());
}

void MainAppTest::languageMenu()
{
    QVERIFY(QFile::copy(QString::fromUtf8(kGermanFile), QStringLiteral("trans_de.qm")));
    invoke("onLanguageGerman");
    QCOMPARE(optionsTitle(), QStringLiteral("Einstellungen"));
    QCOMPARE(settingsText(), QStringLiteral("Einstellungen"));
    invoke("onLanguageEnglish");
    QCOMPARE(optionsTitle(), QStringLiteral("Options"));
    QCOMPARE(settingsText(), QStringLiteral("Settings"));
    invoke("onLanguageGerman");
    QCOMPARE(settingsText(), QStringLiteral("Einstellungen"));
    QCOMPARE(m_warnings, QStringList());
}

void MainAppTest::missingGermanFileWarnsAndLeavesEnglish()
{
    QVERIFY(QFile::copy(QString::fromUtf8(kGermanFile), QStringLiteral("trans_de.qm")));
    invoke("onLanguageGerman");
    QCOMPARE(settingsText(), QStringLiteral("Einstellungen"));
    QVERIFY(QFile::remove(QStringLiteral("trans_de.qm")));
    invoke("onLanguageGerman");
    QCOMPARE(m_warnings, QStringList{QStringLiteral(
                             "Error changing language|Couldn't load german language file\n")});
    QCOMPARE(settingsText(), QStringLiteral("Settings"));
    QCOMPARE(optionsTitle(), QStringLiteral("Options"));
}

void MainAppTest::startLanguageFollowsTheLastChoice_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("german");
    QTest::newRow("English chosen on a German system") << "en" << false;
    QTest::newRow("German chosen") << "de" << true;
    QTest::newRow("nothing chosen: the system's") << "" << true;
}

void MainAppTest::startLanguageFollowsTheLastChoice()
{
    QFETCH(QString, chosen);
    QFETCH(bool, german);
    QVERIFY(QFile::copy(QString::fromUtf8(kGermanFile), QStringLiteral("trans_de.qm")));
    MainWindow* window = app()->mainWindow();
    // The other language on screen, and the choice as the last run left it.
    window->changeLanguage(german ? QString() : QStringLiteral("trans_de.qm"));
    SettingsValues values = window->settings()->values();
    QCOMPARE(values.set(SettingsValues::Language, chosen), SettingsValues::Problem::None);
    QVERIFY(window->settings()->save(values, {SettingsValues::Language}));

    app()->initLanguage();
    QCOMPARE(settingsText(), german ? QStringLiteral("Einstellungen") : QStringLiteral("Settings"));
    QCOMPARE(optionsTitle(), german ? QStringLiteral("Einstellungen") : QStringLiteral("Options"));
    QCOMPARE(m_warnings, QStringList());
}

// The desktop ties a window to its menu entry by the entry's file name (Wayland) or by the
// window's class (X11, where Qt uses the application name), and shows the entry's icon.
void MainAppTest::desktopEntryFitsTheProgram()
{
    const QString id = QGuiApplication::desktopFileName();
    const QByteArray entry = sourceFile(id + QStringLiteral(".desktop"));
    QVERIFY2(!entry.isEmpty(), qPrintable(id));
    QCOMPARE(desktopValue(entry, "StartupWMClass"), QCoreApplication::applicationName());
    QCOMPARE(desktopValue(entry, "Icon"), id);
    QVERIFY(!sourceFile(QStringLiteral("icons/%1.svg").arg(id)).isEmpty());
    const QByteArray metainfo = sourceFile(id + QStringLiteral(".metainfo.xml"));
    QVERIFY(metainfo.contains("<launchable type=\"desktop-id\">" + id.toUtf8() + ".desktop<"));
}

int main(int argc, char** argv)
{
    // A German system, and a private per-user settings folder.
    qputenv("LC_ALL", "de_DE.UTF-8");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    MainApp app(argc, argv);
    MainAppTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainapp.moc"
