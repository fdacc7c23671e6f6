#include "ButtonBarModel.h"

namespace kestrava {

namespace {

struct Design
{
    const char *caption;
    ButtonPlace place;
};

// Captions as the window shows them, by index.
const Design designs[ButtonCount] = {
    {"Quitter", ButtonPlace::Bar},
    {"Valider", ButtonPlace::Bar},
    {"Meilleure Défense", ButtonPlace::RankingsMenu},
    {"Meilleure Attaque", ButtonPlace::RankingsMenu},
    {"Classement Général", ButtonPlace::RankingsMenu},
    {"Fair Play", ButtonPlace::RankingsMenu},
    {"A Propos", ButtonPlace::Bar},
    {"Aide", ButtonPlace::Bar},
    {"Goal Average", ButtonPlace::RankingsMenu},
    {"Mise à Jour", ButtonPlace::Bar},
    {"Classement par Journée", ButtonPlace::RankingsMenu},
    {"Fermer", ButtonPlace::Chart},
    {"Graphiques", ButtonPlace::Bar},
    {"Expé Fichier", ButtonPlace::Bar},
    {"Envoyer", ButtonPlace::Publishing},
    {"Fermer", ButtonPlace::Publishing},
    {"Partenaires et Donateurs", ButtonPlace::Bar},
    {"Fermer", ButtonPlace::Donors},
    {"Matches Gagnés", ButtonPlace::RankingsMenu},
    {"Fermer", ButtonPlace::RankingsMenu},
    {"Classements", ButtonPlace::Bar},
    {"Tableau complet", ButtonPlace::Bar},
    {"Matches Perdus", ButtonPlace::RankingsMenu},
    {"Matches Nuls", ButtonPlace::RankingsMenu},
    {"Fermer", ButtonPlace::Highlights},
    {"Le plus de....", ButtonPlace::RankingsMenu},
    {"Fermer", ButtonPlace::About},
    {"Configuration", ButtonPlace::Bar},
    {"Fermer", ButtonPlace::Options},
    {"Classement Possible !!!", ButtonPlace::RankingsMenu},
    {"Insérer", ButtonPlace::Publishing},
    {"Bonus - Malus", ButtonPlace::RankingsMenu},
    {"Sauvegarde", ButtonPlace::Publishing},
    {"Equipes", ButtonPlace::Bar},
    {"Fermer", ButtonPlace::TeamSheet},
    {"Imprimer", ButtonPlace::TeamSheet},
    {"Imprimer", ButtonPlace::Bar},
    {"Imprimer", ButtonPlace::Chart},
    {"Equipe", ButtonPlace::Chart},
    {"Dream Team", ButtonPlace::Options},
    {"Projections", ButtonPlace::RankingsMenu},
    {"Fermer", ButtonPlace::Projections},
    {"Importer des résultats...", ButtonPlace::Publishing},
    {"Vérifier et enregistrer", ButtonPlace::Options},
};

} // namespace

ButtonBarModel::ButtonBarModel(QObject *parent)
    : QObject(parent)
{
    for (int i = 0; i < ButtonCount; ++i) {
        m_buttons[i].caption = QString::fromUtf8(designs[i].caption);
        m_buttons[i].place = designs[i].place;
    }
}

QString ButtonBarModel::shortcut(int index)
{
    switch (index) {
    case Btn::Save:
        return QStringLiteral("Ctrl+S");
    case Btn::PrintBar:
        return QStringLiteral("Ctrl+P");
    case Btn::Update:
        return QStringLiteral("F5");
    case Btn::Help:
        return QStringLiteral("F1");
    case Btn::FullTable:
        return QStringLiteral("Ctrl+T");
    case Btn::Rankings:
        return QStringLiteral("Ctrl+L");
    case Btn::Quit:
        return QStringLiteral("Ctrl+Q");
    default:
        return {};
    }
}

void ButtonBarModel::setVisible(int index, bool visible)
{
    if (m_buttons[index].visible == visible)
        return;
    m_buttons[index].visible = visible;
    emit changed();
}

void ButtonBarModel::setAction(int index, std::function<void()> action)
{
    Q_ASSERT(!m_actions[index]);
    m_actions[index] = std::move(action);
    m_buttons[index].built = bool(m_actions[index]);
    emit changed();
}

bool ButtonBarModel::run(int index) const
{
    if (index < 0 || index >= ButtonCount || !m_actions[index])
        return false;
    m_actions[index]();
    return true;
}

void ButtonBarModel::paintHover(int hovered, bool downloadDone)
{
    bool any = false;
    for (int i = 0; i < ButtonCount; ++i) {
        Rgb c = i == hovered ? ButtonColours::Hover : ButtonColours::Rest;
        if (i == Btn::Update && downloadDone)
            c = ButtonColours::DownloadDone;
        if (!(m_buttons[i].background == c)) {
            m_buttons[i].background = c;
            any = true;
        }
    }
    if (any)
        emit changed();
}

} // namespace kestrava
