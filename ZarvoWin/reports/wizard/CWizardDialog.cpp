#include "CWizardDialog.h"

#include "CPrefsSubDlg.h"
#include "DialogAnswers.h"
#include "ReportWizardPageSet.h"
#include "TranslateWidgets.h"
#include "WidgetIds.h"
#include "WizardNavigation.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

CWizardDialog::CWizardDialog(QWidget *parent)
    : CPrefsDialog(parent, DialogId)
{
    m_back = new QPushButton(this);
    m_back->setAutoDefault(false);
    WidgetIds::SetControlId(m_back, BackControl);
    m_back->setObjectName(QString::number(BackControl));
    m_next = new QPushButton(this);
    m_next->setAutoDefault(false);
    WidgetIds::SetControlId(m_next, NextControl);
    m_next->setObjectName(QString::number(NextControl));
    // Précédent and Suivant come before Terminer and Annuler.
    if (QHBoxLayout *row = ButtonLayout()) {
        const int at = row->indexOf(OkButton());
        row->insertWidget(at, m_next);
        row->insertWidget(at, m_back);
    }
    connect(m_back, &QPushButton::clicked, this, &CWizardDialog::OnBack);
    connect(m_next, &QPushButton::clicked, this, &CWizardDialog::OnNext);
    SetValidateOnChange(true);
    TranslateDialog(this, DialogId);
    // Room for the layout page's preview and the grouping page's lists.
    setMinimumSize(740, 500);
}

CWizardDialog *CWizardDialog::FrameOf(QWidget *from)
{
    for (QWidget *w = from; w; w = w->parentWidget()) {
        if (auto *frame = qobject_cast<CWizardDialog *>(w))
            return frame;
    }
    return nullptr;
}

void CWizardDialog::PostEnableNavigation(QWidget *from, bool complete)
{
    QPointer<CWizardDialog> frame = FrameOf(from);
    if (!frame)
        return;
    QTimer::singleShot(0, frame, [frame, complete] {
        if (frame)
            frame->EnableNavigation(complete);
    });
}

void CWizardDialog::PostKindPages(QWidget *from, bool tracking)
{
    QPointer<CWizardDialog> frame = FrameOf(from);
    if (!frame)
        return;
    QTimer::singleShot(0, frame, [frame, tracking] {
        if (frame)
            frame->ApplyKindPages(tracking);
    });
}

std::vector<bool> CWizardDialog::HiddenPages() const
{
    std::vector<bool> hidden;
    for (int i = 0; i < PageCount(); ++i)
        hidden.push_back(IsPageHidden(i));
    return hidden;
}

void CWizardDialog::UpdateNavigation()
{
    m_back->setEnabled(WizardNavigation::BackEnabled(CurrentPage()));
    m_next->setEnabled(WizardNavigation::NextEnabled(PageCount(), CurrentPage()));
}

void CWizardDialog::EnableNavigation(bool complete)
{
    OkButton()->setEnabled(complete);
    if (complete) {
        UpdateNavigation();
    } else {
        m_back->setEnabled(false);
        m_next->setEnabled(false);
    }
}

void CWizardDialog::ApplyKindPages(bool tracking)
{
    for (const ReportWizardPageSet::Step &step : ReportWizardPageSet::KindChange(tracking)) {
        if (step.show)
            ShowPageAfter(step.page, step.after);
        else
            HidePage(step.page);
    }
}

void CWizardDialog::OnPageShown(int)
{
    UpdateNavigation();
}

void CWizardDialog::ShowLater(int index)
{
    QPointer<CWizardDialog> frame(this);
    QTimer::singleShot(0, this, [frame, index] {
        if (frame)
            frame->ShowPage(index);
    });
}

void CWizardDialog::OnNext()
{
    if (const int next = WizardNavigation::NextShown(HiddenPages(), CurrentPage()); next >= 0)
        ShowLater(next);
}

void CWizardDialog::OnBack()
{
    if (const int previous = WizardNavigation::PreviousShown(HiddenPages(), CurrentPage()); previous >= 0)
        ShowLater(previous);
}

bool CWizardDialog::ShowPageOfWindow(CPrefsSubDlg *page)
{
    const int index = PageIndex(page);
    return index >= 0 && ShowPage(index);
}

void CWizardDialog::accept()
{
    // A page that is not complete has disabled Terminer; Enter must not go
    // round it.
    if (!OkButton()->isEnabled())
        return;
    CPrefsDialog::accept();
}

int CWizardDialog::exec()
{
    int result = 0;
    if (DialogAnswers<CWizardDialog>::AnswerInstead(*this, result))
        return result;
    return CPrefsDialog::exec();
}
