#pragma once
// One of the project's programs run to its end as a user runs it: its exit status (-1 when it
// crashed or hung), what it printed and what it said on stderr.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace kestrava::test {

struct Outcome
{
    int status = -1;
    QByteArray out;
    QString err;
};

inline Outcome RunProgram(const QString &program, const QStringList &args, const QByteArray &input = {})
{
    QProcess p;
    p.start(program, args);
    if (!input.isNull()) {
        p.write(input);
        p.closeWriteChannel();
    }
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return { p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
        QString::fromUtf8(p.readAllStandardError()) };
}

} // namespace kestrava::test
