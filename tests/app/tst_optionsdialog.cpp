// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The options dialog: its widgets and rules, and the copy of the settings it edits, which OK
// saves and Cancel drops. Every test runs in its own working directory; the per-user store
// lives in a private folder.
#include "immutable.h"
#include "stderrcapture.h"

#include "app/optionsdialog.h"
#include "charger/chargermanager.h"
#include "charger/icharger.h"
#include "settings/tarvelosettings.h"
#include "storage/sqliteconnection.h"
#include "views/filechooser.h"
#include "views/messagebox.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPoint>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace
{
using Key = SettingsValues::Key;

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

SSerInfo port(const QString& name, const QString& description = QStringLiteral("USB Serial Port"))
{
    SSerInfo info;
    info.devicePath = QStringLiteral("/dev/") + name;
    info.portName = name;
    info.friendlyName =
        description.isEmpty() ? name : description + QStringLiteral(" (%1)").arg(name);
    info.portDescription = description;
    return info;
}

// How the list shows a port of port().
QString shown(const char* name)
{
    return QString::fromLatin1(name) + QStringLiteral(" \u2013 USB Serial Port");
}

} // namespace

class OptionsDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void defaultsWithEmptyStore();
    void storeWithElevenKeysIsRead();
    void okSavesEveryOption();
    void localIniModeAndItsMessage_data();
    void localIniModeAndItsMessage();
    void portShown_data();
    void portShown();
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
    void browsedBookBesideTheIni();
    void browseCancelledChangesNothing();
    void namingANewBookOffersToCreateIt_data();
    void namingANewBookOffersToCreateIt();
    void cancelDropsEveryChange_data();
    void cancelDropsEveryChange();
    void readOnlyIniRefusesOk();

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
    void type(const char* name, const QString& text);
    void press(QDialogButtonBox::StandardButton button);
    // Runs the dialog, and `action` in it once it is up; the action closes it.
    int execWith(std::function<void()> action);
    // Runs the dialog and presses OK or Cancel from inside it.
    int execAndPress(QDialogButtonBox::StandardButton button);

    std::unique_ptr<QTemporaryDir> m_workDir;
    std::unique_ptr<QTemporaryDir> m_elsewhere; // another folder than the INI's
    int m_iAnswer = 0;                          // to questions: the button's index
    QStringList m_questions;
    QString m_oldDir;
    std::unique_ptr<ChargerManager> m_manager;
    QVector<SSerInfo> m_ports;
    std::unique_ptr<OptionsDialog> m_dialog;
    QString m_chosenFile;
    QStringList m_warnings;
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
    icharger->setPortLister([this](QVector<SSerInfo>* ports) { *ports = m_ports; });
    m_elsewhere = std::make_unique<QTemporaryDir>();
    FileChooser::setHandler([this](QWidget*, FileChooser::Purpose, const QString&, const QString&) {
        return m_chosenFile;
    });
    m_iAnswer = 0;
    m_questions.clear();
    MessageBox::setQuestionHandler(
        [this](QWidget*, const QString&, const QString& text, const QStringList&) {
            m_questions << text;
            return m_iAnswer;
        });
    m_warnings.clear();
    MessageBox::setHandler([this](QWidget*, const QString& title, const QString& text) {
        m_warnings << title + QLatin1Char('|') + text;
    });
}

void OptionsDialogTest::cleanup()
{
    m_dialog.reset();
    m_manager.reset();
    FileChooser::setHandler(nullptr);
    MessageBox::setQuestionHandler(nullptr);
    MessageBox::setHandler(nullptr);
    QDir::setCurrent(m_oldDir);
    m_workDir.reset();
}

// Chosen files are real, so that the dialog does not offer to create them.
static QString existingFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qWarning("cannot create %s", qPrintable(path));
    return path;
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

void OptionsDialogTest::type(const char* name, const QString& text)
{
    QWidget* w = child<QWidget>(name);
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(w, text);
}

void OptionsDialogTest::press(QDialogButtonBox::StandardButton button)
{
    QTest::mouseClick(child<QDialogButtonBox>("m_pButtonBox")->button(button), Qt::LeftButton);
}

