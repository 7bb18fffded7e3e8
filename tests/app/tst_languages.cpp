// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The German translation: where the program finds it, and the forms and tables in German and
// back in English.
#include "app/optionsdialog.h"
#include "app/translationfinder.h"
#include "views/aboutdialog.h"
#include "views/accumanagementdialog.h"
#include "views/modelmanagementdialog.h"
#include "views/storefixture.h"
#include "views/tablemodelkinds.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

#include <memory>

class LanguagesTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void foundBesideTheProgram_data();
    void foundBesideTheProgram();
    void workingDirectoryComesFirst();
    void missingFileLeavesTranslatorEmpty_data();
    void missingFileLeavesTranslatorEmpty();
    void formsInGermanAndBack();
    void tablesInGerman_data();
    void tablesInGerman();
    void everyTextIsTranslated();

private:
    void switchTo(const QString& file, bool expectLoaded);

    std::unique_ptr<QTemporaryDir> m_workDir;
    QString m_oldDir;
    QTranslator m_translator;
};

void LanguagesTest::init()
{
    m_workDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_workDir->isValid());
    m_oldDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_workDir->path()));
    QCoreApplication::installTranslator(&m_translator);
}

void LanguagesTest::cleanup()
{
    QCoreApplication::removeTranslator(&m_translator);
    (void)m_translator.load(QString());
    QDir::setCurrent(m_oldDir);
    m_workDir.reset();
}

// As the main window switches: out, load, in again whatever the result.
void LanguagesTest::switchTo(const QString& file, bool expectLoaded)
{
    QCoreApplication::removeTranslator(&m_translator);
    QCOMPARE(TranslationFinder::load(&m_translator, file), expectLoaded);
    QCoreApplication::installTranslator(&m_translator);
}

void LanguagesTest::foundBesideTheProgram_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("trans_de.qm") << "trans_de.qm";
    QTest::newRow("without suffix") << "trans_de";
    QTest::newRow("system locale de_DE") << "trans_de_DE";
    QTest::newRow("system locale de_AT.UTF-8") << "trans_de_AT.UTF-8";
}

void LanguagesTest::foundBesideTheProgram()
{
    QFETCH(QString, name);
    // Started from a folder without translations, as an installed program usually is.
    QVERIFY(!QFile::exists(QStringLiteral("trans_de.qm")));
    QVERIFY(TranslationFinder::load(&m_translator, name));
    QCOMPARE(QFileInfo(m_translator.filePath()).canonicalFilePath(),
             QFileInfo(QCoreApplication::applicationDirPath() + QStringLiteral("/trans_de.qm"))
                 .canonicalFilePath());
    QCOMPARE(m_translator.language(), QStringLiteral("de_DE"));
}

void LanguagesTest::workingDirectoryComesFirst()
{
    QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/trans_de.qm"),
                        QStringLiteral("trans_de.qm")));
    QVERIFY(TranslationFinder::load(&m_translator, QStringLiteral("trans_de.qm")));
    QCOMPARE(QFileInfo(m_translator.filePath()).canonicalFilePath(),
             QFileInfo(QStringLiteral("trans_de.qm")).canonicalFilePath());
    QCOMPARE(TranslationFinder::directories().value(0), QString());
    QCOMPARE(TranslationFinder::directories().value(1), QCoreApplication::applicationDirPath());
    QCOMPARE(TranslationFinder::directories().size(), 3);
}

void LanguagesTest::missingFileLeavesTranslatorEmpty_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("English: the empty name") << "";
    QTest::newRow("no such language") << "trans_xx.qm";
}

void LanguagesTest::missingFileLeavesTranslatorEmpty()
{
    QFETCH(QString, name);
    switchTo(QStringLiteral("trans_de.qm"), true);
    QCOMPARE(QCoreApplication::translate("OptionsDialog", "Options"),
             QStringLiteral("Einstellungen"));
    switchTo(name, false);
    QVERIFY(m_translator.isEmpty());
    QCOMPARE(QCoreApplication::translate("OptionsDialog", "Options"), QStringLiteral("Options"));
}

