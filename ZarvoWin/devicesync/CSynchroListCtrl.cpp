#include "CSynchroListCtrl.h"

#include "CMyFatHeader.h"
#include "CMyToolTipCtrl.h"
#include "SyncReviewDelegate.h"
#include "SyncReviewModel.h"
#include "SyncReviewRules.h"
#include "Texts.h"
#include "tToolTipContent.h"

#include <QMouseEvent>

CSynchroListCtrl::CSynchroListCtrl(QWidget *parent)
    : QTreeView(parent)
    , m_model(new SyncReviewModel(this))
    , m_header(new CMyFatHeader(this))
{
    m_header->SetImageSize(32);
    setHeader(m_header);
    setModel(m_model);
    setItemDelegate(new SyncReviewDelegate(this));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setMouseTracking(true);
    m_header->setStretchLastSection(false);
    m_header->setSectionsMovable(false);
    SetupColumns();
    Retranslate();
}

void CSynchroListCtrl::SetupColumns()
{
    for (int column = 0; column < int(std::size(ColumnWidths)); ++column) {
        m_header->setSectionResizeMode(column, QHeaderView::Fixed);
        m_header->resizeSection(column, ColumnWidths[column]);
    }
    UpdateNameColumns();
}

void CSynchroListCtrl::Retranslate()
{
    static const Platform::TextId actions[] = {312, 313, 314};
    m_actionTexts.clear();
    for (int id : actions)
        m_actionTexts << Platform::Texts::get(id);
    m_model->Retranslate();
}

void CSynchroListCtrl::SetList(SyncReviewList *list)
{
    m_model->SetList(list);
}

void CSynchroListCtrl::SetToolTipCtrl(CMyToolTipCtrl *tip)
{
    if (tip)
        tip->Attach(viewport(), [this](const QPoint &pos, tToolTipContent &content) { return ToolTipAt(pos, content); });
}

bool CSynchroListCtrl::IsActionAllowed(int action, const SyncItem *item)
{
    return SyncReviewRules::IsActionAllowed(action, item);
}

bool CSynchroListCtrl::ToolTipAt(const QPoint &pos, tToolTipContent &content) const
{
    const QModelIndex index = indexAt(pos);
    const SyncItem *item = index.isValid() ? m_model->ItemAt(index.row()) : nullptr;
    if (!item || index.column() != SyncReviewModel::Action)
        return false;
    const QRect cell = visualRect(index);
    const int action = SyncReviewRules::ActionAt(pos.x(), cell.left(), cell.width(), true);
    if (action < 0)
        return false;
    content.title.clear();
    content.description = m_actionTexts.value(action);
    content.image = (SyncReviewRules::IsActionAllowed(action, item) ? SyncReviewList::ChosenActionImage
                                                                     : SyncReviewList::OtherActionImage) + action;
    return true;
}

void CSynchroListCtrl::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const QModelIndex index = indexAt(pos);
    if (event->button() == Qt::LeftButton && index.isValid() && index.column() == SyncReviewModel::Action) {
        const QRect cell = visualRect(index);
        const int action = SyncReviewRules::ActionAt(pos.x(), cell.left(), cell.width(), false);
        if (action >= 0)
            m_model->SetAction(index.row(), action);
    }
    QTreeView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        emit rowClicked(index.isValid() ? index.row() : -1);
}

void CSynchroListCtrl::resizeEvent(QResizeEvent *event)
{
    QTreeView::resizeEvent(event);
    UpdateNameColumns();
}

void CSynchroListCtrl::UpdateNameColumns()
{
    const int others = ColumnWidths[SyncReviewModel::DeviceModified] + ColumnWidths[SyncReviewModel::Action]
        + ColumnWidths[SyncReviewModel::LocalModified];
    const int width = SyncReviewRules::NameColumnWidth(viewport()->width(), others);
    m_header->resizeSection(SyncReviewModel::DeviceName, width);
    m_header->resizeSection(SyncReviewModel::LocalName, width);
}
