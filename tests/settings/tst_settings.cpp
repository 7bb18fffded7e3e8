// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The settings object: what a stored value must be to be taken, what is said about one that is
// not, and when the store is written. Each test runs in a working directory of its own, with a
// per-user store of its own.
#include "immutable.h"
#include "stderrcapture.h"

#include "settings/tarvelosettings.h"

#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace
{
using Key = SettingsValues::Key;
const char* const kPortable = "UsbStick mode - using local ini file\n";

// Every key, none at its default.
const char* const kFullStore = "[General]\nhost=db.example.org\ndb=logbook\nusername=pilot\n"
                               "port=5432\npw=secret\nsqlitefilename=my.sqlite\nusesqlite=true\n"
                               "usecharger=true\nchargerclass=0\nchargersubtype=2\n"
                               "chargerportwin32=ttyUSB1\nchargerspeed=2\nlanguage=de\n\n[window]\n"
                               "geometry=@ByteArray(xyz)\ntab=2\nlogColumns=90 100 110\n\n"
                               "[cyclelimits]\nlipo=250\nlife=900\nnimh=400\nnicd=800\nene=450\n"
                               "pb=150\n";

QByteArray readAll(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

bool writeFile(const QString& file, const QByteArray& text)
{
    QFile f(file);
    return QDir().mkpath(QFileInfo(file).path()) && f.open(QIODevice::WriteOnly) &&
           f.write(text) == text.size();
}
} // namespace

class SettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void badKeyTakesItsDefault_data();
    void badKeyTakesItsDefault();
    void quietStores_data();
    void quietStores();
    void setRefusesBadValues_data();
    void setRefusesBadValues();
    void saveWritesTheKeysAndAnnouncesChanges();
    void readOnlyStoreRefusesSave_data();
    void readOnlyStoreRefusesSave();
    void logBookBesideThePortableIni();

private:
    QString iniFile() const { return m_work->filePath(QStringLiteral("tarvelo.ini")); }
    QString userFile() const { return m_user->filePath(QStringLiteral("Kelvorn/Tarvelo.conf")); }
    // Creates and loads the settings; what they said on the standard error stream.
    QByteArray load(std::unique_ptr<TarveloSettings>* settings);

    std::unique_ptr<QTemporaryDir> m_work;
    std::unique_ptr<QTemporaryDir> m_user;
    QString m_oldDir;
};

void SettingsTest::init()
{
    m_work = std::make_unique<QTemporaryDir>();
    m_user = std::make_unique<QTemporaryDir>();
    m_oldDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_work->path()));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_user->path());
}

void SettingsTest::cleanup()
{
    QDir::setCurrent(m_oldDir);
    m_work.reset();
    m_user.reset();
}

QByteArray SettingsTest::load(std::unique_ptr<TarveloSettings>* settings)
{
    StderrCapture capture(m_user->filePath(QStringLiteral("stderr.txt")));
    *settings = std::make_unique<TarveloSettings>();
    return (*settings)->load() ? capture.text() : QByteArray("(not read)");
}

void SettingsTest::badKeyTakesItsDefault_data()
{
    // A line of the full store replaced (or dropped, or moved to a section of its own); the key
    // that then takes its default, and what is said about it. Nothing said: no word at all.
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("replacement");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("said");
    auto row = [](const char* tag, const char* line, const char* replacement, Key key,
                  const char* said) {
        QTest::newRow(tag) << QByteArray(line) << QByteArray(replacement) << int(key)
                           << QString::fromLatin1(said);
    };
    const char* port = "should be a whole number from 1 to 65535";
    row("host missing", "host=db.example.org", "", Key::Host, "is missing");
    row("port in another section", "port=5432", "[database]\nport=5432", Key::Port, "is missing");
    row("port as a junk line", "port=5432", "port 5432", Key::Port, "is missing");
    row("port a word", "port=5432", "port=mysql", Key::Port, port);
    row("port 65536", "port=5432", "port=65536", Key::Port, port);
    row("usesqlite yes", "usesqlite=true", "usesqlite=yes", Key::UseSqlite,
        "should be true or false");
    row("chargerclass 256", "chargerclass=0", "chargerclass=256", Key::ChargerClass,
        "should be a whole number from 0 to 255");
    row("chargersubtype -1", "chargersubtype=2", "chargersubtype=-1", Key::ChargerSubtype,
        "should be a whole number of at least 0");
    row("host a list", "host=db.example.org", "host=db, example", Key::Host, "should be a text");
    row("language a name", "language=de", "language=Deutsch", Key::Language,
        "should be a language code such as en or de");
    row("a column width 0", "logColumns=90 100 110", "logColumns=90 0 110", Key::LogColumns,
        "should be widths from 1 to 65535, separated by spaces");
    row("chargerspeed 3", "chargerspeed=2", "chargerspeed=3", Key::ChargerSpeed,
        "should be a whole number from 0 to 2");
    row("a cycle limit 0", "lipo=250", "lipo=0", Key::CycleLimitLiPo,
        "should be a whole number from 1 to 100000");
    // Remembered values, and options added later, are missing from files an older program
    // wrote.
    row("tab missing", "tab=2", "", Key::WindowTab, "");
    row("chargerspeed missing", "chargerspeed=2", "", Key::ChargerSpeed, "");
    row("a cycle limit missing", "pb=150", "", Key::CycleLimitPb, "");
}