void LanguagesTest::formsInGermanAndBack()
{
    StoreFixture store;
    switchTo(QStringLiteral("trans_de.qm"), true);

    OptionsDialog options(nullptr, nullptr);
    QCOMPARE(options.windowTitle(), QStringLiteral("Einstellungen"));
    auto* tabs = options.findChild<QTabWidget*>(QStringLiteral("m_pTabWidgetOptions"));
    QCOMPARE(tabs->tabText(0), QStringLiteral("Datenbank"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Ladegerät"));

    {
        AccuManagementDialog packs(nullptr, store.history());
        QCOMPARE(packs.windowTitle(), QStringLiteral("Akkuverwaltung"));
        QCOMPARE(packs.findChild<QPushButton*>(QStringLiteral("m_pButtonAdd"))->text(),
                 QStringLiteral("Hinzufügen"));
        ModelManagementDialog models(nullptr, store.history());
        QCOMPARE(models.windowTitle(), QStringLiteral("Modellverwaltung"));
        auto* types = models.findChild<QComboBox*>(QStringLiteral("m_pModelTyp"));
        QCOMPARE(types->itemText(0), QStringLiteral("Flugzeug"));
        QCOMPARE(types->itemText(3), QStringLiteral("Boot"));
        AboutDialog about(nullptr);
        QCOMPARE(about.windowTitle(), QStringLiteral("Über Tarvelo"));
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("label_3"))->text(),
                 QStringLiteral("Autor:"));
        QCOMPARE(about.findChild<QLabel*>(QStringLiteral("m_pLabelVersion"))->text(),
                 QStringLiteral("0.8.0"));
    }

    // Back to English: the kept dialog shows its source texts again.
    switchTo(QString(), false);
    options.retranslate();
    QCOMPARE(options.windowTitle(), QStringLiteral("Options"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Charger"));
    AccuManagementDialog packs(nullptr, store.history());
    QCOMPARE(packs.windowTitle(), QStringLiteral("Accu management"));

    // and German again, for the kept dialog too
    switchTo(QStringLiteral("trans_de.qm"), true);
    options.retranslate();
    QCOMPARE(options.windowTitle(), QStringLiteral("Einstellungen"));
}

void LanguagesTest::tablesInGerman_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("log") << 0 << QStringList{"Datum",       "Akku",    "Zeit (m:ss / h:mm:ss)",
                                             "Modell",      "Geladen", "Restkapazität",
                                             "Mittl. Strom"};
    QTest::newRow("model statistics") << 1
                                      << QStringList{"Modell",
                                                     "Anzahl Flüge",
                                                     "Gesamte Flugzeit (m:ss / h:mm:ss)",
                                                     "Mittlere Zeit pro Flug (m:ss / h:mm:ss)",
                                                     "Mittlerer Strom",
                                                     "Mittlere Restkapazität"};
    QTest::newRow("pack statistics") << 2
                                     << QStringList{"Akku",
                                                    "Anzahl Zyklen",
                                                    "Gesamte Nutzungszeit (m:ss / h:mm:ss)",
                                                    "Mittlere Zeit pro Nutzung (m:ss / h:mm:ss)",
                                                    "Mittlerer Strom",
                                                    "Mittlere Restkapazität"};
}

void LanguagesTest::tablesInGerman()
{
    QFETCH(int, which);
    QFETCH(QStringList, titles);
    switchTo(QStringLiteral("trans_de.qm"), true);
    std::unique_ptr<TableModelBase> model = makeTableModel(which);
    for (int section = 0; section < titles.size(); ++section)
        QCOMPARE(model->headerData(section, Qt::Horizontal).toString(), titles[section]);
}

void LanguagesTest::everyTextIsTranslated()
{
    QFile ts(QStringLiteral(TARVELO_SOURCE_DIR "/translations/tarvelo_de.ts"));
    QVERIFY(ts.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&ts);
    QString context, source;
    int messages = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            // Plural forms come as <numerusform> children.
            const QString text =
                xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
            ++messages;
            QVERIFY2(type.isEmpty() && !text.isEmpty(),
                     qPrintable(context + QStringLiteral(": ") + source));
        }
    }
    QVERIFY(!xml.hasError());
    QVERIFY(messages > 100);
}

int main(int argc, char** argv)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication app(argc, argv);
    LanguagesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_languages.moc"
