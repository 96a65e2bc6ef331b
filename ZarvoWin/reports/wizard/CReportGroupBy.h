#pragma once
#include "CReportWizardPage.h"
#include "ReportLevelRules.h"

#include <array>
#include <functional>

class CReadOnlyCB;
class CReportColumnSet;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;

// The first page of the report settings: the report's kind, the levels
// its lines are grouped by (up to five, with or without the entries
// themselves), the column grouping of a cross table, and a preview of the
// columns whose header can be dragged to reorder them. A change of kind to
// or from project tracking swaps the wizard's page set; no chosen level
// keeps the user on the page.
class CReportGroupBy : public CReportWizardPage
{
    Q_OBJECT
public:
    static constexpr int DialogId = 344;
    enum Control {
        KindCombo = 1122, KindLabel = 1123, AvailableList = 1055, ChosenList = 1085, ChosenLabel = 1256,
        AddButton = 1056, RemoveButton = 1058, UpButton = 1059, DownButton = 1060, ColumnPreview = 1081,
        EditColumns = 1083, DefaultColumns = 1084, ColumnGroupingLabel = 1124, ColumnGroupingCombo = 1077,
        WarningText = 1063, WarningIcon = 1064
    };

    // Edits a copy of a report's columns; true when confirmed. The column
    // chooser in report mode unless another is set.
    using ColumnEditor = std::function<bool(tReportDefinition &definition, CReportColumnSet &columns, QWidget *owner)>;
    static void SetColumnEditor(ColumnEditor editor);

    CReportGroupBy();

    // Refills the two level lists and the column preview from the state.
    void BuildLevelTree();
    bool ValidatePage() override;
    void OnOK() override;
    void TranslatePage() override;

    // The chosen rows: the used levels of the current set, then the detail
    // item (-1) when shown; kind 4 its fixed items.
    std::vector<int> ChosenRows() const;
    const ReportLevelRules::LevelSet &CurrentSet() const { return m_sets[size_t(m_current)]; }

    // What the buttons and the combos do, for the keyboard and tests.
    void AddSelected();
    void RemoveSelected();
    void MoveSelected(bool up);
    void SelectKind(int kind);
    void SelectColumnGrouping(int grouping);
    // A column of the preview dragged from one place to another.
    void MovePreviewColumn(int from, int to);

    CReadOnlyCB *KindBox() const { return m_kind; }
    QListWidget *AvailableBox() const { return m_available; }
    QListWidget *ChosenBox() const { return m_chosen; }
    QTreeWidget *Preview() const { return m_preview; }
    QPushButton *Button(int control) const;
    bool IsWarningShown() const;

protected:
    void OnInitDialog() override;

private:
    void ApplyKind(int kind);
    void UpdateButtons();
    void EditTheColumns();
    void ResetColumns();
    void FillCombos();

    std::array<ReportLevelRules::LevelSet, 3> m_sets;
    int m_current = 0;
    bool m_rebuilding = false;
    CReadOnlyCB *m_kind = nullptr;
    CReadOnlyCB *m_columnGrouping = nullptr;
    QListWidget *m_available = nullptr;
    QListWidget *m_chosen = nullptr;
    QTreeWidget *m_preview = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_remove = nullptr;
    QPushButton *m_up = nullptr;
    QPushButton *m_down = nullptr;
    QPushButton *m_editColumns = nullptr;
    QPushButton *m_defaultColumns = nullptr;
    QLabel *m_groupingLabel = nullptr;
    QLabel *m_warning = nullptr;
    QLabel *m_warningIcon = nullptr;
};
