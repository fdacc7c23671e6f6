#include "OptionsPanel.h"

#include "season/CrestPixmap.h"
#include "platform/ButtonBarModel.h"
#include "window/OptionsController.h"
#include "platform/Style.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace kestrava {

namespace {

constexpr int FirstBox = 4;
constexpr int CrestSize = 56;
constexpr int ListCrestSize = 16;

} // namespace

OptionsPanel::OptionsPanel(OptionsController &controller, ButtonBarModel &buttons, QWidget *parent)
    : OverlayPanel(buttons, QStringLiteral("optionsPanel"), parent)
    , m_controller(controller)
{

    QVBoxLayout *outer = openColumn(QStringLiteral("Configuration"), 13, QMargins(20, 16, 20, 16), 12);

    auto *columns = new QHBoxLayout;
    columns->setSpacing(20);
    outer->addLayout(columns);

    auto *left = new QVBoxLayout;
    left->setSpacing(6);
    left->addWidget(CaptionLabel(QStringLiteral("Équipe préférée"), this));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("favouriteList"));
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setIconSize(QSize(ListCrestSize, ListCrestSize));
    m_list->setFixedSize(210, 300);
    m_list->setCursor(Qt::PointingHandCursor);
    connect(m_list, &QListWidget::itemClicked, this,
        [this](QListWidgetItem *item) { m_controller.chooseFavourite(m_list->row(item)); });
    left->addWidget(m_list);
    // The list stays under its caption however tall the other column is.
    left->addStretch(1);
    columns->addLayout(left);

    auto *right = new QVBoxLayout;
    right->setSpacing(8);
    right->addWidget(CaptionLabel(QStringLiteral("Votre équipe"), this));
    auto *choice = new QHBoxLayout;
    choice->setSpacing(12);
    m_crest = new QLabel(this);
    m_crest->setObjectName(QStringLiteral("favouriteCrest"));
    m_crest->setFixedSize(CrestSize, CrestSize);
    choice->addWidget(m_crest);
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("favouriteCaption"));
    m_caption->setFont(UiFont(13, true));
    SetTextColour(m_caption, Palette::Navy);
    choice->addWidget(m_caption, 1);
    right->addLayout(choice);

    const auto addRule = [this, right] {
        auto *rule = new QFrame(this);
        rule->setFrameShape(QFrame::HLine);
        rule->setFrameShadow(QFrame::Plain);
        SetTextColour(rule, Palette::CardBorder);
        right->addSpacing(4);
        right->addWidget(rule);
        right->addSpacing(4);
    };
    addRule();
    right->addWidget(CaptionLabel(QStringLiteral("Options"), this));

    const QString texts[4] = { QStringLiteral("Mise à jour automatique au lancement"),
        QStringLiteral("Surligner son équipe préférée"),
        QStringLiteral("Activer l'aide au suivi dans les tableaux"),
        QStringLiteral("Mises à jour automatiques les jours de match") };
    for (int i = 0; i < 4; ++i) {
        const int box = FirstBox + i;
        auto *check = new QCheckBox(texts[i], this);
        check->setObjectName(QStringLiteral("check%1").arg(box));
        check->setCursor(Qt::PointingHandCursor);
        connect(check, &QCheckBox::clicked, this,
            [this, box](bool on) { m_controller.setCheck(box, on ? 1 : 0); });
        m_boxes[i] = check;
        right->addWidget(check);
    }
    // Without the publisher's site (no downloader) the boxes keep the user's choice but cannot act.
    const bool online = m_bar.button(Btn::Update).built;
    for (QCheckBox *box : {m_boxes[0], m_boxes[3]}) {
        box->setEnabled(online);
        if (!online)
            box->setToolTip(QStringLiteral("Le téléchargement des résultats n'est pas disponible."));
    }
    if (online)
        m_boxes[3]->setToolTip(QStringLiteral(
            "Toutes les 5 minutes, de 12 h à minuit, pendant les journées de championnat, tant que la fenêtre est ouverte."));

    // The publisher's address: checked against the site before it replaces the one in use.
    addRule();
    right->addWidget(CaptionLabel(QStringLiteral("Adresse de l'éditeur"), this));
    m_site = new QLineEdit(this);
    m_site->setObjectName(QStringLiteral("siteAddressEdit"));
    m_site->setAccessibleName(QStringLiteral("Adresse de l'éditeur"));
    m_site->setPlaceholderText(QStringLiteral("https://adresse-de-votre-editeur.fr/"));
    m_site->setMinimumWidth(300);
    connect(m_site, &QLineEdit::textEdited, this,
        [this](const QString &text) { m_controller.editSiteAddress(text); });
    connect(m_site, &QLineEdit::returnPressed, this, [this] {
        if (m_bar.isShown(Btn::CheckSiteAddress))
            m_bar.press(Btn::CheckSiteAddress);
    });
    right->addWidget(m_site);
    auto *siteRow = new QHBoxLayout;
    siteRow->setSpacing(8);
    auto *siteHint = new QLabel(QStringLiteral("L'adresse que votre éditeur vous a donnée."), this);
    siteHint->setObjectName(QStringLiteral("siteAddressHint"));
    siteHint->setWordWrap(true);
    SetTextColour(siteHint, Palette::Muted);
    siteRow->addWidget(siteHint, 1);
    auto *check = new BarButton(m_bar, Btn::CheckSiteAddress, this);
    m_buttons.append(check);
    siteRow->addWidget(check);
    right->addLayout(siteRow);
    if (!online) {
        m_site->setEnabled(false);
        m_site->setToolTip(QStringLiteral("Le téléchargement des résultats n'est pas disponible."));
    }

    right->addStretch(1);
    right->addSpacing(10);
    // "Dream Team", then "Fermer" where a closing button is expected. The window keeps their
    // colours up to date with the other buttons.
    right->addLayout(RightAlignedButtons(m_bar, { Btn::DreamTeam, Btn::CloseOptions }, 8, this, m_buttons));
    columns->addLayout(right, 1);

    refresh();
}

void OptionsPanel::refresh()
{
    const OptionsModel &options = m_controller.model();
    const QString favourite = options.favouriteCaption;
    if (options.favouriteEntries != m_shownEntries || favourite != m_shownCaption) {
        m_list->clear();
        for (const QString &entry : options.favouriteEntries) {
            auto *item = new QListWidgetItem(entry, m_list);
            // "Aucune" is not a team: an empty crest keeps the names aligned.
            item->setIcon(QIcon(CrestPixmap(m_list->count() > 1 ? entry : QString(), ListCrestSize)));
            if (entry == favourite) {
                QFont font = item->font();
                font.setBold(true);
                item->setFont(font);
                item->setBackground(QColor(227, 242, 242));
            }
        }
        m_shownEntries = options.favouriteEntries;
        m_shownCaption = favourite;
    }

    m_caption->setText(favourite);
    if (options.crestTeam.isEmpty())
        m_crest->clear();
    else
        m_crest->setPixmap(CrestPixmap(options.crestTeam, CrestSize));

    const int states[4] = { options.autoUpdate, options.highlightFavourite, options.trackingAid, options.autoRefresh };
    for (int i = 0; i < 4; ++i)
        m_boxes[i]->setChecked(states[i] == 1);
    ShowText(m_site, options.siteAddressTyped);
}

} // namespace kestrava
