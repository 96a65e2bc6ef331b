#pragma once
#include <QStyledItemDelegate>

// Paints the rows of the review list (SyncReviewModel): the group rows in
// bold with their picture, the element rows with their connector, the
// deleted marker beside a deleted side's date, the three action icons of
// a decision (the chosen one stands out), and the grid lines.
class SyncReviewDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr int TextMargin = 6;
    static constexpr quint32 GridColour = 0xD8D8D8; // 0x00BBGGRR

    explicit SyncReviewDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
