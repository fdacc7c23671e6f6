#include "Text.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTimeZone>

#include <algorithm>
#include <climits>
#include <cmath>

namespace kestrava {

double ValueOf(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    double value = 0;
    bool any = false;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') {
        value = value * 10 + (text[i].unicode() - u'0');
        any = true;
        ++i;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        double scale = 0.1;
        while (i < n && text[i] >= u'0' && text[i] <= u'9') {
            value += (text[i].unicode() - u'0') * scale;
            scale /= 10;
            any = true;
            ++i;
        }
    }
    if (!any || !std::isfinite(value))
        return 0;
    return negative ? -value : value;
}

int IntValueOf(QStringView text)
{
    const double v = std::trunc(ValueOf(text));
    if (v >= INT_MAX)
        return INT_MAX;
    if (v <= INT_MIN)
        return INT_MIN;
    return static_cast<int>(v);
}

double RoundHalfAway(double v)
{
    return std::round(v);
}

QString ProperCase(QString &text)
{
    text.replace(u'/', QStringLiteral(" / "));
    QString out;
    out.reserve(text.size() + 4);
    const auto pieces = QStringView(text).split(u' ');
    for (const auto &piece : pieces) {
        if (!piece.isEmpty()) {
            out += piece.left(1).toString().toUpper();
            out += piece.mid(1).toString().toLower();
        }
        out += u' ';
    }
    return out.trimmed();
}

