// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "views/messagebox.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>

MessageBox::Handler& MessageBox::handler()
{
    static Handler h;
    return h;
}

void MessageBox::setHandler(Handler h)
{
    handler() = std::move(h);
}

void MessageBox::warning(QWidget* parent, const QString& title, const QString& text)
{
    if (handler()) {
        handler()(parent, title, text);
        return;
    }
    QMessageBox::warning(parent, title, text, QMessageBox::Ok);
}

void MessageBox::information(QWidget* parent, const QString& title, const QString& text)
{
    if (handler()) {
        handler()(parent, title, text);
        return;
    }
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
}

MessageBox::CheckedQuestionHandler& MessageBox::questionHandler()
{
    static CheckedQuestionHandler h;
    return h;
}

void MessageBox::setQuestionHandler(std::nullptr_t)
{
    questionHandler() = nullptr;
}

void MessageBox::setQuestionHandler(QuestionHandler h)
{
    if (!h) {
        questionHandler() = nullptr;
        return;
    }
    questionHandler() = [h](QWidget* parent, const QString& title, const QString& text,
                            const QStringList& buttons, const QString&,
                            bool*) { return h(parent, title, text, buttons); };
}

void MessageBox::setQuestionHandler(CheckedQuestionHandler h)
{
    questionHandler() = std::move(h);
}

int MessageBox::question(QWidget* parent, const QString& title, const QString& text,
                         const QStringList& buttons)
{
    return question(parent, title, text, buttons, 0);
}

int MessageBox::question(QWidget* parent, const QString& title, const QString& text,
                         const QStringList& buttons, int defaultButton)
{
    return ask(parent, title, text, buttons, QString(), nullptr, defaultButton);
}

int MessageBox::question(QWidget* parent, const QString& title, const QString& text,
                         const QStringList& buttons, const QString& checkText, bool* checked)
{
    return ask(parent, title, text, buttons, checkText, checked, 0);
}

int MessageBox::ask(QWidget* parent, const QString& title, const QString& text,
                    const QStringList& buttons, const QString& checkText, bool* checked,
                    int defaultButton)
{
    if (questionHandler())
        return questionHandler()(parent, title, text, buttons, checkText, checked);
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    if (checked && !checkText.isEmpty()) {
        auto* check = new QCheckBox(checkText);
        check->setChecked(*checked);
        box.setCheckBox(check);
    }
    QVector<QAbstractButton*> added;
    for (int i = 0; i < buttons.size(); ++i) {
        const bool last = i == buttons.size() - 1;
        added.append(
            box.addButton(buttons.at(i), last ? QMessageBox::RejectRole : QMessageBox::AcceptRole));
    }
    if (!added.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton*>(added.value(defaultButton, added.first())));
        box.setEscapeButton(added.last());
    }
    box.exec();
    if (checked && box.checkBox())
        *checked = box.checkBox()->isChecked();
    const int chosen = int(added.indexOf(box.clickedButton()));
    return chosen < 0 ? int(buttons.size()) - 1 : chosen;
}
