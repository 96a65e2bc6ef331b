#include "CReportProject.h"

#include "CWizardDialog.h"
#include "CmyTreeCtrl.h"
#include "ImageList.h"
#include "ReportSelectionList.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "UiUtilities.h"
#include "WidgetIds.h"
#include "tReportDefinition.h"
#include "tReportSnapshot.h"

#include <QCollator>
#include <QHash>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int ProjectRole = Qt::UserRole;
constexpr int ActivityRole = Qt::UserRole + 1;
// Items that stand for a project and activity pair (not the extra item).
constexpr int PairRole = Qt::UserRole + 2;
// Pictures of the application's image list: an activity, and the item of
// entries without a project or activity.
constexpr int ActivityImage = 16;
constexpr int UndefinedImage = 29;

template <typename T> T *numbered(T *widget, int id)
{
    WidgetIds::SetControlId(widget, id);
    widget->setObjectName(QString::number(id));
    return widget;
}

QTreeWidgetItem *checkable(const QString &text, bool checked)
{
    auto *item = new QTreeWidgetItem(QStringList(text));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    return item;
}

template <typename F> void walk(QTreeWidgetItem *item, const F &f)
{
    for (int i = 0; i < item->childCount(); ++i) {
        QTreeWidgetItem *child = item->child(i);
        f(child);
        walk(child, f);
    }
}

} // namespace

CReportProject::CReportProject(bool projectsMode, bool pairsMode)
    : CReportWizardPage(DialogId)
    , m_projects(projectsMode)
    , m_pairs(projectsMode && pairsMode)
{
}

void CReportProject::OnInitDialog()
{
    m_label = numbered(new QLabel(this), ListLabel);
    m_tree = numbered(new CmyTreeCtrl(this), Tree);
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);
    m_warningIcon = numbered(new QLabel(this), WarningIcon);
    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize);
    m_warningIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(iconSize, iconSize));
    m_warning = numbered(new QLabel(this), WarningText);
    m_warning->setWordWrap(true);
    ImageList::UseFallbackIconTheme();
    m_checkAll = numbered(new QPushButton(this), CheckAllButton);
    m_checkAll->setIcon(QIcon::fromTheme(QStringLiteral("edit-select-all")));
    m_checkAll->setAutoDefault(false);
    m_uncheckAll = numbered(new QPushButton(this), UncheckAllButton);
    m_uncheckAll->setIcon(QIcon::fromTheme(QStringLiteral("edit-select-none")));
    m_uncheckAll->setAutoDefault(false);

    auto *top = new QHBoxLayout;
    top->addWidget(m_label, 1);
    top->addWidget(m_checkAll);
    top->addWidget(m_uncheckAll);
    auto *warningRow = new QHBoxLayout;
    warningRow->addWidget(m_warningIcon);
    warningRow->addWidget(m_warning, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_tree, 1);
    layout->addLayout(warningRow);

    TranslatePage();
    FillTree();

    connect(m_tree, &CmyTreeCtrl::checkChanged, this, [this] { UpdateWarning(); });
    connect(m_checkAll, &QPushButton::clicked, this, [this] { CheckAll(true); });
    connect(m_uncheckAll, &QPushButton::clicked, this, [this] { CheckAll(false); });
}

void CReportProject::TranslatePage()
{
    if (!IsCreated() || !m_tree)
        return;
    TranslateDialog(this, DialogId);
    // The texts of the instance: projects or activities.
    m_label->setText(Platform::Texts::get(m_projects ? 302 : 309));
    m_warning->setText(Platform::Texts::get(m_projects ? 303 : 310));
    m_checkAll->setToolTip(Platform::Texts::get(m_projects ? 300 : 307));
    m_uncheckAll->setToolTip(Platform::Texts::get(m_projects ? 301 : 308));
}

void CReportProject::FillTree()
{
    m_tree->clear();
    if (m_definition) {
        if (m_projects)
            FillProjects(m_definition->Projets);
        else
            FillActivities(m_definition->Activites);
    }
    m_tree->verticalScrollBar()->setValue(0);
    m_tree->clearSelection();
    m_tree->setCurrentItem(nullptr);
    UpdateWarning();
}

QIcon CReportProject::Image(int index) const
{
    return m_images ? m_images->Icon(index) : QIcon();
}

