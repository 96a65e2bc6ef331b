#include "COptFolderPage.h"

#include "OptionPageTools.h"

COptFolderPage::COptFolderPage(int dialogId, COptionsContext &context, QWidget *parent)
    : CPrefsSubDlg(dialogId, parent)
    , m_context(context)
{
}

bool COptFolderPage::PrepareApply()
{
    m_switched = false;
    return OptionPageTools::CopyMoves(this, m_context, m_plan);
}

void COptFolderPage::AbandonApply()
{
    m_plan.Abandon();
    m_plan.Clear();
}

void COptFolderPage::CompleteApply()
{
    OptionPageTools::FinishMoves(this, m_plan, m_switched);
}

void COptFolderPage::OnCancel()
{
    m_plan.Clear();
}
