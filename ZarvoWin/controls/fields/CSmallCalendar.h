#pragma once
#include "SmallCalendarLayout.h"

#include <QDate>
#include <QStringList>
#include <QWidget>

class CMarkedDays;

// A painted month grid: the shown month with the leading and trailing days
// of its neighbours in grey, a header of day names starting on the
// configured first day of the week, and the days of an attached list of
// days off shaded. A click marks or unmarks a day in that list, Shift and a
// click a range from the last plain click; every click is then told to the
// host through clicked(). With no list attached nothing is shaded and clicks
// do nothing at all.
class CSmallCalendar : public QWidget
{
    Q_OBJECT
public:
    // The number the host's handler knows the click notice by.
    static constexpr int ClickMessage = 0x81AA;
    // The shade of a day off.
    static constexpr QRgb DayOffShade = 0xFFF0F0F0;

    explicit CSmallCalendar(QWidget *parent = nullptr);

    // The host's list of days off (not owned; null detaches it).
    void SetMarkedDays(CMarkedDays *days);
    CMarkedDays *MarkedDays() const { return m_days; }

    // The shown month (any day of it); lays the grid out again.
    void SetMonth(const QDate &month);
    QDate Month() const { return m_month; }

    // Reads the day names again in the configured order (after a change of
    // language or of the first day of the week).
    void LoadDayNames();
    // Computes the rows and the first shown day again from the month and
    // the configured first day of the week.
    void ComputeLayout();

    int Rows() const { return m_rows; }
    QDate FirstShownDate() const { return m_firstShown; }
    // The day a Shift-click range starts from; invalid before any click.
    QDate Anchor() const { return m_anchor; }
    const QStringList &DayNames() const { return m_dayNames; }
    // The geometry of the last layout at the widget's size.
    SmallCalendarLayout Layout() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // After every click handled with a list attached (also one that hit no
    // day); `controlId` is the widget's "controlId" property, -1 without.
    void clicked(int controlId);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QDate m_month;
    int m_rows = 5;
    QDate m_firstShown;
    QDate m_anchor;
    QStringList m_dayNames;
    CMarkedDays *m_days = nullptr;
};
