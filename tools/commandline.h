// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_COMMANDLINE_H
#define TARVELO_COMMANDLINE_H

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

// The command line all of Tarvelo's programs share: --help and --version, and a refusal of
// unknown options and of too few or too many arguments. It needs no application object, so
// the window program answers without a display, and it touches no file.
class CommandLine
{
public:
    // `program` names the program in the usage line and the version.
    CommandLine(const QString& program, const QString& description);

    // For the program's own options.
    QCommandLineParser& parser() { return m_parser; }
    // A positional argument; optional ones come after the required ones.
    void addArgument(const QString& name, const QString& description, bool required);

    // Reads the call. Answers the exit status when the program is done with it (0 after help
    // or version, 2 after a refusal), nothing when the program goes on.
    std::optional<int> parse(int argc, char** argv);
    QStringList arguments() const { return m_parser.positionalArguments(); }

    // Says on the error stream what is wrong with the call, then the usage line; answers 2.
    int refuse(const QString& problem) const;

private:
    QString helpText() const;

    QString m_strProgram;
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QStringList m_required;
    int m_iOptional = 0;
};

#endif
