#include "SheetPage.h"

#include "platform/Style.h"
#include "season/CrestPixmap.h"
#include "teamviews/TeamViewsController.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace kestrava {

namespace {

constexpr int CrestSize = 52;
constexpr int RowHeight = 20;
constexpr int RowGap = 1;
constexpr int CaptionHeight = 17;
constexpr int BarHeight = 16;
constexpr int SectionGap = 9;
constexpr int MarkerWidth = 10;
constexpr int DayWidth = 28;
constexpr int DateWidth = 60;
constexpr int GoalsWidth = 20;
constexpr int DashWidth = 10;
constexpr int CardWidth = 12;

const QColor Ink(29, 43, 58);
const QColor Rule(209, 217, 228);
const QColor Track(236, 240, 245);

} // namespace

// A win/draw/loss bar: three parts in proportion, what they leave is still to be played.
class ResultBar : public QWidget
{
public:
    ResultBar(int height, QWidget *parent)
        : QWidget(parent)
    {
        setFixedHeight(height);
    }
    void draw(const SheetBar &bar)
    {
        m_bar = bar;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF track = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(Rule);
        p.setBrush(Track);
        p.drawRoundedRect(track, 3, 3);
        static const Rgb colours[3] = { SheetColours::Win, SheetColours::Draw, SheetColours::Loss };
        QFont font = UiFont(7.5, true);
        p.setFont(font);
        double x = track.left();
        for (int part = 0; part < 3; ++part) {
            if (!m_bar.partShown(part))
                continue;
            const QRectF box(x, track.top(), track.width() * m_bar.shares[part], track.height());
            p.setPen(Qt::NoPen);
            p.setBrush(ToColour(colours[part]));
            p.drawRect(box);
            p.setPen(Ink);
            const QString text = m_bar.captions[part].trimmed();
            if (QFontMetrics(font).horizontalAdvance(text) < box.width())
                p.drawText(box, Qt::AlignCenter, text);
            x = box.right();
        }
        p.setPen(Rule);
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(track, 3, 3);
    }

private:
    SheetBar m_bar;
};

// One fixture of the sheet: its result marker, matchday and date, the two names with the cards
// over their outer ends, and the score. The pointer over a name marks that club's rows.
class SheetRowWidget : public QWidget
{
public:
    SheetRowWidget(TeamViewsController &controller, int row, QWidget *parent)
        : QWidget(parent)
        , m_controller(controller)
        , m_row(row)
    {
        setObjectName(QStringLiteral("sheetRow%1").arg(row));
        setFixedHeight(RowHeight);
        setMouseTracking(true);
    }

    void draw(const SheetRow &row)
    {
        m_data = row;
        setAccessibleName(QStringLiteral("J%1 %2 %3 %4 - %5 %6")
                              .arg(row.matchday)
                              .arg(row.date, row.home.text, row.r1, row.r2, row.away.text));
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const SheetRow &row = m_data;
        if (row.markerVisible) {
            p.setPen(QColor(150, 160, 172));
            p.setBrush(ToColour(row.marker));
            p.drawRoundedRect(QRectF(0.5, 3.5, MarkerWidth - 1, height() - 7), 2, 2);
        }
        p.setFont(UiFont(7.5));
        p.setPen(Palette::Muted);
        int x = MarkerWidth + 6;
        p.drawText(QRect(x, 0, DayWidth, height()), Qt::AlignLeft | Qt::AlignVCenter,
            QStringLiteral("J%1").arg(row.matchday, 2, 10, QLatin1Char('0')));
        x += DayWidth;
        p.drawText(QRect(x, 0, DateWidth, height()), Qt::AlignLeft | Qt::AlignVCenter, row.date);

        drawName(p, homeRect(), row.home, Qt::AlignRight, true);
        drawName(p, awayRect(), row.away, Qt::AlignLeft, false);
        const QRect home = homeRect();
        p.setFont(UiFont(9, true));
        p.setPen(Ink);
        int g = home.right() + 1 + 3;
        p.drawText(QRect(g, 0, GoalsWidth, height()), Qt::AlignCenter, row.r1);
        p.setPen(Palette::Muted);
        p.drawText(QRect(g + GoalsWidth, 0, DashWidth, height()), Qt::AlignCenter, QStringLiteral("-"));
        p.setPen(Ink);
        p.drawText(QRect(g + GoalsWidth + DashWidth, 0, GoalsWidth, height()), Qt::AlignCenter, row.r2);
    }

    void mouseMoveEvent(QMouseEvent *event) override
    {
        const QPoint at = event->position().toPoint();
        if (homeRect().contains(at))
            m_controller.hoverSheetName(m_row, false);
        else if (awayRect().contains(at))
            m_controller.hoverSheetName(m_row, true);
        event->accept();
    }

private:
    int namesLeft() const { return MarkerWidth + 6 + DayWidth + DateWidth; }
    int nameWidth() const { return (width() - namesLeft() - 2 * GoalsWidth - DashWidth - 6) / 2; }
    QRect homeRect() const { return QRect(namesLeft(), 1, nameWidth(), height() - 2); }
    QRect awayRect() const { return QRect(width() - nameWidth(), 1, nameWidth(), height() - 2); }

