#pragma once
#include <QPersistentModelIndex>
#include <QTreeWidget>

// A tree with check boxes (in column 0) whose boxes pass down: a click on
// an item's box gives its new state to every item below it, then tells
// `checkChanged` once. Space toggles the current item alone (Qt's own
// handling) and tells `checkChanged` too. After a click no item stays
// selected or current, so a box can be clicked without choosing its item.
class CmyTreeCtrl : public QTreeWidget
{
    Q_OBJECT
public:
    // Number of the notification, kept for owners that dispatch on it.
    static constexpr int UWM_TREE_CHECK_CHANGED = 1124;

    explicit CmyTreeCtrl(QWidget *parent = nullptr);

    // Gives `state` to the item and to everything below it; the invisible
    // root item itself is left alone.
    void SetCheckRecursive(QTreeWidgetItem *item, Qt::CheckState state);

signals:
    void checkChanged();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPersistentModelIndex m_pressed;
    Qt::CheckState m_pressedState = Qt::Unchecked;
};
