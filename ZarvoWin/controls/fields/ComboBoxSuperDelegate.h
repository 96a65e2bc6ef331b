#pragma once
#include <QStyledItemDelegate>

class CComboBoxSuper;

// Paints the items of CComboBoxSuper's list: background, tree lines,
// icon, bold, and the text shortened at its front.
class ComboBoxSuperDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit ComboBoxSuperDelegate(CComboBoxSuper *combo);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // The colour of the tree lines (0x00BBGGRR).
    static constexpr quint32 TreeLineColour = 0xC0C0C0;

    // Draws an item's icon and text from `rect` on, as the list and the
    // closed field show them; the text in `textColour`.
    static void DrawContent(QPainter &painter, QRect rect, const QIcon &icon, QSize iconSize, bool bold,
                            const QString &text, const QColor &textColour, bool enabled);

private:
    CComboBoxSuper *m_combo;
};
