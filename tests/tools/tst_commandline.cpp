// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// Every program answers --help and --version and refuses what it does not know, without a
// display and without leaving anything behind in the working directory.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class CommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void answersWithoutTouchingAnything_data();
    void answersWithoutTouchingAnything();
};

void CommandLineTest::answersWithoutTouchingAnything_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out"); // the start of the standard output
    QTest::addColumn<QString>("err"); // a line of the error stream

    struct Program {
        const char* name;
        const char* path;
    };
    const Program programs[] = {
        {"tarvelo", TARVELO_APP},
        {"tarvelo-initdb", TARVELO_INITDB},
        {"tarvelo-demo-data", TARVELO_DEMODATA},
#ifdef TARVELO_CHARGER_SIM
        {"tarvelo-charger-sim", TARVELO_CHARGER_SIM},
#endif
    };
    for (const Program& p : programs) {
        const QString name = QString::fromLatin1(p.name);
        const QString path = QString::fromLatin1(p.path);
        const QString usage = QStringLiteral("Usage: %1 [options]").arg(name);
        QTest::addRow("%s --help", p.name)
            << path << QStringList{QStringLiteral("--help")} << 0 << usage << QString();
        QTest::addRow("%s --version", p.name)
            << path << QStringList{QStringLiteral("--version")} << 0
            << name + QStringLiteral(" " TARVELO_VERSION "\n") << QString();
        QTest::addRow("%s --bogus", p.name)
            << path << QStringList{QStringLiteral("--bogus"), QStringLiteral("x.sqlite")} << 2
            << QString() << name + QStringLiteral(": Unknown option 'bogus'.");
    }
    QTest::newRow("tarvelo on a missing log book")
        << QStringLiteral(TARVELO_APP) << QStringList{QStringLiteral("missing.sqlite")} << 1
        << QString() << QStringLiteral("tarvelo: no log book file missing.sqlite");
#ifdef TARVELO_CHARGER_SIM
    QTest::newRow("tarvelo-charger-sim with an unknown model")
        << QStringLiteral(TARVELO_CHARGER_SIM)
        << QStringList{QStringLiteral("--model"), QStringLiteral("4010DUO")} << 2 << QString()
        << QStringLiteral("tarvelo-charger-sim: Unknown model '4010DUO'.");
#endif
}

void CommandLineTest::answersWithoutTouchingAnything()
{
    QFETCH(QString, program);
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QProcess p;
    p.setWorkingDirectory(dir.path());
    // No display of any kind: the window program must answer without one.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QString::fromLatin1(name));
    p.setProcessEnvironment(env);
    p.start(program, args);
    QVERIFY2(p.waitForFinished(30000), qPrintable(program));
    const QString stdOut = QString::fromLocal8Bit(p.readAllStandardOutput());
    const QString stdErr = QString::fromLocal8Bit(p.readAllStandardError());
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QVERIFY2(p.exitCode() == exitCode, qPrintable(stdErr));
    QVERIFY2(stdOut.startsWith(out), qPrintable(stdOut));
    if (err.isEmpty()) {
        QCOMPARE(stdErr, QString());
    } else {
        // What is wrong, then, for a wrong call, how to call it right.
        const QStringList lines = stdErr.split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), err);
        if (exitCode == 2)
            QVERIFY2(lines.value(1).startsWith(QStringLiteral("Usage: ") +
                                               err.left(err.indexOf(QLatin1Char(':')))),
                     qPrintable(stdErr));
    }
    if (exitCode != 0)
        QVERIFY(stdOut.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
