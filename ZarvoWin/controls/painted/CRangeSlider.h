#pragma once
#include "CPaintedSlider.h"
#include "RangeSliderModel.h"

// A slider on which the user lays out several zones that do not overlap
// (the working periods of a day), under a scale of labelled marks. Its
// pictures: channel 482 (400 x 40), zone strips 483 (11 rows for a zone,
// 11 for the selected one) and thumbs 484 and 485 (the selected zone's).
// All of its arithmetic is in RangeSliderModel; the widget paints it and
// routes the mouse and keys there.
class CRangeSlider : public CPaintedSlider
{
    Q_OBJECT
public:
    using tZone = RangeSliderModel::tZone;
    using tScale = RangeSliderModel::tScale;

    explicit CRangeSlider(QWidget *parent = nullptr);

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
    // Row of the channel where the zone strips lie (once it is loaded).
    int ZoneBandTop() const { return m_channel.isNull() ? 0 : kZoneBandTop; }

signals:
    // At a press and at every move while dragging.
    void changing(int id, int position);
    // At the release and after each key step.
    void changed(int id, int position);

protected:
    SliderGeometry &Measures() override { return m_model.geometry; }
    // A vertical slider shows the channel turned on its side.
    QSize ChannelSizeOnScreen() const override;

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void PaintScale(QPainter &painter);
    void PaintThumb(QPainter &painter, const QPixmap &thumb, int pixel);

    static constexpr int kZoneBandTop = 17;

    RangeSliderModel m_model;
    bool m_dragging = false;
};
