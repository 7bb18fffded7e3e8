// The settings record and the options dialog: the store choice (local INI file or per-user
// store), the eleven keys with their defaults, and the dialog's widgets and rules. Every test
// runs in its own working directory; the per-user store lives in a private folder.
#include "stderrcapture.h"

#include "app/optionsdialog.h"
#include "charger/chargermanager.h"
#include "charger/icharger.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QPoint>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace
{

using Keys = QMap<QString, QString>;

// A complete store that differs from the defaults in every key.
Keys fullStore()
{
    return {{"host", "db.example.org"},
            {"db", "logbook"},
            {"username", "pilot"},
            {"port", "5432"},
            {"pw", "secret"},
            {"sqlitefilename", "my.sqlite"},
            {"usesqlite", "true"},
            {"usecharger", "true"},
            {"chargerclass", "0"},
            {"chargersubtype", "2"},
            {"chargerportwin32", "ttyUSB1"}};
}

SSerInfo port(const QString& name)
{
    SSerInfo info;
    info.devicePath = QStringLiteral("/dev/") + name;
    info.portName = name;
    info.friendlyName = QStringLiteral("USB Serial Port (%1)").arg(name);
    info.portDescription = QStringLiteral("USB Serial Port");
    return info;
}

} // namespace

class OptionsDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void defaultsWithEmptyStore();
    void storeWithTenKeysIsIgnored();
    void storeWithElevenKeysIsRead();
    void missingKeyInFullStore_data();
    void missingKeyInFullStore();
    void writeAndReadBack();
    void localIniModeAndItsMessage_data();
    void localIniModeAndItsMessage();
    void portAboveRangeShowsMaximum_data();
    void portAboveRangeShowsMaximum();
    void form();
    void sqliteEnablingRule();
    void chargerEnablingRule_data();
    void chargerEnablingRule();
    void chargerListFromManager();
    void portList_data();
    void portList();
    void vanishedPortBecomesFirstListed();
    void unlistedChargerBecomesCurrentOne();
    void withoutChargerManager();
    void execRescansPorts();
    void browseKeepsOtherEdits();
    void browseCancelledChangesNothing();
    void cancelKeepsClickedValuesUnstored();

private:
    void writeIni(const Keys& keys);
    std::unique_ptr<OptionsDialog> makeDialog();
    template <class T> T* child(const char* name) const
    {
        T* widget = m_dialog->findChild<T*>(QLatin1String(name));
        if (!widget)
            qWarning("no child %s", name);
        return widget;
    }
    QStringList comboTexts(const char* name) const;
    // Runs the dialog and presses OK or Cancel from inside it.
    int execAndPress(QDialogButtonBox::StandardButton button);

    std::unique_ptr<QTemporaryDir> m_workDir;
    QString m_oldDir;
    std::unique_ptr<ChargerManager> m_manager;
    QVector<SSerInfo> m_ports;
    std::unique_ptr<OptionsDialog> m_dialog;
    QString m_chosenFile;
};

void OptionsDialogTest::init()
{
    m_workDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_workDir->isValid());
    m_oldDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_workDir->path()));
    // The per-user store starts empty.
    QSettings user(QStringLiteral("Kelvorn"), QStringLiteral("Tarvelo"));
    user.clear();
    user.sync();

    m_ports = {port(QStringLiteral("ttyUSB0")), port(QStringLiteral("ttyUSB1"))};
    m_manager = std::make_unique<ChargerManager>();
    auto* icharger = dynamic_cast<ICharger*>(m_manager->charger(0));
    QVERIFY(icharger);
    icharger->setPortLister([this](QVector<SSerInfo>* ports, bool) { *ports = m_ports; });
    OptionsDialog::setFileChooser(
        [this](QWidget*, const QString&, const QString&) { return m_chosenFile; });
}

void OptionsDialogTest::cleanup()
{
    m_dialog.reset();
    m_manager.reset();
    OptionsDialog::setFileChooser(nullptr);
    QDir::setCurrent(m_oldDir);
    m_workDir.reset();
}

