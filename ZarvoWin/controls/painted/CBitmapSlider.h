#pragma once
#include "CPaintedSlider.h"

// A slider drawn entirely from pictures: a channel (474) with a filled part
// (476) up to the thumb (477, or 475 while dragged), the thumb see-through
// where its top-left pixel's colour is. The owner listens to its three
// signals, each carrying the slider's id.
class CBitmapSlider : public CPaintedSlider
{
    Q_OBJECT
public:
    // Numbers of the three notifications, kept for owners that dispatch on
    // them.
    static constexpr int UWM_SLIDER_MOVING = 0x28D1;
    static constexpr int UWM_SLIDER_MOVED = 0x28D2;
    static constexpr int UWM_SLIDER_CLICKED = 0x28D3;

    explicit CBitmapSlider(QWidget *parent = nullptr);

    // In notify-only mode clicks and keys change nothing and only emit
    // clicked().
    void SetNotifyOnly(bool notifyOnly) { m_notifyOnly = notifyOnly; }
    bool IsNotifyOnly() const { return m_notifyOnly; }

    bool IsDragging() const { return m_dragging; }

signals:
    // While the thumb is dragged, each time the position changes.
    void moving(int id, int position);
    // After a drag ends, and after each key that moves the thumb.
    void moved(int id, int position);
    // A click or key in notify-only mode.
    void clicked(int id);

protected:
    SliderGeometry &Measures() override { return m_measures; }

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void DragTo(int coordinate);

    SliderGeometry m_measures;
    int m_grabOffset = 0;
    bool m_dragging = false;
    bool m_notifyOnly = false;
};
