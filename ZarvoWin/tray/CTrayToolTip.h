#pragma once
#include "CMyToolTipCtrl.h"
#include "tTacheFull.h"

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

class CTrayProjectStore;
class TrayTexts;

// The tooltip of the tray's windows: a bold label over a description, with
// the tray's picture beside the live texts of the current-task button, the
// day strip and the summary's buttons. Those tips are made when they show,
// from what the tray keeps in memory (never from the database), and they
// stay above their control when the screen's bottom is near. Toolbar tips
// take their label and description from the command's text.
class CTrayToolTip : public CMyToolTipCtrl
{
    Q_OBJECT
public:
    // The picture's size beside the live texts.
    static constexpr int PictureSize = 20;
    // Label and description wrap at this width, however long a name or a
    // line of notes.
    static constexpr int TextWidthLimit = 600;
    // The tray's texts by number.
    using TextLookup = std::function<QString(int id)>;

    // With `picture` the tray's picture is drawn at the left.
    explicit CTrayToolTip(bool picture, QWidget *parent = nullptr);

    // The control whose top the tip ends above when it must move up (null:
    // only the cursor bounds it).
    void KeepAbove(QWidget *control) { m_keepAbove = control; }
    void SetRoundedCorners(bool rounded);

    // The current entry's details and the click hint: "Aucune tâche"
    // without one, the future-entry warning for one that starts or ends
    // after now; otherwise title, project, activity, start, end (or
    // "En cours…") and duration, then the hint when both ends lie before
    // now.
    static QString BuildTaskDescription(const tTacheFull &task, qint64 now, const TrayTexts &texts,
                                        const CTrayProjectStore &store, const TextLookup &text);
    // The number of today's entries and, with any, today's total.
    static QString BuildDaySummary(size_t count, const QString &todayTotal, const TrayTexts &texts,
                                   const TextLookup &text);
    // An entry of the day strip: the label (title, project, activity) and
    // the description (start, end, duration and notes).
    static tToolTipContent EntryContent(const tTacheFull &task, qint64 now, const TrayTexts &texts,
                                        const CTrayProjectStore &store);
    // A toolbar command's tip from its text, "description\nlabel".
    static tToolTipContent CommandContent(const QString &commandText);

    // Where a tip of `size` goes for a cursor at `cursor` (whose picture is
    // `cursorHeight` high) in the work area of the screen under it: below
    // the cursor; above it when the bottom would pass the work area, ending
    // above `maxBottom` too when that is given (not -1); held inside the
    // work area.
    static QPoint Placement(const QSize &size, const QPoint &cursor, int cursorHeight, const QRect &workArea,
                            int maxBottom);
    // The room Placement gives a tip: the work area's width, and the height
    // of the larger of the spaces below the cursor and above it (and above
    // `maxBottom`), so that the tip never lies over the cursor.
    static QSize Room(const QPoint &cursor, int cursorHeight, const QRect &workArea, int maxBottom);

protected:
    QPoint TipPosition(const QPoint &globalPos, const QRect &area) const override;
    QSize RoomAt(const QPoint &globalPos, const QRect &area) const override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The screen line the tip ends above when it must move up, -1 for none.
    int MaxBottom() const;

    QPointer<QWidget> m_keepAbove;
    bool m_rounded = false;
};
