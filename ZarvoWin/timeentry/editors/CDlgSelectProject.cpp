#include "CDlgSelectProject.h"
#include "CutTextTips.h"
#include "ContextHelp.h"
#include "UiUtilities.h"

#include "CAppData.h"
#include "CMyEdit.h"
#include "CProject.h"
#include "CProjectStore.h"
#include "CReadOnlyCB.h"
#include "CTreeWidgetFiller.h"
#include "CUsers.h"
#include "DialogAnswers.h"
#include "EntryDialogWidgets.h"
#include "Formatter.h"
#include "IntParse.h"
#include "RecordEditorServices.h"
#include "RecordEditorTools.h"
#include "Settings.h"
#include "Texts.h"
#include "TranslateWidgets.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>
#include <vector>


namespace {

constexpr int TopImage = 1;

CProject *nodeOf(const QTreeWidgetItem *item)
{
    if (!item)
        return nullptr;
    return reinterpret_cast<CProject *>(
        qintptr(item->data(0, CTreeWidgetFiller::DataRole).toLongLong()));
}

// The stored collapsed projects (",12,40,") as the project store's keys
// (";12,-2;;40,-2;"); what is not a whole number is left out.
QString collapsedKeys(const QString &stored)
{
    QString keys;
    for (QStringView entry : QStringView(stored).split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int id = entry.trimmed().toInt(&ok);
        if (ok)
            keys += Platform::Formatter::sprintf(u";%d,%d;", {id, -2});
    }
    return keys;
}

int clampLag(double value)
{
    if (!(value > 0)) // also a value that is not a number
        return 0;
    if (value >= CDlgSelectProject::MaxLag)
        return CDlgSelectProject::MaxLag;
    return int(value);
}

} // namespace

