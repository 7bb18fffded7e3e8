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

namespace
{
const int k106 = 0;
const int k208 = 1;
const int k1010 = 2;

const char* exampleLine()
{
    return "$1;1;;12000;16800;250;4200;4200;4200;4200;4200;4200;253;251;1234;0\n";
}

// Marks every value, so that a dropped line can be seen to leave them alone.
ChargerValues sentinelValues()
{
    ChargerValues v;
    v.m_iStatus = -77;
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
    void cellsBeyondTheModelStayUntouched();
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
    QTest::addColumn<int>("subtype");
    QTest::addColumn<int>("status");
    QTest::addColumn<double>("input");
    QTest::addColumn<double>("clamp");
    QTest::addColumn<double>("current");
    QTest::addColumn<QVector<double>>("cellVolts");
    QTest::addColumn<double>("intTemp");
    QTest::addColumn<double>("extTemp");
    QTest::addColumn<double>("capacity");

    const QVector<double> six42 = cells({4.2, 4.2, 4.2, 4.2, 4.2, 4.2});
    QTest::newRow("106B+ example")
        << QByteArray("$1;1;;12000;16800;250;4200;4200;4200;4200;4200;4200;253;251;1234;0\n")
        << k106 << 1 << 12.0 << 16.8 << 2.5 << six42 << 25.3 << 25.1 << 1234.0;
    QTest::newRow("106B+ kept carriage return")
        << QByteArray("$1;1;;12000;16800;250;4200;4200;4200;4200;4200;4200;253;251;1234;0\r\n")
        << k106 << 1 << 12.0 << 16.8 << 2.5 << six42 << 25.3 << 25.1 << 1234.0;
    QTest::newRow("106B+ without line feed")
        << QByteArray("$1;1;;12000;16800;250;4200;4200;4200;4200;4200;4200;253;251;1234;0") << k106
        << 1 << 12.0 << 16.8 << 2.5 << six42 << 25.3 << 25.1 << 1234.0;
    QTest::newRow("208B+")
        << QByteArray("$1;6;;11900;33280;0;4150;4151;4152;4153;4154;4155;4156;4157;301;-50;"
                      "2200;42\r\n")
        << k208 << 6 << 11.9 << 33.28 << 0.0
        << cells({4.15, 4.151, 4.152, 4.153, 4.154, 4.155, 4.156, 4.157}) << 30.1 << -5.0 << 2200.0;
    QTest::newRow("1010B+")
        << QByteArray("$1;4;;24000;37000;1000;3701;3702;3703;3704;3705;3706;3707;3708;3709;3710;"
                      "199;200;5000;17\r\n")
        << k1010 << 4 << 24.0 << 37.0 << 10.0
        << QVector<double>{3.701, 3.702, 3.703, 3.704, 3.705, 3.706, 3.707, 3.708, 3.709, 3.71}
        << 19.9 << 20.0 << 5000.0;
    // A 208B+ line read as 106B+: the first fourteen integers by position.
    QTest::newRow("208B+ line read as 106B+")
        << QByteArray("$1;1;;12000;16800;250;4201;4202;4203;4204;4205;4206;4207;4208;253;251;"
                      "1234;0\r\n")
        << k106 << 1 << 12.0 << 16.8 << 2.5 << cells({4.201, 4.202, 4.203, 4.204, 4.205, 4.206})
        << 420.7 << 420.8 << 253.0;
    QTest::newRow("negative temperatures")
        << QByteArray("$1;4;;12000;0;0;0;0;0;0;0;0;-5;-50;0;0\n") << k106 << 4 << 12.0 << 0.0 << 0.0
        << cells({0, 0, 0, 0, 0, 0}) << -0.5 << -5.0 << 0.0;
    QTest::newRow("octal and hexadecimal fields")
        << QByteArray("$1;06;;0x2EE0;16800;0xFA;4200;4200;4200;4200;4200;4200;0375;251;02322;0\n")
        << k106 << 6 << 12.0 << 16.8 << 2.5 << six42 << 25.3 << 25.1 << 1234.0;
    // In the last field a digit outside the base just ends the number: nothing follows.
    QTest::newRow("bad octal digit in the last field")
        << QByteArray("$1;1;;12000;16800;250;4200;4200;4200;4200;4200;4200;253;251;1234;09\n")
        << k106 << 1 << 12.0 << 16.8 << 2.5 << six42 << 25.3 << 25.1 << 1234.0;
    QTest::newRow("blanks before numbers")
        << QByteArray("$1; 1;; 12000;\t16800;250;4200;4200;4200;4200;4200;4200;253;251;1234;0\n")
        << k106 << 1 << 12.0 << 16.8 << 2.5 << six42 << 25.3 << 25.1 << 1234.0;
    QTest::newRow("signs")
        << QByteArray("$1;+1;;12000;16800;-250;4200;4200;4200;4200;4200;4200;253;251;-1;0\n")
        << k106 << 1 << 12.0 << 16.8 << -2.5 << six42 << 25.3 << 25.1 << -1.0;
    QTest::newRow("numbers beyond int are clamped")
        << QByteArray("$1;1;;99999999999999999999;-99999999999999999999;0;4200;4200;4200;4200;"
                      "4200;4200;253;251;1234;0\n")
        << k106 << 1 << 2147483.647 << -2147483.648 << 0.0 << six42 << 25.3 << 25.1 << 1234.0;
}

void TestStatusLine::decodesLine()
{
    QFETCH(QByteArray, line);
    QFETCH(int, subtype);
    ChargerValues v = sentinelValues();
    QVERIFY(ICharger::decodeLine(line.constData(), subtype, &v));
    QTEST(v.m_iStatus, "status");
    QTEST(v.m_dInputVoltage, "input");
    QTEST(v.m_dClampVoltage, "clamp");
    QTEST(v.m_dChargeCurrent, "current");
    QTEST(cellsOf(v), "cellVolts");
    QTEST(v.m_adTemperature[0], "intTemp");
    QTEST(v.m_adTemperature[1], "extTemp");
    QTEST(v.m_dChargedCapacity, "capacity");
}

void TestStatusLine::dropsLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("subtype");

