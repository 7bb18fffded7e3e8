// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_TARVELOSETTINGS_H
#define TARVELO_TARVELOSETTINGS_H

#include "settings/settingsvalues.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>

class QSettings;

// The program's settings and the store that keeps them. The store is chosen once, as the
// program always has: a "tarvelo.ini" in the working directory makes the program portable (it
// lives on a USB stick, say, with its log book beside it); otherwise the per-user store of
// organisation "Kelvorn", application "Tarvelo". The store is only ever written by save(), with
// values someone accepted; reading it never changes it.
class TarveloSettings : public QObject
{
    Q_OBJECT

public:
    using Key = SettingsValues::Key;

    // Chooses the store; reads nothing yet.
    explicit TarveloSettings(QObject* parent = nullptr);
    ~TarveloSettings() override;

    // Reads every key. A key that is missing from an existing store, or of the wrong type, or
    // out of range takes its default and is named on the standard error stream, one line a
    // key. False when the store is there but cannot be read; every key then has its default.
    bool load();

    bool isPortable() const { return !m_strIniFile.isEmpty(); }
    // The store held nothing at all when it was read: the program has never run here.
    bool isFirstRun() const { return m_bFirstRun; }
    // The store's file: the INI file, or the per-user file.
    QString fileName() const { return m_strFile; }
    const SettingsValues& values() const { return m_values; }

    // The log book to open. In portable mode a relative name is taken from the INI's folder,
    // wherever the program was started from.
    QString logBookFile() const { return absoluteLogBookFile(m_values.sqliteFile()); }
    // A log book name as kept in the settings, made absolute.
    QString absoluteLogBookFile(const QString& kept) const;
    // A log book the user chose, as it is best kept: in portable mode relative to the INI's
    // folder when it lies there or below, so that the folder can move.
    QString keptLogBookFile(const QString& chosen) const;

    // Writes `keys` from `values`, then takes them and announces each one that changed. False
    // when the store cannot be written (a read-only file or folder, a file that cannot be
    // read); then neither the store nor these settings change.
    bool save(const SettingsValues& values, const QList<Key>& keys);

    // The line speed last found on a charger port, by the port's saved name; 0 for none.
    int portLineSpeed(const QString& port) const { return m_portSpeeds.value(port); }
    // Keeps a speed found on a port at once, under "chargerportspeeds/" and the port name
    // percent-encoded (a stable name holds slashes). False when the store cannot be written.
    bool rememberPortLineSpeed(const QString& port, int baud);

signals:
    void changed(SettingsValues::Key key);

private:
    std::unique_ptr<QSettings> open() const;
    // Whether the file and its folder take a new version of the file. QSettings writes a new
    // file and renames it, which a read-only file alone would not stop.
    bool writable() const;
    void report(Key key, SettingsValues::Problem problem) const;

    QString m_strIniFile; // empty: the per-user store
    QString m_strFile;
    SettingsValues m_values;
    QHash<QString, int> m_portSpeeds;
    bool m_bFirstRun = false;
};

#endif
