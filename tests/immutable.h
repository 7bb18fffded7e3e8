#ifndef TARVELO_TESTS_IMMUTABLE_H
#define TARVELO_TESTS_IMMUTABLE_H

#include <QFile>
#include <QString>

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

#endif
