#pragma once

#include <QWidget>

class QLabel;

namespace kestrava {

class SplashModel;

// The small frameless window shown while the program starts: the league logo, "Ligue 1",
// "2026 - 2027." and the version. It comes and goes with its model; a click on the logo closes it.
class SplashWindow : public QWidget
{
    Q_OBJECT
public:
    explicit SplashWindow(SplashModel &model, QWidget *parent = nullptr);

    void refresh();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    SplashModel &m_model;
    QLabel *m_league = nullptr;
    QLabel *m_season = nullptr;
    QLabel *m_version = nullptr;
};

} // namespace kestrava
