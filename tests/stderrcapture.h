// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_TESTS_STDERRCAPTURE_H
#define TARVELO_TESTS_STDERRCAPTURE_H

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>
#include <unistd.h>

// Collects what is written to the standard error stream while it lives, in a file.
class StderrCapture
{
public:
    explicit StderrCapture(const QString& file) : m_file(file)
    {
        std::fflush(stderr);
        m_saved = dup(STDERR_FILENO);
        std::FILE* f = std::fopen(QFile::encodeName(file).constData(), "w");
        if (f) {
            dup2(fileno(f), STDERR_FILENO);
            std::fclose(f);
        }
    }
    ~StderrCapture() { restore(); }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    // Everything written so far; ends the capture.
    QByteArray text()
    {
        restore();
        QFile f(m_file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        dup2(m_saved, STDERR_FILENO);
        close(m_saved);
        m_saved = -1;
    }
    QString m_file;
    int m_saved = -1;
};

#endif
