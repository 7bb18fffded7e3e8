// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "app/translationfinder.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

QStringList TranslationFinder::directories()
{
    QStringList dirs{QString()};
    if (QCoreApplication::instance()) {
        const QString program = QCoreApplication::applicationDirPath();
        dirs << program
             << QDir::cleanPath(program + QLatin1Char('/') +
                                QLatin1String(TARVELO_TRANSLATIONS_RELATIVE));
    }
    return dirs;
}

bool TranslationFinder::load(QTranslator* translator, const QString& file)
{
    if (!translator)
        return false;
    if (!file.isEmpty()) {
        for (const QString& dir : directories()) {
            if (translator->load(file, dir))
                return true;
        }
    }
    // A failed load leaves the translator empty, whatever it held before.
    (void)translator->load(QString());
    return false;
}