    void drawName(QPainter &p, const QRect &box, const SheetName &name, Qt::Alignment align, bool home)
    {
        p.setPen(QColor(197, 208, 220));
        p.setBrush(ToColour(name.background));
        p.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        // The cards of this side, over the name's outer end.
        const SheetCardBox red = home ? SheetCardBox::HomeRed : SheetCardBox::AwayRed;
        const SheetCardBox yellow = home ? SheetCardBox::HomeYellow : SheetCardBox::AwayYellow;
        int covered = 0;
        p.setFont(UiFont(7, true));
        for (const SheetCardBox c : { red, yellow }) {
            const SheetCard &card = m_data.cards[int(c)];
            if (!card.visible)
                continue;
            const int inset = card.inset * CardWidth / SheetCardTwips::Width;
            const int left = home ? box.left() + 1 + inset : box.right() - inset - CardWidth;
            const QRect r(left, box.top() + 2, CardWidth, box.height() - 4);
            p.setPen(Qt::NoPen);
            p.setBrush(c == red ? Palette::RedCard : Palette::YellowCard);
            p.drawRoundedRect(r, 2, 2);
            p.setPen(c == red ? QColor(Qt::white) : Palette::Navy);
            p.drawText(r, Qt::AlignCenter, card.text);
            covered = std::max(covered, inset + CardWidth);
        }
        QFont font = UiFont(8.5, name.bold);
        p.setFont(font);
        p.setPen(Ink);
        const QRect text = box.adjusted(home ? 6 + covered : 6, 0, home ? -6 : -(6 + covered), 0);
        p.drawText(text, int(align | Qt::AlignVCenter),
            QFontMetrics(font).elidedText(name.text, Qt::ElideRight, text.width()));
    }

    TeamViewsController &m_controller;
    int m_row;
    SheetRow m_data;
};

// One column of the sheet: the Aller caption and bar, the Aller fixtures, then the same for Retour.
class SheetColumn : public QWidget
{
public:
    SheetColumn(TeamViewsController &controller, bool away, QWidget *parent)
        : QWidget(parent)
        , m_away(away)
    {
        for (int half = 0; half < 2; ++half) {
            const int caption = away ? (half ? RetourAwayTitle : AllerAwayTitle)
                                     : (half ? RetourHomeTitle : AllerHomeTitle);
            m_titles[half] = new QLabel(this);
            m_titles[half]->setObjectName(QStringLiteral("sheetCaption%1").arg(caption));
            m_titles[half]->setFont(UiFont(8.5, true));
            SetTextColour(m_titles[half], Palette::Navy);
            m_bars[half] = new ResultBar(BarHeight, this);
            m_bars[half]->setObjectName(QStringLiteral("sheetBar%1").arg(bar(half)));
        }
        for (int i = 0; i < SheetColumnRows; ++i)
            m_rows[i] = new SheetRowWidget(controller, first() + i, this);
    }

    void draw(const TeamSheetModel &sheet)
    {
        for (int half = 0; half < 2; ++half) {
            const int caption = m_away ? (half ? RetourAwayTitle : AllerAwayTitle)
                                       : (half ? RetourHomeTitle : AllerHomeTitle);
            m_titles[half]->setText(sheet.captions[caption]);
            m_bars[half]->draw(sheet.bars[bar(half)]);
        }
        for (int i = 0; i < SheetColumnRows; ++i) {
            m_rows[i]->draw(sheet.rows[first() + i]);
            m_retour[i] = sheet.rows[first() + i].retour;
            m_used[i] = sheet.rows[first() + i].visible;
        }
        place();
    }

protected:
    void resizeEvent(QResizeEvent *) override { place(); }

private:
    int first() const { return m_away ? SheetColumnRows : 0; }
    int bar(int half) const { return (half ? RetourHome : AllerHome) + (m_away ? 1 : 0); }

    // The Retour caption and bar open the space under the last Aller fixture.
    void place()
    {
        int y = 0;
        for (int half = 0; half < 2; ++half) {
            m_titles[half]->setGeometry(0, y, width(), CaptionHeight);
            y += CaptionHeight + 1;
            m_bars[half]->setGeometry(0, y, width(), BarHeight);
            y += BarHeight + 4;
            for (int i = 0; i < SheetColumnRows; ++i) {
                if (m_used[i] && m_retour[i] == bool(half)) {
                    m_rows[i]->setGeometry(0, y, width(), RowHeight);
                    y += RowHeight + RowGap;
                }
                if (m_used[i] != m_rows[i]->isVisibleTo(this))
                    m_rows[i]->setVisible(m_used[i]);
            }
            y += SectionGap;
        }
        setMinimumHeight(y);
    }

