#include "CViewForecastGeneral.h"

#include "CAppData.h"
#include "CBdD.h"
#include "CColorChoiceButton.h"
#include "CColorStatic.h"
#include "CComboBoxFiller.h"
#include "CMyEdit.h"
#include "CProject.h"
#include "CProjectStore.h"
#include "CReadOnlyCB.h"
#include "CTreeWidgetFiller.h"
#include "EntryDialogServices.h"
#include "EntryDialogWidgets.h"
#include "Formatter.h"
#include "MessageBoxParams.h"
#include "RecordEditorServices.h"
#include "RecordEditorTools.h"
#include "RichMessageBox.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "UiUtilities.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedLayout>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

int itemData(const QTreeWidgetItem *item)
{
    return item ? int(item->data(0, CTreeWidgetFiller::DataRole).toLongLong()) : CViewForecastGeneral::RootData;
}

} // namespace

CViewForecastGeneral::CViewForecastGeneral(QWidget *parent)
    : CForecastPage(parent)
{
    m_tree = Numbered(new QTreeWidget(this), IdTree);
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);
    m_activityColour = Numbered(new CColorStatic(this), IdActivityColour);
    m_activityColour->setFrameShape(QFrame::Box);
    m_fullName = Numbered(new CMyEdit(this), IdFullName);
    m_fullName->SetIdentifierMode();
    m_fullName->setReadOnly(true);
    m_fullName->setFocusPolicy(Qt::ClickFocus);

    m_titleLabel = Numbered(new QLabel(this), IdTitleLabel);
    m_title = Numbered(new QLineEdit(this), IdTitle);
    m_title->setMaxLength(tElement::MaxNameLength);
    m_titleLabel->setBuddy(m_title);
    m_colourLabel = Numbered(new QLabel(this), IdColourLabel);
    m_colour = Numbered(new CColorChoiceButton(this), IdColour);
    m_colour->EnableAutomatic(Platform::Texts::get(276), 0);
    m_colour->EnableOtherColors(Platform::Texts::get(161));
    m_colourLabel->setBuddy(m_colour);
    m_previewLabel = Numbered(new QLabel(this), IdPreviewLabel);
    m_preview = Numbered(new CColorStatic(this), IdPreview);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setMinimumHeight(fontMetrics().height() * 2);
    m_preview->setFrameShape(QFrame::Box);

    m_rateGroup = Numbered(new QGroupBox(this), IdRateGroup);
    auto *rateLabel = Numbered(new QLabel(m_rateGroup), IdRateLabel);
    m_rate = Numbered(new CReadOnlyCB(m_rateGroup), IdRate);
    m_addRate = Numbered(new QPushButton(m_rateGroup), IdAddRate);
    m_addRate->setAutoDefault(false);
    rateLabel->setBuddy(m_rate);
    auto *rateRow = new QGridLayout(m_rateGroup);
    rateRow->addWidget(rateLabel, 0, 0, 1, 2);
    rateRow->addWidget(m_rate, 1, 0);
    rateRow->addWidget(m_addRate, 1, 1);
    rateRow->setColumnStretch(0, 1);

    m_activityGroup = Numbered(new QGroupBox(this), IdActivityGroup);
    auto *activityLabel = Numbered(new QLabel(m_activityGroup), IdActivityLabel);
    m_activity = Numbered(new CReadOnlyCB(m_activityGroup), IdActivity);
    m_addActivity = Numbered(new QPushButton(m_activityGroup), IdAddActivity);
    m_addActivity->setAutoDefault(false);
    activityLabel->setBuddy(m_activity);
    auto *activityRow = new QGridLayout(m_activityGroup);
    activityRow->addWidget(activityLabel, 0, 0, 1, 2);
    activityRow->addWidget(m_activity, 1, 0);
    activityRow->addWidget(m_addActivity, 1, 1);
    activityRow->setColumnStretch(0, 1);

    // The activity's colour lies exactly over the tree.
    auto *treeStack = new QStackedLayout;
    treeStack->setStackingMode(QStackedLayout::StackAll);
    treeStack->addWidget(m_tree);
    treeStack->addWidget(m_activityColour);
    auto *left = new QVBoxLayout;
    left->addLayout(treeStack, 1);
    left->addWidget(m_fullName);

    auto *fields = new QGridLayout;
    fields->addWidget(m_titleLabel, 0, 0);
    fields->addWidget(m_title, 0, 1);
    fields->addWidget(m_colourLabel, 1, 0);
    fields->addWidget(m_colour, 1, 1, Qt::AlignLeft);
    fields->addWidget(m_previewLabel, 2, 0);
    fields->addWidget(m_preview, 2, 1);
    fields->setColumnStretch(1, 1);
    auto *right = new QVBoxLayout;
    right->addLayout(fields);
    right->addWidget(m_rateGroup);
    right->addWidget(m_activityGroup);
    right->addStretch(1);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right, 1);

    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current, QTreeWidgetItem *previous) { OnTreeChanged(current, previous); });
    connect(m_colour, &CColorChoiceButton::colorChosen, this,
            [this] { ShowColour(m_colour->IsAutomatic() ? m_automatic : m_colour->Color()); });
    connect(m_addRate, &QPushButton::clicked, this, [this] { OnAddRate(); });
    connect(m_addActivity, &QPushButton::clicked, this, [this] { OnAddActivity(); });

    TranslateDialog(this, DialogId);
}

