// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "settings/settingsvalues.h"

#include <QRegularExpression>

#include <climits>

namespace
{
enum class Kind { Text, Flag, Number, Bytes, Widths, LanguageCode, Files };

struct KeyInfo {
    const char* name;
    Kind kind;
    const char* defaultText; // as a store would hold it; binary data starts empty
    qint64 min;
    qint64 max;
};

// One line a key: its name in the store, its type, its default and its range.
const KeyInfo kKeys[] = {
    {"host", Kind::Text, "localhost", 0, 0},
    {"db", Kind::Text, "tarvelo", 0, 0},
    {"username", Kind::Text, "tarvelo", 0, 0},
    {"pw", Kind::Text, "qmbrxolte", 0, 0},
    {"port", Kind::Number, "3306", 1, SettingsValues::kMaxPort},
    {"sqlitefilename", Kind::Text, "tarvelo.sqlite", 0, 0},
    {"usesqlite", Kind::Flag, "false", 0, 0},
    {"usecharger", Kind::Flag, "false", 0, 0},
    {"chargerclass", Kind::Number, "255", 0, SettingsValues::kNoCharger},
    {"chargersubtype", Kind::Number, "0", 0, INT_MAX},
    {"chargerportwin32", Kind::Text, "", 0, 0},
    {"chargerspeed", Kind::Number, "0", SettingsValues::SpeedByModel, SettingsValues::Speed128000},
    {"cyclelimits/lipo", Kind::Number, "300", 1, SettingsValues::kMaxCycleLimit},
    {"cyclelimits/life", Kind::Number, "1000", 1, SettingsValues::kMaxCycleLimit},
    {"cyclelimits/nimh", Kind::Number, "500", 1, SettingsValues::kMaxCycleLimit},
    {"cyclelimits/nicd", Kind::Number, "1000", 1, SettingsValues::kMaxCycleLimit},
    {"cyclelimits/ene", Kind::Number, "500", 1, SettingsValues::kMaxCycleLimit},
    {"cyclelimits/pb", Kind::Number, "200", 1, SettingsValues::kMaxCycleLimit},
    {"window/geometry", Kind::Bytes, "", 0, 0},
    {"window/tab", Kind::Number, "0", 0, INT_MAX},
    {"window/logColumns", Kind::Widths, "", 1, 65535},
    {"language", Kind::LanguageCode, "", 0, 0},
    {"recentlogbooks", Kind::Files, "", 0, SettingsValues::kMaxRecentLogBooks},
    {"window/logSortColumn", Kind::Number, "0", 0, 6},
    {"window/logSortOrder", Kind::Number, "0", 0, 1},
    {"askbeforeremove", Kind::Flag, "true", 0, 0},
};
static_assert(sizeof(kKeys) / sizeof(kKeys[0]) == SettingsValues::kKeyCount,
              "one line for every key");

const KeyInfo& info(SettingsValues::Key key)
{
    return kKeys[key];
}

// A whole number, from a number or from its text; a fraction or a word is none.
bool wholeNumber(const QVariant& value, qint64* out)
{
    bool ok = false;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        *out = value.toLongLong(&ok);
        return ok;
    case QMetaType::QString:
        *out = value.toString().trimmed().toLongLong(&ok, 10);
        return ok;
    default:
        return false;
    }
}

bool flag(const QVariant& value, bool* out)
{
    if (value.typeId() == QMetaType::Bool) {
        *out = value.toBool();
        return true;
    }
    QString text;
    if (value.typeId() == QMetaType::QString)
        text = value.toString().trimmed().toLower();
    else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::UInt)
        text = QString::number(value.toLongLong());
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        *out = true;
    else if (text == QLatin1String("false") || text == QLatin1String("0"))
        *out = false;
    else
        return false;
    return true;
}

bool inRange(const KeyInfo& key, qint64 n)
{
    return n >= key.min && n <= key.max;
}

// Column widths are stored as one text ("96 120 80"): a list would read back as a single text
// when it has one item.
SettingsValues::Problem widths(const KeyInfo& key, const QVariant& value, QVariant* out)
{
    QList<int> list;
    if (value.typeId() == QMetaType::QString) {
        const QStringList words =
            value.toString().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        QList<qint64> numbers;
        for (const QString& word : words) {
            qint64 n = 0;
            if (!wholeNumber(word, &n))
                return SettingsValues::Problem::WrongType;
            numbers << n;
        }
        for (qint64 n : numbers) {
            if (!inRange(key, n))
                return SettingsValues::Problem::OutOfRange;
            list << int(n);
        }
    } else if (value.metaType() == QMetaType::fromType<QList<int>>()) {
        list = value.value<QList<int>>();
        for (int n : list)
            if (!inRange(key, n))
                return SettingsValues::Problem::OutOfRange;
    } else {
        return SettingsValues::Problem::WrongType;
    }
    *out = QVariant::fromValue(list);
    return SettingsValues::Problem::None;
}

