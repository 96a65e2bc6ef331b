#include "CReportGroupBy.h"

#include "CDlgColumn.h"
#include "CReadOnlyCB.h"
#include "CWizardDialog.h"
#include "CAppData.h"
#include "CConfiguration.h"
#include "Formatter.h"
#include "ImageList.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "WidgetIds.h"
#include "tReportDefinition.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

CReportGroupBy::ColumnEditor &columnEditor()
{
    static CReportGroupBy::ColumnEditor editor;
    return editor;
}

template <typename T> T *numbered(T *widget, int id)
{
    WidgetIds::SetControlId(widget, id);
    widget->setObjectName(QString::number(id));
    return widget;
}

QIcon themeIcon(const char *name)
{
    ImageList::UseFallbackIconTheme();
    return QIcon::fromTheme(QString::fromLatin1(name));
}

// "Année", "Mois", "Jour", "Projet", "Activité" for levels 0 to 4.
QString levelName(int level)
{
    static const Platform::TextId names[] = {153, 154, 157, 141, 142};
    return level >= 0 && level <= 4 ? Platform::Texts::get(names[level]) : Platform::Texts::get(294);
}

// "Grouper par années" ... for levels 0 to 4, "Détail des tâches" else.
QString availableName(int level)
{
    static const Platform::TextId names[] = {295, 296, 297, 298, 299};
    return level >= 0 && level <= 4 ? Platform::Texts::get(names[level]) : Platform::Texts::get(294);
}

bool showActivities()
{
    const CConfiguration *config = CAppData::Configuration();
    return !config || config->showActivities;
}

Qt::Alignment qtAlignment(int align)
{
    return align == 1 ? Qt::AlignRight : align == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
}

} // namespace

void CReportGroupBy::SetColumnEditor(ColumnEditor editor)
{
    columnEditor() = std::move(editor);
}

CReportGroupBy::CReportGroupBy()
    : CReportWizardPage(DialogId)
{
    m_sets.fill(ReportLevelRules::EmptySet());
}

