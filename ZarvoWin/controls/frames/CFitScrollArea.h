#pragma once
#include <QScrollArea>

// A part of a window that scrolls only where the screen is too small for
// it: its sizes are its contents' own, so that on a screen with room the
// window looks as it would without it; where ScreenFit::ShrinkParts lowers
// its smallest size, the contents keep theirs and scroll.
class CFitScrollArea : public QScrollArea
{
    Q_OBJECT
public:
    explicit CFitScrollArea(QWidget *contents, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
