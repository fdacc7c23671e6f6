#include "DonorsPanel.h"

#include "online/DonorsController.h"
#include "platform/ButtonBarModel.h"
#include "platform/Style.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace kestrava {

namespace {

constexpr int PanelWidth = 372;

// The picture that leads to the donation page: a heart and its words, on the program's teal.
QPixmap DonationPixmap()
{
    const QSize size(150, 38);
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF box(0.5, 0.5, size.width() - 1, size.height() - 1);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, QColor(0, 150, 146));
    fill.setColorAt(1, Palette::Teal);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(box, 6, 6);

    // A heart from two arcs and a point.
    QPainterPath heart;
    const QPointF c(22, 20);
    heart.moveTo(c.x(), c.y() + 9);
    heart.cubicTo(c.x() - 13, c.y() + 1, c.x() - 9, c.y() - 11, c.x(), c.y() - 5);
    heart.cubicTo(c.x() + 9, c.y() - 11, c.x() + 13, c.y() + 1, c.x(), c.y() + 9);
    p.setBrush(QColor(255, 214, 214));
    p.drawPath(heart);

    p.setPen(Qt::white);
    p.setFont(UiFont(10, true));
    p.drawText(QRectF(40, 0, size.width() - 46, size.height()), Qt::AlignVCenter | Qt::AlignLeft,
        QStringLiteral("Faire un don"));
    return pixmap;
}

QLabel *text(const QString &words, QWidget *parent, bool emphasis = false)
{
    auto *label = new QLabel(words, parent);
    label->setWordWrap(true);
    if (emphasis) {
        label->setFont(UiFont(9, true));
        SetTextColour(label, Palette::Navy);
    }
    return label;
}

} // namespace

DonorsPanel::DonorsPanel(DonorsController &controller, ButtonBarModel &buttons, QWidget *parent)
    : OverlayPanel(buttons, QStringLiteral("donorsPanel"), parent)
    , m_controller(controller)
{
    // Over the panel the ticker runs again, and the buttons take their rest colour.
    setOnHover([this] {
        m_bar.point(-1);
        m_controller.hoverPanel();
    });
    setFixedWidth(PanelWidth);

    QVBoxLayout *layout
        = openColumn(QStringLiteral("Partenaires et Donateurs"), 12, QMargins(18, 14, 18, 16), 8);

    auto *tickerFrame = new QFrame(this);
    tickerFrame->setProperty("kticker", true);
    auto *tickerRow = new QHBoxLayout(tickerFrame);
    tickerRow->setContentsMargins(10, 6, 10, 6);
    m_ticker = new ClickableLabel(tickerFrame);
    m_ticker->setObjectName(QStringLiteral("donorsTicker"));
    m_ticker->setAlignment(Qt::AlignCenter);
    m_ticker->setFont(UiFont(15, true));
    m_ticker->setMinimumHeight(34);
    m_ticker->setWordWrap(true);
    // The ticker pauses while the pointer rests on it.
    m_ticker->setOnHover([this] { m_controller.hoverLabel(); });
    tickerRow->addWidget(m_ticker);
    // The names take the room the column leaves, like a board.
    tickerFrame->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    layout->addWidget(tickerFrame, 1);

    layout->addWidget(
        text(QStringLiteral("Si vous vous reconnaissez dans cette liste, je vous remercie chaleureusement !"),
            this, true));
    layout->addWidget(text(QStringLiteral("Et, si vous voulez y apparaitre..."), this));
    layout->addWidget(
        text(QStringLiteral("Souvent les gens savent reconnaitre le travail effectué, C'est très "
                            "plaisant, donc ce cadre est pour eux..."),
            this));

    layout->addSpacing(4);
    auto *give = new QHBoxLayout;
    give->setSpacing(12);
    give->addWidget(text(QStringLiteral("Ce logiciel vous a plu..."), this, true), 1);
    auto *donation = new ClickablePicture(
        DonationPixmap(), [this] { m_controller.clickDonation(); }, this);
    donation->setObjectName(QStringLiteral("donationLink"));
    donation->setToolTip(QStringLiteral("Ouvrir la page des dons du site"));
    give->addWidget(donation);
    layout->addLayout(give);

    layout->addSpacing(4);
    layout->addLayout(buttonRow({ Btn::CloseDonors }));

    connect(&m_controller.model(), &DonorsModel::changed, this, &DonorsPanel::refresh);
    refresh();
}

void DonorsPanel::refresh()
{
    const DonorsModel &model = m_controller.model();
    if (m_ticker->text() != model.caption)
        m_ticker->setText(model.caption);
    const QColor colour = ToColour(model.colour);
    if (m_ticker->palette().color(QPalette::WindowText) != colour)
        SetTextColour(m_ticker, colour);
    SetShown(this, model.visible);
}

} // namespace kestrava
