#include "Session.h"

#include "platform/SeasonFolder.h"

#include <QCoreApplication>

namespace kestrava {

QString VersionShort()
{
    return QStringLiteral("%1.%2").arg(KESTRAVA_VERSION_MAJOR).arg(KESTRAVA_VERSION_MINOR);
}

QString VersionFull()
{
    return QStringLiteral("%1.%2.%3").arg(KESTRAVA_VERSION_MAJOR).arg(KESTRAVA_VERSION_MINOR).arg(KESTRAVA_VERSION_PATCH);
}

Session::Session(QString seasonFolder, Services services, QObject *parent)
    : QObject(parent)
    , m_seasonFolder(std::move(seasonFolder))
    , m_services(services)
{
}

SiteAddresses Session::site() const
{
    return SiteAddresses(
        m_services.settings->read(QStringLiteral("Site"), QStringLiteral("Base"), SiteAddresses::defaultBase()));
}

bool Session::siteAddressKnown() const
{
    const QString saved = m_services.settings->read(QStringLiteral("Site"), QStringLiteral("Base"), QString());
    return !inUserDataFolder || !saved.trimmed().isEmpty();
}

std::optional<SiteAddresses> Session::siteForUser() const
{
    if (siteAddressKnown())
        return site();
    tell(NoSiteAddressAdvice, MessageIcon::Information);
    return std::nullopt;
}

QString Session::filesFolder() const
{
    return UserFilesFolder({ m_seasonFolder, inUserDataFolder, {} });
}

void Session::tell(const QString &text, MessageIcon icon) const
{
    m_services.dialogs->message(text, ProgramName, icon);
}

void Session::openUrl(const QUrl &url) const
{
    if (m_services.shell && !m_services.shell->open(url))
        tell(QStringLiteral("Impossible d'ouvrir la page ") + url.toDisplayString());
}

void Session::pump() const
{
    if (m_pump)
        m_pump();
    else
        QCoreApplication::processEvents();
}

} // namespace kestrava
