#include "FixtureGridPanel.h"

#include "platform/ClickableWidgets.h"
#include "matchdays/MatchdaysController.h"
#include "platform/Style.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace kestrava {

namespace {

// The grid row of the original layout, from the home name's left edge to the away name's right
// edge, in twips: the card positions of the model are fractions of it.
constexpr double RowTwips = CardPos::AwayRed + 180;
constexpr int CardTwips = 180;

constexpr int InfoWidth = 64;
constexpr int InfoGap = 6;
constexpr int GoalsWidth = 26;
constexpr int NameGap = 3;
constexpr int GoalsGap = 2;
constexpr int BoxHeight = 22;
constexpr int CardHeight = 18;

const QColor NameBorder(197, 208, 220);

// A team name box: read-only, in the colours and weight the model gives it.
class NameCell : public QWidget
{
public:
    NameCell(Qt::Alignment alignment, QWidget *parent)
        : QWidget(parent)
        , m_alignment(alignment)
    {
        setAttribute(Qt::WA_OpaquePaintEvent, false);
    }

    void draw(const NameBox &box, int coveredLeft, int coveredRight)
    {
        const QColor bg = ToColour(box.background);
        const QColor fg = ToColour(box.foreground);
        if (box.text == m_text && bg == m_background && fg == m_foreground && box.bold == m_bold
            && coveredLeft == m_coveredLeft && coveredRight == m_coveredRight)
            return;
        if (box.text != m_text) {
            setAccessibleName(box.text);
            setToolTip(box.text);
        }
        m_text = box.text;
        m_background = bg;
        m_foreground = fg;
        m_bold = box.bold;
        m_coveredLeft = coveredLeft;
        m_coveredRight = coveredRight;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(NameBorder);
        p.setBrush(m_background);
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        QFont font = UiFont(8.5, m_bold);
        p.setFont(font);
        p.setPen(m_foreground);
        // The card boxes lie over the outer end of the name: the name keeps clear of them.
        const QRect area = rect().adjusted(6 + m_coveredLeft, 0, -(6 + m_coveredRight), 0);
        const QString shown = QFontMetrics(font).elidedText(m_text, Qt::ElideRight, area.width());
        p.drawText(area, int(m_alignment | Qt::AlignVCenter), shown);
    }

private:
    Qt::Alignment m_alignment;
    QString m_text;
    QColor m_background = Qt::white;
    QColor m_foreground = Qt::black;
    bool m_bold = false;
    int m_coveredLeft = 0;
    int m_coveredRight = 0;
};

} // namespace

// One row of the grid. Its geometry follows its width: the names share what the scores and the
// information line leave, and the card boxes sit at the model's positions scaled to the row.
class GridRowWidget : public QWidget
{
public:
    GridRowWidget(MatchdaysController &controller, int row, const FixtureGridPanel::TeamHover &hover,
        QWidget *parent)
        : QWidget(parent)
        , m_controller(controller)
        , m_row(row)
        , m_hover(hover)
    {
        setObjectName(QStringLiteral("gridRow%1").arg(row));
        setFixedHeight(FixtureGridPanel::RowHeight);

        m_home = new NameCell(Qt::AlignRight, this);
        m_home->setObjectName(QStringLiteral("home"));
        m_away = new NameCell(Qt::AlignLeft, this);
        m_away->setObjectName(QStringLiteral("away"));

        m_r1 = makeGoals(QStringLiteral("r1"), GoalsBox::Home);
        m_r2 = makeGoals(QStringLiteral("r2"), GoalsBox::Away);

        // Created after the names, the card boxes lie over them.
        const char *names[4] = { "cr1", "cj1", "cj2", "cr2" };
        for (int c = 0; c < 4; ++c)
            m_cards[c] = makeCard(QString::fromLatin1(names[c]), CardBox(c));

        m_info = new QLabel(this);
        m_info->setObjectName(QStringLiteral("info"));
        m_info->setWordWrap(true);
        m_info->setFont(UiFont(7.5));
        m_info->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

        // Through a row: the scores, then the cards from the home side to the away side; the next
        // row follows.
        setTabOrder(m_r1, m_r2);
        setTabOrder(m_r2, m_cards[int(CardBox::HomeYellow)]);
        setTabOrder(m_cards[int(CardBox::HomeYellow)], m_cards[int(CardBox::HomeRed)]);
        setTabOrder(m_cards[int(CardBox::HomeRed)], m_cards[int(CardBox::AwayYellow)]);
        setTabOrder(m_cards[int(CardBox::AwayYellow)], m_cards[int(CardBox::AwayRed)]);

        // The pointer over a name or a score tells which club it points at.
        for (QWidget *box : { static_cast<QWidget *>(m_home), static_cast<QWidget *>(m_away),
                 static_cast<QWidget *>(m_r1), static_cast<QWidget *>(m_r2) }) {
            box->setMouseTracking(true);
            box->installEventFilter(this);
        }
    }