    bool m_away;
    std::array<QLabel *, 2> m_titles {};
    std::array<ResultBar *, 2> m_bars {};
    std::array<SheetRowWidget *, SheetColumnRows> m_rows {};
    std::array<bool, SheetColumnRows> m_retour {};
    std::array<bool, SheetColumnRows> m_used {};
};

SheetPage::SheetPage(TeamViewsController &controller, QWidget *parent)
    : QWidget(parent)
    , m_controller(controller)
{
    setObjectName(QStringLiteral("sheetPage"));
    for (int i = 0; i < SheetCaptionCount; ++i) {
        if (i >= AllerHomeTitle && i <= RetourAwayTitle)
            continue; // the columns hold the section captions
        m_captions[i] = new QLabel(this);
        m_captions[i]->setObjectName(QStringLiteral("sheetCaption%1").arg(i));
        m_captions[i]->setFont(UiFont(9));
        SetTextColour(m_captions[i], Ink);
    }
    m_captions[TeamTitle]->setFont(UiFont(18, true));
    SetTextColour(m_captions[TeamTitle], Palette::Navy);
    for (const int i : { RankLine, PointsLine }) {
        m_captions[i]->setFont(UiFont(12, true));
        SetTextColour(m_captions[i], Palette::Navy);
    }
    for (const int i : { GoalsForPerMatch, GoalsAgainstPerMatch })
        SetTextColour(m_captions[i], Palette::Muted);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(22, 16, 22, 14);
    layout->setSpacing(10);

    auto *head = new QHBoxLayout;
    head->setSpacing(14);
    m_crest = new QLabel(this);
    m_crest->setObjectName(QStringLiteral("sheetCrest"));
    m_crest->setFixedSize(CrestSize, CrestSize);
    head->addWidget(m_crest);
    auto *title = new QVBoxLayout;
    title->setSpacing(0);
    title->addWidget(m_captions[TeamTitle]);
    auto *season = new QLabel(QStringLiteral("Calendrier de la saison -") + SeasonTitle, this);
    SetTextColour(season, Palette::Muted);
    title->addWidget(season);
    head->addLayout(title, 1);
    head->addWidget(m_captions[RankLine], 0, Qt::AlignVCenter);
    head->addSpacing(18);
    head->addWidget(m_captions[PointsLine], 0, Qt::AlignVCenter);
    layout->addLayout(head);

    auto *columns = new QHBoxLayout;
    columns->setSpacing(30);
    for (int c = 0; c < 2; ++c) {
        m_columns[c] = new SheetColumn(m_controller, c == 1, this);
        columns->addWidget(m_columns[c], 1, Qt::AlignTop);
    }
    layout->addLayout(columns, 1);

    auto *foot = new QGridLayout;
    foot->setHorizontalSpacing(18);
    foot->setVerticalSpacing(4);
    m_seasonBar = new ResultBar(20, this);
    m_seasonBar->setObjectName(QStringLiteral("sheetBar4"));
    foot->addWidget(m_seasonBar, 0, 0, 1, 6);
    const int line[6]
        = { GoalsForLine, GoalsForPerMatch, GoalsAgainstLine, GoalsAgainstPerMatch, YellowCards, RedCards };
    for (int k = 0; k < 6; ++k)
        foot->addWidget(m_captions[line[k]], 1, k);
    foot->setColumnStretch(5, 1);
    layout->addLayout(foot);

    connect(&m_controller.sheet(), &TeamSheetModel::changed, this, &SheetPage::refresh);
    refresh();
}

void SheetPage::paintEvent(QPaintEvent *)
{
    // White paper, with a rule under the heading and over the season's line.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Rule);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    p.setPen(QPen(Palette::Teal, 2));
    const int under = m_crest->geometry().bottom() + 6;
    p.drawLine(QPoint(22, under), QPoint(width() - 22, under));
    p.setPen(Rule);
    const int over = m_seasonBar->geometry().top() - 6;
    p.drawLine(QPoint(22, over), QPoint(width() - 22, over));
}

void SheetPage::refresh()
{
    const TeamSheetModel &sheet = m_controller.sheet();
    for (int i = 0; i < SheetCaptionCount; ++i) {
        if (m_captions[i])
            m_captions[i]->setText(sheet.captions[i]);
    }
    if (sheet.team != m_crestTeam) {
        m_crestTeam = sheet.team;
        m_crest->setPixmap(CrestPixmap(m_crestTeam, CrestSize));
    }
    for (SheetColumn *column : m_columns)
        column->draw(sheet);
    m_seasonBar->draw(sheet.bars[SeasonBar]);
}

} // namespace kestrava
