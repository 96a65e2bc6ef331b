#pragma once
#include "CTextMeasure.h"
#include "CViewCommandTarget.h"
#include "EntryToolTip.h"
#include "tEntryBoxTexts.h"

#include <QDate>
#include <QFont>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <array>
#include <memory>

class CDay;
class CTimeEntryHost;
struct tTacheParams;

// The month view: the weeks of the current date's month (4 to 6 rows of 7
// days) under a header of weekday names, each day a CDay showing its
// entries from the day cache. A click selects an entry (shared with the
// week view) or, on a day's header, makes that day the current date; the
// wheel moves to the previous or next month; the context menu offers the
// entry commands.
class CCalendarCtrl : public QWidget, public CViewCommandTarget
{
    Q_OBJECT
public:
    static constexpr int CellCount = 42;

    explicit CCalendarCtrl(CTimeEntryHost &host, QWidget *parent = nullptr);
    ~CCalendarCtrl() override;

    // Shows the month of the current date: its days loaded into the day
    // cache, the cells dated, the title set.
    void Reload();
    // The 30-second refresh: today's cell is repainted while an entry runs.
    void RefreshRunningEntry();

    int Rows() const { return m_rows; }
    CDay *Cell(int i) const { return m_cells[size_t(i)]; }
    // The month and year shown, as given to the calendar window.
    const QString &Title() const { return m_title; }
    const QDate &ContextDay() const { return m_contextDay; }
    // The tooltip shown now; empty when none.
    const tEntryTip &ToolTip() const { return m_tip; }

    bool HandlesCommand(int id) const override;
    bool IsCommandEnabled(int id) const override;
    void OnCommand(int id) override;

    // What the cells ask of their calendar.
    CTimeEntryHost &Host() { return m_host; }
    const QFont &CellFont() const { return m_font; }
    const CTextMeasure &Measure() const { return *m_measure; }
    const QPixmap &NotesIcon() const { return m_notesIcon; }
    const tEntryBoxTexts &Texts() const { return m_texts; }
    quint32 FallbackColour() const { return m_fallbackColour; }
    // A click below a day's header: the entry under it becomes the
    // selected one.
    void SelectEntry(int id);
    void OnDayHeaderClicked(const QDate &date);
    void OnDayHeaderDoubleClicked();
    void OnEntryDoubleClicked(const QDate &date, const tTacheParams &entry);
    void OnCellContextMenu(CDay &day, const QPoint &point, const QPoint &globalPos);
    void ShowEntryTip(const tTacheParams *entry);
    // Repaints every shown cell (the selection changed).
    void RepaintCells();

signals:
    void titleChanged(const QString &title);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void LayOutCells();
    // What the tooltip says at a point of the calendar.
    tEntryTip ToolTipAt(const QPoint &point);
    void AddEntry();

    CTimeEntryHost &m_host;
    std::array<CDay *, CellCount> m_cells{};
    int m_rows = 0;
    QDate m_contextDay;
    QString m_title;
    QFont m_font;
    std::unique_ptr<CTextMeasure> m_measure;
    QPixmap m_notesIcon;
    tEntryBoxTexts m_texts;
    quint32 m_fallbackColour = 0;
    tEntryTip m_tip;
};