    QWidget *firstInTabOrder() const { return m_r1; }
    QWidget *lastInTabOrder() const { return m_cards[int(CardBox::AwayRed)]; }

    void draw(const GridRow &row)
    {
        const bool used
            = row.home.visible || row.away.visible || row.r1.visible || row.r2.visible || row.infoVisible;
        SetShown(this, used);
        if (!used)
            return;

        ShowText(m_r1, row.r1.text);
        ShowText(m_r2, row.r2.text);
        SetShown(m_r1, row.r1.visible);
        SetShown(m_r2, row.r2.visible);
        for (int c = 0; c < 4; ++c) {
            ShowText(m_cards[c], row.cards[c].text);
            m_cardLeft[c] = row.cards[c].left;
            SetShown(m_cards[c], row.cards[c].visible);
        }
        placeCards();

        SetShown(m_home, row.home.visible);
        SetShown(m_away, row.away.visible);
        nameBoxes(row.home.text, row.away.text);
        m_home->draw(row.home, coveredHome(row), 0);
        m_away->draw(row.away, 0, coveredAway(row));

        if (m_info->text() != row.info)
            m_info->setText(row.info);
        const QColor colour = ToColour(row.infoColour);
        if (m_info->palette().color(QPalette::WindowText) != colour)
            SetTextColour(m_info, colour);
        if (m_info->font().bold() != row.infoBold)
            m_info->setFont(UiFont(7.5, row.infoBold));
        SetShown(m_info, row.infoVisible);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseMove && m_hover) {
            const bool away = watched == m_away || watched == m_r2;
            m_hover(m_row, away, watched == m_home || watched == m_away);
        }
        return false;
    }

    void resizeEvent(QResizeEvent *) override
    {
        place();
        // The card boxes scale with the row: the names keep clear of where they now lie.
        draw(m_controller.grid().row(m_row));
    }

