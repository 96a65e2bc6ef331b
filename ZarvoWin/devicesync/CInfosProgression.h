#pragma once
#include <QIcon>
#include <QString>
#include <QWidget>
#include <vector>

// The step list of a synchronisation run: one line per step, a running
// step followed by " : En cours…", a done or failed one by its icon.
class CInfosProgression : public QWidget
{
    Q_OBJECT
public:
    enum State { Running = 0, Done = 1, Failed = 2 };
    struct Step
    {
        QString text;
        int state = Running;
    };

    explicit CInfosProgression(QWidget *parent = nullptr);

    // Appends a step (by its text) and repaints at once.
    void AppendStep(const QString &text, int state);
    // The state of the last step; nothing when there is none.
    void SetLastStepState(int state);
    const std::vector<Step> &Steps() const { return m_steps; }
    // The height of one row: the text's, at least 20 pixels.
    int RowHeight() const;

    // Room for every step (at least eight) at its whole width: the run's
    // window grows with its steps rather than cutting the last ones off.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<Step> m_steps;
    QIcon m_done;
    QIcon m_failed;
};
