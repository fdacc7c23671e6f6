#include "SeasonCard.h"

#include "platform/Cards.h"
#include "season/CrestPixmap.h"
#include "standings/LeagueTableModel.h"

#include <QHBoxLayout>
#include <QPainter>

namespace kestrava {

namespace {
constexpr int LeaderCrestSize = 40;
} // namespace

// The filled part of the season's progress bar.
class ProgressStrip : public QWidget
{
public:
    using QWidget::QWidget;

    void setFraction(double fraction)
    {
        fraction = std::clamp(fraction, 0.0, 1.0);
        if (fraction == m_fraction)
            return;
        m_fraction = fraction;
        update();
    }
    QSize sizeHint() const override { return { 200, 12 }; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        const QRectF track(rect());
        const double radius = track.height() / 2;
        p.setBrush(QColor(226, 232, 239));
        p.drawRoundedRect(track, radius, radius);
        if (m_fraction <= 0)
            return;
        QRectF filled = track;
        filled.setWidth(std::max(track.height(), track.width() * m_fraction));
        QLinearGradient fill(filled.topLeft(), filled.topRight());
        fill.setColorAt(0, Palette::Teal.lighter(130));
        fill.setColorAt(1, Palette::Teal);
        p.setBrush(fill);
        p.drawRoundedRect(filled, radius, radius);
    }

private:
    double m_fraction = 0;
};

SeasonCard::SeasonCard(LeagueTableModel &table, std::function<void()> clickGoals, std::function<void()> clickLeader,
                       QWidget *parent)
    : QWidget(parent)
    , m_table(table)
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);

    // The cards are styled one by one: a style sheet over the grid would take the colours of its
    // card boxes and slow every keystroke.
    m_card = Card(this, "seasonCard");
    m_card->setStyleSheet(WindowStyleSheet());
    auto *season = new QVBoxLayout(m_card);
    season->setContentsMargins(12, 9, 12, 9);
    season->setSpacing(5);
    auto *top = new QHBoxLayout;
    top->setSpacing(10);
    m_leaderCrest = new ClickableLabel(m_card);
    m_leaderCrest->setObjectName(QStringLiteral("leaderCrest"));
    m_leaderCrest->setFixedSize(LeaderCrestSize, LeaderCrestSize);
    m_leaderCrest->setOnClick(clickLeader);
    top->addWidget(m_leaderCrest);
    m_leaderText = new ClickableLabel(m_card);
    m_leaderText->setObjectName(QStringLiteral("leaderText"));
    m_leaderText->setFont(UiFont(11, true));
    m_leaderText->setOnClick(std::move(clickLeader));
    m_leaderText->setToolTip(QStringLiteral("Cliquez pour le résumé du premier"));
    m_leaderCrest->setToolTip(m_leaderText->toolTip());
    m_leaderCrest->setMouseOnly();
    SetTextColour(m_leaderText, Palette::Navy);
    top->addWidget(m_leaderText, 1);
    auto *progress = new QVBoxLayout;
    progress->setSpacing(4);
    progress->addStretch(1);
    m_progressText = ValueLabel(m_card, "progressText", 8.5, true);
    m_progressText->setWordWrap(false);
    m_progressText->setAlignment(Qt::AlignRight);
    progress->addWidget(m_progressText);
    m_progress = new ProgressStrip(m_card);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setFixedSize(160, 10);
    progress->addWidget(m_progress, 0, Qt::AlignRight);
    progress->addStretch(1);
    top->addLayout(progress);
    season->addLayout(top);
    // A click on the goals gives the cards, day by day.
    m_goalsSummary = new ClickableLabel(m_card);
    m_goalsSummary->setObjectName(QStringLiteral("goalsSummary"));
    m_goalsSummary->setFont(UiFont(8.5));
    SetTextColour(m_goalsSummary, Palette::Muted);
    m_goalsSummary->setToolTip(QStringLiteral("Cliquez pour le détail des cartons, journée par journée"));
    m_goalsSummary->setOnClick(std::move(clickGoals));
    season->addWidget(m_goalsSummary);
    column->addWidget(m_card);

    m_gamesInHandFrame = new QFrame(this);
    m_gamesInHandFrame->setObjectName(QStringLiteral("gamesInHandFrame"));
    m_gamesInHandFrame->setProperty("kalert", true);
    m_gamesInHandFrame->setStyleSheet(WindowStyleSheet());
    auto *games = new QHBoxLayout(m_gamesInHandFrame);
    games->setContentsMargins(10, 5, 10, 5);
    m_gamesInHand = ValueLabel(m_gamesInHandFrame, "gamesInHand", 8.5, false);
    SetTextColour(m_gamesInHand, QColor(90, 50, 0));
    games->addWidget(m_gamesInHand);
    column->addWidget(m_gamesInHandFrame);

    connect(&m_table, &LeagueTableModel::changed, this, &SeasonCard::refresh);
    refresh();
}

QWidget *SeasonCard::goalsSummary() const
{
    return m_goalsSummary;
}

void SeasonCard::refresh()
{
    const QString leader = m_table.leaderName();
    m_leaderText->setText(ScreenText(m_table.leaderText()));
    if (leader.isEmpty())
        m_leaderCrest->clear();
    else
        m_leaderCrest->setPixmap(CrestPixmap(leader, LeaderCrestSize));
    SetShown(m_leaderCrest, !leader.isEmpty());
    SetShown(m_leaderText, !m_table.leaderText().isEmpty());

    m_progress->setFraction(m_table.progressFraction());
    m_progressText->setText(m_table.progressText());
    SetShown(m_progress, m_table.progressShown());
    SetShown(m_progressText, m_table.progressShown());
    m_goalsSummary->setText(ScreenText(m_table.goalsSummary()));
    m_gamesInHand->setText(m_table.gamesInHand());
    SetShown(m_gamesInHandFrame, m_table.gamesInHandVisible());
}

} // namespace kestrava
