// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
// The German translation covers every text the main window, its log tab, undo and redo, the
// charger status window and the charger's status line show: each text in their forms and sources has a finished German
// translation in translations/tarvelo_de.ts.
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QXmlStreamReader>

#include <tuple>

namespace
{
struct Message {
    QString translation;
    bool finished = false;
};

// context -> source text -> translation
using Catalogue = QHash<QString, QHash<QString, Message>>;

QString sourcePath(const QString& relative)
{
    return QStringLiteral(TARVELO_SOURCE_DIR "/") + relative;
}

bool readCatalogue(const QString& file, Catalogue* out)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    QXmlStreamReader xml(&f);
    QString context, source;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("name"))
                context = xml.readElementText();
            else if (xml.name() == QLatin1String("message"))
                message = Message();
            else if (xml.name() == QLatin1String("source"))
                source = xml.readElementText();
            else if (xml.name() == QLatin1String("translation")) {
                const QString type = xml.attributes().value(QLatin1String("type")).toString();
                message.finished = type.isEmpty();
                // Plural forms come as <numerusform> children.
                message.translation =
                    xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            (*out)[context][source] = message;
        }
    }
    return !xml.hasError();
}

QString readText(const QString& relative)
{
    QFile f(sourcePath(relative));
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

// A C++ string literal's text, with the escapes the sources use.
QString unescape(QString literal)
{
    literal.replace(QLatin1String("\\n"), QLatin1String("\n"));
    literal.replace(QLatin1String("\\\""), QLatin1String("\""));
    literal.replace(QLatin1String("\\\\"), QLatin1String("\\"));
    return literal;
}

// The translatable texts of a form: every <string> that is not marked notr.
QSet<QString> formTexts(const QString& relative)
{
    QSet<QString> texts;
    QXmlStreamReader xml(readText(relative));
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("string") &&
            xml.attributes().value(QLatin1String("notr")) != QLatin1String("true")) {
            const QString text = xml.readElementText();
            if (!text.isEmpty())
                texts.insert(text);
        }
    }
    return texts;
}

// Texts in tr("...") of a class's source, or in translate/QT_TRANSLATE_NOOP with a context.
QSet<QString> codeTexts(const QString& relative, const QString& context)
{
    QSet<QString> texts;
    const QString code = readText(relative);
    const QString literal = QStringLiteral("\"((?:[^\"\\\\]|\\\\.)*)\"");
    // Adjacent literals ("..." "...") are one text, as the compiler joins them.
    const QString literals = QStringLiteral("((?:\"(?:[^\"\\\\]|\\\\.)*\"\\s*)+)");
    const QRegularExpression tr(QStringLiteral("\\btr\\(\\s*") + literals);
    const QRegularExpression withContext(
        QStringLiteral("(?:translate|QT_TRANSLATE_NOOP)\\(\\s*\"") +
        QRegularExpression::escape(context) + QStringLiteral("\"\\s*,\\s*") + literals);
    const QRegularExpression one(literal);
    for (const QRegularExpression& re : {tr, withContext}) {
        auto it = re.globalMatch(code);
        while (it.hasNext()) {
            QString joined;
            auto parts = one.globalMatch(it.next().captured(1));
            while (parts.hasNext())
                joined += parts.next().captured(1);
            texts.insert(unescape(joined));
        }
    }
    return texts;
}
} // namespace

class TranslationsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyTextIsGerman_data();
    void everyTextIsGerman();

private:
    Catalogue m_german;
};

void TranslationsTest::initTestCase()
{
    QVERIFY(readCatalogue(sourcePath(QStringLiteral("translations/tarvelo_de.ts")), &m_german));
}

void TranslationsTest::everyTextIsGerman_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QStringList>("texts");

    auto add = [](const char* row, const QString& context, const QSet<QString>& texts) {
        QStringList sorted(texts.begin(), texts.end());
        sorted.sort();
        QTest::newRow(row) << context << sorted;
    };
    const QString mainWindow = QStringLiteral("MainWindow");
    add("main window form", mainWindow, formTexts(QStringLiteral("app/mainwindow.ui")));
    add("main window messages", mainWindow,
        codeTexts(QStringLiteral("app/mainwindow.cpp"), mainWindow));
    for (const auto& [row, context, file] :
         {std::tuple{"log tab messages", "LogTab", "app/logtab.cpp"},
          {"undo and redo", "UndoHistory", "views/undohistory.cpp"},
          {"names of edits", "LogBookCommand", "storage/recordcommand.cpp"}})
        add(row, QLatin1String(context), codeTexts(QLatin1String(file), QLatin1String(context)));
    const QString status = QStringLiteral("ChargerStatus");
    add("status window form", status, formTexts(QStringLiteral("charger/chargerstatus.ui")));
    const QString charger = QStringLiteral("iCharger");
    add("charger status texts", charger,
        codeTexts(QStringLiteral("charger/icharger.cpp"), charger));
}

void TranslationsTest::everyTextIsGerman()
{
    QFETCH(QString, context);
    QFETCH(QStringList, texts);
    QVERIFY(!texts.isEmpty()); // the texts were found where they are expected
    const QHash<QString, Message> messages = m_german.value(context);
    QStringList missing;
    for (const QString& text : texts) {
        const auto it = messages.constFind(text);
        if (it == messages.constEnd() || !it->finished || it->translation.isEmpty())
            missing << text;
    }
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("no German for: ") + missing.join(QStringLiteral(" | "))));
}

QTEST_GUILESS_MAIN(TranslationsTest)
#include "tst_translations.moc"
