// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The status line decoder and the text hand-over: what the charger makes of each line, and
// what a caller finds in its 100-byte buffer.

#include "charger/chargerbase.h"
#include "charger/icharger.h"
#include "charger/statusline.h"

#include <QCoreApplication>
#include <QTest>
#include <QTranslator>

#include <cstring>

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(StatusLine::Verdict)

namespace
{
using Verdict = StatusLine::Verdict;

// Three consecutive lines of a real 208B (8 cells, nothing on the balance lead).
const char* const kReal208[] = {"$1;1;;12250;3874;93;0;0;0;0;0;0;0;0;291;236;0;20",
                                "$1;1;;12250;3877;89;0;0;0;0;0;0;0;0;291;236;1;29",
                                "$1;1;;12250;3877;90;0;0;0;0;0;0;0;0;291;236;2;22"};

// A line up to its last ';', completed with its checksum and a line end.
QByteArray summed(const char* body)
{
    return QByteArray(body) + QByteArray::number(StatusLine::checksum(body)) + "\r\n";
}

QByteArray example106()
{
    return summed("$1;1;;12000;16800;250;4200;4200;4200;4200;4200;4200;253;251;1234;");
}

// Marks every value, so that a dropped line can be seen to leave them alone.
ChargerValues sentinelValues()
{
    ChargerValues v;
    v.m_iStatus = -77;
    v.m_iCells = -77;
    v.m_dInputVoltage = v.m_dClampVoltage = v.m_dChargeCurrent = v.m_dChargedCapacity = -77.0;
    for (double& cell : v.m_adCellVoltage)
        cell = -77.0;
    for (double& t : v.m_adTemperature)
        t = -77.0;
    return v;
}

QVector<double> cellsOf(const ChargerValues& v)
{
    return QVector<double>(std::begin(v.m_adCellVoltage), std::end(v.m_adCellVoltage));
}

QVector<double> cells(std::initializer_list<double> first)
{
    QVector<double> all(first);
    while (all.size() < ChargerValues::kMaxCells)
        all.append(-77.0); // untouched by the line
    return all;
}

// Puts the context in front of every text, to see which context a text is looked up in.
class ContextTranslator : public QTranslator
{
public:
    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        return QString::fromLatin1(context) + QLatin1Char(':') + QString::fromUtf8(sourceText);
    }
    bool isEmpty() const override { return false; }
};
} // namespace

class TestStatusLine : public QObject
{
    Q_OBJECT

private slots:
    void decodesLine_data();
    void decodesLine();
    void dropsLine_data();
    void dropsLine();
    void checksum_data();
    void checksum();
    void composedLinesDecode_data();
    void composedLinesDecode();
    void statusTexts_data();
    void statusTexts();
    void statusTextsUseTheChargerContext();
    void copyTextFitsTheBuffer_data();
    void copyTextFitsTheBuffer();
};

void TestStatusLine::decodesLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("status");
    QTest::addColumn<double>("input");
    QTest::addColumn<double>("clamp");
    QTest::addColumn<double>("current");
    QTest::addColumn<QVector<double>>("cellVolts");
    QTest::addColumn<double>("intTemp");
    QTest::addColumn<double>("extTemp");
    QTest::addColumn<double>("capacity");

    const QVector<double> eight0 = cells({0, 0, 0, 0, 0, 0, 0, 0});
    QTest::newRow("real 208B, first") << QByteArray(kReal208[0]) << 1 << 12.25 << 3.874 << 0.93
                                      << eight0 << 29.1 << 23.6 << 0.0;
    QTest::newRow("real 208B, second") << QByteArray(kReal208[1]) << 1 << 12.25 << 3.877 << 0.89
                                       << eight0 << 29.1 << 23.6 << 1.0;
    QTest::newRow("real 208B, third") << QByteArray(kReal208[2]) + "\r\n" << 1 << 12.25 << 3.877
                                      << 0.9 << eight0 << 29.1 << 23.6 << 2.0;
    const QVector<double> six42 = cells({4.2, 4.2, 4.2, 4.2, 4.2, 4.2});
    QTest::newRow("106B+") << example106() << 1 << 12.0 << 16.8 << 2.5 << six42 << 25.3 << 25.1
                           << 1234.0;
    QTest::newRow("time in seconds")
        << summed("$1;1;754;12000;16800;250;4200;4200;4200;4200;4200;4200;253;251;1234;") << 1
        << 12.0 << 16.8 << 2.5 << six42 << 25.3 << 25.1 << 1234.0;
    QTest::newRow("time with a fraction")
        << summed("$1;6;754.25;12000;16800;0;4200;4200;4200;4200;4200;4200;-5;-50;1234;") << 6
        << 12.0 << 16.8 << 0.0 << six42 << -0.5 << -5.0 << 1234.0;
    QTest::newRow("1010B+")
        << summed("$1;4;;24000;37000;1000;3701;3702;3703;3704;3705;3706;3707;3708;3709;3710;"
                  "199;200;5000;")
        << 4 << 24.0 << 37.0 << 10.0
        << QVector<double>{3.701, 3.702, 3.703, 3.704, 3.705, 3.706, 3.707, 3.708, 3.709, 3.71}
        << 19.9 << 20.0 << 5000.0;
    QTest::newRow("octal and hexadecimal fields")
        << summed("$1;06;;0x2EE0;16800;0xFA;4200;4200;4200;4200;4200;4200;0375;251;02322;") << 6
        << 12.0 << 16.8 << 2.5 << six42 << 25.3 << 25.1 << 1234.0;
}