int OptionsDialogTest::execWith(std::function<void()> action)
{
    QTimer::singleShot(0, this, action);
    return m_dialog->exec();
}

int OptionsDialogTest::execAndPress(QDialogButtonBox::StandardButton which)
{
    return execWith([this, which] { press(which); });
}

void OptionsDialogTest::defaultsWithEmptyStore()
{
    StderrCapture capture(m_workDir->filePath(QStringLiteral("stderr.txt")));
    m_dialog = makeDialog();
    QCOMPARE(capture.text(), QByteArray());
    const SettingsValues& v = m_dialog->values();
    QCOMPARE(v.host(), QStringLiteral("localhost"));
    QCOMPARE(v.port(), 3306);
    QCOMPARE(v.database(), QStringLiteral("tarvelo"));
    QCOMPARE(v.user(), QStringLiteral("tarvelo"));
    QCOMPARE(v.password(), QStringLiteral("qmbrxolte"));
    QCOMPARE(v.sqliteFile(), QStringLiteral("tarvelo.sqlite"));
    QCOMPARE(v.useSqlite(), false);
    QCOMPARE(v.useCharger(), false);
    // The first listed charger is shown, and in the copy, but no port while none was chosen;
    // the settings still say "no charger" until the user accepts.
    QCOMPARE(m_dialog->chargerSelection(), std::make_pair(0, 0));
    QCOMPARE(v.chargerPort(), QString());
    QCOMPARE(child<QComboBox>("m_pComboChargerPort")->currentText(), QStringLiteral("none"));
    QCOMPARE(m_dialog->settings()->values().chargerClass(), int(SettingsValues::kNoCharger));
    // Nothing is written before the user accepts the dialog.
    m_dialog.reset();
    QSettings user(QStringLiteral("Kelvorn"), QStringLiteral("Tarvelo"));
    QCOMPARE(user.allKeys(), QStringList());
}

void OptionsDialogTest::storeWithElevenKeysIsRead()
{
    writeIni(fullStore());
    m_dialog = makeDialog();
    const SettingsValues& v = m_dialog->values();
    QCOMPARE(v.host(), QStringLiteral("db.example.org"));
    QCOMPARE(v.database(), QStringLiteral("logbook"));
    QCOMPARE(v.user(), QStringLiteral("pilot"));
    QCOMPARE(v.port(), 5432);
    QCOMPARE(v.password(), QStringLiteral("secret"));
    QCOMPARE(v.sqliteFile(), QStringLiteral("my.sqlite"));
    QCOMPARE(v.useSqlite(), true);
    QCOMPARE(v.useCharger(), true);
    QCOMPARE(m_dialog->chargerSelection(), std::make_pair(0, 2));
    QCOMPARE(v.chargerPort(), QStringLiteral("ttyUSB1"));
    QCOMPARE(m_dialog->portIndex(), 1);
    // and the widgets show it
    QCOMPARE(child<QLineEdit>("m_pLineEditHostname")->text(), QStringLiteral("db.example.org"));
    QCOMPARE(child<QSpinBox>("m_pSpinBoxPort")->value(), 5432);
    QCOMPARE(child<QLineEdit>("m_pLineEditSqLiteFilename")->text(), QStringLiteral("my.sqlite"));
    QVERIFY(child<QCheckBox>("m_pCheckSqLite")->isChecked());
    QCOMPARE(child<QComboBox>("m_pComboCharger")->currentText(),
             QStringLiteral("Junsi iCharger 1010B+"));
    QCOMPARE(child<QComboBox>("m_pComboChargerPort")->currentText(), shown("ttyUSB1"));
}

