#pragma once
#include <QDate>
#include <QPoint>
#include <QWidget>
#include <QtGlobal>

class CCalendarCtrl;
class QScrollBar;

// One day of the month view: a 15-pixel header with the day (and the week
// on the days that begin one) and the day's total, then the day's entries
// in rows of 30 pixels, scrolled with a scroll bar of its own when they do
// not all fit.
class CDay : public QWidget
{
    Q_OBJECT
public:
    static constexpr int HeaderHeight = 15;
    static constexpr int RowHeight = 30;
    static constexpr int RowTop = 16;
    static constexpr int RowDrawnHeight = 28;

    CDay(CCalendarCtrl &calendar, QWidget *parent);

    // Shows `date` from its first entry; an invalid date is refused.
    bool SetDate(const QDate &date);
    const QDate &Date() const { return m_date; }
    // The index in the day's entries of the row under a point; -1 in the
    // header, below the last whole row or past the entries.
    int HitTest(const QPoint &point) const;
    // The first entry shown.
    int ScrollPos() const { return m_scrollPos; }
    void SetScrollPos(int pos);
    // Whole rows the cell shows.
    int VisibleRows() const;
    QScrollBar *ScrollBar() const { return m_bar; }
    // The recorded time of the day, as the last painting counted it.
    qint64 Total() const { return m_total; }
    // Recomputes the scroll range from the day's entries.
    void UpdateScrollBar();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool event(QEvent *event) override;

private:
    int EntryCount() const;
    int ClientWidth() const;

    CCalendarCtrl &m_calendar;
    QScrollBar *m_bar = nullptr;
    QDate m_date;
    int m_scrollPos = 0;
    qint64 m_total = 0;
    QPoint m_lastMouse{-1, -1};
};