void SettingsTest::badKeyTakesItsDefault()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, replacement);
    QFETCH(int, key);
    QFETCH(QString, said);

    std::unique_ptr<TarveloSettings> settings;
    QVERIFY(writeFile(QStringLiteral("full/tarvelo.ini"), kFullStore));
    QVERIFY(QDir::setCurrent(QStringLiteral("full")));
    QCOMPARE(load(&settings), QByteArray(kPortable));
    const SettingsValues full = settings->values();
    QVERIFY(QDir::setCurrent(m_work->path()));
    QCOMPARE(full.logColumns(), (QList<int>{90, 100, 110}));
    QCOMPARE(full.windowGeometry(), QByteArray("xyz"));

    QByteArray text = kFullStore;
    QVERIFY(text.contains(line + '\n'));
    if (replacement.startsWith('['))
        text.replace(line + '\n', "").append(replacement + '\n');
    else
        text.replace(line + '\n', replacement.isEmpty() ? "" : replacement + '\n');

    for (const QString& file : {iniFile(), userFile()}) {
        QFile::remove(iniFile());
        QVERIFY(writeFile(file, text));
        const QByteArray output = load(&settings);
        QCOMPARE(QFileInfo(settings->fileName()), QFileInfo(file));
        QByteArray expected = file == iniFile() ? kPortable : "";
        if (!said.isEmpty())
            expected += QStringLiteral("%1: \"%2\" %3; using its default\n")
                            .arg(settings->fileName(), SettingsValues::name(Key(key)), said)
                            .toLocal8Bit();
        QCOMPARE(output, expected);
        // That key alone takes its default; every other key is read.
        for (int k = 0; k < SettingsValues::kKeyCount; ++k)
            QVERIFY2(settings->values().value(Key(k)) ==
                         (k == key ? SettingsValues::defaultValue(Key(k)) : full.value(Key(k))),
                     qPrintable(SettingsValues::name(Key(k))));
        settings.reset();
        QCOMPARE(readAll(file), text);
    }
}

void SettingsTest::quietStores_data()
{
    QTest::addColumn<QString>("file"); // where the store is written; empty: nowhere
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("first run, no per-user file") << "" << QByteArray();
    QTest::newRow("empty tarvelo.ini") << "tarvelo.ini" << QByteArray("");
    QTest::newRow("only what a window remembered") << "user" << QByteArray("[window]\ntab=1\n");
}

void SettingsTest::quietStores()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, text);
    const QString path = file == QLatin1String("user") ? userFile() : file;
    if (!path.isEmpty())
        QVERIFY(writeFile(path, text));
    std::unique_ptr<TarveloSettings> settings;
    QCOMPARE(load(&settings), QByteArray(path == QLatin1String("tarvelo.ini") ? kPortable : ""));
    for (Key key : SettingsValues::optionKeys())
        QCOMPARE(settings->values().value(key), SettingsValues::defaultValue(key));
    settings.reset();
    // Reading never writes: no per-user file appears, an existing one stays as it was.
    QCOMPARE(QFile::exists(userFile()), path == userFile());
    if (!path.isEmpty())
        QCOMPARE(readAll(path), text);
}

void SettingsTest::setRefusesBadValues_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("taken"); // invalid: refused
    const QVariant refused;
    QTest::newRow("port 65535 as text") << int(Key::Port) << QVariant("65535") << QVariant(65535);
    QTest::newRow("port a double") << int(Key::Port) << QVariant(5432.0) << refused;
    QTest::newRow("usesqlite 7") << int(Key::UseSqlite) << QVariant(7) << refused;
    QTest::newRow("pw a number") << int(Key::Password) << QVariant(1234) << refused;
    QTest::newRow("language de_AT") << int(Key::Language) << QVariant("de_AT") << QVariant("de_AT");
    QTest::newRow("language ../x") << int(Key::Language) << QVariant("../x") << refused;
    QTest::newRow("a column 70000")
        << int(Key::LogColumns) << QVariant::fromValue(QList<int>{5, 70000}) << refused;
}

void SettingsTest::setRefusesBadValues()
{
    QFETCH(int, key);
    QFETCH(QVariant, value);
    QFETCH(QVariant, taken);
    SettingsValues values;
    QCOMPARE(values.set(Key(key), value) == SettingsValues::Problem::None, taken.isValid());
    // A refused value changes nothing.
    QCOMPARE(values.value(Key(key)),
             taken.isValid() ? taken : SettingsValues::defaultValue(Key(key)));
}

