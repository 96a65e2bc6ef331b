#include "CWizardFrame.h"
#include "WizardNavigation.h"

#include "CPrefsSubDlg.h"
#include "ContextHelp.h"
#include "ScreenFit.h"
#include "UiUtilities.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QMetaObject>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace {

QPushButton *numberedButton(QWidget *parent, int id)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QString::number(id));
    button->setProperty("controlId", id);
    button->setAutoDefault(false);
    return button;
}

} // namespace

CWizardFrame::CWizardFrame(int dialogId, bool withCancel, QWidget *parent)
    : QDialog(parent)
    , m_dialogId(dialogId)
{
    setProperty("dialogId", dialogId);
    setModal(true);
    // Without Cancel the frame cannot be closed from its title bar.
    if (!withCancel)
        setWindowFlag(Qt::WindowCloseButtonHint, false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    m_area = new QWidget(this);
    m_area->setObjectName(QString::number(PageAreaControl));
    m_area->setProperty("controlId", int(PageAreaControl));
    m_area->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_stack = new QStackedLayout(m_area);
    m_stack->setContentsMargins(2, 2, 2, 2);

    m_back = numberedButton(this, BackControl);
    m_next = numberedButton(this, NextControl);
    m_finish = numberedButton(this, FinishControl);
    if (withCancel)
        m_cancel = numberedButton(this, CancelControl);
    connect(m_back, &QPushButton::clicked, this, [this] { OnBack(); });
    connect(m_next, &QPushButton::clicked, this, [this] { OnNext(); });
    connect(m_finish, &QPushButton::clicked, this, &CWizardFrame::accept);
    if (m_cancel)
        connect(m_cancel, &QPushButton::clicked, this, &CWizardFrame::reject);

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_back);
    buttons->addWidget(m_next);
    buttons->addWidget(m_finish);
    if (m_cancel) {
        buttons->addSpacing(fontMetrics().averageCharWidth() * 2);
        buttons->addWidget(m_cancel);
    }

    // F1 and the help button open the page shown.
    ContextHelp::Install(this, [this] {
        const CPrefsSubDlg *page = Page(m_current);
        return ContextHelp::DialogContext(page ? page->TemplateId() : m_dialogId);
    });
    ContextHelp::AddButton(buttons, this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_area, 1);
    layout->addWidget(line);
    layout->addLayout(buttons);
}

CWizardFrame::~CWizardFrame()
{
    // The pages belong to the caller: let go of them before the frame's
    // children are destroyed.
    for (QPointer<CPrefsSubDlg> &page : m_pages) {
        if (page && page->parentWidget()) {
            page->hide();
            page->setParent(nullptr);
        }
    }
}

bool CWizardFrame::AddPage(CPrefsSubDlg *page)
{
    if (m_initialised || !page)
        return false;
    m_pages.emplace_back(page);
    return true;
}

CPrefsSubDlg *CWizardFrame::Page(int index) const
{
    return index >= 0 && index < PageCount() ? m_pages[size_t(index)].data() : nullptr;
}

int CWizardFrame::PageIndex(const CPrefsSubDlg *page) const
{
    for (int i = 0; i < PageCount(); ++i) {
        if (page && m_pages[size_t(i)] == page)
            return i;
    }
    return -1;
}

bool CWizardFrame::CreatePage(int index)
{
    CPrefsSubDlg *page = Page(index);
    if (!page)
        return false;
    if (!page->IsCreated())
        page->Create(m_area);
    if (m_stack->indexOf(page) < 0)
        m_stack->addWidget(page);
    return true;
}

bool CWizardFrame::ShowPage(int index)
{
    CPrefsSubDlg *page = Page(index);
    if (!page || index == m_current)
        return false;
    if (CPrefsSubDlg *shown = Page(m_current); shown && shown->IsCreated() && !shown->ValidatePage())
        return false;
    CreatePage(index);
    m_stack->setCurrentWidget(page);
    page->show();
    m_current = index;
    UpdateButtons();
    if (QWidget *first = FirstFocusable(page))
        first->setFocus(Qt::OtherFocusReason);
    return true;
}

