// The pages built on the league table: the index, the widgets, the categories, the records and the
// projections. Every figure comes from the window's own models.
#include "WebHtml.h"
#include "WebPages.h"

#include "projections/Projections.h"
#include "season/ResultsStore.h"
#include "standings/PossibleRanking.h"
#include "standings/RankingCategory.h"
#include "standings/TableExport.h"
#include "teamviews/SeasonHighlights.h"

namespace kestrava {

namespace {

struct Column
{
    TableColumn column;
    const char *heading;
    const char *title;
};

// The window's columns, in its order.
const Column columns[] = {
    {TableColumn::Points, "Pts", "Points"},
    {TableColumn::Played, "J", "Matches joués"},
    {TableColumn::GoalsFor, "BP", "Buts pour"},
    {TableColumn::GoalsAgainst, "BC", "Buts contre"},
    {TableColumn::GoalDifference, "Diff", "Différence de buts"},
    {TableColumn::FairPlay, "FP", "Fair-play"},
    {TableColumn::HomeGoalsFor, "BPD", "Buts pour à domicile"},
    {TableColumn::AwayGoalsFor, "BPE", "Buts pour à l'extérieur"},
    {TableColumn::HomeGoalsAgainst, "BCD", "Buts contre à domicile"},
    {TableColumn::AwayGoalsAgainst, "BCE", "Buts contre à l'extérieur"},
    {TableColumn::HomePoints, "PtsD", "Points à domicile"},
    {TableColumn::AwayPoints, "PtsE", "Points à l'extérieur"},
    {TableColumn::HomeWins, "GD", "Matches gagnés à domicile"},
    {TableColumn::AwayWins, "GE", "Matches gagnés à l'extérieur"},
    {TableColumn::HomeLosses, "PD", "Matches perdus à domicile"},
    {TableColumn::AwayLosses, "PE", "Matches perdus à l'extérieur"},
    {TableColumn::Draws, "N", "Matches nuls"},
};

QString u8(const char *s)
{
    return QString::fromUtf8(s);
}

// The zone class of a name cell, from the colour the table gave it.
QString zoneClass(Rgb colour)
{
    const struct
    {
        Rgb colour;
        const char *name;
    } zones[] = {
        {Zones::Champions, "zc"}, {Zones::ThirdRound, "zt"}, {Zones::LeaguePhase, "zl"},
        {Zones::Playoff, "zb"},   {Zones::RelegationPlayoff, "zr"}, {Zones::Relegated, "zd"},
    };
    for (const auto &z : zones) {
        if (z.colour == colour)
            return QLatin1String(z.name);
    }
    return {};
}

QString formCell(const QString &letters)
{
    QString out;
    for (const QChar c : letters) {
        const char *title = c == u'G' ? "Gagné" : c == u'N' ? "Nul" : "Perdu";
        out += QStringLiteral("<abbr class=\"%1\" title=\"%2\">%1</abbr>").arg(HtmlText(QString(c)), u8(title));
    }
    return out;
}

QString multiLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return HtmlText(text).replace(u'\n', QStringLiteral("<br>"));
}

QString rowClass(const LeagueTableModel &t, int r, const QString &me = {})
{
    QStringList classes;
    const QString zone = zoneClass(t.cell(r, TableColumn::Name).background);
    if (!zone.isEmpty())
        classes << zone;
    if (!me.isEmpty() && t.cell(r, TableColumn::Name).text == me)
        classes << QStringLiteral("me");
    return classes.isEmpty() ? QString() : QStringLiteral(" class=\"") + classes.join(u' ') + u'"';
}

// The club's cell: kept in view while the figures scroll, with its zone named for those who
// cannot see the colour.
QString clubCell(const EditionData &d, int r)
{
    const TableCell &name = d.table.cell(r, TableColumn::Name);
    QString zone;
    if (!name.tooltip.isEmpty())
        zone = QStringLiteral("<span class=\"sr\"> (") + HtmlText(name.tooltip) + QStringLiteral(")</span>");
    return QStringLiteral("<th scope=\"row\" class=\"sticky l\">") + d.clubLink(name.text, true) + zone
        + QStringLiteral("</th>");
}

QString generalTable(const EditionData &d)
{
    const LeagueTableModel &t = d.table;
    QString out = QStringLiteral("<div class=\"scroll\" tabindex=\"0\" role=\"region\" aria-labelledby=\"cap-classement\">"
                                 "<table id=\"classement\"><caption id=\"cap-classement\">")
        + HtmlText(t.title().isEmpty() ? QStringLiteral("Classement général") : t.title())
        + QStringLiteral("</caption>\n<thead><tr><th scope=\"col\"><abbr title=\"Rang\">Rg</abbr></th>"
                         "<th scope=\"col\" class=\"sticky l\">Club</th>");
    for (const Column &c : columns)
        out += QStringLiteral("<th scope=\"col\"><abbr title=\"%1\">%2</abbr></th>").arg(u8(c.title), u8(c.heading));
    out += QStringLiteral("<th scope=\"col\" class=\"l\">Forme</th>");
    if (t.possibleRankingVisible())
        out += QStringLiteral("<th scope=\"col\"><abbr title=\"Meilleure place encore possible\">Poss</abbr></th>");
    out += QStringLiteral("</tr></thead>\n<tbody>\n");
    for (int r = 0; r < TeamCount; ++r) {
        const QString name = t.cell(r, TableColumn::Name).text;
        out += QStringLiteral("<tr") + rowClass(t, r) + QStringLiteral("><td>") + HtmlText(t.rankText(r))
            + QStringLiteral("</td>") + clubCell(d, r);
        for (const Column &c : columns)
            out += QStringLiteral("<td>") + HtmlText(t.cell(r, c.column).text) + QStringLiteral("</td>");
        out += QStringLiteral("<td class=\"form l\">") + formCell(LastFive(t.formSequenceOf(name, d.season)))
            + QStringLiteral("</td>");
        if (t.possibleRankingVisible())
            out += QStringLiteral("<td>") + HtmlText(t.reachableCell(r).text) + QStringLiteral("</td>");
        out += QStringLiteral("</tr>\n");
    }
    out += QStringLiteral("</tbody></table></div>\n");
    return out;
}

QString legend(const LeagueTableModel &t)
{
    QString out = QStringLiteral("<ul class=\"legend\" aria-label=\"Zones du classement\">");
    QStringList seen;
    for (int r = 0; r < TeamCount; ++r) {
        const TableCell &c = t.cell(r, TableColumn::Name);
        const QString zone = zoneClass(c.background);
        if (zone.isEmpty() || c.tooltip.isEmpty() || seen.contains(c.tooltip))
            continue;
        seen << c.tooltip;
        out += QStringLiteral("<li><span class=\"%1\"></span>%2</li>").arg(zone, HtmlText(c.tooltip));
    }
    return out + QStringLiteral("</ul>\n");
}

} // namespace

