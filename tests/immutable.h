// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: the Tarvelo developers
#ifndef TARVELO_TESTS_IMMUTABLE_H
#define TARVELO_TESTS_IMMUTABLE_H

#include <QFile>
#include <QFileInfo>
#include <QString>

#include <memory>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

// Makes a file read-only also for the superuser, whom permission bits do not bind: the
// immutable attribute, taken away again when this goes out of scope.
class Immutable
{
public:
    explicit Immutable(const QString& file)
    {
        m_fd = open(QFile::encodeName(file).constData(), O_RDONLY);
        int flags = 0;
        if (m_fd >= 0 && ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            m_bSet = ioctl(m_fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
    }
    ~Immutable()
    {
        int flags = 0;
        if (m_bSet && ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ioctl(m_fd, FS_IOC_SETFLAGS, &flags);
        }
        if (m_fd >= 0)
            close(m_fd);
    }
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;
    bool isSet() const { return m_bSet; }

private:
    int m_fd = -1;
    bool m_bSet = false;
};

// A file or folder made read-only for whoever runs the test: permission bits, and for the
// superuser the immutable attribute as well. Both are undone when this goes.
class ReadOnly
{
public:
    explicit ReadOnly(const QString& path) : m_path(path), m_permissions(QFile::permissions(path))
    {
        QFile::setPermissions(path, QFileInfo(path).isDir()
                                        ? QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                        : QFileDevice::ReadOwner);
        if (geteuid() == 0)
            m_pImmutable = std::make_unique<Immutable>(path);
    }
    ~ReadOnly()
    {
        m_pImmutable.reset();
        QFile::setPermissions(m_path, m_permissions);
    }
    ReadOnly(const ReadOnly&) = delete;
    ReadOnly& operator=(const ReadOnly&) = delete;
    // False where the superuser cannot set the attribute here.
    bool isSet() const { return !m_pImmutable || m_pImmutable->isSet(); }

private:
    QString m_path;
    QFile::Permissions m_permissions;
    std::unique_ptr<Immutable> m_pImmutable;
};

#endif
