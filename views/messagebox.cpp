#include "views/messagebox.h"

#include <QMessageBox>
#include <QPushButton>

MessageBox::Handler& MessageBox::handler()
{
    static Handler h;
    return h;
}

void MessageBox::setHandler(Handler h) { handler() = std::move(h); }

void MessageBox::warning(QWidget* parent, const QString& title, const QString& text)
{
    if (handler()) {
        handler()(parent, title, text);
        return;
    }
    QMessageBox::warning(parent, title, text, QMessageBox::Ok);
}

MessageBox::QuestionHandler& MessageBox::questionHandler()
{
    static QuestionHandler h;
    return h;
}

void MessageBox::setQuestionHandler(QuestionHandler h)
{
    questionHandler() = std::move(h);
}

int MessageBox::question(QWidget* parent, const QString& title, const QString& text,
                         const QStringList& buttons)
{
    if (questionHandler())
        return questionHandler()(parent, title, text, buttons);
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QVector<QAbstractButton*> added;
    for (int i = 0; i < buttons.size(); ++i) {
        const bool last = i == buttons.size() - 1;
        added.append(box.addButton(buttons.at(i), last ? QMessageBox::RejectRole
                                                       : QMessageBox::AcceptRole));
    }
    if (!added.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton*>(added.first()));
        box.setEscapeButton(added.last());
    }
    box.exec();
    const int chosen = int(added.indexOf(box.clickedButton()));
    return chosen < 0 ? int(buttons.size()) - 1 : chosen;
}
