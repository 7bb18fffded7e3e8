// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_MESSAGEBOX_H
#define TARVELO_MESSAGEBOX_H

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// Every warning the program shows goes through here, so that tests can answer it without
// a modal box: install a handler, and it is called instead of showing the box.
class MessageBox
{
public:
    using Handler = std::function<void(QWidget* parent, const QString& title, const QString& text)>;

    // A modal warning with one OK button.
    static void warning(QWidget* parent, const QString& title, const QString& text);
    // A modal message that something went well, with one OK button; a handler set for the
    // warnings answers it too.
    static void information(QWidget* parent, const QString& title, const QString& text);
    // Replaces the box; an empty handler shows real boxes again.
    static void setHandler(Handler handler);

    // Answers the index of the button chosen; the last button is the one Esc or closing the
    // box chooses.
    using QuestionHandler = std::function<int(QWidget* parent, const QString& title,
                                              const QString& text, const QStringList& buttons)>;
    static int question(QWidget* parent, const QString& title, const QString& text,
                        const QStringList& buttons);
    // ... with another button than the first as the one Enter chooses.
    static int question(QWidget* parent, const QString& title, const QString& text,
                        const QStringList& buttons, int defaultButton);
    static void setQuestionHandler(QuestionHandler handler);

    // A question with a check box under the text ("Don't ask again"); *checked says whether
    // it was ticked. A handler answers it like any question, and sets *checked itself.
    using CheckedQuestionHandler =
        std::function<int(QWidget* parent, const QString& title, const QString& text,
                          const QStringList& buttons, const QString& checkText, bool* checked)>;
    static int question(QWidget* parent, const QString& title, const QString& text,
                        const QStringList& buttons, const QString& checkText, bool* checked);
    static void setQuestionHandler(CheckedQuestionHandler handler);
    // Real boxes again.
    static void setQuestionHandler(std::nullptr_t);

private:
    static int ask(QWidget* parent, const QString& title, const QString& text,
                   const QStringList& buttons, const QString& checkText, bool* checked,
                   int defaultButton);
    static Handler& handler();
    static CheckedQuestionHandler& questionHandler();
};

#endif
