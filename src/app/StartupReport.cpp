#include "StartupReport.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <unistd.h>

namespace {

// Milliseconds since the process started, from the kernel's clock ticks (10 ms resolution).
double msSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray s = stat.readAll();
    // Fields after the command name, which may hold spaces, closed by the last ')'.
    const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 20)
        return -1;
    const double startTicks = fields[19].toDouble();
    const double up = uptime.readAll().split(' ').value(0).toDouble();
    return (up - startTicks / double(sysconf(_SC_CLK_TCK))) * 1000.0;
}

double residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

} // namespace

StartupReport::StartupReport()
    : m_path(qEnvironmentVariable("KESTRAVA_STARTUP_REPORT"))
{
    m_sinceMain.start();
}

void StartupReport::watch(QWidget *window)
{
    // The window itself is covered by its children: any paint inside it is the first frame.
    m_window = window;
    if (enabled())
        QCoreApplication::instance()->installEventFilter(this);
}

bool StartupReport::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_done && event->type() == QEvent::Paint && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == m_window) {
        m_done = true;
        const qint64 sinceMain = m_sinceMain.elapsed();
        // Report once the paint has finished and the event loop is idle again.
        QTimer::singleShot(0, this, [this, sinceMain] {
            QFile out(m_path);
            if (out.open(QIODevice::WriteOnly | QIODevice::Text)) {
                out.write(QStringLiteral("process_to_paint_ms=%1\nmain_to_paint_ms=%2\nresident_mb=%3\n")
                              .arg(msSinceProcessStart(), 0, 'f', 0)
                              .arg(sinceMain)
                              .arg(residentMegabytes(), 0, 'f', 1)
                              .toUtf8());
            }
            QCoreApplication::quit();
        });
    }
    return QObject::eventFilter(watched, event);
}
