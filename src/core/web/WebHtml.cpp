#include "WebHtml.h"

#include "season/Crest.h"
#include "standings/LeagueTableModel.h"

#include <QStringEncoder>

#include <algorithm>
#include <array>

namespace kestrava {

QString HtmlText(const QString &text)
{
    // Most texts (names, figures, dates) need nothing: they are shared as they are.
    const auto plain = [](QChar c) {
        const char16_t u = c.unicode();
        return u >= 0x20 ? (u != '&' && u != '<' && u != '>' && u != '"' && u != '\'') : u == '\n';
    };
    if (std::all_of(text.cbegin(), text.cend(), plain))
        return text;
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            out += QStringLiteral("&amp;");
            break;
        case '<':
            out += QStringLiteral("&lt;");
            break;
        case '>':
            out += QStringLiteral("&gt;");
            break;
        case '"':
            out += QStringLiteral("&quot;");
            break;
        case '\'':
            out += QStringLiteral("&#39;");
            break;
        default:
            // Control characters have no business in a page; a stored tab or bell becomes a space.
            out += (c.unicode() < 0x20 && c != u'\n') ? QChar(u' ') : c;
        }
    }
    return out;
}

void AppendNumber(QString &out, qint64 n)
{
    char16_t digits[20];
    int k = 20;
    // Through the unsigned value, so that the lowest number has its digits too.
    quint64 v = n < 0 ? 0 - quint64(n) : quint64(n);
    do {
        digits[--k] = char16_t(u'0' + v % 10);
        v /= 10;
    } while (v > 0);
    if (n < 0)
        out += u'-';
    out.append(reinterpret_cast<const QChar *>(digits + k), 20 - k);
}

QString CssColour(Rgb c)
{
    static constexpr char16_t digits[] = u"0123456789abcdef";
    const int parts[3] = {c.r, c.g, c.b};
    QString out(7, u'#');
    for (int i = 0; i < 3; ++i) {
        out[1 + 2 * i] = QChar(digits[(parts[i] >> 4) & 15]);
        out[2 + 2 * i] = QChar(digits[parts[i] & 15]);
    }
    return out;
}

QByteArray PageHtml(const PageParts &parts)
{
    QString head = QStringLiteral("<!DOCTYPE html>\n<html lang=\"fr\">\n<head>\n<meta charset=\"utf-8\">\n"
                                  "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                                  "<meta name=\"kestrava-edition\" content=\"")
        + HtmlText(parts.edition) + QStringLiteral("\">\n<title>") + HtmlText(parts.title)
        + QStringLiteral("</title>\n<link rel=\"stylesheet\" href=\"") + StylesheetName
        + QStringLiteral("\">\n</head>\n<body>\n");
    if (parts.navigation) {
        head += QStringLiteral(
            "<header><a class=\"site\" href=\"index.html\">Ligue 1 2026-2027</a>\n"
            "<nav aria-label=\"Rubriques\"><ul><li><a href=\"index.html\">Classement</a></li>"
            "<li><a href=\"journees.html\">Journées</a></li><li><a href=\"clubs.html\">Clubs</a></li>"
            "<li><a href=\"classements.html\">Classements</a></li>"
            "<li><a href=\"projections.html\">Projections</a></li>"
            "<li><a href=\"records.html\">Records</a></li></ul></nav></header>\n");
    }
    head += QStringLiteral("<main>\n<h1>") + HtmlText(parts.heading) + QStringLiteral("</h1>\n");
    QString foot = QStringLiteral("</main>\n");
    if (!parts.footer.isEmpty())
        foot += QStringLiteral("<footer><p>") + HtmlText(parts.footer) + QStringLiteral("</p></footer>\n");
    foot += QStringLiteral("</body>\n</html>\n");

    // The body is most of the page: encoded once, into a buffer each thread keeps for its pages
    // (room for the longest encoding, three times the page's size, freed and taken again for
    // every page would have the heap shrink and grow each time), then taken at its size.
    static thread_local QByteArray buffer;
    const qsizetype room = 3 * (head.size() + parts.body.size() + foot.size());
    if (buffer.size() < room)
        buffer.resize(room);
    QStringEncoder utf8(QStringConverter::Utf8);
    char *end = buffer.data();
    for (const QString *text : std::array<const QString *, 3>{&head, &parts.body, &foot})
        end = utf8.appendToBuffer(end, *text);
    return QByteArray(buffer.constData(), end - buffer.constData());
}

