#include "Settings.h"

#include <QSettings>

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

} // namespace

QtSettingsStore::QtSettingsStore(const QString &application)
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, application, application))
{
}

QtSettingsStore::QtSettingsStore(AtPath, const QString &iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
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
