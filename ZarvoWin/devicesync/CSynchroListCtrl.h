#pragma once
#include "SyncItem.h"

#include <QStringList>
#include <QTreeView>

class CMyFatHeader;
class CMyToolTipCtrl;
class SyncReviewList;
class SyncReviewModel;
struct tToolTipContent;

// The list of the review of a device synchronisation: one row per
// differing element under a bold row per kind, with the device's side on
// the left, the local side on the right and the three action icons in
// between. A click on an allowed icon makes it the row's decision; the
// tooltip over the icons tells what each does.
class CSynchroListCtrl : public QTreeView
{
    Q_OBJECT
public:
    static constexpr int ColumnWidths[] = {150, 150, 100, 150, 150};

    explicit CSynchroListCtrl(QWidget *parent = nullptr);

    // Shows `list` (not owned; null: nothing).
    void SetList(SyncReviewList *list);
    SyncReviewModel *Model() const { return m_model; }
    // The column captions, the group captions and the action texts again.
    void Retranslate();
    // The tooltip shown over the action icons (owned by the review).
    void SetToolTipCtrl(CMyToolTipCtrl *tip);
    // What the tooltip shows at a point of the list's viewport; false
    // outside the action icons of a decision.
    bool ToolTipAt(const QPoint &pos, tToolTipContent &content) const;

    static bool IsActionAllowed(int action, const SyncItem *item);

signals:
    // A click on the list, with its row (-1 past the rows).
    void rowClicked(int row);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void SetupColumns();
    void UpdateNameColumns();

    SyncReviewModel *m_model = nullptr;
    CMyFatHeader *m_header = nullptr;
    QStringList m_actionTexts;
};
