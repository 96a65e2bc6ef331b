#include "CPrefsDialog.h"
#include "UiUtilities.h"

#include "CFitScrollArea.h"
#include "CPrefsStatic.h"
#include "ContextHelp.h"
#include "CPrefsSubDlg.h"
#include "ScreenFit.h"
#include "Texts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStackedLayout>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

CPrefsDialog::Translator &translator()
{
    static CPrefsDialog::Translator t;
    return t;
}

} // namespace

void CPrefsDialog::SetTranslator(Translator t)
{
    translator() = std::move(t);
}

CPrefsDialog::CPrefsDialog(QWidget *parent, int dialogId)
    : QDialog(parent)
    , m_dialogId(dialogId)
{
    setProperty("dialogId", dialogId);
    setModal(true);

    m_tree = new QTreeWidget(this);
    m_tree->setProperty("controlId", int(TreeControl));
    m_tree->setObjectName(QString::number(TreeControl));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setRootIsDecorated(false);
    m_tree->setMouseTracking(true); // hovered items are shown as such
    m_tree->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &CPrefsDialog::OnTreeSelection);

    m_caption = new CPrefsStatic(this);
    m_caption->setProperty("controlId", int(CaptionControl));
    m_caption->setObjectName(QString::number(CaptionControl));

    m_area = new QWidget(this);
    m_area->setProperty("controlId", int(PageAreaControl));
    m_area->setObjectName(QString::number(PageAreaControl));
    m_area->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_stack = new QStackedLayout(m_area);
    m_stack->setContentsMargins(2, 2, 2, 2);
    m_scroller = new CFitScrollArea(m_area, this);
    // A page that shows more fields may need the screen's room again.
    connect(m_scroller, &CFitScrollArea::contentsMinimumChanged, this, [this] {
        if (isVisible())
            FitScreen();
    });

    m_ok = new QPushButton(Platform::Texts::get(9001), this);
    m_ok->setProperty("controlId", int(OkControl));
    m_ok->setObjectName(QString::number(OkControl));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &CPrefsDialog::accept);
    m_cancel = new QPushButton(Platform::Texts::get(9002), this);
    m_cancel->setProperty("controlId", int(CancelControl));
    m_cancel->setObjectName(QString::number(CancelControl));
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &CPrefsDialog::reject);

    auto *right = new QVBoxLayout;
    right->setContentsMargins(0, 0, 0, 0);
    right->addWidget(m_caption);
    right->addWidget(m_scroller, 1);

    auto *body = new QHBoxLayout;
    body->addWidget(m_tree);
    body->addLayout(right, 1);

    auto *buttons = ButtonRow({m_ok, m_cancel});
    m_buttonRow = buttons;
    // F1 and the help button open the page shown.
    ContextHelp::Install(this, [this] {
        const CPrefsSubDlg *page = Page(m_current);
        return ContextHelp::DialogContext(page ? page->TemplateId() : m_dialogId);
    });
    ContextHelp::AddButton(buttons, this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
}

CPrefsDialog::~CPrefsDialog()
{
    // The pages belong to the caller: let go of them before the frame's
    // children are destroyed.
    for (PageRecord &r : m_pages) {
        if (r.page && r.page->parentWidget()) {
            r.page->hide();
            r.page->setParent(nullptr);
        }
    }
}

bool CPrefsDialog::AddPage(CPrefsSubDlg *page, int captionId, const QString &caption, bool hidden)
{
    if (m_initialised || !page)
        return false;
    PageRecord r;
    r.page = page;
    r.templateId = page->TemplateId();
    r.caption = caption;
    r.captionId = captionId;
    r.hidden = hidden;
    m_pages.push_back(r);
    return true;
}

void CPrefsDialog::SetTitle(const QString &title)
{
    m_title = title;
    if (m_initialised)
        setWindowTitle(title);
}

void CPrefsDialog::SetCaptionText(const QString &text)
{
    m_captionText = text;
    m_caption->SetConstantText(text);
}

void CPrefsDialog::SetStartPage(CPrefsSubDlg *page)
{
    m_startPage = page;
}

CPrefsSubDlg *CPrefsDialog::Page(int index) const
{
    return index >= 0 && index < PageCount() ? m_pages[size_t(index)].page.data() : nullptr;
}

