#include "CTrayProjectStore.h"

#include "CComboBoxSuper.h"
#include "TrayTexts.h"
#include "WidgetIds.h"

#include <QAction>
#include <QMenu>

namespace {

// Adds what the store puts into a combo box to the real one, and notes each
// project's default activity and rate beside it.
class DefaultsRecorder : public CComboFiller
{
public:
    DefaultsRecorder(CComboFiller &combo, const CProjectStore &store, std::vector<int> &activityIds,
                     std::vector<int> &rateIds)
        : m_combo(combo)
        , m_store(store)
        , m_activityIds(activityIds)
        , m_rateIds(rateIds)
    {
    }

    int AddItem(const QString &text, int image, qintptr data, int indent) override
    {
        const int index = m_combo.AddItem(text, image, data, indent);
        const CProject *node = m_store.GetNode(int(data));
        m_activityIds.push_back(node ? node->Element().Activity : -1);
        m_rateIds.push_back(node ? node->Element().IdTauxHoraire : -1);
        return index;
    }
    void SetCurSel(int index) override { m_combo.SetCurSel(index); }
    int GetCount() const override { return m_combo.GetCount(); }

private:
    CComboFiller &m_combo;
    const CProjectStore &m_store;
    std::vector<int> &m_activityIds;
    std::vector<int> &m_rateIds;
};

} // namespace

CTrayProjectStore::CTrayProjectStore()
{
    m_store.Context().separator = QStringLiteral("/");
}

void CTrayProjectStore::Clear()
{
    for (Part part : {Projects, Activities, Rates, History})
        ClearPart(part);
}

void CTrayProjectStore::ClearPart(Part part)
{
    m_store.ClearPart(int(part));
    m_loadedAt[part] = 0;
    m_loadedStamps[part].clear();
}

qint64 CTrayProjectStore::LoadedAt(Part part) const
{
    return m_loadedAt[part];
}

QString CTrayProjectStore::LoadedStamps(Part part) const
{
    return m_loadedStamps[part];
}

void CTrayProjectStore::SetLoadedAt(Part part, qint64 time, const QString &stamps)
{
    m_loadedAt[part] = time;
    m_loadedStamps[part] = stamps;
}

void CTrayProjectStore::ForgetLoadTimes()
{
    for (qint64 &t : m_loadedAt)
        t = 0;
    for (QString &s : m_loadedStamps)
        s.clear();
}

QString CTrayProjectStore::GetProjectFullName(int projectId) const
{
    return m_store.GetNodeFullName(projectId, -2);
}

QString CTrayProjectStore::GetProjectName(int projectId, const TrayTexts &texts) const
{
    const CProject *node = m_store.GetNode(projectId);
    if (node && !node->IsRoot())
        return node->Element().Nom;
    return texts.Text(TrayTexts::NoProject);
}

QString CTrayProjectStore::GetActivityName(int activityId, const TrayTexts &texts) const
{
    if (const tElement *activity = m_store.GetActivity(activityId))
        return activity->Nom;
    return texts.Text(TrayTexts::NoActivity);
}

void CTrayProjectStore::AppendHistoryMenu(QMenu &menu, int firstId) const
{
    for (int i = 0; i < m_store.GetHistoryCount(); ++i) {
        int project = -1;
        int activity = -1;
        int rate = -1;
        m_store.GetHistoryEntry(i, project, activity, rate);
        QString name = GetProjectFullName(project);
        QAction *action = menu.addAction(name.replace(u'&', QStringLiteral("&&")));
        WidgetIds::SetCommandId(action, firstId + i);
    }
}

void CTrayProjectStore::FillProjectCombo(CComboFiller &combo, std::vector<int> &activityIds,
                                         std::vector<int> &rateIds, int selectedId) const
{
    DefaultsRecorder recorder(combo, m_store, activityIds, rateIds);
    m_store.FillProjectCombo(recorder, nullptr, selectedId, 0);
}

void CTrayProjectStore::FillProjectCombo(CComboBoxSuper &combo, const CComboBoxFiller::ImageProvider &images,
                                         std::vector<int> &activityIds, std::vector<int> &rateIds,
                                         int selectedId) const
{
    CComboBoxFiller filler(&combo, images);
    FillProjectCombo(filler, activityIds, rateIds, selectedId);
}
