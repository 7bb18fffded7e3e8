// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_MAINAPP_H
#define TARVELO_MAINAPP_H

#include <QApplication>

#include <memory>

class MainWindow;
class QTranslator;

// The application object. It owns the one main window, which lives until the program ends.
class MainApp : public QApplication
{
    Q_OBJECT

public:
    MainApp(int& argc, char** argv);
    ~MainApp() override;

    // Creates the main window on the first call (handing it the program translator, which
    // the language switch reloads, and the log book named on the command line), and shows it.
    void createMainWindow(QTranslator* translator, QApplication* app,
                          const QString& logBookFile = QString());
    // Applies the language chosen last time, else the language of the system's locale, to the
    // window's forms, once the program translator is installed. Does nothing before the window
    // exists.
    void initLanguage();

    MainWindow* mainWindow() const { return m_pMainWindow.get(); }

private:
    std::unique_ptr<MainWindow> m_pMainWindow;
};

#endif