private:
    QLineEdit *makeGoals(const QString &name, GoalsBox box)
    {
        // A click selects the first two characters, so that typing replaces the score.
        auto *edit = new EntryEdit(this);
        edit->setObjectName(name);
        edit->setAlignment(Qt::AlignCenter);
        edit->setFont(UiFont(10, true));
        edit->setTextMargins(0, 0, 0, 0);
        edit->setAccessibleName(
            box == GoalsBox::Home ? QStringLiteral("Buts à domicile") : QStringLiteral("Buts à l'extérieur"));
        connect(edit, &QLineEdit::textEdited, this,
            [this, box](const QString &text) { m_controller.editGoals(m_row, box, text); });
        edit->onClick = [this, edit] {
            m_controller.clickGoals(m_row);
            edit->setSelection(0, 2);
        };
        return edit;
    }

    QLineEdit *makeCard(const QString &name, CardBox box)
    {
        const bool red = box == CardBox::HomeRed || box == CardBox::AwayRed;
        auto *edit = new EntryEdit(this);
        edit->setObjectName(name);
        edit->setFrame(false);
        edit->setAlignment(Qt::AlignCenter);
        edit->setFont(UiFont(8, true));
        edit->setTextMargins(0, 0, 0, 0);
        QPalette colours = edit->palette();
        colours.setColor(QPalette::Base, red ? Palette::RedCard : Palette::YellowCard);
        colours.setColor(QPalette::Text, red ? QColor(Qt::white) : Palette::Navy);
        colours.setColor(QPalette::Highlight, Palette::Navy);
        edit->setPalette(colours);
        const bool home = box == CardBox::HomeRed || box == CardBox::HomeYellow;
        edit->setToolTip(QStringLiteral("Cartons %1 %2")
                             .arg(red ? QStringLiteral("rouges") : QStringLiteral("jaunes"),
                                 home ? QStringLiteral("à domicile") : QStringLiteral("à l'extérieur")));
        edit->setAccessibleName(edit->toolTip());
        connect(edit, &QLineEdit::textEdited, this,
            [this, box](const QString &text) { m_controller.editCard(m_row, box, text); });
        // Taking the focus shows the row's four card boxes.
        edit->onFocus = [this, box] { m_controller.focusCard(m_row, box); };
        return edit;
    }

    int blockWidth() const { return std::max(120, width() - InfoWidth - InfoGap); }
    int nameWidth() const { return (blockWidth() - 2 * GoalsWidth - 2 * NameGap - GoalsGap) / 2; }
    int twipsToX(int twips) const { return int(std::lround(twips * blockWidth() / RowTwips)); }
    int cardWidth() const { return std::max(12, twipsToX(CardTwips)); }

    // How much of a name's outer end the shown card boxes cover.
    int coveredHome(const GridRow &row) const
    {
        int right = 0;
        for (const CardBox c : { CardBox::HomeRed, CardBox::HomeYellow }) {
            const EntryBox &box = row.cards[int(c)];
            if (box.visible)
                right = std::max(right, twipsToX(box.left) + cardWidth());
        }
        return right;
    }
    int coveredAway(const GridRow &row) const
    {
        const int block = blockWidth();
        int left = block;
        for (const CardBox c : { CardBox::AwayYellow, CardBox::AwayRed }) {
            const EntryBox &box = row.cards[int(c)];
            if (box.visible)
                left = std::min(left, twipsToX(box.left));
        }
        return block - left;
    }

    // A screen reader names each box by its club and what it holds.
    void nameBoxes(const QString &home, const QString &away)
    {
        if (home == m_namedHome && away == m_namedAway)
            return;
        m_namedHome = home;
        m_namedAway = away;
        const auto name = [](const QString &team, const char *what) {
            return (team.isEmpty() ? QStringLiteral("Équipe") : team) + QStringLiteral(", ") + QString::fromUtf8(what);
        };
        m_r1->setAccessibleName(name(home, "buts"));
        m_r2->setAccessibleName(name(away, "buts"));
        m_cards[int(CardBox::HomeRed)]->setAccessibleName(name(home, "cartons rouges"));
        m_cards[int(CardBox::HomeYellow)]->setAccessibleName(name(home, "cartons jaunes"));
        m_cards[int(CardBox::AwayYellow)]->setAccessibleName(name(away, "cartons jaunes"));
        m_cards[int(CardBox::AwayRed)]->setAccessibleName(name(away, "cartons rouges"));
    }

    void place()
    {
        const int name = nameWidth();
        const int top = (height() - BoxHeight) / 2;
        int x = 0;
        m_home->setGeometry(x, top, name, BoxHeight);
        x += name + NameGap;
        m_r1->setGeometry(x, top, GoalsWidth, BoxHeight);
        x += GoalsWidth + GoalsGap;
        m_r2->setGeometry(x, top, GoalsWidth, BoxHeight);
        x += GoalsWidth + NameGap;
        m_away->setGeometry(x, top, blockWidth() - x, BoxHeight);
        m_info->setGeometry(blockWidth() + InfoGap, 0, InfoWidth, height());
        placeCards();
    }

    void placeCards()
    {
        const int top = (height() - CardHeight) / 2;
        for (int c = 0; c < 4; ++c) {
            const QRect target(twipsToX(m_cardLeft[c]), top, cardWidth(), CardHeight);
            if (m_cards[c]->geometry() != target)
                m_cards[c]->setGeometry(target);
        }
    }

    MatchdaysController &m_controller;
    int m_row;
    const FixtureGridPanel::TeamHover &m_hover;
    NameCell *m_home = nullptr;
    NameCell *m_away = nullptr;
    QLineEdit *m_r1 = nullptr;
    QLineEdit *m_r2 = nullptr;
    std::array<QLineEdit *, 4> m_cards {};
    std::array<int, 4> m_cardLeft { CardPos::HomeRed, CardPos::HomeYellow, CardPos::AwayYellow,
        CardPos::AwayRed };
    QLabel *m_info = nullptr;
    QString m_namedHome;
    QString m_namedAway;
};