QByteArray IndexPage(const EditionData &d)
{
    const LeagueTableModel &t = d.table;
    QString body;
    const QString intro = d.store.value(Store::Texte, Store::Texte);
    if (!intro.trimmed().isEmpty())
        body += QStringLiteral("<p class=\"intro\">") + HtmlText(QString(intro).replace(QStringLiteral("\r\n"), QStringLiteral("\n")))
            + QStringLiteral("</p>\n");
    const int current = std::max(1, d.currentMatchday);
    body += QStringLiteral("<p><a href=\"%1\">%2 N°%3</a> · <a href=\"journees.html\">toutes les journées</a></p>\n")
                .arg(MatchdayFileName(current),
                     d.currentMatchday > 0 ? QStringLiteral("Journée en cours : Journée") : QStringLiteral("Première journée : Journée"))
                .arg(current);
    body += generalTable(d) + legend(t);
    body += QStringLiteral("<ul class=\"facts\">");
    if (t.gamesInHandVisible() && !t.gamesInHand().trimmed().isEmpty())
        body += QStringLiteral("<li>") + multiLine(t.gamesInHand().trimmed()) + QStringLiteral("</li>");
    body += QStringLiteral("<li><label for=\"avancement\">") + HtmlText(t.progressText())
        + QStringLiteral("</label> <progress id=\"avancement\" max=\"1000\" value=\"")
        + QString::number(qRound(1000 * std::clamp(t.progressFraction(), 0.0, 1.0))) + QStringLiteral("\"></progress></li>");
    if (!t.leaderName().isEmpty())
        body += QStringLiteral("<li>") + multiLine(t.leaderText()) + QStringLiteral("</li>");
    body += QStringLiteral("<li>") + multiLine(t.goalsSummary()) + QStringLiteral("</li>");
    if (const QString champion = ChampionOf(t); !champion.isEmpty())
        body += QStringLiteral("<li><strong>") + multiLine(ChampionMessage(champion)) + QStringLiteral("</strong></li>");
    if (!t.lastUpdate().isEmpty())
        body += QStringLiteral("<li>Mise à jour : ") + HtmlText(t.lastUpdate())
            + (t.lastUpdateTooltip().isEmpty() ? QString() : QStringLiteral(" par ") + HtmlText(t.lastUpdateTooltip()))
            + QStringLiteral("</li>");
    body += QStringLiteral("</ul>\n<h2>Suivre la saison</h2>\n<ul>"
                           "<li><a href=\"classement.json\">Le classement en JSON</a></li>"
                           "<li><a href=\"calendrier.ics\">Le calendrier de la saison (iCalendar)</a> ; "
                           "celui de chaque club est sur sa page</li>"
                           "<li><a href=\"widget.html\">Le classement à intégrer dans un autre site</a> "
                           "(<code>&lt;iframe src=&quot;…/widget.html&quot;&gt;</code>)</li></ul>\n");
    return PageHtml({QStringLiteral("Ligue 1 2026-2027 : classement"), QStringLiteral("Classement de la Ligue 1 2026-2027"),
                     body, d.footer, d.edition});
}

