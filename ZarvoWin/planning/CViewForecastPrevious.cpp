#include "CViewForecastPrevious.h"

#include "CAppData.h"
#include "CDlgSelectProject.h"
#include "CPredecessor.h"
#include "CProject.h"
#include "CProjectStore.h"
#include "CStretchInView.h"
#include "EntryDialogWidgets.h"
#include "MessageBoxParams.h"
#include "RememberedMessageBox.h"
#include "RichMessageBox.h"
#include "Texts.h"
#include "TranslateWidgets.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int ProjectRole = Qt::UserRole;
constexpr int ActivityRole = Qt::UserRole + 1;
constexpr int LagRole = Qt::UserRole + 2;
constexpr int UnitRole = Qt::UserRole + 3;

void showError(QWidget *owner, const QString &text)
{
    RichMessageBox(MessageBoxType::IconExclamation, owner, text, Platform::Texts::get(173));
}

} // namespace

CViewForecastPrevious::CViewForecastPrevious(QWidget *parent)
    : CForecastPage(parent)
{
    m_list = Numbered(new QTreeWidget(this), IdList);
    m_list->setRootIsDecorated(false);
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({Platform::Texts::get(568), Platform::Texts::get(659)});
    m_list->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    m_list->setColumnWidth(0, 450);
    m_list->setColumnWidth(1, 120);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_add = Numbered(new QPushButton(this), IdAdd);
    m_remove = Numbered(new QPushButton(this), IdRemove);
    m_change = Numbered(new QPushButton(this), IdChange);
    for (QPushButton *button : {m_add, m_remove, m_change})
        button->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_add);
    buttons->addWidget(m_change);
    buttons->addWidget(m_remove);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    // Where the page is taller than the editor's view (on a small screen,
    // as tall as the planning page), the list gives up height so that its
    // buttons show without scrolling; the rest of the page stays empty.
    layout->addStretch(0);
    new CStretchInView(m_list, m_add);

    connect(m_add, &QPushButton::clicked, this, [this] { OnAdd(); });
    connect(m_change, &QPushButton::clicked, this, [this] { OnChange(); });
    connect(m_remove, &QPushButton::clicked, this, [this] { OnRemove(); });
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { OnChange(); });
    // A double click beside every row adds.
    m_list->viewport()->installEventFilter(this);

    TranslateDialog(this, DialogId);
    UpdateButtons();
}

void CViewForecastPrevious::SetProject(bool isNew, CProject *node)
{
    m_node = node;
    m_new = isNew;
    m_list->clear();
    const CProjectStore *store = CAppData::ProjectStore();
    if (node && store) {
        for (const CPredecessor &link : node->Predecessors()) {
            const CProject *predecessor = store->FindNode(link.IdActivity, link.IdProject);
            if (!predecessor)
                continue;
            FillRow(new QTreeWidgetItem(m_list), predecessor, link.IdProject, link.IdActivity, link.Lag,
                    link.LagUnit);
        }
    }
    UpdateButtons();
}

void CViewForecastPrevious::FillRow(QTreeWidgetItem *item, const CProject *predecessor, int projectId,
                                    int activityId, int lag, int unit)
{
    CPredecessor link;
    link.IdProject = projectId;
    link.IdActivity = activityId;
    link.Lag = lag;
    link.LagUnit = unit;
    item->setText(0, predecessor ? predecessor->GetFullName() : QString());
    item->setText(1, link.FormatLag());
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    item->setData(0, ProjectRole, projectId);
    item->setData(0, ActivityRole, activityId);
    item->setData(0, LagRole, lag);
    item->setData(0, UnitRole, unit);
}

void CViewForecastPrevious::UpdateButtons()
{
    const bool selected = !m_list->selectedItems().isEmpty();
    m_add->setEnabled(true);
    m_change->setEnabled(selected);
    m_remove->setEnabled(selected);
}

bool CViewForecastPrevious::Pick(CProject *&chosen, int &lag, int &unit, CProject *preset)
{
    CDlgSelectProject picker(window());
    if (!m_new)
        picker.SetExcluded(m_node);
    picker.SetSelected(preset);
    picker.SetLag(lag, unit);
    if (picker.exec() != QDialog::Accepted || !picker.Selected())
        return false;
    chosen = picker.Selected();
    lag = picker.Lag();
    unit = picker.LagUnit();
    return true;
}

