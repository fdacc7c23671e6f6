#pragma once

#include "platform/Rgb.h"

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>

class QApplication;
class QLabel;
class QPainter;
class QWidget;

namespace kestrava {

// The window's look, in one place: colours, fonts and the league logo.
namespace Palette {
inline const QColor Navy(9, 27, 49);
inline const QColor Teal(0, 128, 128);
inline const QColor Page(236, 240, 245);
inline const QColor Card(255, 255, 255);
inline const QColor CardBorder(209, 217, 228);
inline const QColor Text(29, 43, 58);
inline const QColor Muted(96, 110, 126);
inline const QColor HeaderText(198, 212, 228);
inline const QColor YellowCard(255, 214, 10);
inline const QColor RedCard(214, 40, 40);
} // namespace Palette

inline QColor ToColour(const Rgb &c)
{
    return QColor(c.r, c.g, c.b);
}

// DejaVu Sans at `points`, bold on demand.
QFont UiFont(double points, bool bold = false);

// The application's style, font and palette; the stylesheet of the window's cards.
void ApplyApplicationStyle(QApplication &app);
QString WindowStyleSheet();

// The "Ligue 1" badge of the header, the splash window and the about box.
QPixmap LeagueLogoPixmap(int size);
// The same badge painted on any device (the icons of the desktop are drawn from it), with its words
// as outlines on demand.
void PaintLeagueLogo(QPainter &painter, int size, bool textAsOutlines = false);

// A label's text colour, through its palette: a stylesheet per label slows every repaint.
void SetTextColour(QWidget *widget, const QColor &colour);

// A panel's title: bold navy at `points`.
QLabel *TitleLabel(const QString &text, double points, QWidget *parent);
// The small heading over a group of a card (styled by the window's sheet).
QLabel *CaptionLabel(const QString &text, QWidget *parent);

// The core writes line breaks as CR LF, as the data files do; labels want LF.
QString ScreenText(QString text);

} // namespace kestrava
