#pragma once
#include "CForecastPage.h"

class CColorChoiceButton;
class CColorStatic;
class CMyEdit;
class CReadOnlyCB;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The general page of the project editor. For a project: its parent,
// chosen in a tree of every project but the project's own subtree, its
// title, colour, default hourly rate and default activity; for an
// activity row: its colour and rate, read-only. A change of parent is
// written into the working copy at once and told by parentChanged; the
// other values only when the editor asks (StoreControls).
class CViewForecastGeneral : public CForecastPage
{
    Q_OBJECT
public:
    static constexpr int DialogId = 467;
    enum : int {
        IdAddRate = 1010,
        IdColour = 1008,
        IdRate = 1009,
        IdRateLabel = 1011,
        IdColourLabel = 1016,
        IdRateGroup = 1017,
        IdPreviewLabel = 1018,
        IdTitle = 1061,
        IdActivity = 1078,
        IdAddActivity = 1087,
        IdActivityLabel = 1178,
        IdTitleLabel = 1258,
        IdTree = 1355,
        IdActivityGroup = 1362,
        IdActivityColour = 1365,
        IdFullName = 1368,
        IdPreview = 1456,
    };
    // The item data of the top item "Projets".
    static constexpr int RootData = -1;

    explicit CViewForecastGeneral(QWidget *parent = nullptr);

    // Binds the page to the working copy and fills it, the parent tree
    // too.
    void SetProject(bool isNew, CProject *node) override;
    // Shows the node's values again (the tree left as it is).
    void FillControls() override;
    void StoreControls() override;

    // Makes the project of `item` (the top item: none) the parent, as a
    // choice in the tree does; false, with the old item selected again,
    // when the node cannot take it (616 told for a refusal by the tree's
    // rules).
    bool ChooseParent(QTreeWidgetItem *item);
    // The tree's item of a project id (RootData: the top item); null when
    // the tree does not hold it.
    QTreeWidgetItem *FindItem(int projectId) const;

    QTreeWidget *Tree() const { return m_tree; }
    QLineEdit *FullNameEdit() const;
    QLineEdit *TitleEdit() const { return m_title; }
    CColorChoiceButton *ColourButton() const { return m_colour; }
    CColorStatic *Preview() const { return m_preview; }
    CColorStatic *ActivityColour() const { return m_activityColour; }
    CReadOnlyCB *RateList() const { return m_rate; }
    CReadOnlyCB *ActivityList() const { return m_activity; }
    QPushButton *AddRateButton() const { return m_addRate; }
    QPushButton *AddActivityButton() const { return m_addActivity; }

private:
    void Fill(bool withTree);
    void FillTree();
    void FillRates(int selectedId);
    void FillActivities(int selectedId);
    void ApplyVisibility();
    void ShowColour(quint32 colour);
    void OnTreeChanged(QTreeWidgetItem *current, QTreeWidgetItem *previous);
    void MarkParentItem(QTreeWidgetItem *item, bool marked);
    void OnAddRate();
    void OnAddActivity();

    CProject *m_node = nullptr;
    quint32 m_automatic = 0;

    QTreeWidget *m_tree = nullptr;
    CMyEdit *m_fullName = nullptr;
    QLabel *m_titleLabel = nullptr;
    QLineEdit *m_title = nullptr;
    QLabel *m_colourLabel = nullptr;
    CColorChoiceButton *m_colour = nullptr;
    CColorStatic *m_activityColour = nullptr;
    QLabel *m_previewLabel = nullptr;
    CColorStatic *m_preview = nullptr;
    QGroupBox *m_rateGroup = nullptr;
    CReadOnlyCB *m_rate = nullptr;
    QPushButton *m_addRate = nullptr;
    QGroupBox *m_activityGroup = nullptr;
    CReadOnlyCB *m_activity = nullptr;
    QPushButton *m_addActivity = nullptr;
};