QString DecodeWin1252(const QByteArray &bytes)
{
    // ASCII reads the same in Windows-1252: most lines of the store need no converter, whose
    // opening costs more than the line (the store is written a line at a time).
    if (std::all_of(bytes.cbegin(), bytes.cend(), [](char c) { return uchar(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    QStringDecoder decoder("Windows-1252");
    if (!decoder.isValid())
        return QString::fromLatin1(bytes); // never expected with ICU; keeps the text readable
    return decoder.decode(bytes);
}

QByteArray EncodeWin1252(const QString &text)
{
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toLatin1();
    QStringEncoder encoder("Windows-1252");
    if (!encoder.isValid())
        return text.toLatin1();
    return encoder.encode(text);
}

const QLocale &FrenchLocale()
{
    static const QLocale locale = [] {
        QLocale l(QLocale::French, QLocale::France);
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    return locale;
}

QString PlainNumber(double v)
{
    if (v == std::trunc(v) && std::fabs(v) < 1e15)
        return QString::number(static_cast<long long>(v));
    // Seven significant digits, as a single-precision value prints.
    return FrenchLocale().toString(v, 'g', 7);
}

QString FormatMaj(const QDateTime &dt)
{
    return FrenchLocale().toString(dt, QStringLiteral("dd MMM hh:mm"));
}

QDateTime ParseMaj(const QString &text, const QDateTime &now)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    const int refYear = now.isValid() ? now.date().year() : QDate::currentDate().year();
    // Parse with a year supplied: without one Qt takes 1900 and refuses 29 February.
    // Another user's clock may run a little ahead: only a date well in the future moves back a year.
    QDateTime firstValid;
    for (int year = refYear; year >= refYear - 8; --year) {
        const QDateTime dt = FrenchLocale().toDateTime(t + u' ' + QString::number(year),
                                                       QStringLiteral("dd MMM hh:mm yyyy"));
        if (!dt.isValid())
            continue;
        if (!now.isValid() || dt <= now.addDays(2))
            return dt;
        if (!firstValid.isValid())
            firstValid = dt;
    }
    return firstValid;
}

QString ShortDate(const QDate &d)
{
    int year = 0, month = 0, day = 0;
    d.getDate(&year, &month, &day);
    if (!d.isValid() || year < 0)
        return d.isValid() ? d.toString(QStringLiteral("dd MM yy")) : QString();
    // Written by hand: a season's sheets and grids write hundreds of them.
    const int parts[3] = {day, month, year % 100};
    char16_t text[8] = {u' ', u' ', u' ', u' ', u' ', u' ', u' ', u' '};
    for (int i = 0; i < 3; ++i) {
        text[3 * i] = char16_t(u'0' + parts[i] / 10);
        text[3 * i + 1] = char16_t(u'0' + parts[i] % 10);
    }
    return QString(reinterpret_cast<const QChar *>(text), 8);
}

QString FormatStamp(const QDateTime &dt)
{
    return dt.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss"));
}

QDateTime ParseStamp(const QString &text)
{
    QDateTime dt = QDateTime::fromString(text.trimmed(), QStringLiteral("dd/MM/yyyy hh:mm:ss"));
    if (!dt.isValid())
        dt = QDateTime::fromString(text.trimmed(), QStringLiteral("dd/MM/yyyy hh:mm"));
    if (!dt.isValid())
        dt = QDateTime::fromString(text.trimmed(), Qt::ISODate);
    return dt;
}

namespace {

// A month written out, in French, full or short, with or without its accents and final dot.
int FrenchMonth(const QString &word)
{
    static const char *const names[12][2] = {{"janvier", "janv"}, {"fevrier", "fevr"}, {"mars", "mars"},
                                             {"avril", "avr"},    {"mai", "mai"},       {"juin", "juin"},
                                             {"juillet", "juil"}, {"aout", "aout"},     {"septembre", "sept"},
                                             {"octobre", "oct"},  {"novembre", "nov"},  {"decembre", "dec"}};
    QString w = FoldForSort(word).toLower();
    if (w.endsWith(u'.'))
        w.chop(1);
    for (int m = 0; m < 12; ++m) {
        if (w == QLatin1String(names[m][0]) || w == QLatin1String(names[m][1]))
            return m + 1;
    }
    return w == u"fev" ? 2 : 0;
}

} // namespace

QDateTime ParseSeasonDateTime(QStringView text)
{
    static const QRegularExpression french(QStringLiteral(
        R"(^(\d{1,2})\s*[/.\-\s]\s*(\d{1,2}|\p{L}+\.?)\s*[/.\-\s]\s*(\d{4}|\d{2}))"
        R"((?:[\sT]+(\d{1,2})\s*[:h]\s*(\d{2})(?::(\d{2}))?)?$)"));
    static const QRegularExpression iso(
        QStringLiteral(R"(^(\d{4})-(\d{1,2})-(\d{1,2})(?:[\sT]+(\d{1,2}):(\d{2})(?::(\d{2}))?)?$)"));
    const QString t = text.trimmed().toString();
    int d = 0, m = 0, y = 0;
    QRegularExpressionMatch match = iso.match(t);
    if (match.hasMatch()) {
        y = match.captured(1).toInt();
        m = match.captured(2).toInt();
        d = match.captured(3).toInt();
    } else {
        match = french.match(t);
        if (!match.hasMatch())
            return {};
        d = match.captured(1).toInt();
        bool numeric = false;
        m = match.captured(2).toInt(&numeric);
        if (!numeric)
            m = FrenchMonth(match.captured(2));
        y = match.captured(3).toInt();
        if (match.captured(3).size() == 2)
            y += y < 30 ? 2000 : 1900;
    }
    const QDate date(y, m, d);
    QTime time(0, 0);
    if (!match.captured(4).isEmpty())
        time = QTime(match.captured(4).toInt(), match.captured(5).toInt(), match.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time);
}

QDate ParseSeasonDate(QStringView text)
{
    return ParseSeasonDateTime(text).date();
}

QString FoldForSort(QStringView text)
{
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        const auto cat = c.category();
        if (cat == QChar::Mark_NonSpacing || cat == QChar::Mark_SpacingCombining || cat == QChar::Mark_Enclosing)
            continue;
        out += c;
    }
    // Ligatures a French name may hold sort as their letters.
    out.replace(QChar(0x0153), QStringLiteral("oe")).replace(QChar(0x0152), QStringLiteral("OE"));
    out.replace(QChar(0x00E6), QStringLiteral("ae")).replace(QChar(0x00C6), QStringLiteral("AE"));
    return out.toCaseFolded();
}

} // namespace kestrava
