// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// CSV files as File > Export writes them, read back by a strict RFC 4180 reader written here:
// texts of every kind arrive as they were, formula-like texts cannot run, numbers do not
// depend on the system's language, and a cancelled export leaves the file that was there.
#include "exchange/csvexport.h"
#include "storage/workprogress.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace
{
using Rows = QList<QStringList>;

// RFC 4180 and nothing more: every record ends in CRLF; a field is either free of quotes,
// separators and line breaks, or quoted with its quotes doubled. Anything else fails.
bool readCsv(QByteArray bytes, char separator, Rows* out, QString* why)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    out->clear();
    QStringList row;
    QByteArray field;
    qsizetype i = 0;
    const auto fail = [&](const char* what) {
        *why = QStringLiteral("%1 at byte %2").arg(QLatin1String(what)).arg(i);
        return false;
    };
    while (i < bytes.size()) {
        field.clear();
        if (bytes[i] == '"') {
            for (++i;; ++i) {
                if (i >= bytes.size())
                    return fail("unterminated quote");
                if (bytes[i] == '"' && i + 1 < bytes.size() && bytes[i + 1] == '"')
                    field += bytes[i++];
                else if (bytes[i] == '"')
                    break;
                else
                    field += bytes[i];
            }
            ++i;
        } else {
            for (; i < bytes.size() && bytes[i] != separator && bytes[i] != '\r'; ++i) {
                if (bytes[i] == '"' || bytes[i] == '\n')
                    return fail("quote or line feed in a bare field");
                field += bytes[i];
            }
        }
        row << QString::fromUtf8(field);
        if (i < bytes.size() && bytes[i] == separator) {
            ++i;
            continue;
        }
        if (bytes.mid(i, 2) != "\r\n")
            return fail("record not ended by CRLF");
        i += 2;
        *out << row;
        row.clear();
    }
    return true;
}
} // namespace

class CsvTest : public QObject
{
    Q_OBJECT

private slots:
    void textsArriveAsTheyWere_data();
    void textsArriveAsTheyWere();
    void numbersInFixedFormat_data();
    void numbersInFixedFormat();
    void byteOrderMarkOnlyWhenAsked();
    void logAsTheTableShowsIt_data();
    void logAsTheTableShowsIt();
    void cancelKeepsTheFileThatWasThere();
};

void CsvTest::textsArriveAsTheyWere_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("read");
    QTest::newRow("plain") << "Easy Star"
                           << "Easy Star";
    QTest::newRow("comma") << "Red, 3S"
                           << "Red, 3S";
    QTest::newRow("semicolon") << "Red; 3S"
                               << "Red; 3S";
    QTest::newRow("quotes") << "the \"blue\" one"
                            << "the \"blue\" one";
    QTest::newRow("line breaks") << "first\nsecond\r\nthird"
                                 << "first\nsecond\r\nthird";
    QTest::newRow("umlauts") << "Größe übrig"
                             << "Größe übrig";
    QTest::newRow("emoji") << "Heli 🚁"
                           << "Heli 🚁";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("formula =") << "=HYPERLINK(\"x\")"
                               << "'=HYPERLINK(\"x\")";
    QTest::newRow("formula +") << "+49 170"
                               << "'+49 170";
    QTest::newRow("formula -") << "-5C, old"
                               << "'-5C, old";
    QTest::newRow("formula @") << "@SUM(A1)"
                               << "'@SUM(A1)";
    QTest::newRow("formula tab") << "\t=1"
                                 << "'\t=1";
    QTest::newRow("formula CR") << "\r=1"
                                << "'\r=1";
    QTest::newRow("not at the start") << "a=b"
                                      << "a=b";
}

void CsvTest::textsArriveAsTheyWere()
{
    QFETCH(QString, text);
    QFETCH(QString, read);
    for (const bool german : {false, true}) {
        const CsvWriter::Format format =
            german ? CsvWriter::german(false) : CsvWriter::standard(false);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        {
            CsvWriter csv(&buffer, format);
            csv.text(text);
            csv.number(-5); // a number is never taken for a formula
            csv.endRow();
            csv.text(QStringLiteral("next"));
            csv.endRow();
            QVERIFY(csv.flush());
        }
        Rows rows;
        QString why;
        QVERIFY2(readCsv(buffer.data(), format.separator, &rows, &why), qPrintable(why));
        QCOMPARE(rows, (Rows{{read, QStringLiteral("-5")}, {QStringLiteral("next")}}));
    }
}

