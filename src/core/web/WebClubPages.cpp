// The pages of the matchdays and of the clubs: the fixture grid's and the team sheet's own fillings.
#include "WebHtml.h"
#include "WebPages.h"

#include "matchdays/FixtureGridModel.h"
#include "matchdays/MatchdayView.h"
#include "teamviews/EvolutionChart.h"
#include "teamviews/TeamSheet.h"

namespace kestrava {

namespace {

QString cards(const QString &yellow, const QString &red)
{
    QString out;
    if (!yellow.isEmpty())
        out = QStringLiteral("<abbr title=\"Cartons jaunes\">CJ</abbr> ") + HtmlText(yellow);
    if (!red.isEmpty())
        out += (out.isEmpty() ? QString() : QStringLiteral(", ")) + QStringLiteral("<abbr title=\"Cartons rouges\">CR</abbr> ")
            + HtmlText(red);
    return out;
}

QString cardText(const GridRow &row, CardBox box)
{
    const EntryBox &b = row.cards[int(box)];
    return b.visible ? b.text : QString();
}

QString score(const QString &r1, const QString &r2)
{
    if (r1.isEmpty() && r2.isEmpty())
        return QStringLiteral("<span aria-label=\"non joué\">–</span>");
    return HtmlText(r1) + QStringLiteral(" - ") + HtmlText(r2);
}

QString resultWord(SheetResult r)
{
    switch (r) {
    case SheetResult::Win:
        return QStringLiteral("<abbr class=\"G\" title=\"Gagné\">G</abbr>");
    case SheetResult::Draw:
        return QStringLiteral("<abbr class=\"N\" title=\"Nul\">N</abbr>");
    case SheetResult::Loss:
        return QStringLiteral("<abbr class=\"P\" title=\"Perdu\">P</abbr>");
    case SheetResult::Partial:
        return QStringLiteral("score incomplet");
    case SheetResult::None:
        break;
    }
    return {};
}

// A section's win/draw/loss bar, drawn from the sheet's shares.
void appendBarSvg(QString &out, const SheetBar &bar, const QString &label)
{
    static const Rgb colours[3] = {SheetColours::Win, SheetColours::Draw, SheetColours::Loss};
    const QString text = label + QStringLiteral(" : ") + QString::number(bar.wins) + QStringLiteral(" victoire(s), ")
        + QString::number(bar.draws) + QStringLiteral(" nul(s), ") + QString::number(bar.losses)
        + QStringLiteral(" défaite(s), ") + QString::number(bar.unplayed) + QStringLiteral(" à jouer");
    out += QStringLiteral("<p>") + HtmlText(text)
        + QStringLiteral("<br><svg class=\"bar\" width=\"240\" height=\"14\" viewBox=\"0 0 1000 14\" "
                         "preserveAspectRatio=\"none\" aria-hidden=\"true\"><rect width=\"1000\" height=\"14\" "
                         "fill=\"#ffffff\" stroke=\"#888888\"/>");
    double x = 0;
    for (int part = 0; part < 3; ++part) {
        if (!bar.partShown(part))
            continue;
        const double w = 1000 * bar.shares[part];
        out += QLatin1StringView("<rect x=\"") + QString::number(x, 'f', 1) + QLatin1StringView("\" width=\"")
            + QString::number(w, 'f', 1) + QLatin1StringView("\" height=\"14\" fill=\"") + CssColour(colours[part])
            + QLatin1StringView("\"/>");
        x += w;
    }
    out += QStringLiteral("</svg></p>\n");
}

void appendChartSvg(QString &out, const EditionData &d, int team)
{
    const auto &positions = d.chartPositions[team];
    // The window's geometry, in twips.
    const int bottom = BarHeight(1) + 400;
    const auto text = [](QString &to, int x, int y, QLatin1StringView fill, int value) {
        to += QLatin1StringView("<text x=\"");
        AppendNumber(to, x);
        to += QLatin1StringView("\" y=\"");
        AppendNumber(to, y);
        to += QLatin1StringView("\" font-size=\"200\" text-anchor=\"middle\" fill=\"") + fill + QLatin1StringView("\">");
        AppendNumber(to, value);
        to += QLatin1StringView("</text>");
    };
    // The matchdays' numbers under the bars are the same on every club's chart: made once.
    static const std::array<QString, MatchdayCount + 1> labels = [&] {
        std::array<QString, MatchdayCount + 1> l;
        for (int j = 1; j <= MatchdayCount; ++j)
            text(l[j], (j - 1) * ChartTwips::Pitch + 150, bottom + 250, QLatin1StringView("#333333"), j);
        return l;
    }();
    // Numbers appended as they come: a template filled argument by argument rescans it each time,
    // and the chart has some 250 numbers per club.
    QString bars;
    bars.reserve(MatchdayCount * 230);
    QString spoken;
    for (int j = 1; j <= MatchdayCount; ++j) {
        const int x = (j - 1) * ChartTwips::Pitch;
        bars += labels[j];
        const int rank = positions[j];
        if (rank <= 0)
            continue;
        const int h = BarHeight(rank);
        bars += QLatin1StringView("<rect x=\"");
        AppendNumber(bars, x + 20);
        bars += QLatin1StringView("\" y=\"");
        AppendNumber(bars, bottom - h);
        bars += QLatin1StringView("\" width=\"260\" height=\"");
        AppendNumber(bars, h);
        bars += QLatin1StringView("\" fill=\"") + CssColour(BarColour(rank)) + QLatin1StringView("\"/>");
        text(bars, x + 150, bottom - h - 40, QLatin1StringView("#000000"), rank);
        if (!spoken.isEmpty())
            spoken += QLatin1StringView(", ");
        spoken += u'J';
        AppendNumber(spoken, j);
        spoken += QLatin1StringView(" : ");
        AppendNumber(spoken, rank);
        spoken += u'e';
    }
    const QString width = QString::number(MatchdayCount * ChartTwips::Pitch);
    const QString base = QString::number(bottom);
    out += QStringLiteral("<svg class=\"chart\" viewBox=\"0 -200 ") + width + u' ' + QString::number(bottom + 500)
        + QStringLiteral("\" role=\"img\" aria-labelledby=\"chart-t chart-d\"><title id=\"chart-t\">Evolution du classement de : ")
        + HtmlText(d.season.teams[team]) + QStringLiteral("</title><desc id=\"chart-d\">")
        + HtmlText(spoken.isEmpty() ? QStringLiteral("Aucune journée jouée.") : spoken)
        + QStringLiteral("</desc><line x1=\"0\" y1=\"") + base + QStringLiteral("\" x2=\"") + width + QStringLiteral("\" y2=\"")
        + base + QStringLiteral("\" stroke=\"#333333\" stroke-width=\"15\"/>");
    out += bars;
    out += QStringLiteral("</svg>\n");
}

void appendSheetTable(QString &out, const EditionData &d, const TeamSheetModel &sheet, bool away, const QString &caption)
{
    out += QStringLiteral("<div class=\"scroll\"><table><caption>") + HtmlText(caption)
        + QStringLiteral("</caption>\n<thead><tr><th scope=\"col\">Journée</th><th scope=\"col\" class=\"l\">Date</th>"
                         "<th scope=\"col\" class=\"l\">Domicile</th><th scope=\"col\">Score</th>"
                         "<th scope=\"col\" class=\"l\">Extérieur</th><th scope=\"col\" class=\"l\">Cartons</th>"
                         "<th scope=\"col\">Résultat</th></tr></thead>\n<tbody>\n");
    for (int r = away ? SheetColumnRows : 0; r < (away ? SheetRowCount : SheetColumnRows); ++r) {
        const SheetRow &row = sheet.rows[r];
        if (!row.visible)
            continue;
        const auto c = [&](SheetCardBox b) { return row.cards[int(b)].text; };
        const QString home = cards(c(SheetCardBox::HomeYellow), c(SheetCardBox::HomeRed));
        const QString guest = cards(c(SheetCardBox::AwayYellow), c(SheetCardBox::AwayRed));
        out += QLatin1StringView("<tr><th scope=\"row\"><a href=\"") + MatchdayFileName(row.matchday)
            + QLatin1StringView("\">") + QString::number(row.matchday) + QLatin1StringView("</a></th><td class=\"l\">")
            + HtmlText(row.date) + QLatin1StringView("</td><td class=\"l\">") + d.clubLink(row.home.text)
            + QLatin1StringView("</td><td>") + score(row.r1, row.r2) + QLatin1StringView("</td><td class=\"l\">")
            + d.clubLink(row.away.text) + QLatin1StringView("</td><td class=\"l\">")
            + (home.isEmpty() && guest.isEmpty() ? QString() : home + QStringLiteral(" / ") + guest)
            + QLatin1StringView("</td><td>") + resultWord(row.result) + QLatin1StringView("</td></tr>\n");
    }
    out += QStringLiteral("</tbody></table></div>\n");
}

} // namespace

QString MatchdayFileName(int matchday)
{
    // Every club page links each of its fixtures' matchdays: the names are made once.
    static const std::array<QString, MatchdayCount + 1> names = [] {
        std::array<QString, MatchdayCount + 1> n;
        for (int j = 1; j <= MatchdayCount; ++j)
            n[j] = QStringLiteral("journee-") + (j < 10 ? QStringLiteral("0") : QString()) + QString::number(j)
                + QStringLiteral(".html");
        return n;
    }();
    if (matchday >= 1 && matchday <= MatchdayCount)
        return names[matchday];
    QString n = QString::number(matchday);
    if (n.size() < 2)
        n.prepend(u'0');
    return QStringLiteral("journee-") + n + QStringLiteral(".html");
}

QByteArray MatchdayPage(const EditionData &d, int matchday)
{
    FixtureGridModel grid;
    ShowMatchday(grid, d.season, d.store, matchday, GridContext{d.now, QString()});
    const QString number = QString::number(matchday);
    // The grid's own header, with its countdown; the caption stays short enough for a phone.
    QString body;
    body.reserve(10240); // a matchday's page, some 9,000 characters: one buffer
    body += QStringLiteral("<p>") + HtmlText(grid.header.trimmed()) + QStringLiteral("</p>\n");
    body += QStringLiteral("<nav aria-label=\"Journées voisines\" class=\"noprint\"><p>");
    if (matchday > 1)
        body += QStringLiteral("<a href=\"") + MatchdayFileName(matchday - 1) + QStringLiteral("\">← Journée ")
            + QString::number(matchday - 1) + QStringLiteral("</a> · ");
    body += QStringLiteral("<a href=\"journees.html\">Toutes les journées</a>");
    if (matchday < MatchdayCount)
        body += QStringLiteral(" · <a href=\"") + MatchdayFileName(matchday + 1) + QStringLiteral("\">Journée ")
            + QString::number(matchday + 1) + QStringLiteral(" →</a>");
    body += QStringLiteral("</p></nav>\n<div class=\"scroll\"><table><caption>Matches de la Journée N°") + number
        + QStringLiteral("</caption>\n<thead><tr><th scope=\"col\" class=\"l\">Domicile</th><th scope=\"col\">Score</th>"
                         "<th scope=\"col\" class=\"l\">Extérieur</th><th scope=\"col\" class=\"l\">Cartons domicile</th>"
                         "<th scope=\"col\" class=\"l\">Cartons extérieur</th><th scope=\"col\" class=\"l\">Autre match</th>"
                         "</tr></thead>\n<tbody>\n");
    for (int r = 0; r < GridRowCount; ++r) {
        const GridRow &row = grid.row(r);
        if (!row.home.visible)
            continue;
        body += QLatin1StringView("<tr><th scope=\"row\" class=\"l\">") + d.clubLink(row.home.text, true)
            + QLatin1StringView("</th><td>") + score(row.r1.text, row.r2.text) + QLatin1StringView("</td><td class=\"l\">")
            + d.clubLink(row.away.text, true) + QLatin1StringView("</td><td class=\"l\">")
            + cards(cardText(row, CardBox::HomeYellow), cardText(row, CardBox::HomeRed))
            + QLatin1StringView("</td><td class=\"l\">")
            + cards(cardText(row, CardBox::AwayYellow), cardText(row, CardBox::AwayRed))
            + QLatin1StringView("</td><td class=\"l\">") + (row.infoVisible ? HtmlText(row.info) : QString())
            + QLatin1StringView("</td></tr>\n");
    }
    body += QStringLiteral("</tbody></table></div>\n");
    if (!grid.totals.trimmed().isEmpty())
        body += QStringLiteral("<p>") + HtmlText(grid.totals.trimmed()) + QStringLiteral("</p>\n");
    return PageHtml({QStringLiteral("Ligue 1 2026-2027 : journée ") + number, QStringLiteral("Journée N°") + number, body,
                     d.footer, d.edition});
}

QByteArray MatchdaysPage(const EditionData &d)
{
    QString body = QStringLiteral("<ul class=\"days\">");
    for (int j = 1; j <= MatchdayCount; ++j)
        body += QStringLiteral("<li><a href=\"%1\"%2>%3</a></li>")
                    .arg(MatchdayFileName(j), j == d.currentMatchday ? QStringLiteral(" aria-current=\"date\"") : QString())
                    .arg(j);
    body += QStringLiteral("</ul>\n");
    return PageHtml({QStringLiteral("Ligue 1 2026-2027 : journées"), QStringLiteral("Les 34 journées"), body, d.footer,
                     d.edition});
}

QByteArray ClubPage(const EditionData &d, int team)
{
    const QString name = d.season.teams[team];
    SheetContext ctx;
    for (int r = 0; r < TeamCount; ++r) {
        if (!ctx.rank && d.table.cell(r, TableColumn::Name).text == name)
            ctx.rank = d.table.rankText(r);
    }
    TeamSheetModel sheet;
    FillTeamSheet(sheet, d.season, d.store, name, ctx);
    const auto &c = sheet.captions;
    QString body;
    body.reserve(24576); // a club's page, about 20,000 characters: one buffer
    body += QStringLiteral("<p>") + CrestSvg(name) + QStringLiteral("<a href=\"club-") + d.stems[team]
        + QStringLiteral(".ics\">S'abonner au calendrier du club (iCalendar)</a></p>\n");
    body += QStringLiteral("<ul class=\"facts\">");
    for (const int k : {int(RankLine), int(PointsLine), int(GoalsForLine), int(GoalsAgainstLine), int(YellowCards), int(RedCards)}) {
        if (!c[k].trimmed().isEmpty())
            body += QStringLiteral("<li>") + HtmlText(c[k]) + QStringLiteral("</li>");
    }
    if (sheet.totals.played > 0)
        body += QStringLiteral("<li>Buts par match : %1 marqués, %2 encaissés</li>")
                    .arg(HtmlText(sheet.totals.goalsForPerMatch), HtmlText(sheet.totals.goalsAgainstPerMatch));
    body += QStringLiteral("</ul>\n<h2>Bilan</h2>\n");
    appendBarSvg(body, sheet.bars[SeasonBar], QStringLiteral("Saison"));
    appendBarSvg(body, sheet.bars[AllerHome], c[AllerHomeTitle]);
    appendBarSvg(body, sheet.bars[AllerAway], c[AllerAwayTitle]);
    appendBarSvg(body, sheet.bars[RetourHome], c[RetourHomeTitle]);
    appendBarSvg(body, sheet.bars[RetourAway], c[RetourAwayTitle]);
    body += QStringLiteral("<h2>Matches</h2>\n");
    appendSheetTable(body, d, sheet, false, QStringLiteral("Matches à domicile"));
    appendSheetTable(body, d, sheet, true, QStringLiteral("Matches à l'extérieur"));
    body += QStringLiteral("<h2 id=\"evolution\">Classement au fil des journées</h2>\n"
                          "<div class=\"scroll\" tabindex=\"0\" role=\"region\" aria-labelledby=\"evolution\">");
    appendChartSvg(body, d, team);
    body += QStringLiteral("</div>\n");
    return PageHtml({QStringLiteral("Ligue 1 2026-2027 : ") + name, name, body, d.footer, d.edition});
}

QByteArray ClubsPage(const EditionData &d)
{
    QString body = QStringLiteral("<ul class=\"facts\">");
    for (int t = 0; t < TeamCount; ++t)
        body += QStringLiteral("<li>") + d.clubLink(d.season.teams[t], true) + QStringLiteral(" · <a href=\"widget-%1.html\">widget</a>"
                                                                                               " · <a href=\"club-%1.ics\">calendrier</a></li>")
                                                                            .arg(d.stems[t]);
    body += QStringLiteral("</ul>\n");
    return PageHtml({QStringLiteral("Ligue 1 2026-2027 : clubs"), QStringLiteral("Les clubs"), body, d.footer, d.edition});
}

} // namespace kestrava