CDlgSelectProject::CDlgSelectProject(QWidget *parent)
    : QDialog(parent)
{
    Platform::Settings settings;
    m_lagUnit = settings.getInt(u"Dialog", u"SelectProject", u"TypeDelay", Hours) == Days ? Days : Hours;

    m_tree = Numbered(new QTreeWidget(this), IdTree);
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);
    m_tree->setExpandsOnDoubleClick(false);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setMinimumSize(m_tree->fontMetrics().averageCharWidth() * 50,
                           m_tree->fontMetrics().height() * 20);
    CutTextTips::Apply(m_tree);

    m_fullName = Numbered(new QLineEdit(this), IdFullName);
    m_fullName->setReadOnly(true);
    m_lagEdit = Numbered(new CMyEdit(this), IdLag);
    m_lagEdit->setMaximumWidth(m_lagEdit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    m_lagEdit->installEventFilter(this);

    // The up-down arrows beside the lag.
    auto *step = Numbered(new QWidget(this), IdLagStep);
    m_up = new QToolButton(step);
    m_up->setArrowType(Qt::UpArrow);
    m_down = new QToolButton(step);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton *b : {m_up, m_down}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
        b->setFixedSize(16, m_lagEdit->sizeHint().height() / 2);
    }
    auto *arrows = new QVBoxLayout(step);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(m_up);
    arrows->addWidget(m_down);

    m_unit = Numbered(new CReadOnlyCB(this), IdUnit);
    m_ok = Numbered(new QPushButton(this), IdOk);
    m_ok->setDefault(true);
    auto *cancel = Numbered(new QPushButton(this), IdCancel);
    cancel->setAutoDefault(false);

    auto *fields = new QGridLayout;
    fields->addWidget(Numbered(new QLabel(this), IdProjectLabel), 0, 0);
    fields->addWidget(m_fullName, 0, 1);
    fields->addWidget(Numbered(new QLabel(this), IdLagLabel), 1, 0);
    auto *lag = new QHBoxLayout;
    lag->setSpacing(2);
    lag->addWidget(m_lagEdit);
    lag->addWidget(step);
    lag->addSpacing(6);
    lag->addWidget(m_unit);
    lag->addStretch(1);
    fields->addLayout(lag, 1, 1);
    fields->setColumnStretch(1, 1);

    auto *buttons = ButtonRow({m_ok, cancel});

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tree, 1);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, [this] { OnSelectionChanged(); });
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this, [this] { OnOk(); });
    connect(m_up, &QToolButton::clicked, this, [this] { StepLag(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { StepLag(-1); });
    connect(m_ok, &QPushButton::clicked, this, [this] { OnOk(); });
    connect(cancel, &QPushButton::clicked, this, &CDlgSelectProject::reject);

    TranslateDialog(this, DialogId);
    ContextHelp::Install(this, DialogId);
}

CDlgSelectProject::~CDlgSelectProject()
{
    // The unit of this closing, whichever button closed it, is the
    // default of the next opening.
    const int row = m_unit->currentIndex();
    const int unit = row < 0 ? Hours : m_unit->itemData(row).toInt();
    Platform::Settings settings;
    settings.setInt(u"Dialog", u"SelectProject", u"TypeDelay", unit);
}

void CDlgSelectProject::SetLag(int value, int unit)
{
    m_lag = qBound(0, value, MaxLag);
    m_lagUnit = unit == Days ? Days : Hours;
}

int CDlgSelectProject::exec()
{
    Prepare();
    if (DialogAnswers<CDlgSelectProject> *answers = DialogAnswers<CDlgSelectProject>::Active())
        return answers->Answer(*this);
    return QDialog::exec();
}

void CDlgSelectProject::Prepare()
{
    if (m_prepared)
        return;
    m_prepared = true;
    LoadTreeState();
    FillTree();

    m_lagEdit->SetNumberMode(true);
    m_lagEdit->SetShowZero(true);
    m_lagEdit->SetRange(0, MaxLag);
    m_lagEdit->SetIntValue(m_lag);

    m_unit->clear();
    m_unit->addItem(Platform::Texts::get(660), Hours);
    m_unit->addItem(Platform::Texts::get(661), Days);
    m_unit->setCurrentIndex(m_lagUnit == Days ? 1 : 0);
}

void CDlgSelectProject::LoadTreeState()
{
    m_lastPosition = nullptr;
    m_collapsed.clear();
    const CUsers *users = CAppData::Users();
    if (!users)
        return;
    QStringList values{PositionSetting(), CollapsedSetting()};
    if (!users->GetUserSettings(values) || values.size() < 2)
        return;
    const QString &position = values.at(0);
    const qsizetype separator = position.indexOf(u';');
    if (separator > 0) {
        const int project = Platform::wtoi(QStringView(position).left(separator));
        const int activity = Platform::wtoi(QStringView(position).mid(separator + 1));
        if (const CProjectStore *store = CAppData::ProjectStore())
            m_lastPosition = store->FindNode(activity, project);
    }
    m_collapsed = values.at(1);
}

void CDlgSelectProject::FillTree()
{
    m_tree->setUpdatesEnabled(false);
    const QSignalBlocker quiet(m_tree);
    m_tree->clear();

    m_topItem = new QTreeWidgetItem;
    m_topItem->setText(0, Platform::Texts::get(146));
    m_topItem->setIcon(0, RecordEditorServices::Image(TopImage));
    m_topItem->setData(0, CTreeWidgetFiller::DataRole, QVariant::fromValue<qlonglong>(0));
    m_topItem->setData(0, CTreeWidgetFiller::ImageRole, TopImage);
    m_tree->addTopLevelItem(m_topItem);

    if (const CProjectStore *store = CAppData::ProjectStore()) {
        // One icon per image, asked once.
        QHash<int, QIcon> icons;
        CTreeWidgetFiller filler(m_tree, false, [&icons](int image) {
            auto it = icons.find(image);
            if (it == icons.end())
                it = icons.insert(image, RecordEditorServices::Image(image));
            return it.value();
        });
        store->FillProjectTree(filler, m_topItem, store->Context().ShowActivities(), false, nullptr,
                               QString(), collapsedKeys(m_collapsed));
    }

    if (m_excluded) {
        if (QTreeWidgetItem *item = FindItem(m_excluded))
            delete item;
    }

    QTreeWidgetItem *chosen = nullptr;
    if (m_selected) {
        m_fullName->setText(m_selected->GetFullName());
        chosen = FindItem(m_selected);
    }
    m_topItem->setExpanded(true);
    if (chosen) {
        m_tree->setCurrentItem(chosen);
        chosen->setSelected(true);
        m_tree->scrollToItem(chosen, QAbstractItemView::PositionAtTop);
    } else if (QTreeWidgetItem *last = m_lastPosition ? FindItem(m_lastPosition) : nullptr) {
        m_tree->scrollToItem(last, QAbstractItemView::PositionAtTop);
        m_tree->clearSelection();
        m_tree->setCurrentItem(nullptr);
    }
    m_ok->setEnabled(!m_tree->selectedItems().isEmpty());
    m_tree->setUpdatesEnabled(true);
}

QTreeWidgetItem *CDlgSelectProject::FindItem(const CProject *node, QTreeWidgetItem *parent) const
{
    if (!node)
        return nullptr;
    const int project = node->ProjectId();
    const int activity = node->ActivityId();
    // Depth first: an item's children before its next sibling.
    std::vector<QTreeWidgetItem *> pending;
    if (parent) {
        for (int i = parent->childCount() - 1; i >= 0; --i)
            pending.push_back(parent->child(i));
    } else {
        for (int i = m_tree->topLevelItemCount() - 1; i >= 0; --i)
            pending.push_back(m_tree->topLevelItem(i));
    }
    while (!pending.empty()) {
        QTreeWidgetItem *item = pending.back();
        pending.pop_back();
        const CProject *candidate = nodeOf(item);
        if (candidate && candidate->ProjectId() == project && candidate->ActivityId() == activity)
            return item;
        for (int i = item->childCount() - 1; i >= 0; --i)
            pending.push_back(item->child(i));
    }
    return nullptr;
}

void CDlgSelectProject::OnSelectionChanged()
{
    const QList<QTreeWidgetItem *> chosen = m_tree->selectedItems();
    if (chosen.isEmpty()) {
        m_selected = nullptr;
        m_ok->setEnabled(false);
        return;
    }
    m_selected = nodeOf(chosen.first());
    m_fullName->setText(m_selected ? m_selected->GetFullName() : QString());
    m_ok->setEnabled(true);
}

void CDlgSelectProject::StepLag(int delta)
{
    // The step starts from what the field shows, typed or stepped.
    const int shown = clampLag(m_lagEdit->GetDoubleValue());
    const int value = qBound(0, shown + delta, MaxLag);
    if (value != m_lag || shown != m_lag) {
        m_lag = value;
        m_lagEdit->SetIntValue(m_lag);
    }
}

bool CDlgSelectProject::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lagEdit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            StepLag(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CDlgSelectProject::OnOk()
{
    SaveTreeState();
    const int row = m_unit->currentIndex();
    if (row < 0) {
        m_lag = 0;
        m_lagUnit = Hours;
    } else {
        m_lag = clampLag(std::trunc(m_lagEdit->GetDoubleValue()));
        m_lagUnit = m_unit->itemData(row).toInt() == Days ? Days : Hours;
    }
    accept();
}

void CDlgSelectProject::reject()
{
    SaveTreeState();
    QDialog::reject();
}

void CDlgSelectProject::SaveTreeState()
{
    QTreeWidgetItem *first = m_tree->itemAt(QPoint(1, 1));
    m_lastPosition = nodeOf(first);
    const QString position = m_lastPosition
        ? Platform::Formatter::sprintf(u"%d;%d", {m_lastPosition->ProjectId(), m_lastPosition->ActivityId()})
        : QString();

    QString collapsed;
    if (QTreeWidgetItem *top = m_tree->topLevelItem(0)) {
        std::vector<QTreeWidgetItem *> pending;
        for (int i = top->childCount() - 1; i >= 0; --i)
            pending.push_back(top->child(i));
        while (!pending.empty()) {
            QTreeWidgetItem *item = pending.back();
            pending.pop_back();
            if (item->childCount() == 0)
                continue;
            if (!item->isExpanded()) {
                if (const CProject *node = nodeOf(item))
                    collapsed += Platform::Formatter::sprintf(u"%d,", {node->ProjectId()});
            }
            for (int i = item->childCount() - 1; i >= 0; --i)
                pending.push_back(item->child(i));
        }
    }
    if (!collapsed.isEmpty())
        collapsed.prepend(u',');
    m_collapsed = collapsed;

    if (const CUsers *users = CAppData::Users())
        users->SetUserSettings({PositionSetting(), CollapsedSetting()}, {position, collapsed});
}