QByteArray WidgetPage(const EditionData &d, const QString &team)
{
    const LeagueTableModel &t = d.table;
    QString body = QStringLiteral("<table class=\"widget\"><caption><a href=\"index.html\" target=\"_top\">"
                                  "Ligue 1 2026-2027</a></caption>\n<thead><tr><th scope=\"col\">Rg</th>"
                                  "<th scope=\"col\" class=\"l\">Club</th><th scope=\"col\">Pts</th>"
                                  "<th scope=\"col\">J</th><th scope=\"col\">Diff</th></tr></thead>\n<tbody>\n");
    const auto row = [&](int r, const QString &me) -> QString {
        const QString name = t.cell(r, TableColumn::Name).text;
        return QStringLiteral("<tr") + rowClass(t, r, me) + (name == me ? QStringLiteral(" aria-current=\"true\"") : QString())
            + QStringLiteral("><td>") + HtmlText(t.rankText(r)) + QStringLiteral("</td><th scope=\"row\" class=\"sticky l\">")
            + QStringLiteral("<a target=\"_top\" href=\"") + d.clubPage(name) + QStringLiteral("\">") + HtmlText(name)
            + QStringLiteral("</a></th><td>") + HtmlText(t.cell(r, TableColumn::Points).text) + QStringLiteral("</td><td>")
            + HtmlText(t.cell(r, TableColumn::Played).text) + QStringLiteral("</td><td>")
            + HtmlText(t.cell(r, TableColumn::GoalDifference).text) + QStringLiteral("</td></tr>\n");
    };
    // Nineteen widgets share every row but the highlighted club's: each row is made once.
    if (d.widgetRows[0].isEmpty()) {
        for (int r = 0; r < TeamCount; ++r)
            d.widgetRows[r] = row(r, QString());
    }
    for (int r = 0; r < TeamCount; ++r) {
        const QString &name = t.cell(r, TableColumn::Name).text;
        body += name.isEmpty() || name == team ? row(r, team) : d.widgetRows[r];
    }
    body += QStringLiteral("</tbody></table>\n");
    PageParts parts{QStringLiteral("Classement Ligue 1 2026-2027"), QStringLiteral("Classement"), body, d.footer, d.edition};
    parts.navigation = false;
    return PageHtml(parts);
}

QByteArray CategoriesPage(const EditionData &d)
{
    QString body;
    // One table, as the window has: each category re-orders the general table's own cells, shown
    // again first, as the rankings menu does.
    LeagueTableModel model;
    StandingsContext ctx;
    ctx.currentMatchday = d.currentMatchday;
    const QString maj = d.store.value(Store::Maj, Store::Maj);
    const QString pseudo = d.store.value(Store::Pseudo, Store::Pseudo);
    for (const RankingCategory &category : RankingCategories()) {
        model.showRun(d.run, ctx, maj, pseudo);
        ShowRankingCategory(model, category, QString());
        body += QStringLiteral("<h2>") + HtmlText(model.title()) + QStringLiteral("</h2>\n<div class=\"scroll\"><table>"
                                                                                  "<caption>")
            + HtmlText(model.title()) + QStringLiteral("</caption>\n<thead><tr><th scope=\"col\">Rg</th>"
                                                      "<th scope=\"col\" class=\"sticky l\">Club</th>");
        for (const TableColumn c : category.columns) {
            for (const Column &col : columns) {
                if (col.column == c)
                    body += QStringLiteral("<th scope=\"col\"><abbr title=\"%1\">%2</abbr></th>").arg(u8(col.title), u8(col.heading));
            }
        }
        body += QStringLiteral("<th scope=\"col\">J</th></tr></thead>\n<tbody>\n");
        for (int r = 0; r < TeamCount; ++r) {
            const QString name = model.cell(r, TableColumn::Name).text;
            body += QStringLiteral("<tr><td>") + HtmlText(model.rankText(r)) + QStringLiteral("</td><th scope=\"row\" class=\"sticky l\">")
                + d.clubLink(name) + QStringLiteral("</th>");
            for (const TableColumn c : category.columns)
                body += QStringLiteral("<td>") + HtmlText(model.cell(r, c).text) + QStringLiteral("</td>");
            body += QStringLiteral("<td>") + HtmlText(model.cell(r, TableColumn::Played).text) + QStringLiteral("</td></tr>\n");
        }
        body += QStringLiteral("</tbody></table></div>\n");
    }
    return PageHtml({QStringLiteral("Ligue 1 2026-2027 : classements"), QStringLiteral("Classements par catégorie"), body,
                     d.footer, d.edition});
}