    QTest::newRow("13 of 14 fields")
        << QByteArray("$1;1;;12000;16800;250;4200;4200;4200;4200;4200;4200;253;251;1234\n") << k106;
    QTest::newRow("106B+ line read as 208B+")
        << QByteArray("$1;1;;12000;16800;250;4200;4200;4200;4200;4200;4200;253;251;1234;0\n")
        << k208;
    QTest::newRow("208B+ line read as 1010B+")
        << QByteArray("$1;1;;12000;16800;250;4201;4202;4203;4204;4205;4206;4207;4208;253;251;"
                      "1234;0\r\n")
        << k1010;
    QTest::newRow("bad octal digit inside")
        << QByteArray("$1;1;;12000;16800;250;4200;4200;4200;4200;4200;4200;253;251;09;0\n") << k106;
    QTest::newRow("empty hexadecimal")
        << QByteArray("$1;1;;12000;16800;250;0x;4200;4200;4200;4200;4200;253;251;1234;0\n") << k106;
    QTest::newRow("second field not empty")
        << QByteArray("$1;1;5;12000;16800;250;4200;4200;4200;4200;4200;4200;253;251;1234;0\n")
        << k106;
    QTest::newRow("other channel")
        << QByteArray("$2;1;;12000;16800;250;4200;4200;4200;4200;4200;4200;253;251;1234;0\n")
        << k106;
    QTest::newRow("started in the middle")
        << QByteArray("4200;4200;4200;4200;253;251;1234;0\n") << k106;
    QTest::newRow("blank before dollar")
        << QByteArray(" $1;1;;12000;16800;250;4200;4200;4200;4200;4200;4200;253;251;1234;0\n")
        << k106;
    QTest::newRow("word in a field")
        << QByteArray("$1;1;;12000;16800;250;4200;4200;x;4200;4200;4200;253;251;1234;0\n") << k106;
    QTest::newRow("empty field")
        << QByteArray("$1;1;;12000;16800;;4200;4200;4200;4200;4200;4200;253;251;1234;0\n") << k106;
    QTest::newRow("cut off") << QByteArray("$1;1;;12000;16800;250;42") << k106;
    QTest::newRow("empty") << QByteArray("") << k106;
    QTest::newRow("only a line feed") << QByteArray("\r\n") << k106;
    QTest::newRow("garbage") << QByteArray("#&%garbage\x01\x7f;;;\r\n") << k106;
    QTest::newRow("no model") << QByteArray(exampleLine()) << -1;
    QTest::newRow("unknown model") << QByteArray(exampleLine()) << 3;
}

void TestStatusLine::dropsLine()
{
    QFETCH(QByteArray, line);
    QFETCH(int, subtype);
    const ChargerValues before = sentinelValues();
    ChargerValues v = before;
    QVERIFY(!ICharger::decodeLine(line.constData(), subtype, &v));
    QVERIFY(std::memcmp(&v, &before, sizeof v) == 0);
}

void TestStatusLine::cellsBeyondTheModelStayUntouched()
{
    ChargerValues v = sentinelValues();
    QVERIFY(ICharger::decodeLine(exampleLine(), k106, &v));
    QCOMPARE(v.m_adCellVoltage[5], 4.2);
    QCOMPARE(v.m_adCellVoltage[6], -77.0);
    QCOMPARE(v.m_adCellVoltage[9], -77.0);
    QVERIFY(!ICharger::decodeLine(nullptr, k106, &v));
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
    QTest::newRow("status and empty field") << std::string("$1;1;;") << 0x1F;
    QTest::newRow("no semicolon") << std::string("$1") << 0;
    QTest::newRow("no dollar") << std::string("1;;") << 0;
}

void TestStatusLine::checksum()
{
    QFETCH(std::string, line);
    QTEST(StatusLine::checksum(line), "sum");
}

void TestStatusLine::composedLinesDecode_data()
{
    QTest::addColumn<int>("subtype");
    QTest::newRow("106B+") << k106;
    QTest::newRow("208B+") << k208;
    QTest::newRow("1010B+") << k1010;
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
    QVERIFY(ICharger::decodeLine(line.c_str(), subtype, &v));
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
