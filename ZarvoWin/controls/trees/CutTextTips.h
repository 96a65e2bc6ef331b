#pragma once
#include <QObject>

class QAbstractItemView;

// The whole text of an item as its tooltip wherever a list or a tree shows
// it cut: shortened with "..." or running past the edge of the view. An
// item with a tooltip of its own keeps it.
class CutTextTips : public QObject
{
    Q_OBJECT
public:
    // Applies to `view` for as long as it lives.
    static void Apply(QAbstractItemView *view);
    // Whether the item at `index` shows its text whole in `view`.
    static bool ShowsWhole(const QAbstractItemView *view, const QModelIndex &index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit CutTextTips(QAbstractItemView *view);

    QAbstractItemView *m_view;
};
