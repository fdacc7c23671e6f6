#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>

namespace kestrava::site {

// Wrong upload passwords, counted per client address. Five within a minute are answered as such;
// the fifth locks the address for FirstLockMs, and every failure after a lock locks it twice as
// long as the lock before (up to MaxLockMs). A locked address is answered without its password being
// looked at, so guessing goes no faster than the locks allow. A right password from an address
// that is not locked goes through at once and clears the address's record; a record with no
// failure for an hour is forgotten. Times are milliseconds on a steady clock.
class AttemptLimiter
{
public:
    static constexpr int FreeFailures = 5;
    static constexpr qint64 WindowMs = 60 * 1000;
    static constexpr qint64 FirstLockMs = 30 * 1000;
    static constexpr qint64 MaxLockMs = 60 * 60 * 1000;
    static constexpr qint64 ForgetMs = 60 * 60 * 1000;
    // Addresses remembered at most: a flood of addresses cannot grow the table without end.
    static constexpr qsizetype MaxAddresses = 10000;

    // Milliseconds the address must still wait, 0 when it may try.
    qint64 waitFor(const QByteArray &address, qint64 now) const;
    // Counts a failure; returns the lock it starts (0 when none) and the failures in the window.
    struct Failure
    {
        qint64 lockMs = 0;
        int recentFailures = 0;
    };
    Failure recordFailure(const QByteArray &address, qint64 now);
    void recordSuccess(const QByteArray &address) { m_entries.remove(address); }
    qsizetype size() const { return m_entries.size(); }

private:
    struct Entry
    {
        QList<qint64> failures; // within the last window
        qint64 lastFailure = 0;
        qint64 lockedUntil = 0;
        qint64 lastLockMs = 0;
    };
    void forgetOld(qint64 now);
    QHash<QByteArray, Entry> m_entries;
};

} // namespace kestrava::site