void CsvTest::numbersInFixedFormat_data()
{
    QTest::addColumn<bool>("german");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("standard") << false << QByteArray("1.234,-0.005,0.275,6.600,27:03:10,0:00:07,7");
    QTest::newRow("German spreadsheet")
        << true << QByteArray("1,234;-0,005;0,275;6,600;27:03:10;0:00:07;7");
}

void CsvTest::numbersInFixedFormat()
{
    QFETCH(bool, german);
    QFETCH(QByteArray, line);
    // The system's language must not change a digit.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    CsvWriter csv(&buffer, german ? CsvWriter::german(false) : CsvWriter::standard(false));
    csv.fixed(qint64(1234), 3);
    csv.fixed(qint64(-5), 3);
    csv.fixed(0.2749999, 3);
    csv.fixed(6.6, 3);
    csv.duration(97390);
    csv.duration(7);
    csv.number(7);
    csv.endRow();
    QVERIFY(csv.flush());
    QLocale::setDefault(QLocale::c());
    QCOMPARE(buffer.data(), line + "\r\n");
}

void CsvTest::byteOrderMarkOnlyWhenAsked()
{
    for (const bool mark : {false, true}) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        CsvWriter csv(&buffer, CsvWriter::standard(mark));
        csv.text(QStringLiteral("Ä"));
        csv.endRow();
        QVERIFY(csv.flush());
        QCOMPARE(buffer.data(), QByteArray(mark ? "\xEF\xBB\xBF" : "") + "\xC3\x84\r\n");
    }
}

void CsvTest::logAsTheTableShowsIt_data()
{
    QTest::addColumn<bool>("german");
    QTest::newRow("standard") << false;
    QTest::newRow("German spreadsheet") << true;
}

void CsvTest::logAsTheTableShowsIt()
{
    QFETCH(bool, german);
    CsvExport::Log log;
    log.accus << AccuEntry(nullptr, QStringLiteral("SLS"), QStringLiteral("Red; \"2200\""), 2200, 3,
                           30, 0, 1);
    log.models << ModelEntry(nullptr, QStringLiteral("=Cub"), 0, 1);
    // In the table's order, which is not the log's.
    log.rows << LogEntry(nullptr, QDate(2024, 5, 4), QTime(0, 10), 1100, 1, 1, 1)
             << LogEntry(nullptr, QDate(2024, 5, 18), QTime(0, 6), 0, 1, 1, 4)
             << LogEntry(nullptr, QDate(2024, 5, 11), QTime(2, 0, 0), 4000, 9, 7, 3);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("log.csv"));
    WorkProgress progress;
    QString error;
    const CsvWriter::Format format = german ? CsvWriter::german(true) : CsvWriter::standard(true);
    QVERIFY2(CsvExport::writeLog(file, log, format, progress, &error), qPrintable(error));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    Rows rows;
    QVERIFY2(readCsv(f.readAll(), format.separator, &rows, &error), qPrintable(error));
    const QString point = german ? QStringLiteral(",") : QStringLiteral(".");
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows[0].size(), 8);
    QCOMPARE(rows[1], (QStringList{"2024-05-04", "Red; \"2200\"", "'=Cub", "600", "0:10:00", "1100",
                                   "50", "6" + point + "600"}));
    QCOMPARE(rows[2],
             (QStringList{"2024-05-18", "Red; \"2200\"", "'=Cub", "360", "0:06:00", "0", "", ""}));
    QCOMPARE(rows[3], (QStringList{"2024-05-11", "(deleted pack #9)", "(deleted model #7)", "7200",
                                   "2:00:00", "4000", "", "2" + point + "000"}));
}

void CsvTest::cancelKeepsTheFileThatWasThere()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("log.csv"));
    QFile old(file);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("before\r\n");
    old.close();
    CsvExport::Log log;
    for (int i = 0; i < 50000; ++i)
        log.rows << LogEntry(nullptr, QDate(2024, 1, 1), QTime(0, 5), i, 1, 1, i);
    WorkProgress progress;
    progress.setWatcher([&](const WorkProgress::State& s) {
        if (s.done * 2 >= s.total && s.done > 0)
            progress.cancel();
    });
    QString error;
    QVERIFY(!CsvExport::writeLog(file, log, CsvWriter::standard(false), progress, &error));
    QVERIFY(error.isEmpty());
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("before\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"log.csv"});
}

QTEST_GUILESS_MAIN(CsvTest)
#include "tst_csv.moc"