FixtureGridPanel::FixtureGridPanel(MatchdaysController &controller, QWidget *parent)
    : QFrame(parent)
    , m_controller(controller)
{
    setObjectName(QStringLiteral("fixtureGrid"));

    auto *layout = new QVBoxLayout(this);
    // The card is no taller than its rows: a matchday leaves the rest of the column free.
    layout->setSizeConstraint(QLayout::SetMinAndMaxSize);
    layout->setContentsMargins(10, 9, 10, 9);
    layout->setSpacing(6);

    m_header = new QLabel(this);
    m_header->setObjectName(QStringLiteral("gridHeader"));
    m_header->setFont(UiFont(9, true));
    m_header->setWordWrap(true);
    layout->addWidget(m_header);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("gridScroll"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidgetResizable(true);
    m_scroll->viewport()->setAutoFillBackground(false);
    auto *rows = new QWidget(m_scroll);
    rows->setAutoFillBackground(false);
    auto *rowsLayout = new QVBoxLayout(rows);
    rowsLayout->setContentsMargins(0, 0, 0, 0);
    rowsLayout->setSpacing(RowSpacing);
    for (int r = 0; r < GridRowCount; ++r) {
        m_rows[r] = new GridRowWidget(m_controller, r, m_teamHover, rows);
        rowsLayout->addWidget(m_rows[r]);
    }
    rowsLayout->addStretch(1);
    for (int r = 1; r < GridRowCount; ++r)
        setTabOrder(m_rows[r - 1]->lastInTabOrder(), m_rows[r]->firstInTabOrder());
    m_scroll->setWidget(rows);
    // The rows lie on the card itself (the scroll area paints a background of its own by default).
    rows->setAutoFillBackground(false);
    m_scroll->setMinimumHeight(RowHeight + RowSpacing);
    layout->addWidget(m_scroll, 1);

    m_totals = new QLabel(this);
    m_totals->setObjectName(QStringLiteral("gridTotals"));
    m_totals->setFont(UiFont(8.5));
    SetTextColour(m_totals, Palette::Muted);
    m_totals->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    layout->addWidget(m_totals);

    connect(&m_controller.grid(), &FixtureGridModel::changed, this, &FixtureGridPanel::refresh);
    connect(&m_controller, &MatchdaysController::changed, this, &FixtureGridPanel::refresh);
    refresh();
}

void FixtureGridPanel::paintEvent(QPaintEvent *)
{
    // The window's card, drawn here rather than by a style sheet (see MainWindow).
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Palette::CardBorder);
    p.setBrush(Palette::Card);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}

void FixtureGridPanel::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    fitHeader();
}

void FixtureGridPanel::fitHeader()
{
    // A long header wraps; the label takes exactly its lines, so that the card keeps no gap.
    const QMargins margins = layout()->contentsMargins();
    const int width = contentsRect().width() - margins.left() - margins.right();
    if (width <= 0)
        return;
    const int height = std::max(m_header->fontMetrics().height(),
        m_header->fontMetrics()
            .boundingRect(QRect(0, 0, width, 1000), Qt::TextWordWrap, m_header->text())
            .height());
    if (m_header->height() != height || m_header->maximumHeight() != height)
        m_header->setFixedHeight(height);
}

QWidget *FixtureGridPanel::row(int r) const
{
    return r >= 0 && r < GridRowCount ? m_rows[r] : nullptr;
}

int FixtureGridPanel::matchdayRowsHeight() const
{
    return MatchdayRows * RowHeight + (MatchdayRows - 1) * RowSpacing;
}

void FixtureGridPanel::refresh()
{
    const FixtureGridModel &grid = m_controller.grid();
    if (m_header->text() != grid.header) {
        m_header->setText(grid.header);
        fitHeader();
    }
    const QColor headerColour = ToColour(grid.headerColour);
    if (m_header->palette().color(QPalette::WindowText) != headerColour)
        SetTextColour(m_header, headerColour);

    for (int r = 0; r < GridRowCount; ++r)
        m_rows[r]->draw(grid.row(r));

    // The day's totals belong to the matchday view; a team's season has none.
    const QString totals = ScreenText(grid.totals);
    if (m_totals->text() != totals)
        m_totals->setText(totals);
    SetShown(m_totals, m_controller.matchdayPanel() && !totals.isEmpty());

    // A matchday's nine rows take their own height; a team's season scrolls in what the column
    // leaves.
    int shownRows = 0;
    for (const GridRowWidget *row : m_rows)
        shownRows += row->isVisibleTo(m_scroll->widget()) ? 1 : 0;
    const int rowsHeight = std::max(1, shownRows) * (RowHeight + RowSpacing);
    if (m_scroll->maximumHeight() != rowsHeight)
        m_scroll->setMaximumHeight(rowsHeight);

    // Another filling starts at its first row.
    if (grid.matchday != m_shownMatchday || grid.header != m_shownHeader) {
        m_shownMatchday = grid.matchday;
        m_shownHeader = grid.header;
        m_scroll->verticalScrollBar()->setValue(0);
    }
}

} // namespace kestrava
