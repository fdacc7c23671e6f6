#pragma once

// Makes writes fail for a test, then puts everything back.
#include <QDir>
#include <QFile>
#include <QString>

#include <csignal>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrava::test {

// Makes the next write of a file fail, then puts everything back. Tests run as root here, and root
// ignores permission bits: for those cases the thread's filesystem identity is lowered to nobody,
// which drops the override until it is raised again.
class WriteBlocker
{
public:
    enum Kind { ReadOnlyFolder, UnreadableFile, DiskFull };

    // `file` matters only for UnreadableFile.
    WriteBlocker(Kind kind, const QString &folder, const QString &file = QString())
        : m_kind(kind)
        , m_folder(folder)
        , m_file(file)
    { }
    ~WriteBlocker() { release(); }

    // False when this machine cannot produce the failure (the caller skips).
    // `scratchFolder` is where a disk-full probe may write; by default the folder itself.
    bool engage(const QString &scratchFolder = QString())
    {
        switch (m_kind) {
        case ReadOnlyFolder: {
            ::chmod(QFile::encodeName(m_folder).constData(), 0555);
            m_chmodded = true;
            if (!lowerIdentity())
                return false;
            QFile probe(QDir(m_folder).filePath(QStringLiteral("probe")));
            if (probe.open(QIODevice::WriteOnly)) {
                probe.close();
                probe.remove();
                return false;
            }
            return true;
        }
        case UnreadableFile: {
            ::chmod(QFile::encodeName(m_folder).constData(), 0777);
            ::chmod(QFile::encodeName(m_file).constData(), 0);
            m_chmodded = true;
            if (!lowerIdentity())
                return false;
            QFile probe(m_file);
            return !probe.open(QIODevice::ReadOnly);
        }
        case DiskFull: {
            // A file-size limit fails writes exactly as a full disk does, for root too.
            ::getrlimit(RLIMIT_FSIZE, &m_oldLimit);
            m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
            rlimit tight = m_oldLimit;
            tight.rlim_cur = 16;
            if (::setrlimit(RLIMIT_FSIZE, &tight) != 0)
                return false;
            m_limited = true;
            QFile probe(QDir(scratchFolder.isEmpty() ? m_folder : scratchFolder).filePath(QStringLiteral("probe")));
            if (!probe.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
                return false;
            const bool refused = probe.write(QByteArray(64, 'x')) != 64;
            probe.close();
            probe.remove();
            return refused;
        }
        }
        return false;
    }

    void release()
    {
        if (m_lowered) {
            ::setfsuid(0);
            m_lowered = false;
        }
        if (m_limited) {
            ::setrlimit(RLIMIT_FSIZE, &m_oldLimit);
            std::signal(SIGXFSZ, m_oldHandler);
            m_limited = false;
        }
        if (m_chmodded) {
            ::chmod(QFile::encodeName(m_folder).constData(), 0755);
            if (!m_file.isEmpty())
                ::chmod(QFile::encodeName(m_file).constData(), 0644);
            m_chmodded = false;
        }
    }

private:
    bool lowerIdentity()
    {
        if (::geteuid() != 0)
            return true;
        ::setfsuid(65534);
        m_lowered = true;
        return ::setfsuid(65534) == 65534;
    }

    Kind m_kind;
    QString m_folder;
    QString m_file;
    bool m_chmodded = false;
    bool m_lowered = false;
    bool m_limited = false;
    rlimit m_oldLimit {};
    void (*m_oldHandler)(int) = SIG_DFL;
};

} // namespace kestrava::test