void CReportProject::FillProjects(const QString &list)
{
    QList<QTreeWidgetItem *> top;
    // One icon per picture, shared by the items.
    QHash<int, QIcon> icons;
    const auto icon = [this, &icons](int index) {
        auto it = icons.find(index);
        if (it == icons.end())
            it = icons.insert(index, Image(index));
        return *it;
    };
    if (m_snapshot && !m_snapshot->Nodes.empty()) {
        const std::vector<tReportSnapshot::tNode> &nodes = m_snapshot->Nodes;
        // Depth first from the root, the items made before they join the
        // tree so that the tree lays them out once.
        struct Pending
        {
            int node;
            QTreeWidgetItem *parent;
        };
        std::vector<Pending> stack;
        for (auto it = nodes[0].Children.rbegin(); it != nodes[0].Children.rend(); ++it)
            stack.push_back({*it, nullptr});
        while (!stack.empty()) {
            const Pending p = stack.back();
            stack.pop_back();
            if (p.node < 0 || p.node >= int(nodes.size()))
                continue;
            const tReportSnapshot::tNode &node = nodes[size_t(p.node)];
            const bool activity = node.ActivityId != -2;
            if (activity && !(m_pairs && m_showActivities))
                continue;
            const QString text = activity ? m_snapshot->ActivityName(node.ActivityId) : m_snapshot->ProjectName(node.ProjectId);
            const bool checked = m_pairs ? ReportSelectionList::IsPairChecked(list, node.ProjectId, node.ActivityId)
                                         : ReportSelectionList::IsIdChecked(list, node.ProjectId);
            QTreeWidgetItem *item = checkable(text, checked);
            item->setData(0, ProjectRole, node.ProjectId);
            item->setData(0, ActivityRole, node.ActivityId);
            item->setData(0, PairRole, true);
            if (m_images) {
                const tReportSnapshot::tProject *project = m_snapshot->Project(node.ProjectId);
                item->setIcon(0, icon(activity ? ActivityImage : GetProjectStateImage(project ? project->Type : 0)));
            }
            if (p.parent)
                p.parent->addChild(item);
            else
                top.append(item);
            for (auto it = node.Children.rbegin(); it != node.Children.rend(); ++it)
                stack.push_back({*it, item});
        }
    }
    if (!m_pairs) {
        QTreeWidgetItem *none = checkable(Platform::Texts::get(501), ReportSelectionList::IsUndefinedChecked(list));
        none->setData(0, ProjectRole, -1);
        none->setIcon(0, Image(UndefinedImage));
        top.append(none);
    }
    m_tree->addTopLevelItems(top);
}

void CReportProject::FillActivities(const QString &list)
{
    QList<QTreeWidgetItem *> top;
    if (m_snapshot) {
        std::vector<std::pair<QString, int>> activities;
        for (auto it = m_snapshot->Activities.cbegin(); it != m_snapshot->Activities.cend(); ++it)
            activities.emplace_back(it.value().Nom, it.key());
        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::sort(activities.begin(), activities.end(), [&collator](const auto &a, const auto &b) {
            const int c = collator.compare(a.first, b.first);
            return c != 0 ? c < 0 : a.second < b.second;
        });
        const QIcon activityIcon = Image(ActivityImage);
        for (const auto &[name, id] : activities) {
            QTreeWidgetItem *item = checkable(name, ReportSelectionList::IsIdChecked(list, id));
            item->setData(0, ProjectRole, id);
            item->setIcon(0, activityIcon);
            top.append(item);
        }
    }
    QTreeWidgetItem *none = checkable(Platform::Texts::get(502), ReportSelectionList::IsUndefinedChecked(list));
    none->setData(0, ProjectRole, -1);
    none->setIcon(0, Image(UndefinedImage));
    top.append(none);
    m_tree->addTopLevelItems(top);
}

void CReportProject::focusInEvent(QFocusEvent *event)
{
    CReportWizardPage::focusInEvent(event);
    if (m_tree)
        m_tree->clearSelection();
}

bool CReportProject::IsWarningShown() const
{
    return m_warning && !m_warning->isHidden();
}

void CReportProject::UpdateWarning()
{
    bool any = false;
    QTreeWidgetItem *root = m_tree->invisibleRootItem();
    std::vector<QTreeWidgetItem *> stack{root};
    while (!stack.empty() && !any) {
        QTreeWidgetItem *item = stack.back();
        stack.pop_back();
        for (int i = 0; i < item->childCount() && !any; ++i) {
            any = item->child(i)->checkState(0) == Qt::Checked;
            stack.push_back(item->child(i));
        }
    }
    m_warning->setVisible(!any);
    m_warningIcon->setVisible(!any);
    CWizardDialog::PostEnableNavigation(this, any);
}

void CReportProject::CheckAll(bool checked)
{
    m_tree->SetCheckRecursive(m_tree->invisibleRootItem(), checked ? Qt::Checked : Qt::Unchecked);
    m_warning->setVisible(!checked);
    m_warningIcon->setVisible(!checked);
    CWizardDialog::PostEnableNavigation(this, checked);
}

bool CReportProject::ValidatePage()
{
    return !IsWarningShown();
}

std::vector<int> CReportProject::CheckedIds(bool &allChecked) const
{
    std::vector<int> ids;
    allChecked = true;
    walk(m_tree->invisibleRootItem(), [&](QTreeWidgetItem *item) {
        if (item->checkState(0) == Qt::Checked)
            ids.push_back(item->data(0, ProjectRole).toInt());
        else
            allChecked = false;
    });
    return ids;
}

std::vector<std::pair<int, int>> CReportProject::CheckedPairs(bool &allChecked) const
{
    std::vector<std::pair<int, int>> pairs;
    allChecked = true;
    walk(m_tree->invisibleRootItem(), [&](QTreeWidgetItem *item) {
        if (item->checkState(0) != Qt::Checked) {
            allChecked = false;
            return;
        }
        if (item->data(0, PairRole).toBool())
            pairs.emplace_back(item->data(0, ProjectRole).toInt(), item->data(0, ActivityRole).toInt());
    });
    return pairs;
}

void CReportProject::OnOK()
{
    if (!m_definition || !m_tree)
        return;
    bool all = false;
    if (m_projects) {
        // Only the projects page of the report's kind writes the list.
        if (m_pairs != (m_definition->Type == 4))
            return;
        if (m_pairs) {
            const auto pairs = CheckedPairs(all);
            m_definition->Projets = ReportSelectionList::WritePairs(pairs, all);
        } else {
            const auto ids = CheckedIds(all);
            m_definition->Projets = ReportSelectionList::WriteIds(ids, all);
        }
    } else {
        const auto ids = CheckedIds(all);
        m_definition->Activites = ReportSelectionList::WriteIds(ids, all);
    }
}
