// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#include "tools/commandline.h"

#include <cstdio>

namespace
{
void put(const QString& text, FILE* stream)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}
} // namespace

CommandLine::CommandLine(const QString& program, const QString& description)
    : m_strProgram(program),
      m_help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help.")),
      m_version({QStringLiteral("v"), QStringLiteral("version")},
                QStringLiteral("Shows the version."))
{
    m_parser.setApplicationDescription(description);
    // Qt's own window options are single-dash words (-platform, -style).
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOption(m_help);
    m_parser.addOption(m_version);
}

void CommandLine::addArgument(const QString& name, const QString& description, bool required)
{
    if (required)
        m_required.append(name);
    else
        ++m_iOptional;
    m_parser.addPositionalArgument(name, description,
                                   required ? name : QLatin1Char('[') + name + QLatin1Char(']'));
}

std::optional<int> CommandLine::parse(int argc, char** argv)
{
    QStringList words;
    for (int i = 0; i < argc; ++i)
        words.append(QString::fromLocal8Bit(argv[i]));
    if (!m_parser.parse(words))
        return refuse(m_parser.errorText());
    // Help and version win over everything else on the line, as users expect.
    if (m_parser.isSet(m_help)) {
        put(helpText(), stdout);
        return 0;
    }
    if (m_parser.isSet(m_version)) {
        put(m_strProgram + QLatin1Char(' ') + QStringLiteral(TARVELO_VERSION "\n"), stdout);
        return 0;
    }
    const QStringList given = arguments();
    if (given.size() < m_required.size())
        return refuse(QStringLiteral("Missing %1.").arg(m_required.at(given.size())));
    if (given.size() > m_required.size() + m_iOptional)
        return refuse(QStringLiteral("Unexpected argument '%1'.")
                          .arg(given.at(m_required.size() + m_iOptional)));
    return std::nullopt;
}

int CommandLine::refuse(const QString& problem) const
{
    const QString help = helpText();
    put(m_strProgram + QStringLiteral(": ") + problem + QLatin1Char('\n') +
            help.left(help.indexOf(QLatin1Char('\n')) + 1) +
            QStringLiteral("Try '%1 --help' for more.\n").arg(m_strProgram),
        stderr);
    return 2;
}

QString CommandLine::helpText() const
{
    // Without an application object Qt does not know the program's name.
    QString text = m_parser.helpText();
    text.replace(QStringLiteral("<executable_name>"), m_strProgram);
    return text;
}