void OptionsDialogTest::okSavesEveryOption()
{
    writeIni({});
    m_dialog = makeDialog();
    QSignalSpy changed(m_dialog->settings(), &TarveloSettings::changed);
    const int result = execWith([this] {
        type("m_pLineEditHostname", QStringLiteral("mariadb.local"));
        type("m_pLineEditDatabase", QStringLiteral("flights"));
        child<QLineEdit>("m_pLineEditUser")->setText(QStringLiteral("änna"));
        type("m_pLineEditPassword", QStringLiteral("pa ss=w;rd#"));
        type("m_pSpinBoxPort", QStringLiteral("65535"));
        child<QCheckBox>("m_pCheckSqLite")->click();
        type("m_pLineEditSqLiteFilename", QStringLiteral("/data/log book.sqlite"));
        child<QCheckBox>("m_pCheckCharger")->click();
        child<QComboBox>("m_pComboCharger")->setCurrentIndex(1);
        child<QComboBox>("m_pComboChargerPort")->setCurrentIndex(2); // after "none"
        child<QComboBox>("m_pComboChargerSpeed")->setCurrentIndex(2);
        type("m_pSpinCycleLimitLiPo", QStringLiteral("250"));
        type("m_pSpinCycleLimitPb", QStringLiteral("100000"));
        press(QDialogButtonBox::Ok);
    });
    QCOMPARE(result, 1);
    QCOMPARE(m_warnings, QStringList());
    // The settings took the copy and said so, once a changed key.
    QCOMPARE(changed.size(), 14);
    QCOMPARE(m_dialog->settings()->values().host(), QStringLiteral("mariadb.local"));
    m_dialog.reset();

    QSettings ini(QStringLiteral("tarvelo.ini"), QSettings::IniFormat);
    // What was changed is written, nothing else.
    QCOMPARE(ini.allKeys().size(), 14);
    QCOMPARE(ini.value("cyclelimits/lipo").toString(), QStringLiteral("250"));
    QCOMPARE(ini.value("cyclelimits/pb").toString(), QStringLiteral("100000"));
    QVERIFY(!ini.contains("cyclelimits/nimh"));
    QCOMPARE(ini.value("port").toString(), QStringLiteral("65535"));
    QCOMPARE(ini.value("chargerspeed").toString(), QStringLiteral("2"));
    QCOMPARE(ini.value("usesqlite").toString(), QStringLiteral("true"));
    QCOMPARE(ini.value("usecharger").toString(), QStringLiteral("true"));
    QCOMPARE(ini.value("chargersubtype").toString(), QStringLiteral("1"));
    QCOMPARE(ini.value("pw").toString(), QStringLiteral("pa ss=w;rd#"));

    m_dialog = makeDialog();
    const SettingsValues& v = m_dialog->values();
    QCOMPARE(v.host(), QStringLiteral("mariadb.local"));
    QCOMPARE(v.database(), QStringLiteral("flights"));
    QCOMPARE(v.user(), QStringLiteral("änna"));
    QCOMPARE(v.password(), QStringLiteral("pa ss=w;rd#"));
    QCOMPARE(v.port(), 65535);
    QCOMPARE(v.sqliteFile(), QStringLiteral("/data/log book.sqlite"));
    QCOMPARE(v.useSqlite(), true);
    QCOMPARE(v.useCharger(), true);
    QCOMPARE(m_dialog->chargerSelection(), std::make_pair(0, 1));
    QCOMPARE(v.chargerPort(), QStringLiteral("ttyUSB1"));
    QCOMPARE(v.cycleLimit(0), 250);
    QCOMPARE(child<QSpinBox>("m_pSpinCycleLimitPb")->value(), 100000);
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
    Keys keys = fullStore();
    keys[QStringLiteral("usesqlite")] = QStringLiteral("false"); // the host can be typed
    if (local)
        writeIni(keys);
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
        QCOMPARE(m_dialog->values().host(), QStringLiteral("db.example.org"));
    } else {
        QCOMPARE(m_dialog->settingsFile(),
                 QSettings(QStringLiteral("Kelvorn"), QStringLiteral("Tarvelo")).fileName());
        QVERIFY(m_dialog->settingsFile().endsWith(QStringLiteral("Kelvorn/Tarvelo.conf")));
    }
    QCOMPARE(execWith([this] {
                 type("m_pLineEditHostname", QStringLiteral("written"));
                 press(QDialogButtonBox::Ok);
             }),
             1);
    m_dialog.reset();
    // The program never creates the local file itself.
    QCOMPARE(QFile::exists(ini), local);
    if (local) {
        QCOMPARE(QSettings(ini, QSettings::IniFormat).value("host").toString(),
                 QStringLiteral("written"));
    } else {
        QSettings user(QStringLiteral("Kelvorn"), QStringLiteral("Tarvelo"));
        QCOMPARE(user.value("host").toString(), QStringLiteral("written"));
        // The host typed and the charger shown in place of "no charger".
        QCOMPARE(user.allKeys(), (QStringList{"chargerclass", "host"}));
    }
}

