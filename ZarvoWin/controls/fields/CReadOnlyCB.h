#pragma once
#include <QComboBox>

class QPainter;

// A drop-down list whose closed field reads like plain text: the chosen
// item on white, with the highlight only behind the text itself while the
// box has the focus, where the open list highlights whole rows. Long texts
// are cut with "..." at the end. An index outside the items draws nothing.
class CReadOnlyCB : public QComboBox
{
    Q_OBJECT
public:
    // Space left and right of the text in the open list and in the field.
    static constexpr int ListInset = 4;
    static constexpr int FieldInset = 1;

    explicit CReadOnlyCB(QWidget *parent = nullptr);

    struct ItemLook
    {
        bool selected = false; // highlighted row, or the field with the focus
        bool inField = false;  // the closed field rather than the list
        bool enabled = true;
    };
    // Draws one item's text into `rect` (the whole row or field).
    static void DrawItem(QPainter &painter, const QRect &rect, const QString &text, const QPalette &palette,
                         const ItemLook &look);
    // The box painted behind the text of the selected closed field: from the
    // text rectangle's left over the text's width (not beyond the
    // rectangle); when the text is lower than the rectangle it grows by one
    // pixel left and right and runs from one pixel above the centred text to
    // two below it.
    static QRect HighlightBox(const QRect &textRect, int textWidth, int textHeight);

protected:
    void paintEvent(QPaintEvent *event) override;
};