QString CPrefsDialog::PageCaption(int index) const
{
    return index >= 0 && index < PageCount() ? m_pages[size_t(index)].caption : QString();
}

int CPrefsDialog::PageIndex(const CPrefsSubDlg *page) const
{
    for (int i = 0; i < PageCount(); ++i) {
        if (page && m_pages[size_t(i)].page == page)
            return i;
    }
    return -1;
}

void CPrefsDialog::TranslateFrame()
{
    if (translator())
        translator()(this, m_dialogId);
    // The tree is as wide as its longest caption.
    int widest = 0;
    const QFontMetrics metrics = m_tree->fontMetrics();
    for (const PageRecord &r : m_pages)
        widest = std::max(widest, metrics.horizontalAdvance(r.caption));
    m_tree->setFixedWidth(widest + m_tree->indentation() + 2 * m_tree->frameWidth()
                          + metrics.averageCharWidth() * 4);
}

void CPrefsDialog::InitDialog()
{
    if (m_initialised)
        return;
    m_initialised = true;
    TranslateFrame();
    setWindowTitle(m_title);
    // The caption in the button face's colour (the band's default), bold.
    m_caption->SetFontWeight(700);
    m_caption->SetFontHeight(14);
    m_caption->SetFontFace(font().family());
    m_caption->SetConstantText(m_captionText);

    m_selecting = true;
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i].hidden)
            continue;
        auto *item = new QTreeWidgetItem(m_tree, QStringList(m_pages[i].caption));
        item->setData(0, Qt::UserRole, int(i));
        m_pages[i].item = item;
    }
    m_selecting = false;

    const int start = PageIndex(m_startPage);
    ShowPage(start >= 0 ? start : 0);
}

int CPrefsDialog::DoModal()
{
    InitDialog();
    return exec() == QDialog::Accepted ? 1 : 2;
}

void CPrefsDialog::showEvent(QShowEvent *event)
{
    InitDialog();
    ScreenFit::ShrinkParts(this, {m_scroller});
    // Never sized yet, it opens at the size its pages ask for, as far as
    // the screen holds it: not at two thirds of a small screen, where its
    // lists would be narrowed although the screen has the room.
    if (!testAttribute(Qt::WA_Resized))
        resize(sizeHint().expandedTo(minimumSizeHint()));
    // Over its owner at that size, within the screen.
    ScreenFit::Into(this);
    QDialog::showEvent(event);
}

void CPrefsDialog::FitScreen()
{
    ScreenFit::ShrinkParts(this, {m_scroller});
    ScreenFit::Into(this);
}

bool CPrefsDialog::ShowPage(int index)
{
    CPrefsSubDlg *page = Page(index);
    if (!page)
        return false;
    PageRecord &r = m_pages[size_t(index)];
    m_caption->SetText(r.caption);
    if (!page->IsCreated()) {
        page->Create(m_area);
        m_stack->addWidget(page);
    } else if (m_stack->indexOf(page) < 0) {
        m_stack->addWidget(page);
    }
    // Every page made later took the place after the tree: the page shown
    // takes it back.
    PlaceInTabOrder(page);
    m_stack->setCurrentWidget(page);
    page->show();
    m_current = index;
    SelectTreeItem(index);
    // A page built now may need more room than the ones before it.
    if (isVisible())
        FitScreen();
    if (QWidget *first = FirstFocusable(page))
        first->setFocus(Qt::OtherFocusReason);
    OnPageShown(index);
    return true;
}

bool CPrefsDialog::IsPageHidden(int index) const
{
    return index >= 0 && index < PageCount() && m_pages[size_t(index)].hidden;
}

void CPrefsDialog::ShowPageAfter(int index, int after)
{
    if (index < 0 || index >= PageCount())
        return;
    PageRecord &r = m_pages[size_t(index)];
    r.hidden = false;
    if (r.item || !m_initialised)
        return;
    const QTreeWidgetItem *previous = after >= 0 && after < PageCount() ? m_pages[size_t(after)].item : nullptr;
    const int position = previous ? m_tree->indexOfTopLevelItem(const_cast<QTreeWidgetItem *>(previous)) + 1 : 0;
    auto *item = new QTreeWidgetItem(QStringList(r.caption));
    item->setData(0, Qt::UserRole, index);
    m_selecting = true;
    m_tree->insertTopLevelItem(position, item);
    m_selecting = false;
    r.item = item;
}