void OptionsDialogTest::portShown_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("shown");
    QTest::newRow("1") << "1" << 1;
    QTest::newRow("65535") << "65535" << 65535;
    // Out of range: the default, never a port the user did not give.
    QTest::newRow("65536") << "65536" << 3306;
    QTest::newRow("0") << "0" << 3306;
    QTest::newRow("negative") << "-1" << 3306;
}

void OptionsDialogTest::portShown()
{
    QFETCH(QString, stored);
    QFETCH(int, shown);
    Keys keys = fullStore();
    keys[QStringLiteral("port")] = stored;
    writeIni(keys);
    m_dialog = makeDialog();
    auto* spin = child<QSpinBox>("m_pSpinBoxPort");
    QCOMPARE(spin->value(), shown);
    QCOMPARE(spin->minimum(), 1);
    QCOMPARE(spin->maximum(), 65535);
    QCOMPARE(m_dialog->values().port(), shown);
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
        QCOMPARE(m_dialog->values().useSqlite(), sqlite);
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
    for (bool on : {stored, !stored, stored, !stored}) {
        if (check->isChecked() != on)
            QTest::mouseClick(check, Qt::LeftButton);
        QCOMPARE(child<QComboBox>("m_pComboCharger")->isEnabled(), on);
        QCOMPARE(child<QComboBox>("m_pComboChargerPort")->isEnabled(), on);
        QCOMPARE(m_dialog->values().useCharger(), on);
    }
    // The next showing starts from the settings.
    bool enabled = !stored;
    QTimer::singleShot(0, this, [this, &enabled] {
        enabled = child<QComboBox>("m_pComboCharger")->isEnabled();
        m_dialog->reject();
    });
    m_dialog->exec();
    QCOMPARE(enabled, stored);
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
    QTest::addColumn<QString>("description");
    QTest::addColumn<bool>("icharger");  // a CP210x with a stable name, as Linux lists it
    QTest::addColumn<QString>("before"); // the saved port
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("saved"); // by OK
    const QString byId = QStringLiteral("/dev/serial/by-id/usb-Silicon_Labs_CP2102_%1-if00-port0");
    QTest::newRow("two ports") << QStringList{"ttyUSB0", "ttyACM3"} << "USB Serial Port" << false
                               << "ttyACM3" << QStringList{shown("ttyUSB0"), shown("ttyACM3")} << 1
                               << "ttyACM3";
    // A charger unplugged while the options are open keeps its port.
    QTest::newRow("no port") << QStringList{} << "" << false << "ttyUSB0" << QStringList{"none"}
                             << 0 << "ttyUSB0";
    QTest::newRow("without description") << QStringList{"ttyS0", "ttyS1"} << "" << false << "ttyS1"
                                         << QStringList{"ttyS0", "ttyS1"} << 1 << "ttyS1";
    // An older version saved the short name; OK saves the stable one.
    QTest::newRow("iCharger") << QStringList{"ttyUSB0", "ttyUSB1"}
                              << "CP2102 USB to UART Bridge Controller" << true << "ttyUSB1"
                              << QStringList{"ttyUSB0 \u2013 CP2102 USB to UART Bridge Controller, "
                                             "Silicon Labs, 10c4:ea60 \u2013 likely an iCharger",
                                             "ttyUSB1 \u2013 CP2102 USB to UART Bridge Controller, "
                                             "Silicon Labs, 10c4:ea60 \u2013 likely an iCharger"}
                              << 1 << byId.arg(QStringLiteral("ttyUSB1"));
}

