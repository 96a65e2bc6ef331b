#pragma once
#include <QDateEdit>

// The date picker of the main toolbar (command 33001): a date field with a
// drop-down month calendar. It tells its command once per change typed in
// the field and once when the calendar closes, never for the moves made
// inside the open calendar.
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

signals:
    void command(int id);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void OnDateChanged();

    bool m_droppedDown = false;
    bool m_silent = false;
};