// The value in the key's own type, or why there is none.
SettingsValues::Problem check(SettingsValues::Key k, const QVariant& value, QVariant* out)
{
    using Problem = SettingsValues::Problem;
    const KeyInfo& key = info(k);
    if (!value.isValid()) // "@Invalid()" in a file
        return Problem::WrongType;
    switch (key.kind) {
    case Kind::Text:
    case Kind::LanguageCode: {
        if (value.typeId() != QMetaType::QString)
            return Problem::WrongType;
        static const QRegularExpression code(QStringLiteral("^([a-z]{2,3}(_[A-Z]{2})?)?$"));
        if (key.kind == Kind::LanguageCode && !code.match(value.toString()).hasMatch())
            return Problem::OutOfRange;
        *out = value.toString();
        return Problem::None;
    }
    case Kind::Flag: {
        bool b = false;
        if (!flag(value, &b))
            return Problem::WrongType;
        *out = b;
        return Problem::None;
    }
    case Kind::Number: {
        qint64 n = 0;
        if (!wholeNumber(value, &n))
            return Problem::WrongType;
        if (!inRange(key, n))
            return Problem::OutOfRange;
        *out = int(n);
        return Problem::None;
    }
    case Kind::Bytes:
        if (value.typeId() != QMetaType::QByteArray)
            return Problem::WrongType;
        *out = value.toByteArray();
        return Problem::None;
    case Kind::Widths:
        return widths(key, value, out);
    case Kind::Files: {
        // A list of one reads back as a text, an empty one as an empty text.
        QStringList files;
        if (value.typeId() == QMetaType::QString) {
            if (!value.toString().isEmpty())
                files << value.toString();
        } else if (value.typeId() == QMetaType::QStringList) {
            files = value.toStringList();
        } else {
            return Problem::WrongType;
        }
        files.removeAll(QString());
        files.removeDuplicates();
        *out = files.mid(0, int(key.max));
        return Problem::None;
    }
    }
    return Problem::WrongType;
}
} // namespace

SettingsValues::SettingsValues()
{
    for (int k = 0; k < kKeyCount; ++k)
        m_values[k] = defaultValue(Key(k));
}

QString SettingsValues::name(Key key)
{
    return QString::fromLatin1(info(key).name);
}

QVariant SettingsValues::defaultValue(Key key)
{
    if (info(key).kind == Kind::Bytes)
        return QByteArray();
    QVariant value;
    check(key, QString::fromLatin1(info(key).defaultText), &value);
    return value;
}

QList<SettingsValues::Key> SettingsValues::optionKeys()
{
    QList<Key> keys;
    for (int k = Host; k <= kLastOption; ++k)
        keys << Key(k);
    return keys;
}

QList<SettingsValues::Key> SettingsValues::viewKeys()
{
    QList<Key> keys;
    for (int k = kLastOption + 1; k < kKeyCount; ++k)
        keys << Key(k);
    return keys;
}

QString SettingsValues::describe(Key k)
{
    const KeyInfo& key = info(k);
    switch (key.kind) {
    case Kind::Text:
        return QStringLiteral("a text");
    case Kind::Flag:
        return QStringLiteral("true or false");
    case Kind::Number:
        if (key.max == INT_MAX)
            return QStringLiteral("a whole number of at least %1").arg(key.min);
        return QStringLiteral("a whole number from %1 to %2").arg(key.min).arg(key.max);
    case Kind::Bytes:
        return QStringLiteral("binary data (@ByteArray)");
    case Kind::Widths:
        return QStringLiteral("widths from %1 to %2, separated by spaces")
            .arg(key.min)
            .arg(key.max);
    case Kind::LanguageCode:
        return QStringLiteral("a language code such as en or de");
    case Kind::Files:
        return QStringLiteral("a list of file names");
    }
    return QString();
}

int SettingsValues::chargerBaudRate() const
{
    switch (chargerSpeed()) {
    case Speed9600:
        return 9600;
    case Speed128000:
        return 128000;
    default:
        return 0;
    }
}

int SettingsValues::cycleLimit(int typ) const
{
    if (typ < 0 || typ > CycleLimitPb - CycleLimitLiPo)
        return 0;
    return number(cycleLimitKey(typ));
}

SettingsValues::Problem SettingsValues::set(Key key, const QVariant& value)
{
    QVariant checked;
    const Problem problem = check(key, value, &checked);
    if (problem == Problem::None)
        m_values[key] = checked;
    return problem;
}

void SettingsValues::addRecentLogBook(const QString& keptFile)
{
    QStringList files = recentLogBooks();
    files.removeAll(keptFile);
    files.prepend(keptFile);
    set(RecentLogBooks, files);
}

QVariant SettingsValues::storedValue(Key key) const
{
    if (info(key).kind == Kind::Files && m_values[key].toStringList().isEmpty())
        return QString(); // an empty list would be stored as "@Invalid()"
    if (info(key).kind != Kind::Widths)
        return m_values[key];
    QStringList words;
    for (int width : logColumns())
        words << QString::number(width);
    return words.join(QLatin1Char(' '));
}
