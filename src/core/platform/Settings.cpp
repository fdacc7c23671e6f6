#include "Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrava {

namespace {

QString settingsKey(const QString &section, const QString &key)
{
    // One folded spelling per name; '/' would open a subgroup in QSettings.
    QString s = section.trimmed().toCaseFolded();
    QString k = key.trimmed().toCaseFolded();
    s.replace(u'/', u'_');
    k.replace(u'/', u'_');
    return s + u'/' + k;
}

// The file holds the editor's password: only its owner may read it. It is created private before
// QSettings writes to it (each rewrite keeps the mode of the file it replaces), and made private
// again after every write, should it have been made readable since.
void KeepPrivate(const QString &path)
{
    const QFileInfo info(path);
    if (!info.dir().exists())
        QDir().mkpath(info.absolutePath());
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd >= 0) {
        ::fchmod(fd, 0600);
        ::close(fd);
    }
}

} // namespace

QtSettingsStore::QtSettingsStore(const QString &application)
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, application, application))
{
    KeepPrivate(m_settings->fileName());
}

QtSettingsStore::QtSettingsStore(AtPath, const QString &iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
    KeepPrivate(m_settings->fileName());
}

std::unique_ptr<QtSettingsStore> QtSettingsStore::atPath(const QString &iniPath)
{
    return std::unique_ptr<QtSettingsStore>(new QtSettingsStore(AtPath{}, iniPath));
}

QtSettingsStore::~QtSettingsStore() = default;

QString QtSettingsStore::read(const QString &section, const QString &key, const QString &defaultValue) const
{
    const QVariant v = m_settings->value(settingsKey(section, key));
    return v.isValid() ? v.toString() : defaultValue;
}

void QtSettingsStore::write(const QString &section, const QString &key, const QString &value)
{
    m_settings->setValue(settingsKey(section, key), value);
    m_settings->sync();
    KeepPrivate(m_settings->fileName());
}

QString QtSettingsStore::fileName() const
{
    return m_settings->fileName();
}

QString MemorySettingsStore::read(const QString &section, const QString &key, const QString &defaultValue) const
{
    return m_values.value(settingsKey(section, key), defaultValue);
}

void MemorySettingsStore::write(const QString &section, const QString &key, const QString &value)
{
    m_values.insert(settingsKey(section, key), value);
    ++m_writes;
}

int CheckStateFromText(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok && v == 1 ? 1 : 0;
}

} // namespace kestrava
