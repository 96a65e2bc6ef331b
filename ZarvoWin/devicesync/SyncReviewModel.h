#pragma once
#include "SyncReviewList.h"

#include <QAbstractTableModel>
#include <QStringList>

// The review list of a device synchronisation as the rows of the review's
// list control: five columns (the device's name and change date, the
// action, the local name and change date). The list is not owned; it must
// outlive the model or be unset first. Only a click on an allowed action
// changes it.
class SyncReviewModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { DeviceName = 0, DeviceModified = 1, Action = 2, LocalName = 3, LocalModified = 4, ColumnCount = 5 };

    explicit SyncReviewModel(QObject *parent = nullptr);

    // Shows `list` (null: nothing), from its first row.
    void SetList(SyncReviewList *list);
    SyncReviewList *List() const { return m_list; }
    // Looks the group and column captions up again (a change of language).
    void Retranslate();

    // The row, null when out of range.
    const SyncReviewList::Row *RowAt(int row) const;
    // The decision of a row, null for a row without one.
    const SyncItem *ItemAt(int row) const;
    // Makes `action` the row's decision when the row allows it; true when
    // the row now holds it.
    bool SetAction(int row, int action);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    SyncReviewList *m_list = nullptr;
    QStringList m_headers;
    QHash<int, QString> m_groupTexts; // by kind
};