QString CrestSvg(const QString &team)
{
    const CrestBadge badge = CrestFor(team);
    return QStringLiteral("<svg class=\"crest\" viewBox=\"0 0 32 32\" aria-hidden=\"true\" focusable=\"false\">"
                          "<circle cx=\"16\" cy=\"16\" r=\"15\" fill=\"%1\"/>"
                          "<text x=\"16\" y=\"20.5\" font-size=\"%3\" text-anchor=\"middle\" fill=\"%2\" "
                          "font-family=\"sans-serif\" font-weight=\"bold\">%4</text></svg>")
        .arg(CssColour(badge.background), CssColour(badge.foreground),
             badge.initials.size() > 2 ? QStringLiteral("10") : QStringLiteral("13"), HtmlText(badge.initials));
}

QByteArray EditionStylesheet()
{
    // The zones take the table's own colours.
    const struct
    {
        const char *name;
        Rgb colour;
    } zones[] = {
        {"zc", Zones::Champions}, {"zt", Zones::ThirdRound}, {"zl", Zones::LeaguePhase},
        {"zb", Zones::Playoff},   {"zr", Zones::RelegationPlayoff}, {"zd", Zones::Relegated},
    };
    QString css = QStringLiteral(
        "*{box-sizing:border-box}\n"
        "body{margin:0;font:16px/1.45 system-ui,-apple-system,\"Segoe UI\",sans-serif;color:#1b1f24;background:#fff}\n"
        "header,main,footer{max-width:75rem;margin:0 auto;padding:0 .75rem}\n"
        "header{border-bottom:3px solid #0b3d91;padding-top:.4rem}\n"
        ".site{font-weight:700;color:#0b3d91;text-decoration:none;font-size:1.1rem}\n"
        "nav ul{list-style:none;margin:.3rem 0 .4rem;padding:0;display:flex;flex-wrap:wrap;gap:.2rem 1rem}\n"
        "a{color:#0a3a78}\n"
        "h1{font-size:1.45rem;margin:.8rem 0 .5rem}h2{font-size:1.15rem;margin:1.2rem 0 .4rem}\n"
        ".scroll{overflow-x:auto;max-width:100%;margin:.5rem 0;border:1px solid #c8ccd4}\n"
        "table{border-collapse:separate;border-spacing:0;font-variant-numeric:tabular-nums}\n"
        "caption{text-align:left;font-weight:700;padding:.4rem .5rem}\n"
        "th,td{padding:.3rem .45rem;border-bottom:1px solid #dde1e7;text-align:right;white-space:nowrap}\n"
        "th[scope=row],.l{text-align:left}\n"
        "thead th{background:#eef1f5}\n"
        ".sticky{position:sticky;left:0;z-index:1;background:#fff;border-right:1px solid #c8ccd4}\n"
        "thead .sticky{background:#eef1f5}\n"
        "th a{color:#06264f}\n"
        ".crest{width:1.4em;height:1.4em;vertical-align:middle;margin-right:.35em}\n"
        ".form abbr{display:inline-block;width:1.35em;text-align:center;color:#fff;margin-right:1px;"
        "text-decoration:none;border-radius:2px}\n"
        ".G{background:#15703a}.N{background:#5d6470}.P{background:#b3242b}\n"
        ".legend{list-style:none;padding:0;display:flex;flex-wrap:wrap;gap:.3rem 1rem;font-size:.9rem}\n"
        ".legend span{display:inline-block;width:1em;height:1em;border:1px solid #888;vertical-align:-.15em;"
        "margin-right:.3em}\n"
        ".me th,.me td{font-weight:700}.me .sticky,.me td{background:#fff7b0}\n"
        ".facts{padding-left:1.2rem}\n"
        ".sr{position:absolute;width:1px;height:1px;overflow:hidden;clip:rect(0 0 0 0);white-space:nowrap}\n"
        ".chart{width:100%;min-width:34rem;max-width:56rem;height:auto;display:block}\n"
        ".intro{white-space:pre-line;background:#eef1f5;padding:.5rem .75rem;border-left:4px solid #0b3d91}\n"
        "progress{width:100%;max-width:24rem}\n"
        ".days{display:flex;flex-wrap:wrap;gap:.3rem;list-style:none;padding:0}"
        ".days a{display:inline-block;min-width:2.6em;padding:.25rem;text-align:center;border:1px solid #c8ccd4}\n"
        "footer{color:#444;font-size:.9rem;border-top:1px solid #c8ccd4;margin-top:1.5rem}\n"
        ".widget body,.widget{font-size:14px}\n");
    for (const auto &z : zones) {
        const QString c = CssColour(z.colour);
        css += QStringLiteral(".%1 .sticky,.%1 .zone,.legend .%1{background:%2}\n").arg(QLatin1String(z.name), c);
    }
    css += QStringLiteral("@media print{header nav,.noprint{display:none}.scroll{overflow:visible;border:0}"
                          "body{font-size:9pt}a{color:inherit;text-decoration:none}.sticky{position:static}"
                          "th,td{padding:.1rem .25rem}}\n");
    return css.toUtf8();
}

} // namespace kestrava
