#pragma once

#include "platform/IniFile.h"
#include "season/SeasonData.h"

#include <QObject>
#include <QString>

#include <array>

namespace kestrava {

// The six records of the season so far, each under its heading.
enum Highlight : int {
    MostGoals, // "Le plus de buts marqués:"
    LargestDifference, // "La plus grande différence de buts:"
    MostCards, // "Le plus de cartons pris:" (a red card weighs 3)
    MostGoalsMatchday, // "Le plus de buts en une journée:"
    Unbeaten, // "Le plus de matches sans défaite:" (the runs in progress)
    Winless, // "Le plus de matches sans victoire:"
    HighlightCount
};
QString HighlightHeading(int highlight);
using HighlightTexts = std::array<QString, HighlightCount>;

// Reads every stored result in key order. A record is replaced only by a strictly greater value,
// so the earliest match (or matchday) keeps it; the run records list every club at the maximum.
// Line breaks are CR LF; dates dd/MM/yyyy.
HighlightTexts ComputeHighlights(const SeasonData &season, const IniSnapshot &store);

// The highlights panel of "Le plus de....": filled afresh at every opening.
class HighlightsModel : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    bool visible = false;
    HighlightTexts texts;

    void notify() { emit changed(); }

signals:
    void changed();
};

} // namespace kestrava
