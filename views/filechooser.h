// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_FILECHOOSER_H
#define TARVELO_FILECHOOSER_H

#include <QString>

#include <functional>

class QWidget;

// Every log book file the user picks is asked for here, so that tests can answer without a
// modal file dialog: install a handler, and it is called instead.
class FileChooser
{
public:
    enum class Purpose {
        Open, // an existing file
        Name, // an existing file or the name of a new one; nothing asks about overwriting
    };
    // An empty answer means cancelled.
    using Handler = std::function<QString(QWidget* parent, Purpose purpose, const QString& caption,
                                          const QString& folder)>;

    static QString chooseLogBook(QWidget* parent, Purpose purpose, const QString& caption,
                                 const QString& folder);
    // A CSV file to write; `suggested` is the path it starts on. Asks before an existing file
    // is replaced.
    static QString chooseCsv(QWidget* parent, const QString& caption, const QString& suggested);
    // Replaces the dialog; an empty handler shows real dialogs again.
    static void setHandler(Handler handler);

private:
    static Handler& handler();
};

#endif
