// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "settings/tarvelosettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>

#include <cstdio>

namespace
{
const char* const kLocalIni = "tarvelo.ini";
const char* const kOrganisation = "Kelvorn";
const char* const kApplication = "Tarvelo";
const char* const kPortSpeedGroup = "chargerportspeeds";

QString portSpeedKey(const QString& port)
{
    return QString::fromLatin1(kPortSpeedGroup) + QLatin1Char('/') +
           QString::fromLatin1(QUrl::toPercentEncoding(port));
}
} // namespace

TarveloSettings::TarveloSettings(QObject* parent) : QObject(parent)
{
    const QFileInfo local(QString::fromLatin1(kLocalIni));
    if (local.isFile()) {
        m_strIniFile = local.absoluteFilePath();
        std::fputs("UsbStick mode - using local ini file\n", stderr);
    }
    m_strFile = open()->fileName();
}

TarveloSettings::~TarveloSettings() = default;

std::unique_ptr<QSettings> TarveloSettings::open() const
{
    if (isPortable())
        return std::make_unique<QSettings>(m_strIniFile, QSettings::IniFormat);
    return std::make_unique<QSettings>(QString::fromLatin1(kOrganisation),
                                       QString::fromLatin1(kApplication));
}

bool TarveloSettings::load()
{
    m_values = SettingsValues();
    m_portSpeeds.clear();
    m_bFirstRun = false;
    std::unique_ptr<QSettings> store = open();
    const QFileInfo file(m_strFile);
    if (store->status() == QSettings::AccessError ||
        (file.exists() && (!file.isFile() || !file.isReadable())))
        return false;

    m_bFirstRun = store->allKeys().isEmpty();
    // A store without a single option is a first run, or holds only what a window remembered:
    // that its options are missing is no news.
    bool anyOption = false;
    for (Key key : SettingsValues::optionKeys())
        anyOption = anyOption || store->contains(SettingsValues::name(key));

    for (int k = 0; k < SettingsValues::kKeyCount; ++k) {
        const Key key = Key(k);
        const QString name = SettingsValues::name(key);
        if (!store->contains(name)) {
            if (anyOption && SettingsValues::isOption(key))
                report(key, SettingsValues::Problem::Missing);
            continue;
        }
        const SettingsValues::Problem problem = m_values.set(key, store->value(name));
        if (problem != SettingsValues::Problem::None)
            report(key, problem);
    }
    store->beginGroup(QString::fromLatin1(kPortSpeedGroup));
    for (const QString& key : store->childKeys()) {
        bool ok = false;
        const int baud = store->value(key).toInt(&ok);
        if (ok && baud > 0)
            m_portSpeeds.insert(QUrl::fromPercentEncoding(key.toLatin1()), baud);
    }
    store->endGroup();
    return true;
}

void TarveloSettings::report(Key key, SettingsValues::Problem problem) const
{
    const QString what = problem == SettingsValues::Problem::Missing
                             ? QStringLiteral("is missing")
                             : QStringLiteral("should be ") + SettingsValues::describe(key);
    const QString line =
        QStringLiteral("%1: \"%2\" %3; using its default\n")
            .arg(QDir::toNativeSeparators(m_strFile), SettingsValues::name(key), what);
    std::fputs(line.toLocal8Bit().constData(), stderr);
}

bool TarveloSettings::writable() const
{
    const QFileInfo file(m_strFile);
    if (!file.isAbsolute())
        return true; // a registry path: only trying tells
    if (file.exists() && !file.isWritable())
        return false;
    const QFileInfo folder(file.absolutePath());
    return !folder.exists() || folder.isWritable();
}

bool TarveloSettings::save(const SettingsValues& values, const QList<Key>& keys)
{
    if (!writable())
        return false;
    std::unique_ptr<QSettings> store = open();
    // A file that could not be read is never replaced by what little we would write.
    if (store->status() == QSettings::AccessError)
        return false;
    QList<QVariant> before;
    for (Key key : keys) {
        const QString name = SettingsValues::name(key);
        before << store->value(name);
        store->setValue(name, values.storedValue(key));
    }
    store->sync();
    if (store->status() == QSettings::AccessError) {
        // QSettings keeps unwritten values for its next write to this file, even from another
        // QSettings object; that write must not carry values that were reported unsaved.
        for (int i = 0; i < keys.size(); ++i) {
            const QString name = SettingsValues::name(keys[i]);
            if (before[i].isValid())
                store->setValue(name, before[i]);
            else
                store->remove(name);
        }
        return false;
    }

    QList<Key> changedKeys;
    for (Key key : keys) {
        if (m_values.value(key) != values.value(key)) {
            m_values.set(key, values.value(key));
            changedKeys << key;
        }
    }
    for (Key key : changedKeys)
        emit changed(key);
    return true;
}

bool TarveloSettings::rememberPortLineSpeed(const QString& port, int baud)
{
    if (port.isEmpty() || baud <= 0)
        return false;
    if (m_portSpeeds.value(port) == baud)
        return true;
    if (!writable())
        return false;
    std::unique_ptr<QSettings> store = open();
    if (store->status() == QSettings::AccessError)
        return false;
    const QString key = portSpeedKey(port);
    const QVariant before = store->value(key);
    store->setValue(key, baud);
    store->sync();
    if (store->status() == QSettings::AccessError) {
        // Not to be carried by the store's next write either (see save()).
        if (before.isValid())
            store->setValue(key, before);
        else
            store->remove(key);
        return false;
    }
    m_portSpeeds.insert(port, baud);
    return true;
}

QString TarveloSettings::absoluteLogBookFile(const QString& kept) const
{
    if (!isPortable() || kept.isEmpty())
        return kept;
    return QDir(QFileInfo(m_strIniFile).absolutePath()).filePath(kept);
}

QString TarveloSettings::keptLogBookFile(const QString& chosen) const
{
    if (!isPortable() || QFileInfo(chosen).isRelative())
        return chosen;
    const QString relative = QDir(QFileInfo(m_strIniFile).absolutePath()).relativeFilePath(chosen);
    if (relative == QLatin1String("..") || relative.startsWith(QLatin1String("../")) ||
        QFileInfo(relative).isAbsolute())
        return chosen;
    return relative;
}
