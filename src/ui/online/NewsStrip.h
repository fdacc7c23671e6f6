#pragma once

#include <QWidget>

class QFrame;
class QLabel;

namespace kestrava {

class NewsModel;

// Over the table: the publisher's introduction text, or in its place the titles of the home and
// away columns.
//
// Object names: "introFrame", "introText", "columnTitles".
class NewsStrip : public QWidget
{
    Q_OBJECT
public:
    explicit NewsStrip(NewsModel &model, QWidget *parent = nullptr);

    void refresh();

private:
    NewsModel &m_model;
    QFrame *m_introFrame = nullptr;
    QLabel *m_introText = nullptr;
    QWidget *m_columnTitles = nullptr;
};

} // namespace kestrava
