#include "SplashWindow.h"

#include "platform/ClickableWidgets.h"
#include "platform/Style.h"
#include "window/WindowModels.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace kestrava {

SplashWindow::SplashWindow(SplashModel &model, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_model(model)
{
    setObjectName(QStringLiteral("splash"));
    setFixedSize(440, 220);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(30, 26, 30, 22);
    row->setSpacing(26);
    auto *logo = new ClickablePicture(
        LeagueLogoPixmap(112), [this] { hide(); }, this);
    logo->setObjectName(QStringLiteral("splashLogo"));
    row->addWidget(logo, 0, Qt::AlignVCenter);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addStretch(1);
    m_league = new QLabel(this);
    m_league->setFont(UiFont(26, true));
    SetTextColour(m_league, Qt::white);
    texts->addWidget(m_league);
    m_season = new QLabel(this);
    m_season->setFont(UiFont(15));
    SetTextColour(m_season, Palette::HeaderText);
    texts->addWidget(m_season);
    texts->addStretch(1);
    m_version = new QLabel(this);
    m_version->setObjectName(QStringLiteral("splashVersion"));
    m_version->setFont(UiFont(8.5));
    SetTextColour(m_version, QColor(127, 191, 191));
    texts->addWidget(m_version, 0, Qt::AlignRight);
    row->addLayout(texts, 1);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    connect(&m_model, &SplashModel::changed, this, &SplashWindow::refresh);
    refresh();
}

void SplashWindow::refresh()
{
    // The title's first line is the league, the rest the season.
    const QStringList lines = ScreenText(m_model.title).split(u'\n');
    m_league->setText(lines.value(0));
    m_season->setText(lines.mid(1).join(u'\n'));
    m_version->setText(m_model.version);
    if (m_model.visible != isVisible())
        setVisible(m_model.visible);
}

void SplashWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient back(0, 0, 0, height());
    back.setColorAt(0, QColor(18, 44, 76));
    back.setColorAt(1, Palette::Navy);
    p.fillRect(rect(), back);
    p.fillRect(QRect(0, height() - 4, width(), 4), Palette::Teal);
}

} // namespace kestrava
