// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The file type of log books: the shared-mime-info entry that the package installs, compiled
// with the system's types as the system compiles them, tells the log books Tarvelo makes from other
// SQLite files and from older books; and the menu entry opens that type and no other.
#include "storage/sqliteschema.h"

#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

namespace
{
const char* const kLogBookType = "application/x-tarvelo-logbook";
const char* const kSqliteType = "application/vnd.sqlite3";

QByteArray sourceFile(const char* name)
{
    QFile file(QStringLiteral(TARVELO_SOURCE_DIR "/data/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool setApplicationId(const QString& file, quint32 id)
{
    sqlite3* db = nullptr;
    const QByteArray sql = "PRAGMA application_id = " + QByteArray::number(id);
    const bool ok = sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE,
                                    nullptr) == SQLITE_OK &&
                    sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}
} // namespace

class LogBookFileTypeTest : public QObject
{
    Q_OBJECT

public:
    explicit LogBookFileTypeTest(const QString& dataHome) : m_strDataHome(dataHome) {}

private slots:
    void initTestCase();
    void recognisesLogBooks_data();
    void recognisesLogBooks();
    void desktopEntryOpensOnlyLogBooks();

private:
    QString m_strDataHome;
    QTemporaryDir m_dir;
};

void LogBookFileTypeTest::initTestCase()
{
    QVERIFY2(QFile::exists(QStringLiteral(UPDATE_MIME_DATABASE)),
             "update-mime-database is missing (shared-mime-info, scripts/install-deps)");
    // The system's types and ours in one database, as the package's installation leaves
    // /usr/share/mime: our magic has to win over the plain SQLite file's there.
    const QString packages = m_strDataHome + QStringLiteral("/mime/packages");
    QVERIFY(QDir().mkpath(packages));
    QVERIFY(QFile::copy(QStringLiteral("/usr/share/mime/packages/freedesktop.org.xml"),
                        packages + QStringLiteral("/freedesktop.org.xml")));
    QVERIFY(QFile::copy(QStringLiteral(TARVELO_SOURCE_DIR "/data/org.kelvorn.Tarvelo.xml"),
                        packages + QStringLiteral("/org.kelvorn.Tarvelo.xml")));
    QProcess update;
    update.start(QStringLiteral(UPDATE_MIME_DATABASE), {m_strDataHome + QStringLiteral("/mime")});
    QVERIFY(update.waitForFinished(60000));
    QVERIFY2(update.exitCode() == 0 && update.readAllStandardError().isEmpty(),
             "update-mime-database refused the file type");
    QVERIFY(QFile::exists(m_strDataHome + QStringLiteral("/mime/mime.cache")));
    QVERIFY(m_dir.isValid());
}

void LogBookFileTypeTest::recognisesLogBooks_data()
{
    QTest::addColumn<QString>("name");
    // How the file is made: a log book with this application id, or else these bytes.
    QTest::addColumn<qint64>("id");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("type");
    const qint64 tarvelo = SqliteSchema::kApplicationId;
    QTest::newRow("new log book") << "book.sqlite" << tarvelo << QByteArray() << kLogBookType;
    QTest::newRow("new log book, no extension")
        << "book" << tarvelo << QByteArray() << kLogBookType;
    QTest::newRow("made before the id") << "old.sqlite" << qint64(0) << QByteArray() << kSqliteType;
    QTest::newRow("another program's SQLite file")
        << "other.sqlite" << qint64(0x12345678) << QByteArray() << kSqliteType;
    // The mark alone, without SQLite's header in front, is no log book.
    QByteArray text(100, 'x');
    text.replace(68, 4, "Tvlo");
    QTest::newRow("text with the mark") << "notes.sqlite" << qint64(-1) << text << "text/plain";
}

void LogBookFileTypeTest::recognisesLogBooks()
{
    QFETCH(QString, name);
    QFETCH(qint64, id);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, type);
    const QString file = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag())
                                            .replace(QRegularExpression(QStringLiteral("\\W+")),
                                                     QStringLiteral("-"))) +
                         QLatin1Char('/') + name;
    QVERIFY(QDir().mkpath(QFileInfo(file).path()));
    if (id >= 0) {
        QString error;
        QVERIFY2(SqliteSchema::createDatabase(file, &error), qPrintable(error));
        if (id != SqliteSchema::kApplicationId)
            QVERIFY(setApplicationId(file, quint32(id)));
    } else {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    const QMimeType found = QMimeDatabase().mimeTypeForFile(file);
    QCOMPARE(found.name(), type);
    if (type == QLatin1String(kLogBookType)) {
        QVERIFY(found.inherits(QLatin1String(kSqliteType)));
        QCOMPARE(found.comment(), QStringLiteral("Tarvelo log book"));
    }
}

// Offering Tarvelo for every SQLite file would be a claim on other programs' files.
void LogBookFileTypeTest::desktopEntryOpensOnlyLogBooks()
{
    const QByteArray entry = sourceFile("org.kelvorn.Tarvelo.desktop");
    const QRegularExpressionMatch claim =
        QRegularExpression(QStringLiteral("^MimeType=(.*)$"), QRegularExpression::MultilineOption)
            .match(QString::fromUtf8(entry));
    QVERIFY(claim.hasMatch());
    QCOMPARE(claim.captured(1).split(QLatin1Char(';'), Qt::SkipEmptyParts),
             QStringList{QLatin1String(kLogBookType)});
    QVERIFY(sourceFile("org.kelvorn.Tarvelo.xml")
                .contains(QByteArray("<mime-type type=\"") + kLogBookType + "\">"));
}

int main(int argc, char** argv)
{
    // The file type database reads this folder only; set before it first looks.
    QTemporaryDir dataHome;
    if (!dataHome.isValid())
        return 1;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(dataHome.path()));
    QCoreApplication app(argc, argv);
    LogBookFileTypeTest test(dataHome.path());
    return QTest::qExec(&test, argc, argv);
}

#include "tst_logbookfiletype.moc"
