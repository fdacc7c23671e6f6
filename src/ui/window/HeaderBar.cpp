#include "HeaderBar.h"

#include "platform/ClickableWidgets.h"
#include "platform/Style.h"
#include "window/MainController.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

namespace kestrava {

namespace {

constexpr int Margin = 14;
constexpr int Height = 52;

// Where the buttons of the bar sit, left to right. Only those that the model says are built are shown.
constexpr int barOrder[] = { Btn::FullTable, Btn::Rankings, Btn::Save, Btn::Teams, Btn::Chart, Btn::Update,
    Btn::SendFile, Btn::Donors, Btn::Options, Btn::PrintBar, Btn::Help, Btn::About, Btn::Quit };

// The season line under the program's name. When the editor's buttons crowd the bar it gives way
// by whole words: the championship's name goes first, then the league's, the years last.
class SeasonLine : public QLabel
{
public:
    SeasonLine(const QString &full, QWidget *parent)
        : QLabel(parent)
        , m_full(full)
    {
        setToolTip(full);
        setAccessibleName(full);
        setText(full);
    }
    QSize sizeHint() const override { return { fontMetrics().horizontalAdvance(m_full), QLabel::sizeHint().height() }; }
    QSize minimumSizeHint() const override { return { 60, QLabel::minimumSizeHint().height() }; }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QLabel::resizeEvent(event);
        const int room = contentsRect().width();
        QStringList forms { m_full };
        for (const QString &cut : { QStringLiteral("Ligue"), QStringLiteral("(") }) {
            const qsizetype at = m_full.indexOf(cut);
            if (at > 0)
                forms.append(m_full.mid(at));
        }
        QString shown = fontMetrics().elidedText(forms.last(), Qt::ElideRight, room);
        for (const QString &form : forms) {
            if (fontMetrics().horizontalAdvance(form) <= room) {
                shown = form;
                break;
            }
        }
        if (text() != shown)
            setText(shown);
    }

private:
    QString m_full;
};

} // namespace

HeaderBar::HeaderBar(MainController &controller, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("header"));
    setFixedHeight(Height);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(Margin, 5, Margin - 6, 8);
    row->setSpacing(3);

    StandingsController &standings = controller.standings();
    auto *logo = new ClickablePicture(LeagueLogoPixmap(38), [&standings] { standings.clickLogo(); }, this);
    logo->setObjectName(QStringLiteral("logo"));
    logo->setAccessibleName(QStringLiteral("Ligue 1"));
    logo->setAccessibleDescription(QStringLiteral("Lignes du dernier calcul du classement"));
    row->addWidget(logo);
    row->addSpacing(7);

    auto *titles = new QVBoxLayout;
    titles->setSpacing(0);
    MatchdaysController &matchdays = controller.matchdays();
    auto *name = new ClickableLabel(this);
    name->setObjectName(QStringLiteral("programTitle"));
    name->setText(QStringLiteral("Kestrava"));
    name->setFont(UiFont(14, true));
    SetTextColour(name, Qt::white);
    name->setOnClick([&matchdays] { matchdays.clickTitleLabel(); });
    name->setCursor(Qt::ArrowCursor);
    auto *season = new SeasonLine(controller.windowTitle().simplified(), this);
    season->setObjectName(QStringLiteral("seasonLine"));
    season->setFont(UiFont(8));
    SetTextColour(season, Palette::HeaderText);
    titles->addStretch(1);
    titles->addWidget(name);
    titles->addWidget(season);
    titles->addStretch(1);
    row->addLayout(titles);
    row->addStretch(1);

    for (const int index : barOrder) {
        auto *button = new BarButton(controller.buttons(), index, this);
        button->setFont(UiFont(8.5, true));
        button->setMetrics(8, 30);
        row->addWidget(button, 0, Qt::AlignVCenter);
    }
}

void HeaderBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Palette::Navy);
    p.fillRect(QRect(0, height() - 3, width(), 3), Palette::Teal);
}

} // namespace kestrava
