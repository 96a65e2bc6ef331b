#pragma once

class CComboBoxSuper;
class QComboBox;

// The project, activity and hourly-rate combos of the entry dialogs: each
// holds a first item for "none" (id -1) and then the records, the project
// tree with the pictures of its types and its depth as indentation, the
// live activities, and the live rates with their amounts. Choosing a
// project selects its default rate and activity; choosing an activity
// selects its default rate.
class EntryRecordCombos
{
public:
    EntryRecordCombos(CComboBoxSuper *projects, QComboBox *activities, QComboBox *rates);

    // Each fill empties its combo, adds the "none" item, then the records,
    // and selects the one with the given id, or "none" when it is not
    // there (a record deleted meanwhile).
    void FillProjects(int selectedId);
    void FillActivities(int selectedId);
    void FillRates(int selectedId);

    // The id of the selected item: -1 for "none" and without a selection.
    int ProjectId() const;
    int ActivityId() const;
    int RateId() const;
    static int SelectedId(const QComboBox *combo);

    // Selects the first item from index 1 on that carries `id`; false, the
    // selection unchanged, when there is none.
    static bool SelectId(QComboBox *combo, int id);

    // The project's default rate and activity are selected when the
    // project store has the project and they are in the lists; with
    // `activityRule`, a default activity selected brings its own default
    // rate. True when the activity selection changed.
    bool ApplyProjectRule(int projectId, bool activityRule);
    // The activity's default rate is selected when the store has it.
    void ApplyActivityRule(int activityId);

private:
    CComboBoxSuper *m_projects;
    QComboBox *m_activities;
    QComboBox *m_rates;
};
