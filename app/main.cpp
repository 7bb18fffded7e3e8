#include "app/mainapp.h"
#include "app/translationfinder.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv)
{
    MainApp app(argc, argv);

    // Qt's own texts (standard buttons, file dialog) in the system's language.
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qt_") + QLocale::system().name(),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslator);

    // The program's texts; installed once the window exists, and reloaded by the language
    // switch. A missing file leaves the program in English.
    QTranslator translator;
    TranslationFinder::load(&translator, QStringLiteral("trans_") + QLocale::system().name());
    app.createMainWindow(&translator, &app);
    app.installTranslator(&translator);
    app.initLanguage();

    return app.exec();
    // The translators go first, the application object with the window last.
}
