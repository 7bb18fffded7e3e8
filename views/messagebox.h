#ifndef TARVELO_MESSAGEBOX_H
#define TARVELO_MESSAGEBOX_H

#include <QString>

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
    // Replaces the box; an empty handler shows real boxes again.
    static void setHandler(Handler handler);

private:
    static Handler& handler();
};

#endif
