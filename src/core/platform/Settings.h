#pragma once

#include "platform/Services.h"

#include <QHash>
#include <memory>

class QSettings;

namespace kestrava {

// The per-user settings file of the application "Kestrava" (QSettings, INI format, in the user's
// configuration folder). QSettings compares names case-sensitively on Linux: names are folded here.
class QtSettingsStore final : public SettingsStore
{
public:
    explicit QtSettingsStore(const QString &application = QStringLiteral("Kestrava"));
    // A store in an explicit file, for tests and portable copies.
    static std::unique_ptr<QtSettingsStore> atPath(const QString &iniPath);
    ~QtSettingsStore() override;

    QString read(const QString &section, const QString &key, const QString &defaultValue) const override;
    void write(const QString &section, const QString &key, const QString &value) override;
    QString fileName() const;

private:
    struct AtPath {};
    QtSettingsStore(AtPath, const QString &iniPath);
    std::unique_ptr<QSettings> m_settings;
};

// Settings kept in memory: what tests and a run without a profile use.
class MemorySettingsStore final : public SettingsStore
{
public:
    QString read(const QString &section, const QString &key, const QString &defaultValue) const override;
    void write(const QString &section, const QString &key, const QString &value) override;
    int writeCount() const { return m_writes; }

private:
    QHash<QString, QString> m_values;
    int m_writes = 0;
};

// A check state read back from its text: 1 ticked, anything that is not a number leaves the box
// unticked.
int CheckStateFromText(const QString &text);

} // namespace kestrava
