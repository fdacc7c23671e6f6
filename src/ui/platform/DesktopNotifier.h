#pragma once

#include "platform/Services.h"

#include <QHash>
#include <QObject>

class QSystemTrayIcon;

namespace kestrava {

// Notices through the desktop's notification service (org.freedesktop.Notifications on the
// session bus); where there is none, a balloon of the system tray. Clicking a notice calls the
// activation handler with its matchday.
class DesktopNotifier final : public QObject, public Notifier
{
    Q_OBJECT
public:
    explicit DesktopNotifier(QObject *parent = nullptr);
    ~DesktopNotifier() override;

    void notify(const DesktopNotice &notice) override;

private slots:
    void actionInvoked(uint id, const QString &action);
    void notificationClosed(uint id, uint reason);

private:
    bool viaBus(const DesktopNotice &notice);
    void viaTray(const DesktopNotice &notice);

    bool m_busConnected = false;
    QHash<uint, int> m_matchdays; // notice id -> matchday, until it is closed
    QSystemTrayIcon *m_tray = nullptr;
    int m_trayMatchday = 0;
};

} // namespace kestrava