bool CViewForecastPrevious::Accepts(CProject *predecessor)
{
    CProjectStore *store = CAppData::ProjectStore();
    if (!m_node || !store) {
        showError(this, Platform::Texts::get(CProjectStore::LinkLoop));
        return false;
    }
    int answer = store->CheckNewPredecessor(m_node, predecessor, true);
    if (answer == CProjectStore::LinkTimedOut) {
        const int choice = RichMessageBox(MessageBoxType::YesNo | MessageBoxType::IconQuestion, this,
                                          Platform::Texts::get(664), Platform::Texts::get(166));
        if (choice == MessageBoxAnswer::No)
            return false;
        // A loop must never be stored because the time ran out: the check
        // runs again to its end.
        answer = store->CheckNewPredecessor(m_node, predecessor, false);
    }
    if (answer == CProjectStore::LinkAdded)
        return true;
    showError(this, CProjectStore::PredecessorMessage(answer, predecessor->GetFullName()));
    return false;
}

void CViewForecastPrevious::OnAdd()
{
    CProject *chosen = nullptr;
    int lag = 0;
    int unit = CDlgSelectProject::Days;
    if (!Pick(chosen, lag, unit, nullptr))
        return;
    if (!Accepts(chosen))
        return;
    m_node->SetPredecessor(chosen->ProjectId(), chosen->ActivityId(), lag, unit);
    auto *item = new QTreeWidgetItem(m_list);
    FillRow(item, chosen, chosen->ProjectId(), chosen->ActivityId(), lag, unit);
    UpdateButtons();
}

void CViewForecastPrevious::OnChange()
{
    const QList<QTreeWidgetItem *> selected = m_list->selectedItems();
    if (selected.isEmpty() || !m_node)
        return;
    QTreeWidgetItem *item = selected.front();
    const int oldProject = item->data(0, ProjectRole).toInt();
    const int oldActivity = item->data(0, ActivityRole).toInt();
    const int oldLag = item->data(0, LagRole).toInt();
    const int oldUnit = item->data(0, UnitRole).toInt();
    CProjectStore *store = CAppData::ProjectStore();
    CProject *preset = store ? store->FindNode(oldActivity, oldProject) : nullptr;
    CProject *chosen = nullptr;
    int lag = oldLag;
    int unit = oldUnit;
    if (!Pick(chosen, lag, unit, preset))
        return;
    const bool sameNode = chosen->ProjectId() == oldProject && chosen->ActivityId() == oldActivity;
    if (sameNode && lag == oldLag && unit == oldUnit)
        return;
    // A new lag alone cannot close a loop.
    if (!sameNode && !Accepts(chosen))
        return;
    if (!m_node->ReplacePredecessor(oldProject, oldActivity, chosen->ProjectId(), chosen->ActivityId(), lag, unit))
        return;
    FillRow(item, chosen, chosen->ProjectId(), chosen->ActivityId(), lag, unit);
}

void CViewForecastPrevious::OnRemove()
{
    const QList<QTreeWidgetItem *> selected = m_list->selectedItems();
    if (selected.isEmpty() || !m_node)
        return;
    const int answer = RememberedMessageBox(Platform::Texts::get(573), Platform::Texts::get(166), this,
                                            RemoveQuestion, 0, MessageBoxType::YesNo | MessageBoxType::IconQuestion);
    if (answer == MessageBoxAnswer::No)
        return;
    QTreeWidgetItem *item = selected.front();
    if (!m_node->RemovePredecessor(item->data(0, ProjectRole).toInt(), item->data(0, ActivityRole).toInt()))
        return;
    const int index = m_list->indexOfTopLevelItem(item);
    delete item;
    const int count = m_list->topLevelItemCount();
    if (count > 0) {
        QTreeWidgetItem *next = m_list->topLevelItem(qMin(index, count - 1));
        m_list->setCurrentItem(next);
        next->setSelected(true);
    }
    UpdateButtons();
}

bool CViewForecastPrevious::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (!m_list->itemAt(mouse->position().toPoint())) {
            OnAdd();
            return true;
        }
    }
    return CForecastPage::eventFilter(watched, event);
}
