#include "PublishingPanel.h"

#include "online/PublishingController.h"
#include "platform/Style.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kestrava {

namespace {

constexpr int PanelWidth = 372;

// A caption over a group of the frame; a long one wraps.
QLabel *caption(const QString &text, QWidget *parent)
{
    QLabel *label = CaptionLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QLabel *fieldName(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    SetTextColour(label, Palette::Muted);
    return label;
}

} // namespace

PublishingPanel::PublishingPanel(PublishingController &controller, Session &session, QWidget *parent)
    : OverlayPanel(session.buttons, QStringLiteral("publishingPanel"), parent)
    , m_controller(controller)
    , m_session(session)
{
    setFixedWidth(PanelWidth);

    QVBoxLayout *layout = openColumn(QStringLiteral("Expédition fichier"), 12, QMargins(16, 12, 16, 14), 6);
    layout->addSpacing(2);

    // The introduction every user reads above the table; the strip above the table previews it.
    layout->addWidget(caption(
        QStringLiteral("Texte d'intro (Attention à l'orthographe, pas de diacritiques, merci.)"), this));
    m_intro = new QPlainTextEdit(this);
    m_intro->setObjectName(QStringLiteral("introEdit"));
    m_intro->setMinimumHeight(56);
    m_intro->setMaximumHeight(118);
    m_intro->setTabChangesFocus(true);
    connect(m_intro, &QPlainTextEdit::textChanged, this,
        [this] { m_controller.editIntroText(m_intro->toPlainText()); });
    // The two boxes share what the column leaves: the introduction first.
    layout->addWidget(m_intro, 3);

    layout->addSpacing(4);
    layout->addWidget(caption(QStringLiteral("Version"), this));
    auto *version = new QHBoxLayout;
    version->setSpacing(8);
    version->addWidget(fieldName(QStringLiteral("Actuelle"), this));
    m_ownVersion = new QLabel(this);
    m_ownVersion->setObjectName(QStringLiteral("ownVersion"));
    m_ownVersion->setFont(UiFont(9, true));
    SetTextColour(m_ownVersion, Palette::Navy);
    version->addWidget(m_ownVersion);
    version->addSpacing(16);
    version->addWidget(fieldName(QStringLiteral("Sur fichier"), this));
    // Read-only until a double-click opens it.
    auto *versionEdit = new EntryEdit(this);
    versionEdit->setObjectName(QStringLiteral("versionEdit"));
    versionEdit->setFixedWidth(70);
    versionEdit->setToolTip(QStringLiteral("Double-cliquez pour modifier la version annoncée"));
    versionEdit->onDoubleClick = [this] { m_controller.doubleClickVersion(); };
    connect(versionEdit, &QLineEdit::textEdited, this,
        [this](const QString &text) { m_controller.editVersionText(text); });
    m_version = versionEdit;
    version->addWidget(m_version);
    version->addStretch(1);
    layout->addLayout(version);

    layout->addSpacing(4);
    layout->addWidget(caption(QStringLiteral("Equipe  Bonus ou Malus (+ ou -)"), this));
    auto *bonus = new QHBoxLayout;
    bonus->setSpacing(6);
    m_team = new QComboBox(this);
    m_team->setObjectName(QStringLiteral("bonusTeam"));
    m_team->setPlaceholderText(QStringLiteral("Choisir une équipe"));
    m_team->setMaxVisibleItems(18);
    connect(m_team, &QComboBox::textActivated, this,
        [this](const QString &team) { m_controller.chooseBonusTeam(team); });
    bonus->addWidget(m_team, 1);
    m_points = new QLineEdit(this);
    m_points->setObjectName(QStringLiteral("bonusPoints"));
    m_points->setFixedWidth(52);
    m_points->setAlignment(Qt::AlignCenter);
    m_points->setPlaceholderText(QStringLiteral("± pts"));
    connect(m_points, &QLineEdit::textEdited, this,
        [this](const QString &text) { m_controller.editBonusPoints(text); });
    bonus->addWidget(m_points);
    auto *insert = new BarButton(m_bar, Btn::InsertBonus, this);
    m_buttons.append(insert);
    bonus->addWidget(insert);
    layout->addLayout(bonus);
    m_bonusLines = new QListWidget(this);
    m_bonusLines->setObjectName(QStringLiteral("publishingBonusLines"));
    m_bonusLines->setSelectionMode(QAbstractItemView::NoSelection);
    m_bonusLines->setFocusPolicy(Qt::NoFocus);
    m_bonusLines->setMinimumHeight(58);
    m_bonusLines->setMaximumHeight(100);
    layout->addWidget(m_bonusLines, 2);

    layout->addSpacing(4);
    layout->addWidget(caption(QStringLiteral("Mot de passe et Pseudo"), this));
    auto *identity = new QHBoxLayout;
    identity->setSpacing(6);
    m_pseudo = new QLineEdit(this);
    m_pseudo->setObjectName(QStringLiteral("pseudoEdit"));
    m_pseudo->setPlaceholderText(QStringLiteral("Pseudo"));
    m_pseudo->setText(m_session.pseudo);
    connect(m_pseudo, &QLineEdit::textEdited, this,
        [this](const QString &text) { m_session.pseudo = text; });
    identity->addWidget(m_pseudo, 1);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("passwordEdit"));
    m_password->setPlaceholderText(QStringLiteral("Mot de passe"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setText(m_session.password);
    connect(m_password, &QLineEdit::textEdited, this,
        [this](const QString &text) { m_session.password = text; });
    identity->addWidget(m_password, 1);
    layout->addLayout(identity);

    // Results from an open-data file: the controller asks for the file and shows the report.
    layout->addSpacing(4);
    layout->addLayout(buttonRow({ Btn::ImportResults }));

    layout->addSpacing(4);
    auto *store = new QHBoxLayout;
    store->setSpacing(6);
    store->addWidget(fieldName(QStringLiteral("Fichier des résultats :"), this));
    m_store = new ClickableLabel(this);
    m_store->setObjectName(QStringLiteral("storeLabel"));
    m_store->setProperty("klink", true);
    m_store->setText(QFileInfo(m_session.store().path()).fileName());
    m_store->setToolTip(QStringLiteral("Ouvrir le fichier des résultats\n%1")
                            .arg(QDir::toNativeSeparators(m_session.store().path())));
    m_store->setOnClick([this] { m_controller.clickStoreLabel(); });
    store->addWidget(m_store);
    store->addStretch(1);
    layout->addLayout(store);

    layout->addSpacing(4);
    layout->addStretch(1);
    layout->addLayout(buttonRow({ Btn::Send, Btn::DatedCopy, Btn::ClosePublishing }));

    connect(&m_controller.model(), &PublishingModel::changed, this, &PublishingPanel::refresh);
    refresh();
}

void PublishingPanel::refresh()
{
    const PublishingModel &model = m_controller.model();

    // The filter replaces letters one for one: the caret keeps its place.
    if (m_intro->toPlainText() != model.introText) {
        const QSignalBlocker quiet(m_intro);
        const int caret = m_intro->textCursor().position();
        m_intro->setPlainText(model.introText);
        QTextCursor cursor = m_intro->textCursor();
        cursor.setPosition(std::min<int>(caret, int(model.introText.size())));
        m_intro->setTextCursor(cursor);
    }

    m_ownVersion->setText(model.ownVersion);
    ShowText(m_version, model.versionText);
    m_version->setReadOnly(!model.versionEditable);

    QStringList shownTeams;
    for (int i = 0; i < m_team->count(); ++i)
        shownTeams.append(m_team->itemText(i));
    if (shownTeams != model.teams) {
        const QSignalBlocker quiet(m_team);
        m_team->clear();
        m_team->addItems(model.teams);
    }
    const int chosen = int(model.teams.indexOf(model.chosenTeam));
    if (m_team->currentIndex() != chosen) {
        const QSignalBlocker quiet(m_team);
        m_team->setCurrentIndex(chosen);
    }
    ShowText(m_points, model.points);

    QStringList shownLines;
    for (int i = 0; i < m_bonusLines->count(); ++i)
        shownLines.append(m_bonusLines->item(i)->text());
    if (shownLines != model.bonusLines) {
        m_bonusLines->clear();
        m_bonusLines->addItems(model.bonusLines);
    }

    // The pseudonym and the password live in the session (and the user's settings).
    if (!m_pseudo->hasFocus())
        ShowText(m_pseudo, m_session.pseudo);
    if (!m_password->hasFocus())
        ShowText(m_password, m_session.password);

    SetShown(this, model.visible);
}

} // namespace kestrava