QByteArray RecordsPage(const EditionData &d)
{
    const HighlightTexts texts = ComputeHighlights(d.season, d.store);
    QString body;
    for (int i = 0; i < HighlightCount; ++i)
        body += QStringLiteral("<h2>") + HtmlText(HighlightHeading(i)) + QStringLiteral("</h2>\n<p>")
            + (texts[i].trimmed().isEmpty() ? QStringLiteral("Aucun match joué.") : multiLine(texts[i].trimmed()))
            + QStringLiteral("</p>\n");
    return PageHtml({QStringLiteral("Ligue 1 2026-2027 : records"), QStringLiteral("Le plus de...."), body, d.footer, d.edition});
}

QByteArray ProjectionsPage(const EditionData &d, const ProjectionReport *report, quint64 seed)
{
    QString body;
    if (!report || !report->complete) {
        body = report ? QStringLiteral("<p>Les projections n'ont pas pu être calculées à temps pour cette édition.</p>\n")
                      : QStringLiteral("<p>Les projections ne sont pas calculées dans cette édition.</p>\n");
        return PageHtml({QStringLiteral("Ligue 1 2026-2027 : projections"), QStringLiteral("Projections"), body,
                         d.footer, d.edition});
    }
    const auto percent = [](double p) -> QString {
        return QString::number(100 * p, 'f', 1).replace(u'.', u',') + QStringLiteral("&#8239;%");
    };
    body += QStringLiteral("<p>%1 matches restent à jouer ; %2 saisons simulées à partir des résultats enregistrés "
                           "(graine %3).</p>\n")
                .arg(report->input.unplayed.size())
                .arg(report->simulation.simulations)
                .arg(seed);
    QString ranges = QStringLiteral("<div class=\"scroll\"><table><caption>Places encore accessibles</caption>\n"
                                    "<thead><tr><th scope=\"col\">Rg</th><th scope=\"col\" class=\"sticky l\">Club</th>"
                                    "<th scope=\"col\">Pts</th><th scope=\"col\">Meilleure</th><th scope=\"col\">Pire</th>");
    QString chances = QStringLiteral("<div class=\"scroll\"><table><caption>Chances</caption>\n<thead><tr><th scope=\"col\">Rg</th>"
                                     "<th scope=\"col\" class=\"sticky l\">Club</th>");
    for (const ProjectionZone &z : ProjectionZones()) {
        ranges += QStringLiteral("<th scope=\"col\" class=\"l\">") + HtmlText(z.label) + QStringLiteral("</th>");
        chances += QStringLiteral("<th scope=\"col\">") + HtmlText(z.label) + QStringLiteral("</th>");
    }
    ranges += QStringLiteral("</tr></thead>\n<tbody>\n");
    chances += QStringLiteral("<th scope=\"col\">Points prévus</th></tr></thead>\n<tbody>\n");
    for (int row = 0; row < TeamCount; ++row) {
        const int t = report->input.tableOrder[row];
        const QString club = QStringLiteral("<td>%1</td><th scope=\"row\" class=\"sticky l\">").arg(row + 1)
            + d.clubLink(report->input.names[t]) + QStringLiteral("</th>");
        ranges += QStringLiteral("<tr>") + club + QStringLiteral("<td>%1</td><td>%2</td><td>%3</td>")
                                                    .arg(QString::number(report->input.points[t], 'g', 7).replace(u'.', u','))
                                                    .arg(report->ranges[t].best)
                                                    .arg(report->ranges[t].worst);
        chances += QStringLiteral("<tr>") + club;
        for (const ProjectionZone &z : ProjectionZones()) {
            ranges += QStringLiteral("<td class=\"l\">") + HtmlText(VerdictText(report->verdict(t, z))) + QStringLiteral("</td>");
            chances += QStringLiteral("<td>") + percent(report->probability(t, z)) + QStringLiteral("</td>");
        }
        ranges += QStringLiteral("</tr>\n");
        chances += QStringLiteral("<td>") + QString::number(report->expectedPoints(t), 'f', 1).replace(u'.', u',')
            + QStringLiteral("</td></tr>\n");
    }
    body += ranges + QStringLiteral("</tbody></table></div>\n") + chances + QStringLiteral("</tbody></table></div>\n");
    return PageHtml({QStringLiteral("Ligue 1 2026-2027 : projections"), QStringLiteral("Projections"), body, d.footer,
                     d.edition});
}

} // namespace kestrava
