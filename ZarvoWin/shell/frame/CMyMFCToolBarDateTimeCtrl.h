#pragma once
#include <QDate>
#include <QDateEdit>

// The date picker of the main toolbar (command 33001): a date field with a
// drop-down month calendar. It tells its command when its date moved: once
// per date typed in the field (on Enter, when the field is left, or before
// a command that a click or a shortcut runs meanwhile; never at each key of
// a date being typed), once per step of its arrows, and once
// when the calendar closes, never for the moves made inside the open
// calendar.
class CMyMFCToolBarDateTimeCtrl : public QDateEdit
{
    Q_OBJECT
public:
    static constexpr int CommandId = 33001;

    explicit CMyMFCToolBarDateTimeCtrl(QWidget *parent = nullptr);

    // Shows `date` without telling the command (the application moved the
    // date itself).
    void SetTimeAll(const QDate &date);
    // The calendar's first day of the week, Sunday = 1 .. Saturday = 7.
    void SetFirstDayOfWeek(int weekday);
    bool IsDroppedDown() const { return m_droppedDown; }

    void stepBy(int steps) override;

signals:
    void command(int id);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Tells the command when the date differs from the one last told or
    // set by the application.
    void TellIfMoved();

    bool m_droppedDown = false;
    QDate m_told;
};
