#pragma once
#include "TaskButtonLayout.h"

#include <QAbstractButton>
#include <QIcon>

class CTrayToolTip;
class CZarvoTrayApp;

// The large button at the top of the tray window that shows the current
// entry (title, project, activity, start, end) with its pause or resume
// picture. A click reaches the window, which pauses or resumes. It paints
// everything itself from what the tray keeps in memory; its tip is the
// entry's details and the click hint.
class CViewTask : public QAbstractButton
{
    Q_OBJECT
public:
    enum : int { ControlId = 1004 };
    // Its pictures, by their numbers: the entry runs, the entry ended.
    enum class Picture { None = 0, Running = 133, Ended = 134 };

    CViewTask(CZarvoTrayApp &app, QWidget *parent = nullptr);

    // After each reload: the tip's text and the number of lines; true when
    // the number of lines changed (the window lays itself out again).
    bool UpdateTaskState();
    int LineCount() const { return m_lines; }
    // The height to show at: the height it was made at, a quarter more
    // with a title.
    int PreferredHeight();
    // The lines as the last paint laid them out, and its picture.
    const std::vector<TaskButtonLayout::tLine> &PaintedLines() const { return m_painted; }
    Picture PaintedPicture() const { return m_paintedPicture; }
    CTrayToolTip *ToolTip() const { return m_tip; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TaskButtonLayout::tInput LayoutInput() const;

    CZarvoTrayApp &m_app;
    CTrayToolTip *m_tip = nullptr;
    int m_lines = 4;
    int m_baseHeight = -1;
    QIcon m_running, m_ended;
    std::vector<TaskButtonLayout::tLine> m_painted;
    Picture m_paintedPicture = Picture::None;
};
