#pragma once
#include <QScrollArea>

// A part of a window that scrolls only where the screen is too small for
// it, and only downwards: its sizes are its contents' own, so that on a
// screen with room the window looks as it would without it; where
// ScreenFit::ShrinkParts lowers its smallest height, the contents keep
// theirs and scroll. Across, the contents always take the width of the
// area (their fields narrowed, their columns one under the other where
// the screen is narrow), never more.
class CFitScrollArea : public QScrollArea
{
    Q_OBJECT
public:
    explicit CFitScrollArea(QWidget *contents, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The contents' smallest size changed while shown (fields shown or
    // hidden on a page): the window fits its screen again. Sent once the
    // events waiting are handled, once for several changes.
    void contentsMinimumChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QSize m_lastMinimum;
    bool m_pending = false;
};