void OptionsDialogTest::writeIni(const Keys& keys)
{
    QFile f(QStringLiteral("tarvelo.ini"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    QByteArray text = "[General]\n";
    for (auto it = keys.begin(); it != keys.end(); ++it)
        text += it.key().toUtf8() + '=' + it.value().toUtf8() + '\n';
    f.write(text);
}

std::unique_ptr<OptionsDialog> OptionsDialogTest::makeDialog()
{
    return std::make_unique<OptionsDialog>(nullptr, m_manager.get());
}

QStringList OptionsDialogTest::comboTexts(const char* name) const
{
    QStringList texts;
    auto* combo = child<QComboBox>(name);
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

int OptionsDialogTest::execAndPress(QDialogButtonBox::StandardButton which)
{
    QTimer::singleShot(0, this, [this, which] {
        QTest::mouseClick(child<QDialogButtonBox>("m_pButtonBox")->button(which), Qt::LeftButton);
    });
    return m_dialog->exec();
}

void OptionsDialogTest::defaultsWithEmptyStore()
{
    StderrCapture capture(m_workDir->filePath(QStringLiteral("stderr.txt")));
    m_dialog = makeDialog();
    QCOMPARE(capture.text(), QByteArray());
    QCOMPARE(m_dialog->host(), QStringLiteral("localhost"));
    QCOMPARE(m_dialog->m_iPort, 3306);
    QCOMPARE(m_dialog->database(), QStringLiteral("tarvelo"));
    QCOMPARE(m_dialog->user(), QStringLiteral("tarvelo"));
    QCOMPARE(m_dialog->password(), QStringLiteral("qmbrxolte"));
    QCOMPARE(m_dialog->sqliteFile(), QStringLiteral("tarvelo.sqlite"));
    QCOMPARE(m_dialog->m_bUseSqlite, false);
    QCOMPARE(m_dialog->m_bUseCharger, false);
    // The first listed charger and port are taken into the record.
    QCOMPARE(m_dialog->chargerSelection(), std::make_pair(0, 0));
    QCOMPARE(m_dialog->m_strChargerPort, QStringLiteral("ttyUSB0"));
    // Nothing is written before the user accepts the dialog.
    m_dialog.reset();
    QSettings user(QStringLiteral("Kelvorn"), QStringLiteral("Tarvelo"));
    QCOMPARE(user.allKeys(), QStringList());
}

void OptionsDialogTest::storeWithTenKeysIsIgnored()
{
    Keys keys = fullStore();
    keys.remove(QStringLiteral("pw"));
    writeIni(keys);
    m_dialog = makeDialog();
    QCOMPARE(m_dialog->host(), QStringLiteral("localhost"));
    QCOMPARE(m_dialog->m_iPort, 3306);
    QCOMPARE(m_dialog->database(), QStringLiteral("tarvelo"));
    QCOMPARE(m_dialog->m_bUseSqlite, false);
    QCOMPARE(m_dialog->m_bUseCharger, false);
    QCOMPARE(m_dialog->chargerSelection(), std::make_pair(0, 0));
}

void OptionsDialogTest::storeWithElevenKeysIsRead()
{
    writeIni(fullStore());
    m_dialog = makeDialog();
    QCOMPARE(m_dialog->host(), QStringLiteral("db.example.org"));
    QCOMPARE(m_dialog->database(), QStringLiteral("logbook"));
    QCOMPARE(m_dialog->user(), QStringLiteral("pilot"));
    QCOMPARE(m_dialog->m_iPort, 5432);
    QCOMPARE(m_dialog->password(), QStringLiteral("secret"));
    QCOMPARE(m_dialog->sqliteFile(), QStringLiteral("my.sqlite"));
    QCOMPARE(m_dialog->m_bUseSqlite, true);
    QCOMPARE(m_dialog->m_bUseCharger, true);
    QCOMPARE(m_dialog->chargerSelection(), std::make_pair(0, 2));
    QCOMPARE(m_dialog->m_strChargerPort, QStringLiteral("ttyUSB1"));
    QCOMPARE(m_dialog->portIndex(), 1);
    // and the widgets show it
    QCOMPARE(child<QLineEdit>("m_pLineEditHostname")->text(), QStringLiteral("db.example.org"));
    QCOMPARE(child<QSpinBox>("m_pSpinBoxPort")->value(), 5432);
    QCOMPARE(child<QLineEdit>("m_pLineEditSqLiteFilename")->text(), QStringLiteral("my.sqlite"));
    QVERIFY(child<QCheckBox>("m_pCheckSqLite")->isChecked());
    QCOMPARE(child<QComboBox>("m_pComboCharger")->currentText(),
             QStringLiteral("Junsi iCharger 1010B+"));
    QCOMPARE(child<QComboBox>("m_pComboChargerPort")->currentText(), QStringLiteral("ttyUSB1"));
}

void OptionsDialogTest::missingKeyInFullStore_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("host") << "host";
    QTest::newRow("port") << "port";
    QTest::newRow("usesqlite") << "usesqlite";
    QTest::newRow("chargersubtype") << "chargersubtype";
}

void OptionsDialogTest::missingKeyInFullStore()
{
    QFETCH(QString, key);
    Keys keys = fullStore();
    keys.remove(key);
    keys.insert(QStringLiteral("somethingelse"), QStringLiteral("1"));
    writeIni(keys);
    m_dialog = makeDialog();
    QCOMPARE(m_dialog->host(),
             key == QLatin1String("host") ? QString() : QStringLiteral("db.example.org"));
    QCOMPARE(m_dialog->m_iPort, key == QLatin1String("port") ? 0 : 5432);
    QCOMPARE(m_dialog->m_bUseSqlite, key != QLatin1String("usesqlite"));
    QCOMPARE(m_dialog->m_iChargerSubtype, key == QLatin1String("chargersubtype") ? 0 : 2);
    // The keys that are there are all read.
    QCOMPARE(m_dialog->password(), QStringLiteral("secret"));
    QCOMPARE(m_dialog->m_strChargerPort, QStringLiteral("ttyUSB1"));
}

void OptionsDialogTest::writeAndReadBack()
{
    writeIni({});
    m_dialog = makeDialog();
    auto type = [this](const char* name, const QString& text) {
        QWidget* w = child<QWidget>(name);
        QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(w, text);
    };
    type("m_pLineEditHostname", QStringLiteral("mariadb.local"));
    type("m_pLineEditDatabase", QStringLiteral("flights"));
    child<QLineEdit>("m_pLineEditUser")->setText(QStringLiteral("änna"));
    type("m_pLineEditPassword", QStringLiteral("pa ss=w;rd#"));
    type("m_pSpinBoxPort", QStringLiteral("65535"));
    QTest::mouseClick(child<QCheckBox>("m_pCheckSqLite"), Qt::LeftButton);
    type("m_pLineEditSqLiteFilename", QStringLiteral("/data/log book.sqlite"));
    QTest::mouseClick(child<QCheckBox>("m_pCheckCharger"), Qt::LeftButton);
    child<QComboBox>("m_pComboCharger")->setCurrentIndex(1);
    child<QComboBox>("m_pComboChargerPort")->setCurrentIndex(1);
    m_dialog->takeValues();
    m_dialog->writeSettings();
    m_dialog.reset(); // the store writes at the latest when it goes

    QSettings ini(QStringLiteral("tarvelo.ini"), QSettings::IniFormat);
    QCOMPARE(ini.allKeys().size(), 11);
    QCOMPARE(ini.value("port").toString(), QStringLiteral("65535"));
    QCOMPARE(ini.value("usesqlite").toString(), QStringLiteral("true"));
    QCOMPARE(ini.value("usecharger").toString(), QStringLiteral("true"));
    QCOMPARE(ini.value("chargersubtype").toString(), QStringLiteral("1"));
    QCOMPARE(ini.value("pw").toString(), QStringLiteral("pa ss=w;rd#"));

    m_dialog = makeDialog();
    QCOMPARE(m_dialog->host(), QStringLiteral("mariadb.local"));
    QCOMPARE(m_dialog->database(), QStringLiteral("flights"));
    QCOMPARE(m_dialog->user(), QStringLiteral("änna"));
    QCOMPARE(m_dialog->password(), QStringLiteral("pa ss=w;rd#"));
    QCOMPARE(m_dialog->m_iPort, 65535);
    QCOMPARE(m_dialog->sqliteFile(), QStringLiteral("/data/log book.sqlite"));
    QCOMPARE(m_dialog->m_bUseSqlite, true);
    QCOMPARE(m_dialog->m_bUseCharger, true);
    QCOMPARE(m_dialog->chargerSelection(), std::make_pair(0, 1));
    QCOMPARE(m_dialog->m_strChargerPort, QStringLiteral("ttyUSB1"));
}

void OptionsDialogTest::localIniModeAndItsMessage_data()
{
    QTest::addColumn<bool>("local");
    QTest::newRow("tarvelo.ini in the working directory") << true;
    QTest::newRow("per-user store") << false;
}

void OptionsDialogTest::localIniModeAndItsMessage()
{
    QFETCH(bool, local);
    if (local)
        writeIni(fullStore());
    {
        StderrCapture capture(m_workDir->filePath(QStringLiteral("stderr.txt")));
        m_dialog = makeDialog();
        QCOMPARE(capture.text(),
                 local ? QByteArray("UsbStick mode - using local ini file\n") : QByteArray());
    }
    const QString ini = QDir::current().absoluteFilePath(QStringLiteral("tarvelo.ini"));
    if (local) {
        QCOMPARE(QFileInfo(m_dialog->settingsFile()).canonicalFilePath(),
                 QFileInfo(ini).canonicalFilePath());
        QCOMPARE(m_dialog->host(), QStringLiteral("db.example.org"));
    } else {
        QCOMPARE(m_dialog->settingsFile(),
                 QSettings(QStringLiteral("Kelvorn"), QStringLiteral("Tarvelo")).fileName());
        QVERIFY(m_dialog->settingsFile().endsWith(QStringLiteral("Kelvorn/Tarvelo.conf")));
    }
    m_dialog->m_strHost = QStringLiteral("written");
    m_dialog->writeSettings();
    m_dialog.reset();
    // The program never creates the local file itself.
    QCOMPARE(QFile::exists(ini), local);
    if (local) {
        QCOMPARE(QSettings(ini, QSettings::IniFormat).value("host").toString(),
                 QStringLiteral("written"));
    } else {
        QSettings user(QStringLiteral("Kelvorn"), QStringLiteral("Tarvelo"));
        QCOMPARE(user.value("host").toString(), QStringLiteral("written"));
        QCOMPARE(user.allKeys().size(), 11);
    }
}

void OptionsDialogTest::portAboveRangeShowsMaximum_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("shown");
    QTest::newRow("65535") << "65535" << 65535;
    QTest::newRow("65536") << "65536" << 65535;
    QTest::newRow("66535") << "66535" << 65535;
    QTest::newRow("0") << "0" << 0;
    QTest::newRow("negative") << "-1" << 0;
}

void OptionsDialogTest::portAboveRangeShowsMaximum()
{
    QFETCH(QString, stored);
    QFETCH(int, shown);
    Keys keys = fullStore();
    keys[QStringLiteral("port")] = stored;
    writeIni(keys);
    m_dialog = makeDialog();
    QCOMPARE(child<QSpinBox>("m_pSpinBoxPort")->value(), shown);
    QCOMPARE(child<QSpinBox>("m_pSpinBoxPort")->maximum(), 65535);
    QCOMPARE(m_dialog->m_iPort, shown);
}

void OptionsDialogTest::form()
{
    m_dialog = makeDialog();
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Options"));
    auto* tabs = child<QTabWidget>("m_pTabWidgetOptions");
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Database"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Charger"));
    QCOMPARE(tabs->widget(0), child<QWidget>("m_pTabDatabase"));
    QCOMPARE(tabs->widget(1), child<QWidget>("m_pTabCharger"));
    QCOMPARE(child<QLineEdit>("m_pLineEditPassword")->echoMode(), QLineEdit::Password);
    QCOMPARE(child<QPushButton>("m_pButtonBrowseSqliteFile")->text(), QStringLiteral("..."));
    QCOMPARE(child<QCheckBox>("m_pCheckSqLite")->text(), QStringLiteral("use SqLite"));
    QCOMPARE(child<QCheckBox>("m_pCheckCharger")->text(), QStringLiteral("use charger"));
    auto* box = child<QDialogButtonBox>("m_pButtonBox");
    QCOMPARE(box->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
}

