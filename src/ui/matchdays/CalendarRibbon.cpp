#include "CalendarRibbon.h"

#include "platform/ClickableWidgets.h"
#include "matchdays/MatchdaysController.h"
#include "platform/Style.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace kestrava {

namespace {

constexpr int RowHeight = 22;
constexpr int CaptionWidth = 74;

QLabel *rowCaption(const QString &text, QWidget *parent)
{
    QLabel *label = CaptionLabel(text, parent);
    label->setFixedWidth(CaptionWidth);
    return label;
}

} // namespace

// A month of the season, in the model's colours.
class CalendarMonth : public ModelTile
{
public:
    CalendarMonth(MatchdaysController &controller, int month, QWidget *parent)
        : ModelTile(QStringLiteral("month%1").arg(month), parent)
        , m_controller(controller)
        , m_month(month)
    {
        setFont(UiFont(8, true));
        setFixedHeight(RowHeight);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

    void draw(const CalendarModel::Month &m)
    {
        const QColor fg = ToColour(m.foreground);
        const QColor bg = ToColour(m.background);
        setCaption(m.caption);
        if (fg == m_foreground && bg == m_background)
            return;
        m_foreground = fg;
        m_background = bg;
        update();
    }

    QSize sizeHint() const override { return { fontMetrics().horizontalAdvance(caption()) + 16, RowHeight }; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *) override { paintTile(4, m_background, m_foreground, caption()); }
    void hovered() override { m_controller.hoverMonth(m_month); }
    void clicked() override { m_controller.clickMonth(m_month); }

private:
    MatchdaysController &m_controller;
    int m_month;
    QColor m_foreground;
    QColor m_background;
};

// A matchday of the month on show: its number and date in the model's colour.
class CalendarDay : public ModelTile
{
public:
    CalendarDay(MatchdaysController &controller, int day, QWidget *parent)
        : ModelTile(QStringLiteral("calendarDay%1").arg(day), parent)
        , m_controller(controller)
        , m_day(day)
    {
        setAttribute(Qt::WA_Hover);
        setFont(UiFont(8.5, true));
        setFixedHeight(RowHeight);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        setToolTip(QStringLiteral("Afficher cette journée"));
        hide();
    }

    void draw(const CalendarModel::Day &d)
    {
        const QColor fg = ToColour(d.foreground);
        setCaption(d.caption);
        if (fg != m_foreground) {
            m_foreground = fg;
            update();
        }
        SetShown(this, d.visible);
    }

    QSize sizeHint() const override { return { fontMetrics().horizontalAdvance(caption()) + 20, RowHeight }; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(underMouse() ? Palette::Teal : Palette::CardBorder);
        p.setBrush(underMouse() ? QColor(227, 242, 242) : QColor(246, 248, 251));
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        p.setPen(m_foreground);
        p.drawText(rect(), Qt::AlignCenter, caption());
        p.end();
        if (hasFocus())
            PaintFocusMark(this, 4);
    }
    void hovered() override { m_controller.hoverCalendarDay(m_day); }
    void clicked() override { m_controller.clickCalendarDay(m_day); }

private:
    MatchdaysController &m_controller;
    int m_day;
    QColor m_foreground;
};

CalendarRibbon::CalendarRibbon(MatchdaysController &controller, QWidget *parent)
    : QFrame(parent)
    , m_controller(controller)
{
    setObjectName(QStringLiteral("calendar"));
    setProperty("kcard", true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 6, 10, 6);
    layout->setSpacing(5);

    auto *months = new QHBoxLayout;
    months->setSpacing(4);
    months->addWidget(rowCaption(QStringLiteral("Calendrier"), this));
    for (int m = 0; m < CalendarModel::MonthCount; ++m) {
        m_months[m] = new CalendarMonth(m_controller, m, this);
        months->addWidget(m_months[m], 1);
    }
    layout->addLayout(months);

    auto *days = new QHBoxLayout;
    days->setSpacing(6);
    days->addWidget(rowCaption(QStringLiteral("Journées"), this));
    for (int k = 0; k < CalendarModel::DayCount; ++k) {
        m_days[k] = new CalendarDay(m_controller, k, this);
        days->addWidget(m_days[k]);
    }
    days->addStretch(1);
    m_lock = new QCheckBox(QStringLiteral("Verrouillé"), this);
    m_lock->setObjectName(QStringLiteral("calendarLock"));
    m_lock->setCursor(Qt::PointingHandCursor);
    m_lock->setToolTip(QStringLiteral("Le mois affiché ne suit plus la souris"));
    connect(m_lock, &QCheckBox::clicked, this, [this](bool on) { m_controller.setCalendarLock(on); });
    days->addWidget(m_lock);
    auto *daysRow = new QWidget(this);
    daysRow->setFixedHeight(RowHeight);
    daysRow->setLayout(days);
    days->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(daysRow);

    connect(&m_controller.calendar(), &CalendarModel::changed, this, &CalendarRibbon::refresh);
    refresh();
}

void CalendarRibbon::refresh()
{
    const CalendarModel &calendar = m_controller.calendar();
    for (int m = 0; m < CalendarModel::MonthCount; ++m)
        m_months[m]->draw(calendar.months[m]);
    for (int k = 0; k < CalendarModel::DayCount; ++k)
        m_days[k]->draw(calendar.days[k]);
    if (m_lock->isChecked() != calendar.locked)
        m_lock->setChecked(calendar.locked);
}

} // namespace kestrava