void CViewForecastGeneral::SetProject(bool, CProject *node)
{
    m_node = node;
    Fill(true);
}

void CViewForecastGeneral::FillControls()
{
    Fill(false);
}

QLineEdit *CViewForecastGeneral::FullNameEdit() const
{
    return m_fullName;
}

void CViewForecastGeneral::Fill(bool withTree)
{
    if (!m_node)
        return;
    const tElement &e = m_node->Element();
    if (m_automatic == 0)
        m_automatic = GetRandomLightColor();
    m_colour->SetAutomaticColor(m_automatic);
    m_colour->SetColor(e.Color);
    m_activityColour->SetBkColor(e.Color);
    ShowColour(e.Color);
    FillRates(e.IdTauxHoraire);
    FillActivities(e.Activity);
    m_title->setText(e.Title);
    if (withTree)
        FillTree();
    ApplyVisibility();
}

void CViewForecastGeneral::FillTree()
{
    const QSignalBlocker quiet(m_tree);
    m_tree->setUpdatesEnabled(false);
    // A project cannot go below itself: its own subtree is not offered.
    QTreeWidgetItem *top = RecordEditorTools::FillParentTree(
        m_tree, !m_node->IsActivity() && m_node->Element().Id != -1 ? m_node->Element().Id : -1);
    const int parentId = m_node->Element().Parent;
    QTreeWidgetItem *parent = FindItem(parentId);
    if (!parent)
        parent = top;
    m_tree->setCurrentItem(parent);
    m_tree->scrollToItem(parent);
    MarkParentItem(parent, true);
    const CProjectStore *store = CAppData::ProjectStore();
    const CProject *parentNode = store && parentId != -1 ? store->GetNode(parentId) : nullptr;
    m_fullName->setText(parentNode && !parentNode->IsRoot() ? parentNode->GetFullName() : QString());
    m_tree->setUpdatesEnabled(true);
}

QTreeWidgetItem *CViewForecastGeneral::FindItem(int projectId) const
{
    return RecordEditorTools::FindParentItem(m_tree, projectId);
}

void CViewForecastGeneral::FillRates(int selectedId)
{
    const QSignalBlocker quiet(m_rate);
    RecordEditorTools::FillRateList(m_rate, selectedId);
    if (!RecordEditorTools::SelectRowWithData(m_rate, selectedId))
        m_rate->setCurrentIndex(0);
}

void CViewForecastGeneral::FillActivities(int selectedId)
{
    const QSignalBlocker quiet(m_activity);
    m_activity->clear();
    CComboBoxFiller filler(m_activity);
    filler.AddItem(Platform::Texts::get(502), -1, -1, 0);
    {
        CBdD db;
        db.FillElementCombo(filler, nullptr, false, selectedId, -1, -1);
    }
    if (!RecordEditorTools::SelectRowWithData(m_activity, selectedId))
        m_activity->setCurrentIndex(0);
}