void OptionsDialogTest::sqliteEnablingRule()
{
    m_dialog = makeDialog();
    const char* server[] = {"m_pLineEditDatabase", "m_pLineEditHostname", "m_pLineEditUser",
                            "m_pLineEditPassword", "m_pSpinBoxPort"};
    const char* file[] = {"m_pLineEditSqLiteFilename", "m_pButtonBrowseSqliteFile"};
    auto* check = child<QCheckBox>("m_pCheckSqLite");
    for (bool sqlite : {false, true, false}) {
        if (check->isChecked() != sqlite)
            QTest::mouseClick(check, Qt::LeftButton);
        QCOMPARE(m_dialog->m_bUseSqlite, sqlite);
        for (const char* name : server)
            QVERIFY2(child<QWidget>(name)->isEnabled() == !sqlite, name);
        for (const char* name : file)
            QVERIFY2(child<QWidget>(name)->isEnabled() == sqlite, name);
    }
}

void OptionsDialogTest::chargerEnablingRule_data()
{
    QTest::addColumn<bool>("stored");
    QTest::newRow("charger off") << false;
    QTest::newRow("charger on") << true;
}

void OptionsDialogTest::chargerEnablingRule()
{
    QFETCH(bool, stored);
    Keys keys = fullStore();
    keys[QStringLiteral("usecharger")] = stored ? QStringLiteral("true") : QStringLiteral("false");
    writeIni(keys);
    m_dialog = makeDialog();
    auto* check = child<QCheckBox>("m_pCheckCharger");
    QCOMPARE(check->isChecked(), stored);
    for (bool on : {stored, !stored, stored}) {
        if (check->isChecked() != on)
            QTest::mouseClick(check, Qt::LeftButton);
        QCOMPARE(child<QComboBox>("m_pComboCharger")->isEnabled(), on);
        QCOMPARE(child<QComboBox>("m_pComboChargerPort")->isEnabled(), on);
        QCOMPARE(m_dialog->m_bUseCharger, on);
    }
    // ... and in the next showing.
    QTimer::singleShot(0, this, [this, stored] {
        QCOMPARE(child<QComboBox>("m_pComboCharger")->isEnabled(), stored);
        m_dialog->reject();
    });
    m_dialog->exec();
}