void CPrefsDialog::HidePage(int index)
{
    if (index < 0 || index >= PageCount())
        return;
    PageRecord &r = m_pages[size_t(index)];
    r.hidden = true;
    if (!r.item)
        return;
    m_selecting = true;
    delete r.item;
    r.item = nullptr;
    m_selecting = false;
}

void CPrefsDialog::PlaceInTabOrder(CPrefsSubDlg *page)
{
    // Tab goes from the tree through the page's controls to the buttons.
    QList<QWidget *> chain;
    for (QWidget *w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && !chain.contains(w))
            chain << w;
    }
    QWidget *previous = m_tree;
    for (QWidget *w : chain) {
        QWidget::setTabOrder(previous, w);
        previous = w;
    }
    QWidget::setTabOrder(previous, m_ok);
    QWidget::setTabOrder(m_ok, m_cancel);
}

void CPrefsDialog::SelectTreeItem(int index)
{
    const PageRecord &r = m_pages[size_t(index)];
    if (!r.item || m_tree->currentItem() == r.item)
        return;
    m_selecting = true;
    m_tree->setCurrentItem(r.item);
    m_selecting = false;
}

void CPrefsDialog::OnTreeSelection(QTreeWidgetItem *current, QTreeWidgetItem *previous)
{
    if (m_selecting || !current)
        return;
    const int index = current->data(0, Qt::UserRole).toInt();
    if (index == m_current)
        return;
    CPrefsSubDlg *shown = Page(m_current);
    if (m_validateOnChange && shown && shown->IsCreated() && !shown->ValidatePage()) {
        // The page keeps the user; the tree goes back to it.
        QWidget *focus = focusWidget();
        m_selecting = true;
        m_tree->setCurrentItem(previous);
        m_selecting = false;
        FocusLater(focus);
        return;
    }
    // Walking the tree with the keys keeps the focus in the tree.
    const bool treeHadFocus = m_tree->hasFocus();
    ShowPage(index);
    if (treeHadFocus)
        m_tree->setFocus(Qt::OtherFocusReason);
}

void CPrefsDialog::FocusLater(QWidget *widget)
{
    QPointer<QWidget> target(widget);
    QTimer::singleShot(0, this, [target] {
        if (target)
            target->setFocus(Qt::OtherFocusReason);
    });
}

void CPrefsDialog::accept()
{
    std::vector<int> built;
    for (int i = 0; i < PageCount(); ++i) {
        if (CPrefsSubDlg *page = Page(i); page && page->IsCreated())
            built.push_back(i);
    }
    for (int i : built) {
        if (!Page(i)->ValidatePage()) {
            ShowPage(i);
            return;
        }
    }
    // Work that may still fail, once every page agreed; a failure undoes
    // what the pages before it prepared.
    for (size_t n = 0; n < built.size(); ++n) {
        if (!Page(built[n])->PrepareApply()) {
            for (size_t back = n; back-- > 0;)
                Page(built[back])->AbandonApply();
            ShowPage(built[n]);
            return;
        }
    }
    for (int i : built)
        Page(i)->OnOK();
    for (int i : built)
        Page(i)->CompleteApply();
    QDialog::accept();
}

void CPrefsDialog::reject()
{
    for (int i = 0; i < PageCount(); ++i) {
        if (CPrefsSubDlg *page = Page(i); page && page->IsCreated())
            page->OnCancel();
    }
    QDialog::reject();
}

void CPrefsDialog::Retranslate()
{
    for (int i = 0; i < PageCount(); ++i) {
        PageRecord &r = m_pages[size_t(i)];
        if (!r.page)
            continue;
        if (r.captionId > 0)
            r.caption = Platform::Texts::get(r.captionId);
        if (i == m_current)
            m_caption->SetText(r.caption);
        if (r.item)
            r.item->setText(0, r.caption);
        r.page->TranslatePage();
    }
    TranslateFrame();
}
