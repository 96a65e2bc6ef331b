#pragma once
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

class CMyMFCButton;
class CZarvoTrayApp;

// The summary panel under the tray window's toolbar: the user's name (a
// link to choose another user), the newest entry's time (a click pauses or
// resumes it) and today's total, each with its picture. It is shown at the
// size it was given when the window made it; a refresh shows what changed
// and repaints only then.
class CViewResume : public QWidget
{
    Q_OBJECT
public:
    // Control numbers of the panel's buttons.
    enum : int { UserButtonId = 1002, TaskButtonId = 1004, TodayButtonId = 1034 };
    // The pictures of the newest entry's button.
    enum class TaskPicture { None = 168, Ended = 160, Running = 161 };

    CViewResume(CZarvoTrayApp &app, QWidget *trayWindow, QWidget *parent);

    // The size the panel was made at, which the window's size rules use.
    QSize RecordedSize() const { return m_recorded; }
    // Shows the application's texts, the newest entry's picture and the
    // user's name; true when anything changed (and was repainted).
    bool Refresh();
    // Without a usable database the Infos window shows its buttons empty,
    // with the neutral picture, rather than another user's day.
    void SetBlank(bool blank) { m_blank = blank; }
    // Sets the three tooltips again (after a change of language).
    void Retranslate();

    TaskPicture CurrentPicture() const { return m_picture; }
    CMyMFCButton *UserButton() const { return m_user; }
    CMyMFCButton *TaskButton() const { return m_task; }
    CMyMFCButton *TodayButton() const { return m_today; }

    // The buttons' places for a client width: the user's button across the
    // panel less the margin `m` on each side; the two value buttons share
    // the rest equally, with `m` between them.
    struct tGeometry
    {
        QRect user, task, today;
    };
    static tGeometry Geometry(int clientWidth, int margin, int userTop, int userHeight, int valuesTop,
                              int valuesHeight);
    static TaskPicture PictureFor(qint64 lastStart, qint64 lastEnd, bool known, qint64 now);

signals:
    void pauseOrResume();
    void chooseUser();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    CZarvoTrayApp &m_app;
    CMyMFCButton *m_user = nullptr;
    CMyMFCButton *m_task = nullptr;
    CMyMFCButton *m_today = nullptr;
    QSize m_recorded;
    int m_margin = 5;
    // What is shown, to repaint only on a change.
    QString m_shownTask, m_shownToday, m_shownUser;
    TaskPicture m_picture = TaskPicture::None;
    bool m_refreshed = false;
    bool m_blank = false;
};