void OptionsDialogTest::portList()
{
    QFETCH(QStringList, names);
    QFETCH(QString, description);
    QFETCH(bool, icharger);
    QFETCH(QString, before);
    QFETCH(QStringList, shown);
    QFETCH(int, current);
    m_ports.clear();
    for (const QString& name : names) {
        SSerInfo info = port(name, description);
        if (icharger) {
            info.manufacturer = QStringLiteral("Silicon Labs");
            info.vendorId = 0x10c4;
            info.productId = 0xea60;
            info.stableName =
                QStringLiteral("/dev/serial/by-id/usb-Silicon_Labs_CP2102_%1-if00-port0").arg(name);
        }
        m_ports << info;
    }
    Keys keys = fullStore();
    keys[QStringLiteral("chargerportwin32")] = before;
    writeIni(keys);
    m_dialog = makeDialog();
    QCOMPARE(comboTexts("m_pComboChargerPort"), shown);
    auto* combo = child<QComboBox>("m_pComboChargerPort");
    for (int i = 0; i < combo->count(); ++i)
        QCOMPARE(combo->itemData(i).toInt(), names.isEmpty() ? -1 : i);
    QCOMPARE(combo->currentIndex(), current);
    if (icharger)
        QVERIFY(child<QLabel>("m_pLabelPortDetails")->text().contains(m_ports[current].stableName));
    // Another change: the port is written as shown.
    QCOMPARE(execWith([this] {
                 type("m_pSpinCycleLimitLiPo", QStringLiteral("250"));
                 press(QDialogButtonBox::Ok);
             }),
             1);
    m_dialog.reset();
    QTEST(QSettings(QStringLiteral("tarvelo.ini"), QSettings::IniFormat)
              .value("chargerportwin32")
              .toString(),
          "saved");
}

void OptionsDialogTest::vanishedPortBecomesFirstListed()
{
    Keys keys = fullStore();
    keys[QStringLiteral("chargerportwin32")] = QStringLiteral("ttyGone");
    writeIni(keys);
    m_dialog = makeDialog();
    QCOMPARE(m_dialog->values().chargerPort(), QStringLiteral("ttyUSB0"));
    QCOMPARE(m_dialog->portIndex(), 0);
    // The settings keep the port they name through an OK that changed nothing; once the user
    // changes something, OK writes the port that is shown.
    QCOMPARE(m_dialog->settings()->values().chargerPort(), QStringLiteral("ttyGone"));
    const auto saved = []() {
        return QSettings(QStringLiteral("tarvelo.ini"), QSettings::IniFormat)
            .value("chargerportwin32")
            .toString();
    };
    QCOMPARE(execAndPress(QDialogButtonBox::Ok), 1);
    QCOMPARE(saved(), QStringLiteral("ttyGone"));
    QCOMPARE(execWith([this] {
                 type("m_pSpinCycleLimitLiPo", QStringLiteral("250"));
                 press(QDialogButtonBox::Ok);
             }),
             1);
    m_dialog.reset();
    QCOMPARE(saved(), QStringLiteral("ttyUSB0"));
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
    // No listed charger: the copy keeps "no charger".
    QCOMPARE(m_dialog->chargerSelection(), std::make_pair(int(SettingsValues::kNoCharger), 0));

    // A store without the class: its default, "no charger"; the subtype is read.
    Keys keys = fullStore();
    keys.remove(QStringLiteral("chargerclass"));
    writeIni(keys);
    m_dialog = std::make_unique<OptionsDialog>(nullptr, nullptr);
    QCOMPARE(m_dialog->chargerSelection(), std::make_pair(int(SettingsValues::kNoCharger), 2));
}

void OptionsDialogTest::execRescansPorts()
{
    m_dialog = makeDialog();
    QCOMPARE(comboTexts("m_pComboChargerPort"),
             (QStringList{"none", shown("ttyUSB0"), shown("ttyUSB1")}));
    m_ports.append(port(QStringLiteral("ttyUSB2")));
    QStringList during;
    QTimer::singleShot(0, this, [this, &during] {
        during = comboTexts("m_pComboChargerPort");
        m_dialog->reject();
    });
    QCOMPARE(m_dialog->exec(), 0);
    QCOMPARE(during, (QStringList{"none", shown("ttyUSB0"), shown("ttyUSB1"), shown("ttyUSB2")}));
    QCOMPARE(execAndPress(QDialogButtonBox::Ok), 1);
}