void CViewForecastGeneral::ApplyVisibility()
{
    const bool activity = m_node && m_node->IsActivity();
    const bool unchosen = m_node && m_node->ActivityId() == -3;
    const bool colourRows = !activity || !unchosen;
    m_titleLabel->setVisible(!activity);
    m_title->setVisible(!activity);
    m_colour->setVisible(!activity);
    m_activityGroup->setVisible(!activity);
    m_colourLabel->setVisible(colourRows);
    m_previewLabel->setVisible(colourRows);
    m_preview->setVisible(colourRows);
    m_rateGroup->setVisible(colourRows);
    m_rate->setEnabled(!activity);
    m_addRate->setEnabled(!activity);
    // An activity row shows its colour where the tree stands.
    const bool activityColour = activity && !unchosen;
    m_activityColour->setVisible(activityColour);
    m_tree->setVisible(!activityColour);
    m_fullName->setVisible(!activityColour);
}

void CViewForecastGeneral::ShowColour(quint32 colour)
{
    m_preview->SetBkColor(colour);
    m_preview->SetTextColor(GetContrastTextColor(colour));
}

void CViewForecastGeneral::StoreControls()
{
    if (!m_node || m_node->IsActivity())
        return;
    tElement &e = m_node->Element();
    e.Title = m_title->text();
    e.Color = m_colour->IsAutomatic() ? m_automatic : m_colour->Color();
    e.IdTauxHoraire = RecordEditorTools::SelectedData(m_rate);
    e.Activity = RecordEditorTools::SelectedData(m_activity);
}

void CViewForecastGeneral::MarkParentItem(QTreeWidgetItem *item, bool marked)
{
    if (!item)
        return;
    QFont font = item->font(0);
    font.setBold(marked);
    item->setFont(0, font);
}

bool CViewForecastGeneral::ChooseParent(QTreeWidgetItem *item)
{
    if (!item || !m_node)
        return false;
    QTreeWidgetItem *old = FindItem(m_node->Element().Parent);
    if (item == old)
        return true;
    CProjectStore *store = CAppData::ProjectStore();
    const int id = itemData(item);
    auto refuse = [this, old] {
        const QSignalBlocker quiet(m_tree);
        m_tree->setCurrentItem(old);
        return false;
    };
    // An activity row belongs to its project.
    if (m_node->IsActivity() && m_node->Element().Parent != -1)
        return refuse();
    CProject *parent = nullptr;
    if (id != RootData) {
        parent = store ? store->GetNode(id) : nullptr;
        if (!parent || parent->IsRoot())
            return refuse();
        if (!parent->CanAdopt(m_node)) {
            RichMessageBox(MessageBoxType::IconExclamation, this,
                           Platform::Formatter::sprintf(Platform::Texts::get(616),
                                                        {m_node->GetName(), parent->GetName()}),
                           Platform::Texts::get(173));
            return refuse();
        }
    }
    MarkParentItem(old, false);
    MarkParentItem(item, true);
    m_node->Element().Parent = id;
    if (parent) {
        m_node->SetParent(parent);
        m_fullName->setText(parent->GetFullName());
    } else {
        // The top: the working copy's ancestors are the store's root alone.
        if (store)
            m_node->SetParent(store->GetRoot());
        m_fullName->clear();
    }
    {
        const QSignalBlocker quiet(m_tree);
        m_tree->setCurrentItem(item);
    }
    emit parentChanged();
    return true;
}

void CViewForecastGeneral::OnTreeChanged(QTreeWidgetItem *current, QTreeWidgetItem *)
{
    if (current)
        ChooseParent(current);
}

void CViewForecastGeneral::OnAddRate()
{
    // The application's rate editor on a new rate: the id it stored.
    const EntryDialogServices &services = EntryDialogServices::Registered();
    int id = services.newRate ? services.newRate() : -1;
    if (id == -1)
        id = RecordEditorTools::SelectedData(m_rate);
    else if (m_node)
        m_node->Element().IdTauxHoraire = id;
    FillRates(id);
}

void CViewForecastGeneral::OnAddActivity()
{
    const EntryDialogServices &services = EntryDialogServices::Registered();
    int id = services.newActivity ? services.newActivity() : -1;
    if (id == -1)
        id = RecordEditorTools::SelectedData(m_activity);
    else if (m_node)
        m_node->Element().Activity = id;
    FillActivities(id);
}
