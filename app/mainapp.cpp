#include "app/mainapp.h"

#include "app/mainwindow.h"

#include <QLocale>

MainApp::MainApp(int& argc, char** argv) : QApplication(argc, argv) {}

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
    m_pMainWindow->changeLanguage(QStringLiteral("trans_") + QLocale::system().name());
}
