// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_SETTINGSVALUES_H
#define TARVELO_SETTINGSVALUES_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>

// One complete set of the program's settings, every key with a value of its own type. A plain
// value: dialogs take a copy, edit it, and hand it back. It never holds a value its key refuses,
// so whoever reads it needs no checks of their own.
class SettingsValues
{
public:
    enum Key {
        // The options, under the names the program has always stored them by.
        Host,
        Database,
        User,
        Password,
        Port,
        SqliteFile,
        UseSqlite,
        UseCharger,
        ChargerClass,
        ChargerSubtype,
        ChargerPort,
        ChargerSpeed,
        // Cycles after which a pack should be retired, per chemistry in the order of the
        // stored chemistry index.
        CycleLimitLiPo,
        CycleLimitLiFe,
        CycleLimitNiMh,
        CycleLimitNiCd,
        CycleLimitEne,
        CycleLimitPb,
        // What the program remembers of the last run.
        WindowGeometry,
        WindowTab,
        LogColumns,
        Language,
        RecentLogBooks,
        LogSortColumn,
        LogSortOrder,
        AskBeforeRemove,
    };
    static constexpr int kKeyCount = AskBeforeRemove + 1;
    static constexpr int kMaxRecentLogBooks = 5;
    static constexpr Key kLastOption = CycleLimitPb;
    static constexpr int kMaxCycleLimit = 100000;
    static constexpr int kMaxPort = 65535;
    static constexpr int kNoCharger = 255;
    // ChargerSpeed: the charger model's own speed, or one the user chose.
    enum ChargerSpeedChoice { SpeedByModel, Speed9600, Speed128000 };

    // Why a stored value was not taken.
    enum class Problem { None, Missing, WrongType, OutOfRange };

    // Every key at its default.
    SettingsValues();

    // The name in the settings store.
    static QString name(Key key);
    static QVariant defaultValue(Key key);
    // The options a user accepts with the dialog; the rest is remembered by the window.
    static QList<Key> optionKeys();
    static QList<Key> viewKeys();
    // A missing option is worth a word, a missing remembered value is not: older files lack
    // them all.
    // Options added later are missing from older files: no news either.
    static bool isOption(Key key) { return key <= ChargerPort; }
    // What the key allows, for messages ("a whole number from 1 to 65535").
    static QString describe(Key key);

    // Takes a value as a store or a caller hands it over (texts of numbers and of true/false
    // included). On refusal answers why and changes nothing.
    Problem set(Key key, const QVariant& value);
    // The value as the store keeps it: the key's type, lists as text.
    QVariant storedValue(Key key) const;

    // Puts a log book at the head of the recent ones, dropping the oldest beyond the limit.
    void addRecentLogBook(const QString& keptFile);

    QVariant value(Key key) const { return m_values[key]; }
    QString host() const { return text(Host); }
    QString database() const { return text(Database); }
    QString user() const { return text(User); }
    QString password() const { return text(Password); }
    int port() const { return number(Port); }
    QString sqliteFile() const { return text(SqliteFile); }
    bool useSqlite() const { return m_values[UseSqlite].toBool(); }
    bool useCharger() const { return m_values[UseCharger].toBool(); }
    int chargerClass() const { return number(ChargerClass); }
    int chargerSubtype() const { return number(ChargerSubtype); }
    QString chargerPort() const { return text(ChargerPort); }
    int chargerSpeed() const { return number(ChargerSpeed); }
    // The line speed in baud; 0 for the model's own.
    int chargerBaudRate() const;
    // The cycle limit of a chemistry (its stored index); 0 for an unknown one.
    int cycleLimit(int typ) const;
    static Key cycleLimitKey(int typ) { return Key(CycleLimitLiPo + typ); }
    QByteArray windowGeometry() const { return m_values[WindowGeometry].toByteArray(); }
    int windowTab() const { return number(WindowTab); }
    // Widths the user gave the log table's columns; empty while the table fits them itself.
    QList<int> logColumns() const { return m_values[LogColumns].value<QList<int>>(); }
    // "en", "de", ...; empty: the system's language.
    QString language() const { return text(Language); }
    // Log books opened last, the newest first, as kept (see TarveloSettings::keptLogBookFile).
    QStringList recentLogBooks() const { return m_values[RecentLogBooks].toStringList(); }
    // The column the log is sorted by, and 0 upwards or 1 downwards.
    int logSortColumn() const { return number(LogSortColumn); }
    int logSortOrder() const { return number(LogSortOrder); }
    // Removing log entries asks first, until the user says not to.
    bool askBeforeRemove() const { return m_values[AskBeforeRemove].toBool(); }

    bool operator==(const SettingsValues& other) const { return m_values == other.m_values; }
    bool operator!=(const SettingsValues& other) const { return !(*this == other); }

private:
    QString text(Key key) const { return m_values[key].toString(); }
    int number(Key key) const { return m_values[key].toInt(); }

    std::array<QVariant, kKeyCount> m_values;
};

#endif