void CReportGroupBy::OnInitDialog()
{
    auto *kindLabel = numbered(new QLabel(this), KindLabel);
    m_kind = numbered(new CReadOnlyCB(this), KindCombo);
    m_available = numbered(new QListWidget(this), AvailableList);
    m_available->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto *chosenLabel = numbered(new QLabel(this), ChosenLabel);
    m_chosen = numbered(new QListWidget(this), ChosenList);
    m_chosen->setSelectionMode(QAbstractItemView::SingleSelection);

    auto makeButton = [this](int id, const char *icon, int tip) {
        auto *button = numbered(new QPushButton(this), id);
        button->setIcon(themeIcon(icon));
        button->setToolTip(Platform::Texts::get(tip));
        button->setAutoDefault(false);
        return button;
    };
    static const Platform::TextId tips[] = {288, 289, 291, 290};
    m_add = makeButton(AddButton, "go-next", tips[0]);
    m_remove = makeButton(RemoveButton, "go-previous", tips[1]);
    m_up = makeButton(UpButton, "go-up", tips[2]);
    m_down = makeButton(DownButton, "go-down", tips[3]);

    m_preview = numbered(new QTreeWidget(this), ColumnPreview);
    m_preview->setRootIsDecorated(false);
    m_preview->header()->setSectionsMovable(true);
    m_preview->header()->setStretchLastSection(false);
    m_preview->setFixedHeight(m_preview->header()->sizeHint().height() * 2 + 2 * m_preview->frameWidth());
    m_editColumns = numbered(new QPushButton(this), EditColumns);
    m_editColumns->setAutoDefault(false);
    m_defaultColumns = numbered(new QPushButton(this), DefaultColumns);
    m_defaultColumns->setAutoDefault(false);
    m_groupingLabel = numbered(new QLabel(this), ColumnGroupingLabel);
    m_columnGrouping = numbered(new CReadOnlyCB(this), ColumnGroupingCombo);
    m_warningIcon = numbered(new QLabel(this), WarningIcon);
    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize);
    m_warningIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(iconSize, iconSize));
    m_warning = numbered(new QLabel(this), WarningText);
    m_warning->setWordWrap(true);

    auto *kindRow = new QHBoxLayout;
    kindRow->addWidget(kindLabel);
    kindRow->addWidget(m_kind, 1);

    auto *buttons = new QVBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *b : {m_add, m_remove, m_up, m_down})
        buttons->addWidget(b);
    buttons->addStretch(1);

    auto *chosenColumn = new QVBoxLayout;
    chosenColumn->addWidget(chosenLabel);
    chosenColumn->addWidget(m_chosen, 1);
    auto *availableColumn = new QVBoxLayout;
    availableColumn->addSpacing(chosenLabel->sizeHint().height() + chosenColumn->spacing());
    availableColumn->addWidget(m_available, 1);

    auto *lists = new QHBoxLayout;
    lists->addLayout(availableColumn, 1);
    lists->addLayout(buttons);
    lists->addLayout(chosenColumn, 1);

    auto *warningRow = new QHBoxLayout;
    warningRow->addWidget(m_warningIcon);
    warningRow->addWidget(m_warning, 1);

    auto *columnRow = new QHBoxLayout;
    columnRow->addWidget(m_groupingLabel);
    columnRow->addWidget(m_columnGrouping, 1);
    columnRow->addWidget(m_editColumns);
    columnRow->addWidget(m_defaultColumns);
    columnRow->addStretch(0);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(kindRow);
    layout->addLayout(lists, 1);
    layout->addLayout(warningRow);
    layout->addWidget(m_preview);
    layout->addLayout(columnRow);

    TranslatePage();
    FillCombos();

    if (m_definition) {
        const int kind = m_definition->Type;
        m_current = kind == 4 ? 2 : kind == 3 ? 1 : 0;
        for (size_t i = 0; i < m_definition->Grp.size(); ++i)
            m_sets[size_t(m_current)][i] = m_definition->Grp[i];
        // Only the used levels count: a stored list may hold a level after
        // an end mark.
        const int used = ReportLevelRules::UsedCount(m_sets[size_t(m_current)]);
        for (size_t i = size_t(used); i < 5; ++i)
            m_sets[size_t(m_current)][i] = -1;
        m_kind->setCurrentIndex(kind >= 0 && kind <= 4 ? kind : 0);
        m_columnGrouping->setCurrentIndex(m_definition->Grp_Col >= 0 && m_definition->Grp_Col <= 4 ? m_definition->Grp_Col : 0);
        ApplyKind(m_kind->currentIndex());
    }

    connect(m_kind, &QComboBox::activated, this, [this](int index) { SelectKind(index); });
    connect(m_columnGrouping, &QComboBox::activated, this, [this](int index) { SelectColumnGrouping(index); });
    connect(m_available, &QListWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
    connect(m_chosen, &QListWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
    connect(m_available, &QListWidget::itemDoubleClicked, this, [this] { AddSelected(); });
    connect(m_chosen, &QListWidget::itemDoubleClicked, this, [this] { RemoveSelected(); });
    connect(m_add, &QPushButton::clicked, this, [this] { AddSelected(); });
    connect(m_remove, &QPushButton::clicked, this, [this] { RemoveSelected(); });
    connect(m_up, &QPushButton::clicked, this, [this] { MoveSelected(true); });
    connect(m_down, &QPushButton::clicked, this, [this] { MoveSelected(false); });
    connect(m_editColumns, &QPushButton::clicked, this, [this] { EditTheColumns(); });
    connect(m_defaultColumns, &QPushButton::clicked, this, [this] { ResetColumns(); });
    connect(m_preview->header(), &QHeaderView::sectionMoved, this, [this](int, int from, int to) {
        if (m_rebuilding)
            return;
        // Qt's own move is undone: the column set decides, and the preview
        // is rebuilt from it.
        m_rebuilding = true;
        m_preview->header()->moveSection(to, from);
        m_rebuilding = false;
        QTimer::singleShot(0, this, [this, from, to] { MovePreviewColumn(from, to); });
    });
}

void CReportGroupBy::FillCombos()
{
    static const Platform::TextId kinds[] = {286, 340, 341, 287, 626};
    static const Platform::TextId groupings[] = {292, 154, 293, 146, 147};
    const int kind = m_kind->currentIndex();
    const int grouping = m_columnGrouping->currentIndex();
    m_kind->clear();
    for (int id : kinds)
        m_kind->addItem(Platform::Texts::get(id));
    m_columnGrouping->clear();
    for (int id : groupings)
        m_columnGrouping->addItem(Platform::Texts::get(id));
    m_kind->setCurrentIndex(kind);
    m_columnGrouping->setCurrentIndex(grouping);
}

void CReportGroupBy::TranslatePage()
{
    if (!IsCreated() || !m_kind)
        return;
    TranslateDialog(this, DialogId);
    if (m_kind->count() > 0) {
        FillCombos();
        BuildLevelTree();
    }
}

QPushButton *CReportGroupBy::Button(int control) const
{
    switch (control) {
    case AddButton: return m_add;
    case RemoveButton: return m_remove;
    case UpButton: return m_up;
    case DownButton: return m_down;
    case EditColumns: return m_editColumns;
    case DefaultColumns: return m_defaultColumns;
    default: return nullptr;
    }
}

bool CReportGroupBy::IsWarningShown() const
{
    return m_warning && !m_warning->isHidden();
}

void CReportGroupBy::SelectKind(int kind)
{
    if (kind < 0 || kind > 4)
        return;
    m_kind->setCurrentIndex(kind);
    ApplyKind(kind);
}

void CReportGroupBy::ApplyKind(int kind)
{
    if (!m_definition)
        return;
    tReportDefinition &d = *m_definition;
    const int old = d.Type;
    const bool cross = kind == 3;
    m_editColumns->setVisible(!cross);
    m_defaultColumns->setVisible(!cross);
    m_groupingLabel->setVisible(cross);
    m_columnGrouping->setVisible(cross);
    if (cross) {
        m_current = 1;
        if (old != 3)
            d.Columns.SetDefault(true);
        if (old == 4)
            CWizardDialog::PostKindPages(this, false);
    } else if (kind == 4) {
        m_current = 2;
        if (old != 4) {
            d.Columns.SetDefault(true);
            CWizardDialog::PostKindPages(this, true);
        }
    } else {
        m_current = 0;
        if (old == 3 || old == 4)
            d.Columns.SetDefault(true);
        if (old == 4)
            CWizardDialog::PostKindPages(this, false);
    }
    d.Type = kind;
    d.Columns.SetType(CReportColumnSet::TypeForReportKind(kind));
    d.BuildAutoTitle();
    BuildLevelTree();
}

std::vector<int> CReportGroupBy::ChosenRows() const
{
    std::vector<int> rows;
    if (!m_definition)
        return rows;
    if (m_definition->Type == 4) {
        rows.push_back(3);
        if (showActivities())
            rows.push_back(4);
        return rows;
    }
    const ReportLevelRules::LevelSet &set = CurrentSet();
    for (int i = 0; i < ReportLevelRules::UsedCount(set); ++i)
        rows.push_back(set[size_t(i)]);
    if (m_definition->Type != 3 && m_definition->Detail)
        rows.push_back(ReportLevelRules::DetailItem);
    return rows;
}

void CReportGroupBy::BuildLevelTree()
{
    if (!m_definition || !m_chosen)
        return;
    tReportDefinition &d = *m_definition;
    m_rebuilding = true;

    // Chosen levels, each indented by its depth.
    m_chosen->clear();
    const std::vector<int> rows = ChosenRows();
    for (size_t i = 0; i < rows.size(); ++i) {
        const QString indent(int(i) * 3, u' ');
        auto *item = new QListWidgetItem(indent + levelName(rows[i]), m_chosen);
        item->setData(Qt::UserRole, rows[i]);
    }
    const bool empty = rows.empty();
    m_warning->setVisible(empty);
    m_warningIcon->setVisible(empty);
    CWizardDialog::PostEnableNavigation(this, !empty);

    // The column preview: the header of the report's columns.
    m_preview->clear();
    QStringList titles;
    std::vector<int> data;
    std::vector<int> aligns;
    if (d.Type == 3) {
        static const Platform::TextId patterns[] = {148, 149, 150, 151, 152};
        const int g = d.Grp_Col >= 0 && d.Grp_Col <= 4 ? d.Grp_Col : 0;
        for (int n = 1; n <= 3; ++n) {
            titles << Platform::Formatter::sprintf(Platform::Texts::get(patterns[g]), {n});
            data.push_back(-1);
            aligns.push_back(0);
        }
    } else {
        for (size_t i = 0; i < d.Grp.size(); ++i)
            d.Grp[i] = CurrentSet()[i];
        if (d.Columns.IsDefault()) {
            m_defaultColumns->setEnabled(false);
            d.SetDefaultColumns(d.Columns);
        } else {
            m_defaultColumns->setEnabled(true);
        }
        for (int i = 0; i < d.Columns.Count(); ++i) {
            const tReportColumn &c = d.Columns[i];
            if (!c.Shown)
                continue;
            titles << c.GetCaption();
            data.push_back(i);
            aligns.push_back(c.GetAlign());
        }
    }
    m_preview->setColumnCount(std::max<int>(1, int(titles.size())));
    auto *header = new QTreeWidgetItem(titles);
    for (int i = 0; i < int(titles.size()); ++i) {
        header->setData(i, Qt::UserRole, data[size_t(i)]);
        header->setTextAlignment(i, qtAlignment(aligns[size_t(i)]) | Qt::AlignVCenter);
    }
    m_preview->setHeaderItem(header);
    m_preview->header()->setVisible(!titles.isEmpty());
    for (int i = 0; i < int(titles.size()); ++i)
        m_preview->header()->resizeSection(i, m_preview->header()->sectionSizeHint(i));

    // What can still be added.
    m_available->clear();
    for (int level : ReportLevelRules::Available(d.Type, d.Grp_Col, CurrentSet(), d.Detail)) {
        auto *item = new QListWidgetItem(availableName(level), m_available);
        item->setData(Qt::UserRole, level);
    }
    m_rebuilding = false;
    UpdateButtons();
}

void CReportGroupBy::UpdateButtons()
{
    if (!m_definition || m_rebuilding)
        return;
    const bool tracking = m_definition->Type == 4;
    const int chosen = m_chosen->currentRow();
    const bool chosenSelected = chosen >= 0 && m_chosen->item(chosen)->isSelected();
    const std::vector<int> rows = ChosenRows();
    m_add->setEnabled(!tracking && !m_available->selectedItems().isEmpty());
    m_remove->setEnabled(!tracking && chosenSelected);
    m_up->setEnabled(!tracking && chosenSelected && ReportLevelRules::CanMoveUp(rows, chosen));
    m_down->setEnabled(!tracking && chosenSelected && ReportLevelRules::CanMoveDown(rows, chosen));
}

void CReportGroupBy::AddSelected()
{
    if (!m_definition || m_definition->Type == 4)
        return;
    std::vector<int> rows;
    for (int i = 0; i < m_available->count(); ++i) {
        if (m_available->item(i)->isSelected())
            rows.push_back(i);
    }
    if (rows.empty())
        return;
    for (int row : rows) {
        const int level = m_available->item(row)->data(Qt::UserRole).toInt();
        if (level == ReportLevelRules::DetailItem)
            m_definition->Detail = true;
        else
            ReportLevelRules::Insert(m_sets[size_t(m_current)], level);
    }
    m_definition->BuildAutoTitle();
    BuildLevelTree();
    if (rows.size() == 1 && rows.front() < m_available->count()) {
        m_available->setCurrentRow(rows.front());
        UpdateButtons();
    }
}

void CReportGroupBy::RemoveSelected()
{
    if (!m_definition || m_definition->Type == 4)
        return;
    const int row = m_chosen->currentRow();
    if (row < 0 || !m_chosen->item(row)->isSelected())
        return;
    const int level = m_chosen->item(row)->data(Qt::UserRole).toInt();
    if (level == ReportLevelRules::DetailItem)
        m_definition->Detail = false;
    else
        ReportLevelRules::Remove(m_sets[size_t(m_current)], row);
    m_definition->BuildAutoTitle();
    BuildLevelTree();
}

void CReportGroupBy::MoveSelected(bool up)
{
    if (!m_definition || m_definition->Type == 4)
        return;
    const int row = m_chosen->currentRow();
    const std::vector<int> rows = ChosenRows();
    if (row < 0 || !(up ? ReportLevelRules::CanMoveUp(rows, row) : ReportLevelRules::CanMoveDown(rows, row)))
        return;
    const int other = up ? row - 1 : row + 1;
    if (!ReportLevelRules::Swap(m_sets[size_t(m_current)], row, other))
        return;
    BuildLevelTree();
    m_chosen->setCurrentRow(other);
    UpdateButtons();
}

void CReportGroupBy::SelectColumnGrouping(int grouping)
{
    if (!m_definition || grouping < 0 || grouping > 4)
        return;
    m_columnGrouping->setCurrentIndex(grouping);
    m_definition->Grp_Col = grouping;
    ReportLevelRules::RemoveForColumnGrouping(m_sets[size_t(m_current)], grouping);
    BuildLevelTree();
}

void CReportGroupBy::MovePreviewColumn(int from, int to)
{
    if (!m_definition || from == to || m_definition->Type == 3)
        return;
    QTreeWidgetItem *header = m_preview->headerItem();
    if (!header || from < 0 || to < 0 || from >= header->columnCount() || to >= header->columnCount())
        return;
    const int source = header->data(from, Qt::UserRole).toInt();
    const int target = header->data(to, Qt::UserRole).toInt();
    m_definition->Modified = true;
    // After the target when it lies to the right of the dragged column's
    // old place.
    m_definition->Columns.Move(target, source, to < from);
    BuildLevelTree();
}

void CReportGroupBy::EditTheColumns()
{
    if (!m_definition)
        return;
    CReportColumnSet copy = m_definition->Columns;
    if (columnEditor()) {
        if (!columnEditor()(*m_definition, copy, window()))
            return;
    } else {
        CDlgColumn chooser(m_definition, copy, true, window());
        if (chooser.exec() != QDialog::Accepted)
            return;
    }
    if (copy.Differs(m_definition->Columns)) {
        m_definition->Columns = copy;
        m_definition->Columns.SetDefault(false);
        BuildLevelTree();
    }
}

void CReportGroupBy::ResetColumns()
{
    if (!m_definition)
        return;
    m_definition->Columns.SetDefault(true);
    BuildLevelTree();
}

bool CReportGroupBy::ValidatePage()
{
    return !IsWarningShown();
}

void CReportGroupBy::OnOK()
{
    if (!m_definition)
        return;
    for (size_t i = 0; i < m_definition->Grp.size(); ++i)
        m_definition->Grp[i] = CurrentSet()[i];
    if (m_definition->Type == 4)
        m_definition->Periode = 0;
}