void OptionsDialogTest::chargerListFromManager()
{
    m_dialog = makeDialog();
    QCOMPARE(
        comboTexts("m_pComboCharger"),
        (QStringList{"Junsi iCharger 106B+", "Junsi iCharger 208B+", "Junsi iCharger 1010B+"}));
    auto* combo = child<QComboBox>("m_pComboCharger");
    for (int i = 0; i < combo->count(); ++i)
        QCOMPARE(combo->itemData(i).toPoint(), QPoint(0, i));
}

void OptionsDialogTest::portList_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("two ports") << QStringList{"ttyUSB0", "ttyACM3"}
                               << QStringList{"ttyUSB0", "ttyACM3"};
    QTest::newRow("no port") << QStringList{} << QStringList{"none"};
}

void OptionsDialogTest::portList()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, shown);
    m_ports.clear();
    for (const QString& name : names)
        m_ports << port(name);
    m_dialog = makeDialog();
    QCOMPARE(comboTexts("m_pComboChargerPort"), shown);
    auto* combo = child<QComboBox>("m_pComboChargerPort");
    for (int i = 0; i < combo->count(); ++i)
        QCOMPARE(combo->itemData(i).toInt(), names.isEmpty() ? -1 : i);
    QCOMPARE(combo->currentIndex(), 0);
}

