#pragma once
#include "CPrefsSubDlg.h"
#include "FolderMovePlan.h"

class COptionsContext;

// An option page whose folders can take their files along. The page plans
// the moves while it validates (questions and checks only); the base copies
// once every page agreed, and after the page stored its settings removes
// the originals, or the copies when the settings could not be written
// (m_switched tells which).
class COptFolderPage : public CPrefsSubDlg
{
    Q_OBJECT
public:
    bool PrepareApply() override;
    void AbandonApply() override;
    void CompleteApply() override;
    void OnCancel() override;

    const FolderMovePlan &Plan() const { return m_plan; }

protected:
    COptFolderPage(int dialogId, COptionsContext &context, QWidget *parent);

    COptionsContext &m_context;
    FolderMovePlan m_plan;
    // Set by OnOK once the settings name the new folders.
    bool m_switched = false;
};
