#include "AttemptLimiter.h"

#include <algorithm>

namespace kestrava::site {

qint64 AttemptLimiter::waitFor(const QByteArray &address, qint64 now) const
{
    const auto it = m_entries.constFind(address);
    return it == m_entries.cend() ? 0 : std::max<qint64>(0, it->lockedUntil - now);
}

AttemptLimiter::Failure AttemptLimiter::recordFailure(const QByteArray &address, qint64 now)
{
    if (m_entries.size() >= MaxAddresses && !m_entries.contains(address))
        forgetOld(now);
    Entry &e = m_entries[address];
    if (e.lastLockMs > 0 && now - e.lastFailure > ForgetMs)
        e = Entry();
    e.lastFailure = now;
    e.failures.removeIf([now](qint64 t) { return now - t >= WindowMs; });
    e.failures.append(now);
    Failure f;
    f.recentFailures = int(e.failures.size());
    if (e.lastLockMs > 0)
        f.lockMs = std::min(e.lastLockMs * 2, MaxLockMs);
    else if (e.failures.size() >= FreeFailures)
        f.lockMs = FirstLockMs;
    if (f.lockMs > 0) {
        e.lastLockMs = f.lockMs;
        e.lockedUntil = now + f.lockMs;
    }
    return f;
}

void AttemptLimiter::forgetOld(qint64 now)
{
    m_entries.removeIf([now](const auto &it) {
        return it.value().lockedUntil <= now && now - it.value().lastFailure >= WindowMs;
    });
    // Still full: every address is locked or failing right now. The table stays bounded all the
    // same; a forgotten address starts again from five free failures.
    while (m_entries.size() >= MaxAddresses)
        m_entries.erase(m_entries.begin());
}

} // namespace kestrava::site
