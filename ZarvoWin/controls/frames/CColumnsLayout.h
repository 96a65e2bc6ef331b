#pragma once
#include <QBoxLayout>

// Columns of a page side by side, as a horizontal box with the same sizes
// and stretches places them; where they may stack (a screen too narrow
// for the window: ScreenFit::ShrinkParts allows it), one under the other
// wherever the width given does not hold them all at their smallest, so
// that the page keeps its texts and buttons whole and grows downwards,
// into the area that scrolls it, instead of across. Between two columns
// lie the layout's spacing and `gap` more (which the columns' own layouts,
// taking their spacing from this one, do not take).
class CColumnsLayout : public QBoxLayout
{
public:
    explicit CColumnsLayout(QWidget *parent = nullptr, int gap = 0);

    void AddColumn(QLayout *column, int stretch = 0);

    // Whether the columns may stand one under the other; not at first.
    void SetMayStack(bool may);
    bool MayStack() const { return m_mayStack; }

    // The columns side by side, however they stand now.
    QSize sizeHint() const override;
    // Across, the widest column where they may stack, else all side by
    // side; down, the columns as they stand now.
    QSize minimumSize() const override;
    void setGeometry(const QRect &rect) override;

    // Whether the columns stand one under the other.
    bool Stacked() const { return direction() == TopToBottom; }
    // The least width that holds the columns side by side.
    int SideBySideWidth() const;

private:
    int m_gap;
    bool m_mayStack = false;
};
