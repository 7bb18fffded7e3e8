// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "app/mainapp.h"
#include "app/translationfinder.h"
#include "tools/commandline.h"

#include <QFileInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>

namespace
{
// QApplication takes these from the command line itself; they must not be refused here.
void acceptQtWindowOptions(QCommandLineParser& parser)
{
    for (const char* name :
         {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
          "qwindowicon", "qwindowtitle", "session", "display", "geometry", "style", "stylesheet"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : {"reverse", "widgetcount"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}
} // namespace

int main(int argc, char** argv)
{
    // Read before the application object: help and version need no display.
    CommandLine commandLine(
        QStringLiteral("tarvelo"),
        QStringLiteral("Tarvelo, a log book for the battery packs of radio-controlled models."));
    commandLine.addArgument(QStringLiteral("FILE"),
                            QStringLiteral("An SQLite log book to open for this run instead of "
                                           "the one in the settings, which stay as they are."),
                            false);
    acceptQtWindowOptions(commandLine.parser());
    if (const auto done = commandLine.parse(argc, argv))
        return *done;
    QString logBookFile;
    if (!commandLine.arguments().isEmpty()) {
        // Tarvelo never creates a log book; a mistyped name ends here, before any window.
        const QFileInfo file(commandLine.arguments().first());
        if (!file.isFile()) {
            std::fprintf(stderr, "tarvelo: no log book file %s\n",
                         QFile::encodeName(file.filePath()).constData());
            return 1;
        }
        logBookFile = file.absoluteFilePath();
    }

    MainApp app(argc, argv);

    // The program's texts; installed once the window exists, and reloaded by the language
    // switch together with Qt's own. A missing file leaves the program in English.
    QTranslator translator;
    TranslationFinder::load(&translator, QStringLiteral("trans_") + QLocale::system().name());
    app.createMainWindow(&translator, &app, logBookFile);
    app.installTranslator(&translator);
    app.initLanguage();

    return app.exec();
    // The translators go first, the application object with the window last.
}
