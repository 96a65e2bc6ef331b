#pragma once
#include "CComboBoxFiller.h"
#include "CProjectStore.h"

#include <QString>
#include <QtGlobal>

#include <vector>

class CComboBoxSuper;
class QMenu;
class TrayTexts;

// What the tray keeps in memory of the user's projects, activities, rates
// and recent combinations, so that no paint reads the database: the data
// store's project store, set up as the tray names things (full names joined
// by "/", without spaces; amounts in the locale's currency), without plans,
// undo history or backups. One lives as long as the tray process; it is the
// project store of the process's CAppData (CTrayDatabase::SetUpProcess),
// filled by CTrayDatabase's loaders.
//
// It also keeps when each part was last loaded, so that a reload reads a
// part again only when the database changed it since.
class CTrayProjectStore
{
public:
    CTrayProjectStore();
    CTrayProjectStore(const CTrayProjectStore &) = delete;
    CTrayProjectStore &operator=(const CTrayProjectStore &) = delete;

    CProjectStore &Store() { return m_store; }
    const CProjectStore &Store() const { return m_store; }

    // The parts, emptied with the time of their last load.
    enum Part { Projects = 0, Activities = 1, Rates = 2, History = 3 };
    void Clear();
    void ClearPart(Part part);
    // When a part was last loaded (Unix seconds, 0: never or cleared), and
    // the stamps of its tables read just before that load (CTrayDatabase
    // compares them with the file's).
    qint64 LoadedAt(Part part) const;
    QString LoadedStamps(Part part) const;
    void SetLoadedAt(Part part, qint64 time, const QString &stamps = QString());
    // Forgets the load times only, so that the next load of every part
    // reads the database (after a change the tray was told of).
    void ForgetLoadTimes();

    // The project's name after its ancestors' names, joined by "/" ("Client/
    // Site/Phase"); empty for a project the store does not know.
    QString GetProjectFullName(int projectId) const;
    // The project's own name, or the tray's "<Projet non défini>" for one
    // the store does not know.
    QString GetProjectName(int projectId, const TrayTexts &texts) const;
    // The activity's name, or the tray's "<Activité non définie>" for one
    // the store does not know.
    QString GetActivityName(int activityId, const TrayTexts &texts) const;

    // One command per recent combination, `firstId` + its index, named
    // after its project's full name (empty for a project the store does not
    // know; "&" shown as it is).
    void AppendHistoryMenu(QMenu &menu, int firstId) const;

    // Every project, depth first in display order, indented by depth, with
    // its type's picture and its id; `activityIds` and `rateIds` receive,
    // parallel to the items added, each project's default activity and
    // rate. The project `selectedId` is selected.
    void FillProjectCombo(CComboFiller &combo, std::vector<int> &activityIds, std::vector<int> &rateIds,
                          int selectedId = -1) const;
    void FillProjectCombo(CComboBoxSuper &combo, const CComboBoxFiller::ImageProvider &images,
                          std::vector<int> &activityIds, std::vector<int> &rateIds, int selectedId = -1) const;

private:
    CProjectStore m_store;
    qint64 m_loadedAt[4] = {0, 0, 0, 0};
    QString m_loadedStamps[4];
};
