#include "EntryRecordCombos.h"

#include "CAppData.h"
#include "CBdD.h"
#include "CComboBoxFiller.h"
#include "CComboBoxSuper.h"
#include "CProject.h"
#include "CProjectStore.h"
#include "EntryDialogServices.h"
#include "Texts.h"

#include <QSignalBlocker>

namespace {

// A combo emptied and given its "none" item, selected.
void StartFill(QComboBox *combo, CComboBoxFiller &filler, int noneText)
{
    combo->clear();
    filler.SetCurSel(filler.AddItem(Platform::Texts::get(noneText), -1, -1, 0));
}

} // namespace

EntryRecordCombos::EntryRecordCombos(CComboBoxSuper *projects, QComboBox *activities, QComboBox *rates)
    : m_projects(projects)
    , m_activities(activities)
    , m_rates(rates)
{
}

void EntryRecordCombos::FillProjects(int selectedId)
{
    const QSignalBlocker block(m_projects);
    CComboBoxFiller filler(m_projects, EntryDialogServices::Registered().projectImage);
    StartFill(m_projects, filler, 501);
    if (const CProjectStore *store = CAppData::ProjectStore())
        store->FillProjectCombo(filler, nullptr, selectedId, 0);
}

void EntryRecordCombos::FillActivities(int selectedId)
{
    const QSignalBlocker block(m_activities);
    CComboBoxFiller filler(m_activities);
    StartFill(m_activities, filler, 502);
    CBdD db;
    db.FillElementCombo(filler, nullptr, false, selectedId, -1, -2);
}

void EntryRecordCombos::FillRates(int selectedId)
{
    const QSignalBlocker block(m_rates);
    CComboBoxFiller filler(m_rates);
    StartFill(m_rates, filler, 185);
    CBdD db;
    db.FillRateCombo(filler, selectedId);
}

int EntryRecordCombos::SelectedId(const QComboBox *combo)
{
    const int index = combo->currentIndex();
    if (index < 0)
        return -1;
    bool ok = false;
    const int id = combo->itemData(index, CComboBoxFiller::DataRole).toInt(&ok);
    return ok ? id : -1;
}

int EntryRecordCombos::ProjectId() const
{
    return SelectedId(m_projects);
}

int EntryRecordCombos::ActivityId() const
{
    return SelectedId(m_activities);
}

int EntryRecordCombos::RateId() const
{
    return SelectedId(m_rates);
}

bool EntryRecordCombos::SelectId(QComboBox *combo, int id)
{
    for (int i = 1; i < combo->count(); ++i) {
        if (combo->itemData(i, CComboBoxFiller::DataRole).toInt() == id) {
            const QSignalBlocker block(combo);
            combo->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

bool EntryRecordCombos::ApplyProjectRule(int projectId, bool activityRule)
{
    const CProjectStore *store = CAppData::ProjectStore();
    const CProject *node = store && projectId != -1 ? store->GetNode(projectId) : nullptr;
    if (!node || node->IsRoot())
        return false;
    const tElement &project = node->Element();
    if (project.IdTauxHoraire != -1)
        SelectId(m_rates, project.IdTauxHoraire);
    if (project.Activity == -1 || !SelectId(m_activities, project.Activity))
        return false;
    if (activityRule)
        ApplyActivityRule(project.Activity);
    return true;
}

void EntryRecordCombos::ApplyActivityRule(int activityId)
{
    const CProjectStore *store = CAppData::ProjectStore();
    const tElement *activity = store && activityId != -1 ? store->GetActivity(activityId) : nullptr;
    if (activity && activity->IdTauxHoraire != -1)
        SelectId(m_rates, activity->IdTauxHoraire);
}