void TestStatusLine::decodesLine()
{
    QFETCH(QByteArray, line);
    ChargerValues v = sentinelValues();
    QCOMPARE(StatusLine::decode(line.constData(), &v), Verdict::Good);
    QTEST(v.m_iStatus, "status");
    QTEST(v.m_dInputVoltage, "input");
    QTEST(v.m_dClampVoltage, "clamp");
    QTEST(v.m_dChargeCurrent, "current");
    QTEST(cellsOf(v), "cellVolts");
    QTEST(v.m_adTemperature[0], "intTemp");
    QTEST(v.m_adTemperature[1], "extTemp");
    QTEST(v.m_dChargedCapacity, "capacity");
    QCOMPARE(v.m_iCells, int(cellsOf(v).count(-77.0) == 0 ? 10 : cellsOf(v).indexOf(-77.0)));
}

void TestStatusLine::dropsLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<Verdict>("verdict");

    // One digit changed on the way: the checksum no longer matches.
    QTest::newRow("real 208B, input damaged")
        << QByteArray("$1;1;;12350;3874;93;0;0;0;0;0;0;0;0;291;236;0;20") << Verdict::Damaged;
    QTest::newRow("real 208B, capacity damaged")
        << QByteArray("$1;1;;12250;3877;89;0;0;0;0;0;0;0;0;291;236;7;29") << Verdict::Damaged;
    QTest::newRow("real 208B, checksum damaged")
        << QByteArray("$1;1;;12250;3877;90;0;0;0;0;0;0;0;0;291;236;2;23") << Verdict::Damaged;
    QTest::newRow("seven cells")
        << summed("$1;1;;12000;16800;250;4200;4200;4200;4200;4200;4200;4200;253;251;1234;")
        << Verdict::Damaged;
    QTest::newRow("no checksum")
        << QByteArray("$1;1;;12000;16800;250;4200;4200;4200;4200;4200;4200;253;251;1234;\r\n")
        << Verdict::Damaged;
    QTest::newRow("time a word")
        << summed("$1;1;x;12000;16800;250;4200;4200;4200;4200;4200;4200;253;251;1234;")
        << Verdict::Damaged;
    QTest::newRow("word in a field")
        << summed("$1;1;;12000;16800;250;4200;4200;x;4200;4200;4200;253;251;1234;")
        << Verdict::Damaged;
    QTest::newRow("text after the checksum") << example106().replace("\r\n", " x\r\n")
                                             << Verdict::Damaged;
    QTest::newRow("cut off") << QByteArray("$1;1;;12000;16800;250;42") << Verdict::Damaged;
    QTest::newRow("started in the middle") << QByteArray("4200;253;251;1234;17\n")
                                           << Verdict::Noise;
    QTest::newRow("other channel") << example106().replace(0, 2, "$2") << Verdict::Noise;
    QTest::newRow("garbage") << QByteArray("#&%garbage\x01\x7f;;;\r\n") << Verdict::Noise;
}

void TestStatusLine::dropsLine()
{
    QFETCH(QByteArray, line);
    const ChargerValues before = sentinelValues();
    ChargerValues v = before;
    QTEST(StatusLine::decode(line.constData(), &v), "verdict");
    QVERIFY(std::memcmp(&v, &before, sizeof v) == 0);
}

void TestStatusLine::checksum_data()
{
    QTest::addColumn<std::string>("line");
    QTest::addColumn<int>("sum");
    // '$' 0x24, '1' 0x31, ';' 0x3B
    QTest::newRow("header only") << std::string("$1;") << 0x2E;
    QTest::newRow("bytes before the dollar are not counted") << std::string("xx$1;") << 0x2E;
    QTest::newRow("bytes after the last semicolon are not counted")
        << std::string("$1;123\r\n") << 0x2E;
    QTest::newRow("no semicolon") << std::string("$1") << 0;
    for (const char* real : kReal208) {
        const std::string line(real);
        QTest::newRow(real) << line << std::stoi(line.substr(line.rfind(';') + 1));
    }
}