void SettingsTest::saveWritesTheKeysAndAnnouncesChanges()
{
    QVERIFY(writeFile(iniFile(), "[General]\nhost=db.example.org\nport=5432\n"));
    std::unique_ptr<TarveloSettings> settings;
    load(&settings);
    QSignalSpy changed(settings.get(), &TarveloSettings::changed);
    SettingsValues values = settings->values();
    values.set(Key::Port, 3307);
    values.set(Key::WindowTab, 2); // not among the keys saved: neither written nor taken
    QVERIFY(settings->save(values, SettingsValues::optionKeys()));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed[0][0].value<Key>(), Key::Port);
    QCOMPARE(settings->values().port(), 3307);
    QCOMPARE(settings->values().windowTab(), 0);
    // All eleven options are in the file, as the program has always written them, the line
    // speed and the six cycle limits.
    QSettings ini(iniFile(), QSettings::IniFormat);
    QCOMPARE(ini.allKeys().size(), 18);
    QCOMPARE(ini.value("cyclelimits/life").toString(), QStringLiteral("1000"));
    QCOMPARE(ini.value("host").toString(), QStringLiteral("db.example.org"));
    QCOMPARE(ini.value("port").toString(), QStringLiteral("3307"));
    QCOMPARE(ini.value("chargerclass").toString(), QStringLiteral("255"));

    // The same values again announce nothing.
    values.set(Key::LogColumns, QStringLiteral("40 50"));
    QVERIFY(settings->save(values, {Key::WindowTab, Key::LogColumns}));
    QVERIFY(settings->save(values, {Key::WindowTab, Key::LogColumns}));
    QCOMPARE(changed.size(), 3);
    QVERIFY(readAll(iniFile()).contains("logColumns=40 50\n"));
}

void SettingsTest::readOnlyStoreRefusesSave_data()
{
    QTest::addColumn<bool>("folder");
    QTest::newRow("read-only file") << false;
    QTest::newRow("read-only folder") << true;
}

void SettingsTest::readOnlyStoreRefusesSave()
{
    QFETCH(bool, folder);
    QVERIFY(writeFile(iniFile(), kFullStore));
    std::unique_ptr<TarveloSettings> settings;
    load(&settings);
    const SettingsValues before = settings->values();
    QSignalSpy changed(settings.get(), &TarveloSettings::changed);
    auto readOnly = std::make_unique<ReadOnly>(folder ? m_work->path() : iniFile());
    if (!readOnly->isSet())
        QSKIP("cannot make the file read-only for the superuser here");

    SettingsValues values = before;
    values.set(Key::Host, QStringLiteral("elsewhere"));
    QVERIFY(!settings->save(values, SettingsValues::optionKeys()));
    QVERIFY(settings->values() == before);
    QCOMPARE(changed.size(), 0);
    QCOMPARE(readAll(iniFile()), QByteArray(kFullStore));

    // Writable again: what was refused is not carried into the next write.
    readOnly.reset();
    QVERIFY(settings->save(before, {Key::Language}));
    QCOMPARE(QSettings(iniFile(), QSettings::IniFormat).value("host").toString(),
             QStringLiteral("db.example.org"));
}

void SettingsTest::logBookBesideThePortableIni()
{
    QVERIFY(writeFile(iniFile(), "[General]\nsqlitefilename=books/a.sqlite\n"));
    std::unique_ptr<TarveloSettings> settings;
    load(&settings);
    // Started from the INI's folder, then moved elsewhere: the INI's folder still counts.
    QVERIFY(QDir::setCurrent(m_user->path()));
    QCOMPARE(settings->logBookFile(), iniFile().replace("tarvelo.ini", "books/a.sqlite"));
    QCOMPARE(settings->values().sqliteFile(), QStringLiteral("books/a.sqlite"));
    // A book chosen in the INI's folder or below is kept relative to it; others as they are.
    QCOMPARE(settings->keptLogBookFile(m_work->filePath(QStringLiteral("b.sqlite"))),
             QStringLiteral("b.sqlite"));
    QCOMPARE(settings->keptLogBookFile(userFile()), userFile());

    // In the per-user store a name is taken as it is.
    QFile::remove(iniFile());
    QVERIFY(writeFile(userFile(), "[General]\nsqlitefilename=books/a.sqlite\n"));
    load(&settings);
    QCOMPARE(settings->logBookFile(), QStringLiteral("books/a.sqlite"));
    QCOMPARE(settings->keptLogBookFile(userFile()), userFile());
}

int main(int argc, char** argv)
{
    // Never the user's own settings, whatever a test forgets.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QCoreApplication app(argc, argv);
    SettingsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settings.moc"
