#include "AboutBox.h"

#include "platform/Cards.h"
#include "window/MainController.h"

#include <QHBoxLayout>

namespace kestrava {

AboutBox::AboutBox(MainController &controller, QWidget *parent)
    : QFrame(parent)
    , m_controller(controller)
{
    StyleOverlay(this, "aboutBox");
    setAttribute(Qt::WA_NoMousePropagation);
    auto *about = new QHBoxLayout(this);
    about->setContentsMargins(22, 20, 22, 18);
    about->setSpacing(20);
    auto *logo = new QLabel(this);
    logo->setPixmap(LeagueLogoPixmap(84));
    logo->setAlignment(Qt::AlignTop);
    about->addWidget(logo);
    auto *text = new QVBoxLayout;
    text->setSpacing(6);
    text->addWidget(TitleLabel(QStringLiteral("Kestrava"), 18, this));
    m_version = ValueLabel(this, "aboutVersion", 9.5, true);
    SetTextColour(m_version, Palette::Teal);
    text->addWidget(m_version);
    auto *description = new QLabel(
        QStringLiteral("Le championnat de France de Ligue 1, saison 2026\u00a0-\u00a02027 : le classement et ses "
                       "départages, le classement à chaque journée, les matches en retard et "
                       "l'avancement de la saison, pour les 18 clubs."),
        this);
    description->setWordWrap(true);
    description->setFixedWidth(330);
    text->addWidget(description);
    // The publisher's pages.
    DonorsController &donors = m_controller.donors();
    auto *links = new QHBoxLayout;
    links->setSpacing(18);
    auto *home = new ClickableLabel(this);
    home->setObjectName(QStringLiteral("homeLink"));
    home->setProperty("klink", true);
    home->setText(QStringLiteral("Site de l'éditeur"));
    home->setToolTip(QStringLiteral("Ouvrir la page d'accueil du site"));
    home->setOnClick([&donors] { donors.clickHomeLink(); });
    links->addWidget(home);
    auto *contact = new ClickableLabel(this);
    contact->setObjectName(QStringLiteral("contactLink"));
    contact->setProperty("klink", true);
    contact->setText(QStringLiteral("Contact"));
    contact->setToolTip(QStringLiteral("Écrire à l'éditeur"));
    contact->setOnClick([&donors] { donors.clickContactLink(); });
    links->addWidget(contact);
    links->addStretch(1);
    text->addSpacing(2);
    text->addLayout(links);
    text->addStretch(1);
    text->addSpacing(6);
    QList<BarButton *> buttons;
    text->addLayout(RightAlignedButtons(m_controller.buttons(), { Btn::CloseAbout }, 6, this, buttons));
    about->addLayout(text);
    hide();
    connect(&m_controller.panels(), &WindowPanels::changed, this, &AboutBox::refresh);
}

void AboutBox::refresh()
{
    const WindowPanels &panels = m_controller.panels();
    m_version->setText(panels.aboutVersion);
    SetShown(this, panels.about);
}

} // namespace kestrava