void CWizardFrame::UpdateButtons()
{
    const bool last = m_current >= PageCount() - 1;
    m_back->setEnabled(m_current > 0 && WizardNavigation::BackEnabled(m_current));
    m_next->setEnabled(!last && WizardNavigation::NextEnabled(PageCount(), m_current));
    m_finish->setEnabled(m_current >= m_finishIndex);
    if (m_style == ButtonStyle::OneShown) {
        m_next->setVisible(!last);
        m_finish->setVisible(last || m_current >= m_finishIndex);
    }
    // Asked before the frame is shown too: whether the button will show.
    SetDefaultButton(m_next->isEnabled() && m_next->isVisibleTo(this) ? m_next : m_finish);
}

void CWizardFrame::SetDefaultButton(QPushButton *button)
{
    for (QPushButton *b : {m_back, m_next, m_finish, m_cancel}) {
        if (b)
            b->setDefault(b == button);
    }
}

void CWizardFrame::SetNextState(bool nextOn)
{
    m_next->setEnabled(nextOn);
    m_finish->setEnabled(!nextOn);
    SetDefaultButton(nextOn ? m_next : m_finish);
}

void CWizardFrame::PostNextState(QWidget *from, bool nextOn)
{
    CWizardFrame *frame = nullptr;
    for (QWidget *w = from; w && !frame; w = w->parentWidget())
        frame = qobject_cast<CWizardFrame *>(w);
    if (!frame)
        return;
    QMetaObject::invokeMethod(frame, [frame = QPointer<CWizardFrame>(frame), nextOn] {
        if (frame)
            frame->SetNextState(nextOn);
    }, Qt::QueuedConnection);
}

void CWizardFrame::OnNext()
{
    if (const int next = WizardNavigation::NextShown(std::vector<bool>(size_t(PageCount()), false), m_current); next >= 0)
        ShowPage(next);
}

void CWizardFrame::OnBack()
{
    if (const int previous = WizardNavigation::PreviousShown(std::vector<bool>(size_t(PageCount()), false), m_current);
        previous >= 0)
        ShowPage(previous);
}

void CWizardFrame::InitDialog()
{
    if (m_initialised)
        return;
    m_initialised = true;
    OnInitDialog();
    ShowPage(m_startPage >= 0 && m_startPage < PageCount() ? m_startPage : 0);
    UpdateButtons();
}

int CWizardFrame::DoModal()
{
    InitDialog();
    return exec() == QDialog::Accepted ? 1 : 2;
}

void CWizardFrame::showEvent(QShowEvent *event)
{
    InitDialog();
    // Placed where it lies whole within the screen's free area.
    ScreenFit::Into(this);
    QDialog::showEvent(event);
}

void CWizardFrame::accept()
{
    if (!m_finish->isEnabled())
        return;
    std::vector<int> built;
    for (int i = 0; i < PageCount(); ++i) {
        if (CPrefsSubDlg *page = Page(i); page && page->IsCreated())
            built.push_back(i);
    }
    for (int i : built) {
        if (!Page(i)->ValidatePage()) {
            if (i != m_current) {
                // Shown without asking the page being left again.
                const int keep = m_current;
                m_current = -1;
                if (!ShowPage(i))
                    m_current = keep;
            }
            return;
        }
    }
    for (int i : built)
        Page(i)->OnOK();
    QDialog::accept();
}

void CWizardFrame::reject()
{
    if (!m_cancel)
        return;
    for (int i = 0; i < PageCount(); ++i) {
        if (CPrefsSubDlg *page = Page(i); page && page->IsCreated())
            page->OnCancel();
    }
    QDialog::reject();
}

void CWizardFrame::closeEvent(QCloseEvent *event)
{
    if (!m_cancel) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
