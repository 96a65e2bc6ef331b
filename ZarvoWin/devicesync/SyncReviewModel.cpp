#include "SyncReviewModel.h"

#include "ImageList.h"
#include "SyncImages.h"
#include "SyncReviewRules.h"
#include "Texts.h"

SyncReviewModel::SyncReviewModel(QObject *parent)
    : QAbstractTableModel(parent)
{
    Retranslate();
}

void SyncReviewModel::SetList(SyncReviewList *list)
{
    beginResetModel();
    m_list = list;
    endResetModel();
}

void SyncReviewModel::Retranslate()
{
    static const Platform::TextId captions[] = {230, 234, 233, 229, 234};
    m_headers.clear();
    for (int id : captions)
        m_headers << Platform::Texts::get(id);
    // The group captions, looked up once rather than at every paint.
    static const int kinds[] = {1, 2, 3, 4, 5, 7, 9};
    m_groupTexts.clear();
    for (int kind : kinds)
        m_groupTexts.insert(kind, Platform::Texts::get(SyncReviewList::GroupTextId(kind)));
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

const SyncReviewList::Row *SyncReviewModel::RowAt(int row) const
{
    return m_list && row >= 0 && row < m_list->Count() ? &m_list->At(row) : nullptr;
}

const SyncItem *SyncReviewModel::ItemAt(int row) const
{
    return m_list ? m_list->Item(row) : nullptr;
}

bool SyncReviewModel::SetAction(int row, int action)
{
    SyncItem *item = m_list ? m_list->Item(row) : nullptr;
    if (!SyncReviewRules::IsActionAllowed(action, item))
        return false;
    if (item->action != action) {
        item->action = action;
        const QModelIndex cell = index(row, Action);
        emit dataChanged(cell, cell);
    }
    return true;
}

int SyncReviewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_list ? 0 : m_list->Count();
}

int SyncReviewModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SyncReviewModel::data(const QModelIndex &index, int role) const
{
    const SyncReviewList::Row *row = RowAt(index.row());
    if (!row || role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case DeviceName: return row->isGroup ? m_groupTexts.value(row->kind) : row->device.name;
    case DeviceModified: return row->device.modified;
    case LocalName: return row->local.name;
    case LocalModified: return row->local.modified;
    default: return QVariant();
    }
}

QVariant SyncReviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return m_headers.value(section);
    case Qt::DecorationRole:
        if (section == DeviceName || section == LocalName)
            return SyncImages::HeaderImages().Pixmap(section == DeviceName ? 0 : 1);
        return QVariant();
    case Qt::TextAlignmentRole:
        return int(section == Action ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignVCenter));
    default:
        return QVariant();
    }
}
