#include "DesktopNotifier.h"

#include <QApplication>
#include <QIcon>
#include <QSystemTrayIcon>
#include <QVariantMap>

#ifdef KESTRAVA_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#endif

namespace kestrava {

namespace {
#ifdef KESTRAVA_HAVE_DBUS
const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");
#endif
// A notice stays on the desktop for ten seconds unless the server decides otherwise.
constexpr int ExpireMs = 10000;
} // namespace

DesktopNotifier::DesktopNotifier(QObject *parent)
    : QObject(parent)
{
#ifdef KESTRAVA_HAVE_DBUS
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        bus.connect(Service, Path, Interface, QStringLiteral("ActionInvoked"), this,
                    SLOT(actionInvoked(uint, QString)));
        bus.connect(Service, Path, Interface, QStringLiteral("NotificationClosed"), this,
                    SLOT(notificationClosed(uint, uint)));
        m_busConnected = true;
    }
#endif
}

DesktopNotifier::~DesktopNotifier() = default;

void DesktopNotifier::notify(const DesktopNotice &notice)
{
    if (!viaBus(notice))
        viaTray(notice);
}

bool DesktopNotifier::viaBus(const DesktopNotice &notice)
{
#ifndef KESTRAVA_HAVE_DBUS
    Q_UNUSED(notice);
    return false;
#else
    if (!m_busConnected)
        return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    // Asked each time: a notification daemon may come and go during a long evening.
    if (!bus.interface() || !bus.interface()->isServiceRegistered(Service))
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("category"), QStringLiteral("im.received")},
                            {QStringLiteral("desktop-entry"), QStringLiteral("kestrava")}};
    call << QApplication::applicationName() << uint(0) << QStringLiteral("kestrava") << notice.title
         << notice.body << QStringList{QStringLiteral("default"), QStringLiteral("Voir la journée")} << hints
         << ExpireMs;
    const QDBusReply<uint> reply = bus.call(call, QDBus::Block, 2000);
    if (!reply.isValid())
        return false;
    m_matchdays.insert(reply.value(), notice.matchday);
    return true;
#endif
}

void DesktopNotifier::viaTray(const DesktopNotice &notice)
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    if (!m_tray) {
        m_tray = new QSystemTrayIcon(QApplication::windowIcon(), this);
        m_tray->setToolTip(QApplication::applicationName());
        connect(m_tray, &QSystemTrayIcon::messageClicked, this, [this] { activated(m_trayMatchday); });
        m_tray->show();
    }
    // A tray holds one balloon: the last one says where its click leads.
    m_trayMatchday = notice.matchday;
    m_tray->showMessage(notice.title, notice.body, QSystemTrayIcon::Information, ExpireMs);
}

void DesktopNotifier::actionInvoked(uint id, const QString &action)
{
    // The signal comes for every program's notices: only ours are in the table.
    const auto it = m_matchdays.constFind(id);
    if (it == m_matchdays.constEnd() || action != u"default")
        return;
    activated(it.value());
}

void DesktopNotifier::notificationClosed(uint id, uint)
{
    m_matchdays.remove(id);
}

} // namespace kestrava
