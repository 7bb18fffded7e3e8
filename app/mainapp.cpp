// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "app/mainapp.h"

#include "app/mainwindow.h"
#include "settings/tarvelosettings.h"

#include <QIcon>
#include <QLocale>

MainApp::MainApp(int& argc, char** argv) : QApplication(argc, argv)
{
    // The data folder (log books the program makes itself) is named after these, as the
    // settings are.
    setOrganizationName(QStringLiteral("Kelvorn"));
    setApplicationName(QStringLiteral("Tarvelo"));
    // Lets the desktop match the windows to the installed menu entry and its icon.
    setDesktopFileName(QStringLiteral("org.kelvorn.Tarvelo"));
    QIcon icon;
    for (const char* size : {"32", "64", "256"})
        icon.addFile(QStringLiteral(":/icons/org.kelvorn.Tarvelo-%1.png").arg(QLatin1String(size)));
    setWindowIcon(icon);
}

// The window goes before the application object it lives in.
MainApp::~MainApp() = default;

void MainApp::createMainWindow(QTranslator* translator, QApplication* app,
                               const QString& logBookFile)
{
    if (!m_pMainWindow)
        m_pMainWindow = std::make_unique<MainWindow>(translator, app, logBookFile);
    m_pMainWindow->show();
}

void MainApp::initLanguage()
{
    if (!m_pMainWindow)
        return;
    m_pMainWindow->retranslate();
    // The language chosen in the menu last time; the system's before the first choice.
    const QString chosen = m_pMainWindow->settings()->values().language();
    m_pMainWindow->changeLanguage(
        MainWindow::translationFile(chosen.isEmpty() ? QLocale::system().name() : chosen));
}