void OptionsDialogTest::browseKeepsOtherEdits()
{
    writeIni(fullStore());
    m_dialog = makeDialog();
    auto* host = child<QLineEdit>("m_pLineEditHostname");
    child<QCheckBox>("m_pCheckSqLite")->click(); // server fields on
    QVERIFY(host->isEnabled());
    type("m_pLineEditHostname", QStringLiteral("typed.example.org"));
    child<QCheckBox>("m_pCheckSqLite")->click(); // file fields on
    auto* user = child<QLineEdit>("m_pLineEditUser");
    user->setText(QStringLiteral("typed user")); // disabled now, but edited before
    m_chosenFile = existingFile(m_elsewhere->filePath(QStringLiteral("chosen.sqlite")));
    QTest::mouseClick(child<QPushButton>("m_pButtonBrowseSqliteFile"), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>("m_pLineEditSqLiteFilename")->text(), m_chosenFile);
    QCOMPARE(m_dialog->values().sqliteFile(), m_chosenFile);
    QCOMPARE(host->text(), QStringLiteral("typed.example.org"));
    QCOMPARE(user->text(), QStringLiteral("typed user"));
    QCOMPARE(child<QSpinBox>("m_pSpinBoxPort")->value(), 5432);
}

void OptionsDialogTest::browsedBookBesideTheIni()
{
    // Chosen below the portable INI's folder: kept relative to it, so that the folder can move.
    writeIni(fullStore());
    m_dialog = makeDialog();
    QVERIFY(QDir::current().mkdir(QStringLiteral("books")));
    m_chosenFile = existingFile(QDir::current().absoluteFilePath(QStringLiteral("books/a.sqlite")));
    child<QPushButton>("m_pButtonBrowseSqliteFile")->click();
    QCOMPARE(child<QLineEdit>("m_pLineEditSqLiteFilename")->text(),
             QStringLiteral("books/a.sqlite"));
    QCOMPARE(m_dialog->values().sqliteFile(), QStringLiteral("books/a.sqlite"));
}

void OptionsDialogTest::browseCancelledChangesNothing()
{
    writeIni(fullStore());
    m_dialog = makeDialog();
    auto* file = child<QLineEdit>("m_pLineEditSqLiteFilename");
    m_chosenFile.clear();
    QTest::mouseClick(child<QPushButton>("m_pButtonBrowseSqliteFile"), Qt::LeftButton);
    QCOMPARE(file->text(), QStringLiteral("my.sqlite"));
    QCOMPARE(m_dialog->values().sqliteFile(), QStringLiteral("my.sqlite"));
}

void OptionsDialogTest::namingANewBookOffersToCreateIt_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("created");
    QTest::newRow("create") << 0 << true;
    QTest::newRow("cancel") << 1 << false;
}

void OptionsDialogTest::namingANewBookOffersToCreateIt()
{
    QFETCH(int, answer);
    QFETCH(bool, created);
    writeIni(fullStore());
    m_dialog = makeDialog();
    m_chosenFile = m_elsewhere->filePath(QStringLiteral("new/book.sqlite"));
    m_iAnswer = answer;
    child<QPushButton>("m_pButtonBrowseSqliteFile")->click();
    QCOMPARE(m_questions.size(), 1);
    QCOMPARE(m_dialog->values().sqliteFile(), created ? m_chosenFile : QStringLiteral("my.sqlite"));
    QCOMPARE(QFile::exists(m_chosenFile), created);
    if (created) {
        SqLiteConnection book(m_chosenFile);
        QString error;
        QVERIFY2(book.connectDb(&error), qPrintable(error));
    }
}

void OptionsDialogTest::cancelDropsEveryChange_data()
{
    QTest::addColumn<QString>("edit");
    for (const char* edit : {"host typed", "port typed", "sqlite clicked", "charger clicked",
                             "charger chosen", "port chosen", "book browsed", "limit typed"})
        QTest::newRow(edit) << edit;
}

