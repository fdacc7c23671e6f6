#pragma once

#include <QDateTime>

#include <optional>

namespace kestrava {

class MainController;

// Old local results (more than 10 days, the store's modification time) before the last matchday's
// date deserve the offer of a download. A missing store counts as old.
bool StalenessDue(const QDateTime &launch, const std::optional<QDateTime> &storeModified,
                  const QDateTime &lastMatchdayDate);

// The start-up sequence, from the launch to a window ready for the user: the splash, the season,
// the options, the calendar, the first table or the automatic download, the offer to download old
// results, the editor's identity and the Friday donors refresh.
class Startup
{
public:
    explicit Startup(MainController &main)
        : m_main(main)
    {
    }

    // False when the season file is missing: the message has been shown and the program must end
    // without saving anything.
    bool run();
    bool stalenessDue() const { return m_stalenessDue; }

private:
    MainController &m_main;
    bool m_stalenessDue = false;
};

} // namespace kestrava
