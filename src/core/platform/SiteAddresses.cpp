#include "SiteAddresses.h"

namespace kestrava {

QString SiteAddresses::defaultBase()
{
    return QStringLiteral("http://127.0.0.1:8027/");
}

std::optional<QString> SiteAddresses::normalisedBase(const QString &typed)
{
    QUrl url(typed.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != u"http" && url.scheme() != u"https") || url.host().isEmpty()
        || url.hasQuery() || url.hasFragment())
        return std::nullopt;
    if (!url.path().endsWith(u'/'))
        url.setPath(url.path() + u'/');
    return url.toString();
}

SiteAddresses::SiteAddresses(QString base)
    : m_base(std::move(base))
{
    m_base = m_base.trimmed();
    if (m_base.isEmpty())
        m_base = defaultBase();
    if (!m_base.endsWith(u'/'))
        m_base += u'/';
}

QUrl SiteAddresses::inFolder(const QString &path) const
{
    return QUrl(m_base + seasonFolder() + u'/' + path, QUrl::StrictMode);
}

QUrl SiteAddresses::results() const { return inFolder(QStringLiteral("Resultats2027.ini")); }
QUrl SiteAddresses::seasonFile() const { return inFolder(QStringLiteral("L12027.txt")); }
QUrl SiteAddresses::seasonFileL2() const { return inFolder(QStringLiteral("L22027.txt")); }
QUrl SiteAddresses::donors() const { return inFolder(QStringLiteral("don.L1")); }
QUrl SiteAddresses::helpPage() const { return inFolder(QStringLiteral("aide/")); }
QUrl SiteAddresses::downloadPage() const { return inFolder(QStringLiteral("index.php")); }
QUrl SiteAddresses::donationPage() const { return inFolder(QStringLiteral("donation.php")); }

QUrl SiteAddresses::uploadPage(const QString &pseudo, const QString &password) const
{
    return inFolder(QStringLiteral("EXPEL1.php?pseudo=") + EncodeQueryValue(pseudo) + QStringLiteral("&mdp=")
                    + EncodeQueryValue(password));
}

QUrl SiteAddresses::uploadTarget() const { return inFolder(QStringLiteral("EXPEL1.php")); }

QUrl SiteAddresses::uploadPageL2(const QString &pseudo, const QString &password) const
{
    return inFolder(QStringLiteral("EXPEL2.php?pseudo=") + EncodeQueryValue(pseudo) + QStringLiteral("&mdp=")
                    + EncodeQueryValue(password));
}

QUrl SiteAddresses::homePage() const { return QUrl(m_base); }

QUrl SiteAddresses::contactPage(const QString &subject) const
{
    return QUrl(m_base + QStringLiteral("contacter.php?sub=") + EncodeQueryValue(subject), QUrl::StrictMode);
}

QString EncodeQueryValue(const QString &text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

} // namespace kestrava