void OptionsDialogTest::vanishedPortBecomesFirstListed()
{
    Keys keys = fullStore();
    keys[QStringLiteral("chargerportwin32")] = QStringLiteral("ttyGone");
    writeIni(keys);
    m_dialog = makeDialog();
    QCOMPARE(m_dialog->m_strChargerPort, QStringLiteral("ttyUSB0"));
    QCOMPARE(m_dialog->portIndex(), 0);
    // OK writes the port that is shown.
    QCOMPARE(execAndPress(QDialogButtonBox::Ok), 1);
    m_dialog->takeValues();
    m_dialog->writeSettings();
    m_dialog.reset();
    QCOMPARE(QSettings(QStringLiteral("tarvelo.ini"), QSettings::IniFormat)
                 .value("chargerportwin32")
                 .toString(),
             QStringLiteral("ttyUSB0"));
}

void OptionsDialogTest::unlistedChargerBecomesCurrentOne()
{
    Keys keys = fullStore();
    keys[QStringLiteral("chargersubtype")] = QStringLiteral("7");
    writeIni(keys);
    m_dialog = makeDialog();
    QCOMPARE(m_dialog->chargerSelection(), std::make_pair(0, 0));
}

void OptionsDialogTest::withoutChargerManager()
{
    m_dialog = std::make_unique<OptionsDialog>(nullptr, nullptr);
    QCOMPARE(child<QComboBox>("m_pComboCharger")->count(), 0);
    QCOMPARE(child<QComboBox>("m_pComboChargerPort")->count(), 0);
    // No listed charger: the record keeps "no charger".
    QCOMPARE(m_dialog->chargerSelection(), std::make_pair(int(ChargerManager::kNoCharger), 0));

    // A complete store without the class reads it as 0, not as the built-in 255.
    Keys keys = fullStore();
    keys.remove(QStringLiteral("chargerclass"));
    keys.insert(QStringLiteral("somethingelse"), QStringLiteral("1"));
    writeIni(keys);
    m_dialog = std::make_unique<OptionsDialog>(nullptr, nullptr);
    QCOMPARE(m_dialog->chargerSelection(), std::make_pair(0, 2));
}