void TestStatusLine::checksum()
{
    QFETCH(std::string, line);
    QTEST(StatusLine::checksum(line), "sum");
}

void TestStatusLine::composedLinesDecode_data()
{
    QTest::addColumn<int>("subtype");
    QTest::newRow("106B+") << 0;
    QTest::newRow("208B+") << 1;
    QTest::newRow("1010B+") << 2;
}

void TestStatusLine::composedLinesDecode()
{
    QFETCH(int, subtype);
    const int cellCount = ICharger::kCellCounts[subtype + 1];
    std::vector<int> fields = {1, 12000, 16800, 250};
    for (int i = 0; i < cellCount; ++i)
        fields.push_back(4100 + i);
    fields.insert(fields.end(), {253, -20, 777});
    const std::string line = StatusLine::compose(fields);
    QVERIFY(line.compare(0, 6, "$1;1;;") == 0);
    QVERIFY(line.size() > 2 && line.compare(line.size() - 2, 2, "\r\n") == 0);
    // The checksum is the last integer, over everything up to the last ';'.
    const auto lastSemicolon = line.rfind(';');
    QCOMPARE(std::stoi(line.substr(lastSemicolon + 1)),
             StatusLine::checksum(line.substr(0, lastSemicolon + 1)));

    ChargerValues v = sentinelValues();
    QCOMPARE(StatusLine::decode(line.c_str(), &v), Verdict::Good);
    QCOMPARE(ICharger::subtypeOfCells(v.m_iCells), subtype);
    QCOMPARE(v.m_adCellVoltage[cellCount - 1], (4100 + cellCount - 1) / 1000.0);
    QCOMPARE(v.m_adTemperature[1], -2.0);
    QCOMPARE(v.m_dChargedCapacity, 777.0);
}

void TestStatusLine::statusTexts_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "Disconnected";
    QTest::newRow("1") << 1 << "Charging";
    QTest::newRow("4") << 4 << "Waiting";
    QTest::newRow("6") << 6 << "Done";
    QTest::newRow("8") << 8 << "LiXX trickle";
    QTest::newRow("9") << 9 << "NiXX trickle";
    QTest::newRow("12") << 12 << "ExDischaring";
    QTest::newRow("13") << 13 << "Unknown status 13";
    QTest::newRow("-1") << -1 << "Unknown status -1";
    QTest::newRow("huge") << 2147483647 << "Unknown status 2147483647";
}

void TestStatusLine::statusTexts()
{
    QFETCH(int, status);
    QTEST(ICharger::statusText(status), "text");
}

void TestStatusLine::statusTextsUseTheChargerContext()
{
    ContextTranslator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));
    const QString done = ICharger::statusText(6);
    const QString unknown = ICharger::statusText(20);
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(done, QStringLiteral("iCharger:Done"));
    QCOMPARE(unknown, QStringLiteral("iCharger:Unknown status 20"));
}

void TestStatusLine::copyTextFitsTheBuffer_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray a97(97, 'a'), a98(98, 'a'), a99(99, 'a');
    QTest::newRow("short") << QByteArray("106B+") << QByteArray("106B+");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("99 bytes") << a99 << a99;
    QTest::newRow("100 bytes") << QByteArray(100, 'b') << QByteArray(99, 'b');
    QTest::newRow("500 bytes") << QByteArray(500, 'c') << QByteArray(99, 'c');
    QTest::newRow("two-byte sign fits at the end") << a97 + "\xC3\xA9" << a97 + "\xC3\xA9";
    QTest::newRow("two-byte sign across the end") << a98 + "\xC3\xA9" << a98;
    QTest::newRow("three-byte sign across the end") << a97 + "\xE2\x82\xAC" << a97;
    QTest::newRow("four-byte sign across the end") << a97 + "\xF0\x9F\x94\x8B" << a97;
    QTest::newRow("sign right after the end") << a99 + "\xC3\xA9" << a99;
    QTest::newRow("embedded zero") << QByteArray("ab\0cd", 5) << QByteArray("ab");
}

void TestStatusLine::copyTextFitsTheBuffer()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);
    char buffer[ChargerBase::kTextBufferSize + 20];
    std::memset(buffer, 'X', sizeof buffer);
    ChargerBase::copyText(buffer, text);
    QCOMPARE(QByteArray(buffer), expected);
    for (size_t i = ChargerBase::kTextBufferSize; i < sizeof buffer; ++i)
        QCOMPARE(buffer[i], 'X');
    QVERIFY(QString::fromUtf8(buffer).toUtf8() == QByteArray(buffer)); // still valid UTF-8
}

QTEST_GUILESS_MAIN(TestStatusLine)
#include "tst_statusline.moc"
