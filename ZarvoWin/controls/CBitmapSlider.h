#pragma once
#include "SliderGeometry.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

// A slider drawn entirely from pictures: a channel (with a filled part up
// to the thumb when there is one) and a thumb, see-through where its
// top-left pixel's colour is. The owner listens to its three signals, each
// carrying the slider's id.
class CBitmapSlider : public QWidget
{
    Q_OBJECT
public:
    // Numbers of the three notifications, kept for owners that dispatch on
    // them.
    static constexpr int UWM_SLIDER_MOVING = 0x28D1;
    static constexpr int UWM_SLIDER_MOVED = 0x28D2;
    static constexpr int UWM_SLIDER_CLICKED = 0x28D3;

    explicit CBitmapSlider(QWidget *parent = nullptr);

    int Id() const { return m_id; }
    void SetId(int id) { m_id = id; }

    // Channel 474 and its filled part 476; the slider takes the channel's
    // size. False (nothing kept) when either picture is missing.
    bool SetChannelBitmaps();
    bool SetChannelBitmaps(const QImage &channel, const QImage &activeChannel);
    // Thumb 477 and the dragged thumb 475. False when either is missing.
    bool SetThumbBitmaps();
    bool SetThumbBitmaps(const QImage &thumb, const QImage &activeThumb);

    void SetRange(int minimum, int maximum);
    int GetRangeMin() const { return m_geometry.minimum; }
    int GetRangeMax() const { return m_geometry.maximum; }
    // Clamped to the range; repaints.
    void SetPos(int value);
    int GetPos() const { return m_geometry.position; }
    void SetPageSize(int page) { m_geometry.pageSize = page; }
    int GetPageSize() const { return m_geometry.pageSize; }
    void SetMargins(int left, int top, int right, int bottom);
    void SetVertical(bool vertical);
    // In notify-only mode clicks and keys change nothing and only emit
    // clicked().
    void SetNotifyOnly(bool notifyOnly) { m_notifyOnly = notifyOnly; }
    bool IsNotifyOnly() const { return m_notifyOnly; }
    void SetDrawFocusRect(bool draw);

    const SliderGeometry &Geometry() const { return m_geometry; }
    bool IsDragging() const { return m_dragging; }

    QSize sizeHint() const override;

signals:
    // While the thumb is dragged, each time the position changes.
    void moving(int id, int position);
    // After a drag ends, and after each key that moves the thumb.
    void moved(int id, int position);
    // A click or key in notify-only mode.
    void clicked(int id);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    int AxisCoordinate(const QPoint &point) const;
    void DragTo(int coordinate);

    SliderGeometry m_geometry;
    int m_id = 0;
    int m_grabOffset = 0;
    bool m_dragging = false;
    bool m_notifyOnly = false;
    bool m_drawFocusRect = true;

    QPixmap m_channel;
    QPixmap m_activeChannel;
    QPixmap m_thumb;
    QPixmap m_activeThumb;
};
