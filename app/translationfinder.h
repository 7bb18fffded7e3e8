// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_TRANSLATIONFINDER_H
#define TARVELO_TRANSLATIONFINDER_H

#include <QString>
#include <QStringList>

class QTranslator;

// Finds the program's translation files: in the working directory first (a portable data
// folder may bring its own), then beside the program (the build tree), then in the data
// folder of the prefix the program is installed in.
class TranslationFinder
{
public:
    // Loads `file` into the translator with the translator's own lookup in each folder in
    // turn: the name with and without ".qm", then shortened at its last "_" or ".". An empty
    // name, or a name found nowhere, leaves the translator empty and answers false.
    static bool load(QTranslator* translator, const QString& file);
    // The folders, in the order they are tried; the working directory is the empty path.
    static QStringList directories();
};

#endif
