#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QWidget;

// Measures how long the program takes to show its window, for scripts/measure-startup: when the
// environment names a file in KESTRAVA_STARTUP_REPORT, the first paint of the window writes there
// the time since the process started and since main() began, and the resident memory, then quits.
class StartupReport : public QObject
{
public:
    StartupReport();
    bool enabled() const { return !m_path.isEmpty(); }
    void watch(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString m_path;
    QElapsedTimer m_sinceMain;
    bool m_done = false;
    QWidget *m_window = nullptr;
};
