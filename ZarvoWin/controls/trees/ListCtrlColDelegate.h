#pragma once
#include <QStyledItemDelegate>

class CListCtrlCol;

// Paints the cells of CListCtrlCol when it has an image list; Qt's own
// painting otherwise.
class ListCtrlColDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit ListCtrlColDelegate(CListCtrlCol *list);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    // Column 0 is renamed in the list's label editor; no other column is
    // edited in place.
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    // The list toggles its own check boxes when it draws them.
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;

private:
    CListCtrlCol *m_list;
};
