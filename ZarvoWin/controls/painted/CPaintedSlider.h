#pragma once
#include "SliderGeometry.h"

#include <QPixmap>
#include <QWidget>

class QPainter;

// What the bitmap slider and the range slider share as windows: their four
// pictures (a channel, its active version, a thumb and its active version,
// the thumbs see-through where their top-left pixel's colour is), the
// single position with its range, page and margins, the id carried by
// their signals and the focus rectangle.
class CPaintedSlider : public QWidget
{
    Q_OBJECT
public:
    // Numbers of the slider's pictures.
    struct PictureIds
    {
        int channel;
        int activeChannel;
        int thumb;
        int activeThumb;
    };

    int Id() const { return m_id; }
    void SetId(int id) { m_id = id; }

    // The channel and its active version; the slider takes the channel's
    // size. False, with neither kept, when either picture is missing.
    bool SetChannelBitmaps();
    bool SetChannelBitmaps(const QImage &channel, const QImage &activeChannel);
    // The thumb and its active version, the thumb giving the thumb size.
    // False, with neither kept, when either is missing.
    bool SetThumbBitmaps();
    bool SetThumbBitmaps(const QImage &thumb, const QImage &activeThumb);

    void SetRange(int minimum, int maximum);
    int GetRangeMin() const { return Geometry().minimum; }
    int GetRangeMax() const { return Geometry().maximum; }
    // Clamped to the range; repaints.
    void SetPos(int value);
    int GetPos() const { return Geometry().position; }
    void SetPageSize(int page) { Measures().pageSize = page; }
    int GetPageSize() const { return Geometry().pageSize; }
    void SetMargins(int left, int top, int right, int bottom);
    void SetVertical(bool vertical);
    void SetDrawFocusRect(bool draw);

    const SliderGeometry &Geometry() const { return const_cast<CPaintedSlider *>(this)->Measures(); }

    QSize sizeHint() const override;

protected:
    CPaintedSlider(const PictureIds &pictures, QWidget *parent);

    // The slider's measures, kept by the derived class.
    virtual SliderGeometry &Measures() = 0;
    // The size the channel picture takes on screen.
    virtual QSize ChannelSizeOnScreen() const { return m_channel.size(); }

    // Sets the measures and the window to the channel's size; without a
    // channel picture, the channel is the whole window.
    void ApplyChannelSize();
    int AxisCoordinate(const QPoint &point) const;
    void PaintFocusRect(QPainter &painter);

    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

    QPixmap m_channel;
    QPixmap m_activeChannel;
    QPixmap m_thumb;
    QPixmap m_activeThumb;

private:
    PictureIds m_pictureIds;
    int m_id = 0;
    bool m_drawFocusRect = true;
};
