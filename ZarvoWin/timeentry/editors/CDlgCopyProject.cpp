#include "CDlgCopyProject.h"
#include "CutTextTips.h"
#include "UiUtilities.h"

#include "CAppData.h"
#include "CBdD.h"
#include "ContextHelp.h"
#include "CProject.h"
#include "CProjectStore.h"
#include "CTreeWidgetFiller.h"
#include "CWaitCursor.h"
#include "DialogAnswers.h"
#include "EntryDialogWidgets.h"
#include "Formatter.h"
#include "MessageBoxParams.h"
#include "RecordEditorServices.h"
#include "RecordEditorTools.h"
#include "Texts.h"
#include "TranslateWidgets.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <vector>


namespace {

int idOf(const QTreeWidgetItem *item)
{
    return item ? int(item->data(0, CTreeWidgetFiller::DataRole).toLongLong()) : -1;
}

// The store's node of a project id, not the root; null when unknown.
const CProject *projectNode(int id)
{
    const CProjectStore *store = CAppData::ProjectStore();
    if (id == -1 || !store)
        return nullptr;
    const CProject *node = store->GetNode(id);
    return node && !node->IsRoot() ? node : nullptr;
}

} // namespace

CDlgCopyProject::CDlgCopyProject(QWidget *parent)
    : QDialog(parent)
    , m_hold(CAppData::ProjectStore())
{
    m_name = Numbered(new QLineEdit(this), IdName);
    m_name->setMaxLength(tElement::MaxNameLength);
    m_tree = Numbered(new QTreeWidget(this), IdTree);
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setMinimumSize(m_tree->fontMetrics().averageCharWidth() * 45,
                           m_tree->fontMetrics().height() * 14);
    CutTextTips::Apply(m_tree);
    m_fullName = Numbered(new QLineEdit(this), IdFullName);
    m_fullName->setReadOnly(true);

    auto *options = Numbered(new QGroupBox(this), IdOptions);
    m_childrenYes = Numbered(new QRadioButton(options), IdChildrenYes);
    m_childrenNo = Numbered(new QRadioButton(options), IdChildrenNo);
    m_plansYes = Numbered(new QRadioButton(options), IdPlansYes);
    m_plansNo = Numbered(new QRadioButton(options), IdPlansNo);
    // Each pair of radios is a choice of its own.
    auto *children = new QButtonGroup(this);
    children->addButton(m_childrenYes);
    children->addButton(m_childrenNo);
    auto *plans = new QButtonGroup(this);
    plans->addButton(m_plansYes);
    plans->addButton(m_plansNo);

    auto *notePicture = new QLabel(options);
    const int iconSize = notePicture->style()->pixelMetric(QStyle::PM_SmallIconSize);
    notePicture->setPixmap(QIcon::fromTheme(QStringLiteral("dialog-information")).pixmap(iconSize));
    auto *noteText = Numbered(new QLabel(options), IdNote);
    m_note = new QWidget(options);
    auto *note = new QHBoxLayout(m_note);
    note->setContentsMargins(0, 0, 0, 0);
    note->addWidget(notePicture);
    note->addWidget(noteText, 1);

    auto *choices = new QGridLayout(options);
    choices->addWidget(Numbered(new QLabel(options), IdChildrenLabel), 0, 0);
    choices->addWidget(m_childrenYes, 0, 1);
    choices->addWidget(m_childrenNo, 0, 2);
    choices->addWidget(Numbered(new QLabel(options), IdPlansLabel), 1, 0);
    choices->addWidget(m_plansYes, 1, 1);
    choices->addWidget(m_plansNo, 1, 2);
    choices->addWidget(m_note, 2, 0, 1, 3);
    choices->setColumnStretch(0, 1);

    m_copy = Numbered(new QPushButton(this), IdCopy);
    m_copy->setDefault(true);
    auto *cancel = Numbered(new QPushButton(this), IdCancel);
    cancel->setAutoDefault(false);

    auto *fields = new QGridLayout;
    fields->addWidget(Numbered(new QLabel(this), IdNameLabel), 0, 0);
    fields->addWidget(m_name, 0, 1);
    fields->addWidget(Numbered(new QLabel(this), IdParentLabel), 1, 0, Qt::AlignTop);
    fields->addWidget(m_tree, 1, 1);
    fields->addWidget(m_fullName, 2, 1);
    fields->setColumnStretch(1, 1);
    fields->setRowStretch(1, 1);

    auto *buttons = ButtonRow({m_copy, cancel});
    ContextHelp::AddButton(buttons, this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addWidget(options);
    layout->addLayout(buttons);

    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, [this] { OnSelectionChanged(); });
    connect(m_plansYes, &QRadioButton::toggled, this, [this] { UpdateNote(); });
    connect(m_copy, &QPushButton::clicked, this, [this] { OnCopy(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ContextHelp::Install(this, DialogId);

    TranslateDialog(this, DialogId);
}

void CDlgCopyProject::SetProjects(CProject *source, CProject *target)
{
    m_source = source;
    if (target)
        m_targetParentId = target->IsRoot() ? -1 : target->ProjectId();
    else
        m_targetParentId = source ? source->Element().Parent : -1;
    m_givenParentId = m_targetParentId;
}

void CDlgCopyProject::SetSibling(const CProject *sibling, bool before)
{
    m_sibling = sibling;
    m_before = before;
}

int CDlgCopyProject::exec()
{
    Prepare();
    if (DialogAnswers<CDlgCopyProject> *answers = DialogAnswers<CDlgCopyProject>::Active())
        return answers->Answer(*this);
    return QDialog::exec();
}

void CDlgCopyProject::Prepare()
{
    if (m_prepared)
        return;
    m_prepared = true;
    if (m_source)
        m_name->setText(m_source->Element().Nom);

    const QSignalBlocker quiet(m_tree);
    // A project is never copied into itself or below itself.
    QTreeWidgetItem *top =
        RecordEditorTools::FillParentTree(m_tree, m_source && !m_source->IsActivity() ? m_source->ProjectId() : -1);

    QTreeWidgetItem *target = m_targetParentId == -1 ? top : FindItem(m_targetParentId);
    ShowParentName(m_targetParentId);
    if (target) {
        m_tree->setCurrentItem(target);
        target->setSelected(true);
        m_tree->scrollToItem(target, QAbstractItemView::PositionAtTop);
    }
    m_targetItem = target;

    m_childrenYes->setChecked(true);
    m_plansNo->setChecked(true);
    UpdateNote();
    m_name->setFocus();
}

QTreeWidgetItem *CDlgCopyProject::FindItem(int id) const
{
    return RecordEditorTools::FindParentItem(m_tree, id);
}

void CDlgCopyProject::ShowParentName(int id)
{
    const CProject *node = projectNode(id);
    m_fullName->setText(node ? node->GetFullName() : QString());
}

void CDlgCopyProject::OnSelectionChanged()
{
    const QList<QTreeWidgetItem *> chosen = m_tree->selectedItems();
    QTreeWidgetItem *item = chosen.isEmpty() ? nullptr : chosen.first();
    const int id = idOf(item);
    if (item && m_source) {
        CProjectStore *store = CAppData::ProjectStore();
        CProject *node = store && id != -1 ? store->GetNode(id) : nullptr;
        if (node && !node->IsRoot() && !node->CanAdopt(m_source)) {
            RecordEditorTools::Ask(
                this, MessageBoxType::Ok | MessageBoxType::IconExclamation,
                Platform::Formatter::sprintf(Platform::Texts::get(616), {m_source->GetName(), node->GetName()}),
                173);
            // The previous parent comes back.
            const QSignalBlocker quiet(m_tree);
            m_tree->clearSelection();
            if (m_targetItem) {
                m_tree->setCurrentItem(m_targetItem);
                m_targetItem->setSelected(true);
            }
            return;
        }
    }
    m_targetItem = item;
    m_targetParentId = id;
    ShowParentName(id);
}

void CDlgCopyProject::UpdateNote()
{
    m_note->setVisible(m_plansYes->isChecked());
}

void CDlgCopyProject::done(int result)
{
    QDialog::done(result);
    // Closed, the dialog reads no node again: the copy shows in the store
    // when the caller looks.
    m_hold.Release();
}

void CDlgCopyProject::OnCopy()
{
    if (!m_source)
        return;
    const QString name = m_name->text();
    const bool withChildren = m_childrenYes->isChecked();
    const bool withPlans = m_plansYes->isChecked();
    // A sibling of reference belongs to the parent given with it.
    if (m_targetParentId != m_givenParentId)
        m_sibling = nullptr;
    int created;
    {
        CWaitCursor wait;
        CBdD db;
        created = db.CreateProject(m_source, m_targetParentId, name, withChildren, withPlans, m_sibling,
                                   m_before);
    }
    if (created < 0) {
        RecordEditorTools::Ask(this, MessageBoxType::Ok | MessageBoxType::IconExclamation,
                               Platform::Formatter::sprintf(Platform::Texts::get(674), {m_source->GetName()}), 173);
        return;
    }
    accept();
}