void OptionsDialogTest::cancelDropsEveryChange()
{
    QFETCH(QString, edit);
    Keys keys = fullStore();
    keys[QStringLiteral("usesqlite")] = QStringLiteral("false");
    keys[QStringLiteral("usecharger")] = QStringLiteral("false");
    writeIni(keys);
    QFile ini(QStringLiteral("tarvelo.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray before = ini.readAll();
    ini.close();
    m_dialog = makeDialog();
    const SettingsValues stored = m_dialog->settings()->values();
    const SettingsValues shown = m_dialog->values();
    QSignalSpy changed(m_dialog->settings(), &TarveloSettings::changed);
    m_chosenFile = existingFile(m_elsewhere->filePath(QStringLiteral("other.sqlite")));

    bool edited = false;
    QCOMPARE(execWith([&] {
                 if (edit == QLatin1String("host typed"))
                     type("m_pLineEditHostname", QStringLiteral("typed"));
                 else if (edit == QLatin1String("port typed"))
                     type("m_pSpinBoxPort", QStringLiteral("1234"));
                 else if (edit == QLatin1String("limit typed"))
                     type("m_pSpinCycleLimitNiMh", QStringLiteral("42"));
                 else if (edit == QLatin1String("sqlite clicked"))
                     child<QCheckBox>("m_pCheckSqLite")->click();
                 else if (edit == QLatin1String("charger clicked"))
                     child<QCheckBox>("m_pCheckCharger")->click();
                 else if (edit == QLatin1String("charger chosen"))
                     child<QComboBox>("m_pComboCharger")->setCurrentIndex(0);
                 else if (edit == QLatin1String("port chosen"))
                     child<QComboBox>("m_pComboChargerPort")->setCurrentIndex(0);
                 else if (edit == QLatin1String("book browsed")) {
                     child<QCheckBox>("m_pCheckSqLite")->click();
                     child<QPushButton>("m_pButtonBrowseSqliteFile")->click();
                 }
                 m_dialog->takeValues();
                 edited = m_dialog->values() != shown;
                 press(QDialogButtonBox::Cancel);
             }),
             0);
    QVERIFY(edited);
    // Neither the settings nor their file heard of it, and the dialog shows them again.
    QVERIFY(m_dialog->settings()->values() == stored);
    QCOMPARE(changed.size(), 0);
    m_dialog->takeValues(); // what the widgets show
    QVERIFY(m_dialog->values() == shown);
    m_dialog.reset();
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QCOMPARE(ini.readAll(), before);
}

void OptionsDialogTest::readOnlyIniRefusesOk()
{
    Keys keys = fullStore();
    keys[QStringLiteral("usesqlite")] = QStringLiteral("false");
    writeIni(keys);
    const QString file = QDir::current().absoluteFilePath(QStringLiteral("tarvelo.ini"));
    QSettings ini(file, QSettings::IniFormat);
    m_dialog = makeDialog();
    QSignalSpy changed(m_dialog->settings(), &TarveloSettings::changed);
    ReadOnly readOnly(file);
    if (!readOnly.isSet())
        QSKIP("cannot make the file read-only for the superuser here");

    // OK says why it cannot save and leaves the dialog open; Cancel then closes it.
    bool stayedOpen = false;
    QCOMPARE(execWith([&] {
                 type("m_pLineEditHostname", QStringLiteral("refused.example.org"));
                 press(QDialogButtonBox::Ok);
                 stayedOpen = m_dialog->isVisible();
                 press(QDialogButtonBox::Cancel);
             }),
             0);
    QVERIFY(stayedOpen);
    QCOMPARE(m_warnings.size(), 1);
    QVERIFY(m_warnings[0].startsWith(QStringLiteral("Settings not saved|")));
    QVERIFY2(m_warnings[0].contains(file), qPrintable(m_warnings[0]));
    QCOMPARE(m_dialog->settings()->values().host(), QStringLiteral("db.example.org"));
    QCOMPARE(changed.size(), 0);
    ini.sync();
    QCOMPARE(ini.value("host").toString(), QStringLiteral("db.example.org"));
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
