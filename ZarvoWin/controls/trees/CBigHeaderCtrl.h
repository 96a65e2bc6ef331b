#pragma once
#include <QHeaderView>
#include <QMap>

// A column header that can be half as tall again as the standard one and
// draws its own sort marks (several columns may carry one), the column's
// image and its text shortened with an ellipsis.
class CBigHeaderCtrl : public QHeaderView
{
    Q_OBJECT
public:
    explicit CBigHeaderCtrl(QWidget *parent = nullptr);

    void SetTall(bool tall);
    bool IsTall() const { return m_tall; }

    // Sort state of a column: 0 none, positive ascending, negative
    // descending. The view's own sort indicator sets a single column.
    void SetSortState(int logicalIndex, int state);
    int SortState(int logicalIndex) const { return m_sortStates.value(logicalIndex, 0); }
    void ClearSortStates();

    QSize sizeHint() const override;

    // Square in which a column's sort mark is drawn, from the section's
    // rectangle (exclusive right and bottom, like every rectangle here).
    static QRect SortMarkRect(const QRect &section, bool tall, bool pressed);

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_tall = false;
    int m_pressed = -1;
    QMap<int, int> m_sortStates;
};
