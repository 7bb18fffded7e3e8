#include "views/messagebox.h"

#include <QMessageBox>

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
