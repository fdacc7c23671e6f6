#pragma once

#include "platform/Rgb.h"

#include <QObject>
#include <QString>

#include <array>

namespace kestrava {

// Where a button sits: the bar at the top, or the panel whose action it serves.
enum class ButtonPlace { Bar, RankingsMenu, Chart, Publishing, Donors, Highlights, About, Options, TeamSheet };

namespace ButtonColours {
inline constexpr Rgb Rest{9, 27, 49};
inline constexpr Rgb Hover{0, 128, 128};
inline constexpr Rgb DownloadDone{200, 200, 200};
} // namespace ButtonColours

struct ButtonState
{
    QString caption;
    ButtonPlace place = ButtonPlace::Bar;
    bool built = false;   // its action exists in this program; a button that is not built is not shown
    bool visible = true;  // for built buttons that come and go ("Valider", "Expé Fichier")
    Rgb background = ButtonColours::Rest;
};

inline constexpr int ButtonCount = 40;

// The 40 buttons of the window, their captions, where they sit and their colours.
class ButtonBarModel : public QObject
{
    Q_OBJECT
public:
    explicit ButtonBarModel(QObject *parent = nullptr);

    const ButtonState &button(int index) const { return m_buttons[index]; }
    bool isShown(int index) const { return m_buttons[index].built && m_buttons[index].visible; }
    void setVisible(int index, bool visible);
    void setBuilt(int index, bool built);

    // Hover: `hovered` in the hover colour, every other button at rest (-1: none hovered). The
    // download button stays grey once this run's download is done.
    void paintHover(int hovered, bool downloadDone);

signals:
    void changed();

private:
    std::array<ButtonState, ButtonCount> m_buttons;
};

} // namespace kestrava
