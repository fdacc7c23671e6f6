#include "Crest.h"

#include "platform/Text.h"

#include <QCryptographicHash>
#include <QStringList>

#include <cmath>

namespace kestrava {

namespace {

Rgb fromHsl(double h, double s, double l)
{
    const double c = (1 - std::fabs(2 * l - 1)) * s;
    const double hp = h / 60.0;
    const double x = c * (1 - std::fabs(std::fmod(hp, 2.0) - 1));
    double r = 0, g = 0, b = 0;
    if (hp < 1) { r = c; g = x; }
    else if (hp < 2) { r = x; g = c; }
    else if (hp < 3) { g = c; b = x; }
    else if (hp < 4) { g = x; b = c; }
    else if (hp < 5) { r = x; b = c; }
    else { r = c; b = x; }
    const double m = l - c / 2;
    auto to8 = [m](double v) { return static_cast<std::uint8_t>(std::lround((v + m) * 255)); };
    return {to8(r), to8(g), to8(b)};
}

} // namespace

CrestBadge CrestFor(const QString &teamName)
{
    CrestBadge badge;
    // Words of the name ("Paris SG" -> PSG, "Saint-Étienne" -> SE, "Lens" -> LEN).
    QString spaced = teamName;
    spaced.replace(u'-', u' ');
    const QStringList words = spaced.split(u' ', Qt::SkipEmptyParts);
    if (words.size() >= 2) {
        for (const QString &w : words) {
            if (w.size() <= 2 && w == w.toLower())
                continue; // "le", "de" add nothing
            badge.initials += w.size() <= 3 && w == w.toUpper() ? w : w.left(1).toUpper();
            if (badge.initials.size() >= 3)
                break;
        }
    }
    if (badge.initials.isEmpty())
        badge.initials = FoldForSort(teamName).left(3).toUpper();
    if (badge.initials.isEmpty())
        badge.initials = QStringLiteral("?");
    badge.initials = badge.initials.left(3);

    // The same name always gets the same colour, on every machine.
    const QByteArray digest = QCryptographicHash::hash(teamName.toUtf8(), QCryptographicHash::Md5);
    const double hue = (static_cast<unsigned char>(digest[0]) | (static_cast<unsigned char>(digest[1]) << 8)) % 360;
    const double light = 0.32 + (static_cast<unsigned char>(digest[2]) % 20) / 100.0;
    badge.background = fromHsl(hue, 0.62, light);
    badge.foreground = Colours::White;
    return badge;
}

} // namespace kestrava
