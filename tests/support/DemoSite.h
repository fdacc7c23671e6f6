#pragma once

// The real kestrava-site, started on a free port of 127.0.0.1 over a scratch site folder holding
// the demo files, for the tests of the program's online paths.
#include "TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace kestrava::test {

class DemoSite
{
public:
    ~DemoSite() { stop(); }

    // False, with the server's output in `log`, when it did not say where it listens.
    bool start(const QString &program, QByteArray *log = nullptr, const QStringList &options = {})
    {
        m_root = m_dir.filePath(QStringLiteral("site"));
        QDir().mkpath(m_root + QStringLiteral("/Vantor2027"));
        WriteFileBytes(m_root + QStringLiteral("/editors.conf"), "Editeur=kestrava\n");
        m_server.setProgram(program);
        QStringList arguments{QStringLiteral("--root"), m_root, QStringLiteral("--port"), QStringLiteral("0")};
        // The guide of the sources, as scripts/run serves it, unless the test brings its own.
        if (!options.contains(QStringLiteral("--guide")))
            arguments << QStringLiteral("--guide") << QStringLiteral(KESTRAVA_DATA_DIR "/../doc/guide");
        m_server.setArguments(arguments + options);
        m_server.start();
        if (!m_server.waitForStarted(5000))
            return false;
        QByteArray out;
        QElapsedTimer clock;
        clock.start();
        const QRegularExpression listening(QStringLiteral("http://127\\.0\\.0\\.1:(\\d+)/"));
        while (m_port == 0 && clock.elapsed() < 5000) {
            m_server.waitForReadyRead(100);
            out += m_server.readAllStandardOutput();
            const auto m = listening.match(QString::fromUtf8(out));
            if (m.hasMatch())
                m_port = quint16(m.captured(1).toUInt());
        }
        if (log)
            *log = out;
        return m_port != 0;
    }

    void stop()
    {
        if (m_server.state() == QProcess::NotRunning)
            return;
        m_server.terminate();
        if (!m_server.waitForFinished(3000))
            m_server.kill();
    }

    // Back to the demo files: the published store, the season file and the donors file.
    bool reset(const QString &dataDir)
    {
        QDir folder(m_root + QStringLiteral("/Vantor2027"));
        for (const QString &name : folder.entryList(QDir::Files))
            folder.remove(name);
        return QFile::copy(dataDir + QStringLiteral("/demo/Resultats2027.ini"), published(QStringLiteral("Resultats2027.ini")))
            && QFile::copy(dataDir + QStringLiteral("/2027.txt"), published(QStringLiteral("L12027.txt")))
            && QFile::copy(dataDir + QStringLiteral("/demo/don.L1"), published(QStringLiteral("don.L1")));
    }

    QString base() const { return QStringLiteral("http://127.0.0.1:%1/").arg(m_port); }
    quint16 port() const { return m_port; }
    // What the server has written since the last call: its log.
    QByteArray readLog() { return m_server.readAllStandardOutput(); }
    QString published(const QString &name) const { return m_root + QStringLiteral("/Vantor2027/") + name; }
    QString root() const { return m_root; }

private:
    QTemporaryDir m_dir;
    QString m_root;
    QProcess m_server;
    quint16 m_port = 0;
};

} // namespace kestrava::test
