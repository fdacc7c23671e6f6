#pragma once

#include "platform/Rgb.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kestrava {

// Text from the store or the season file, made safe to stand in a page or an attribute value.
QString HtmlText(const QString &text);

// Appends an integer's decimal digits, as QString::number writes them: the charts write thousands.
void AppendNumber(QString &out, qint64 n);

// "#rrggbb".
QString CssColour(Rgb c);

// A link in the pages' navigation.
struct PageLink
{
    QString href;
    QString text;
};

// The frame every page of the edition shares: title, navigation, the edition's stamp and the
// footer. `body` is markup already escaped. The page comes out in UTF-8, the body encoded straight
// into it.
struct PageParts
{
    QString title; // plain text
    QString heading; // plain text
    QString body;
    QString footer; // plain text
    QString edition; // the edition's stamp, so that a reader can tell publications apart
    bool navigation = true; // the widgets stand alone in another site's frame
};
QByteArray PageHtml(const PageParts &parts);

// A club's badge as a small inline drawing: its initials on its colour.
QString CrestSvg(const QString &team);

// The one stylesheet of the edition, with the zone colours of the table.
QByteArray EditionStylesheet();

inline const QString StylesheetName = QStringLiteral("kestrava.css");

} // namespace kestrava