void OptionsDialogTest::execRescansPorts()
{
    m_dialog = makeDialog();
    QCOMPARE(comboTexts("m_pComboChargerPort"), (QStringList{"ttyUSB0", "ttyUSB1"}));
    m_ports.append(port(QStringLiteral("ttyUSB2")));
    QStringList during;
    QTimer::singleShot(0, this, [this, &during] {
        during = comboTexts("m_pComboChargerPort");
        m_dialog->reject();
    });
    QCOMPARE(m_dialog->exec(), 0);
    QCOMPARE(during, (QStringList{"ttyUSB0", "ttyUSB1", "ttyUSB2"}));
    QCOMPARE(execAndPress(QDialogButtonBox::Ok), 1);
}

void OptionsDialogTest::browseKeepsOtherEdits()
{
    writeIni(fullStore());
    m_dialog = makeDialog();
    auto* host = child<QLineEdit>("m_pLineEditHostname");
    QTest::mouseClick(child<QCheckBox>("m_pCheckSqLite"), Qt::LeftButton); // server fields on
    QVERIFY(host->isEnabled());
    QTest::keyClick(host, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(host, QStringLiteral("typed.example.org"));
    QTest::mouseClick(child<QCheckBox>("m_pCheckSqLite"), Qt::LeftButton); // file fields on
    auto* user = child<QLineEdit>("m_pLineEditUser");
    user->setText(QStringLiteral("typed user")); // disabled now, but edited before
    m_chosenFile = QStringLiteral("/media/stick/chosen.sqlite");
    QTest::mouseClick(child<QPushButton>("m_pButtonBrowseSqliteFile"), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>("m_pLineEditSqLiteFilename")->text(), m_chosenFile);
    QCOMPARE(m_dialog->sqliteFile(), m_chosenFile);
    QCOMPARE(host->text(), QStringLiteral("typed.example.org"));
    QCOMPARE(user->text(), QStringLiteral("typed user"));
    QCOMPARE(child<QSpinBox>("m_pSpinBoxPort")->value(), 5432);
}

void OptionsDialogTest::browseCancelledChangesNothing()
{
    writeIni(fullStore());
    m_dialog = makeDialog();
    auto* file = child<QLineEdit>("m_pLineEditSqLiteFilename");
    m_chosenFile.clear();
    QTest::mouseClick(child<QPushButton>("m_pButtonBrowseSqliteFile"), Qt::LeftButton);
    QCOMPARE(file->text(), QStringLiteral("my.sqlite"));
    QCOMPARE(m_dialog->sqliteFile(), QStringLiteral("my.sqlite"));
}

void OptionsDialogTest::cancelKeepsClickedValuesUnstored()
{
    writeIni(fullStore());
    QFile ini(QStringLiteral("tarvelo.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray before = ini.readAll();
    ini.close();
    m_dialog = makeDialog();
    QTimer::singleShot(0, this, [this] {
        QTest::mouseClick(child<QCheckBox>("m_pCheckCharger"), Qt::LeftButton);
        QTest::mouseClick(child<QDialogButtonBox>("m_pButtonBox")->button(QDialogButtonBox::Cancel),
                          Qt::LeftButton);
    });
    QCOMPARE(m_dialog->exec(), 0);
    QCOMPARE(m_dialog->m_bUseCharger, false);
    QVERIFY(!child<QCheckBox>("m_pCheckCharger")->isChecked());
    m_dialog.reset();
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QCOMPARE(ini.readAll(), before);
}

int main(int argc, char** argv)
{
    // The per-user store goes to a private folder, never to the user's own settings.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication app(argc, argv);
    OptionsDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_optionsdialog.moc"
