#pragma once
#include "RangeSliderModel.h"

#include <QPixmap>
#include <QWidget>

// A slider on which the user lays out several zones that do not overlap
// (the working periods of a day), under a scale of labelled marks. All of
// its arithmetic is in RangeSliderModel; the widget paints it and routes
// the mouse and keys there.
class CRangeSlider : public QWidget
{
    Q_OBJECT
public:
    using tZone = RangeSliderModel::tZone;
    using tScale = RangeSliderModel::tScale;

    explicit CRangeSlider(QWidget *parent = nullptr);

    int Id() const { return m_id; }
    void SetId(int id) { m_id = id; }

    // Channel 482 and zone strips 483; the slider takes the channel's size
    // and the zones' band starts at row 17. False, with neither kept, when
    // either picture is missing.
    bool SetChannelBitmaps();
    bool SetChannelBitmaps(const QImage &channel, const QImage &zoneStrips);
    // Thumbs 484 and 485 (the selected zone's). False when either is missing.
    bool SetThumbBitmaps();
    bool SetThumbBitmaps(const QImage &thumb, const QImage &selectedThumb);

    void SetRange(int minimum, int maximum);
    void SetPos(int value);
    int GetPos() const { return m_model.geometry.position; }
    void SetPageSize(int page) { m_model.geometry.pageSize = page; }
    void SetMargins(int left, int top, int right, int bottom);
    void SetVertical(bool vertical);
    void SetDrawFocusRect(bool draw);

    int ValueToPixel(int value) const { return m_model.ValueToPixel(value); }
    int PixelToValue(int pixel) const { return m_model.PixelToValue(pixel); }

    // The zones, read and filled by the host; repaint() after changing them.
    std::vector<tZone> &Zones() { return m_model.zones; }
    int SelectedZone() const { return m_model.selected; }
    void SetSelectedIndex(int index);
    void AppendZone(int from, int to);
    void RemoveSelectedZone();
    void ResetSelection();

    bool SetSelectedZone(int kind, int value);
    void AddScaleMark(int value, const QString &label);
    qint64 GetTotalSeconds() const { return m_model.GetTotalSeconds(); }

    const RangeSliderModel &Model() const { return m_model; }
    bool IsDragging() const { return m_dragging; }
    int ZoneBandTop() const { return m_zoneBandTop; }

    QSize sizeHint() const override;

signals:
    // At a press and at every move while dragging.
    void changing(int id, int position);
    // At the release and after each key step.
    void changed(int id, int position);

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
    void ApplyChannelSize();
    void PaintScale(QPainter &painter);
    void PaintThumb(QPainter &painter, const QPixmap &thumb, int pixel);

    RangeSliderModel m_model;
    int m_id = 0;
    int m_zoneBandTop = 0;
    bool m_dragging = false;
    bool m_drawFocusRect = true;

    QPixmap m_channel;
    QPixmap m_zoneStrips;
    QPixmap m_thumb;
    QPixmap m_selectedThumb;
};
