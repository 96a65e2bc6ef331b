#pragma once
#include "CReportWizardPage.h"

#include <QIcon>

#include <utility>
#include <vector>

class CmyTreeCtrl;
class ImageList;
class QLabel;
class QPushButton;
class QTreeWidgetItem;
struct tReportSnapshot;

// A selection page of the report settings: which projects, which
// activities, or which project and activity pairs the report covers, as
// check boxes in a tree. Nothing checked keeps the user on the page (a
// warning says so and the wizard's navigation is off); everything checked
// is written as an empty list (everything, also what comes later).
class CReportProject : public CReportWizardPage
{
    Q_OBJECT
public:
    static constexpr int DialogId = 334;
    enum Control {
        Tree = 1000, ListLabel = 1052, WarningText = 1063, WarningIcon = 1064, CheckAllButton = 1086,
        UncheckAllButton = 1087
    };

    // Projects mode with or without the pairs; activities mode otherwise.
    CReportProject(bool projectsMode, bool pairsMode);

    // What the tree is filled from (a copy of the projects and activities,
    // not owned) and whether the pairs list the activities.
    void SetSnapshot(const tReportSnapshot *snapshot) { m_snapshot = snapshot; }
    void SetShowActivities(bool show) { m_showActivities = show; }
    // The application's 16-pixel pictures for the items (not owned; none
    // shows no pictures).
    void SetImages(const ImageList *images) { m_images = images; }

    bool ValidatePage() override;
    void OnOK() override;
    void TranslatePage() override;

    void CheckAll(bool checked);
    // Shows or hides the warning from the tree's boxes and tells the wizard.
    void UpdateWarning();
    bool IsWarningShown() const;
    CmyTreeCtrl *TreeBox() const { return m_tree; }

    // The checked items in tree order (depth first, each before its
    // children) and whether every item is checked.
    std::vector<int> CheckedIds(bool &allChecked) const;
    std::vector<std::pair<int, int>> CheckedPairs(bool &allChecked) const;

protected:
    void OnInitDialog() override;
    void focusInEvent(QFocusEvent *event) override;

private:
    void FillTree();
    void FillProjects(const QString &list);
    void FillActivities(const QString &list);
    QIcon Image(int index) const;

    bool m_projects;
    bool m_pairs;
    bool m_showActivities = true;
    const tReportSnapshot *m_snapshot = nullptr;
    const ImageList *m_images = nullptr;
    CmyTreeCtrl *m_tree = nullptr;
    QLabel *m_label = nullptr;
    QLabel *m_warning = nullptr;
    QLabel *m_warningIcon = nullptr;
    QPushButton *m_checkAll = nullptr;
    QPushButton *m_uncheckAll = nullptr;
};
