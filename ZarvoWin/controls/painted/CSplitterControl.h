#pragma once
#include <QPointer>
#include <QWidget>

class QRubberBand;

// A thin bar the user drags to move the border between two neighbouring
// controls. While dragging it shows a line where the border would go; on
// release it moves there and either resizes the pair attached to it or
// tells its owner how far the border moved.
class CSplitterControl : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kDefaultId = 2316;
    // Number of the notification the owner gets when no pair is attached.
    static constexpr int UWM_SPLITTER_MOVED = 0x806D;
    static constexpr int kThickness = 5;

    enum Orientation {
        VerticalBar = 1,   // moved horizontally
        HorizontalBar = 2, // moved vertically
    };
    enum Side {
        RightSide = 1,
        LeftSide = 2,
    };

    explicit CSplitterControl(QWidget *parent = nullptr);

    // Places the bar in `rect` (parent coordinates): a rectangle narrower
    // than high makes a vertical bar, anything else a horizontal one; it is
    // made 5 pixels thick. The range collapses to the bar's centre until
    // the host sets it.
    void Create(const QRect &rect, QWidget *parent);

    int Id() const { return m_id; }
    void SetId(int id) { m_id = id; }
    int GetOrientation() const { return m_orientation; }

    // Range of the border's position along the moving axis, in the
    // parent's coordinates.
    void SetRange(int minimum, int maximum);
    int RangeMin() const { return m_minimum; }
    int RangeMax() const { return m_maximum; }

    // The controls before and after the bar, resized on release; with
    // either missing the owner is told through moved() instead.
    void AttachPair(QWidget *before, QWidget *after);

    // Widens `control` by `delta` on its right (side 1) or its left
    // (side 2), in its parent's coordinates.
    static void ChangeWidth(int side, QWidget *control, int delta);

    bool IsDragging() const { return m_dragging; }
    // The tracking line shown while dragging (null otherwise).
    const QRubberBand *TrackingLine() const { return m_line; }

signals:
    void moved(int id, int delta);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int CentreAlongAxis() const;
    void ShowLineAt(int position);

    int m_id = kDefaultId;
    int m_orientation = HorizontalBar;
    int m_minimum = 0;
    int m_maximum = 0;
    bool m_dragging = false;
    int m_downPosition = 0;
    int m_tracked = 0;
    QPointer<QWidget> m_before;
    QPointer<QWidget> m_after;
    QRubberBand *m_line = nullptr;
};
