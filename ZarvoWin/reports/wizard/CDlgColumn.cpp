#include "CDlgColumn.h"

#include "CDlgColumnDetail.h"
#include "CListCtrlCol.h"
#include "CMyEdit.h"
#include "ContextHelp.h"
#include "CReportColumnSet.h"
#include "DialogAnswers.h"
#include "EntryDialogWidgets.h"
#include "ImageList.h"
#include "ListCtrlColRules.h"
#include "ListRowDrag.h"
#include "MessageBoxParams.h"
#include "ReportColumnCatalogue.h"
#include "RichMessageBox.h"
#include "ScreenFit.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "UiUtilities.h"
#include "tReportDefinition.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QVBoxLayout>

namespace {

const QString placementKey = QStringLiteral("Columns");
constexpr int ShownCaptionRole = Qt::UserRole + 1;

// The list's pictures: unchecked and checked boxes, then an alignment
// not chosen and chosen, in the style's own look.
std::unique_ptr<ImageList> makeImages(const QWidget *owner)
{
    auto images = std::make_unique<ImageList>(16);
    QStyle *style = owner->style();
    const auto draw = [style, owner](QStyle::PrimitiveElement element, bool on) {
        QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        QStyleOptionButton option;
        option.initFrom(owner);
        option.rect = QRect(1, 1, 14, 14);
        option.state = QStyle::State_Enabled | (on ? QStyle::State_On : QStyle::State_Off);
        style->drawPrimitive(element, &option, &painter, owner);
        return image;
    };
    images->SetImage(0, draw(QStyle::PE_IndicatorCheckBox, false));
    images->SetImage(1, draw(QStyle::PE_IndicatorCheckBox, true));
    images->SetImage(2, draw(QStyle::PE_IndicatorRadioButton, false));
    images->SetImage(3, draw(QStyle::PE_IndicatorRadioButton, true));
    return images;
}

} // namespace

QString CDlgColumn::AlignmentLetter(int align)
{
    return ListCtrlColRules::AlignmentText(ListCtrlColRules::Alignment(align >= 0 && align <= 2 ? align : 0));
}

CDlgColumn::CDlgColumn(tReportDefinition *definition, CReportColumnSet &columns, bool reportMode, QWidget *parent)
    : QDialog(parent)
    , m_definition(definition)
    , m_columns(columns)
    , m_reportMode(reportMode)
{
    m_images = makeImages(this);
    m_list = Numbered(new CListCtrlCol(this), IdList);
    m_list->SetImageList(m_images.get());
    m_list->SetCheckBoxes(reportMode);
    m_list->SetAlignmentColumn(AlignColumn);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    m_list->SetLabelEditor([](QWidget *parent) {
        auto *edit = new CMyEdit(parent);
        edit->SetCaptionMode();
        return edit;
    });
    QStringList headers{Platform::Texts::get(498), Platform::Texts::get(499), Platform::Texts::get(500)};
    if (!reportMode)
        headers << Platform::Texts::get(627);
    m_list->setColumnCount(int(headers.size()));
    m_list->setHeaderLabels(headers);
    m_list->headerItem()->setTextAlignment(AlignColumn, Qt::AlignCenter);
    m_list->header()->resizeSection(NameColumn, 140);
    m_list->header()->resizeSection(AlignColumn, 100);
    m_list->header()->resizeSection(DescriptionColumn, 300);
    if (!reportMode) {
        m_list->headerItem()->setTextAlignment(KindColumn, Qt::AlignCenter);
        m_list->header()->resizeSection(KindColumn, 140);
    }

    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(5);
    const auto button = [this, buttons](int id) {
        auto *b = Numbered(new QPushButton(this), id);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    for (int id : {int(IdAll), int(IdNone), int(IdFirst), int(IdUp), int(IdDown), int(IdLast)})
        button(id)->setVisible(reportMode);
    buttons->addStretch(1);
    // F1 and the help button open the chooser's page.
    ContextHelp::Install(this, DialogId);
    auto *helpRow = new QHBoxLayout;
    ContextHelp::AddButton(helpRow, this);
    buttons->addLayout(helpRow);
    button(IdDefault);
    button(IdModify);
    QPushButton *ok = button(IdOk);
    ok->setDefault(true);
    button(IdCancel);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(10);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    for (int row = 0; row < m_columns.Count(); ++row)
        new QTreeWidgetItem(m_list);
    FillRows(0, m_columns.Count() - 1);
    // Every text whole: the columns grow to the widest of their texts.
    for (int column = 0; column < m_list->columnCount(); ++column) {
        const int usual = m_list->header()->sectionSize(column);
        m_list->resizeColumnToContents(column);
        m_list->header()->resizeSection(column, std::max(usual, m_list->header()->sectionSize(column) + 8));
    }
    int width = 2 * m_list->frameWidth() + 20;
    for (int column = 0; column < m_list->columnCount(); ++column)
        width += m_list->header()->sectionSize(column);
    m_list->setMinimumSize(width, 14 * ListCtrlColRules::RowHeight);

    m_drag = new ListRowDrag(m_list, [this](int target, bool before, int source) {
        return MoveDropped(target, before, source);
    });
    m_drag->SetEnabled(reportMode);

    connect(Button(IdAll), &QPushButton::clicked, this, [this] { OnCheckAll(true); });
    connect(Button(IdNone), &QPushButton::clicked, this, [this] { OnCheckAll(false); });
    for (int id : {int(IdFirst), int(IdUp), int(IdDown), int(IdLast)})
        connect(Button(id), &QPushButton::clicked, this, [this, id] { OnMove(id); });
    connect(Button(IdDefault), &QPushButton::clicked, this, [this] { OnDefault(); });
    connect(Button(IdModify), &QPushButton::clicked, this, [this] { OnModify(SelectedRow()); });
    connect(ok, &QPushButton::clicked, this, [this] { OnOk(); });
    connect(Button(IdCancel), &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item, int column) {
        if (column != NameColumn)
            OnModify(m_list->indexOfTopLevelItem(item));
    });
    connect(m_list, &CListCtrlCol::alignmentClicked, this, [this](int row, int alignment) { SetAlignment(row, alignment); });
    connect(m_list, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item, int column) {
        if (m_filling || column != NameColumn)
            return;
        const int row = m_list->indexOfTopLevelItem(item);
        if (row < 0 || row >= m_columns.Count())
            return;
        if (m_reportMode && (item->checkState(0) == Qt::Checked) != m_columns[row].Shown)
            m_columns[row].Shown = item->checkState(0) == Qt::Checked;
        if (item->text(NameColumn) != item->data(NameColumn, ShownCaptionRole).toString())
            Rename(row, item->text(NameColumn));
    });

    TranslateDialog(this, DialogId);
    UpdateButtons();
    // Where the screen is too small for every column, the list scrolls.
    ScreenFit::ShrinkParts(this, {m_list});
    adjustSize();
    // Never smaller than it opens.
    setMinimumSize(size());
    RestoreWindowPosition(this, placementKey);
    ScreenFit::Into(this);
}

CDlgColumn::~CDlgColumn() = default;

QPushButton *CDlgColumn::Button(int id) const
{
    return qobject_cast<QPushButton *>(FindControl(this, id));
}

int CDlgColumn::exec()
{
    int result = 0;
    if (DialogAnswers<CDlgColumn>::AnswerInstead(*this, result))
        return result;
    return QDialog::exec();
}

void CDlgColumn::done(int result)
{
    m_drag->Cancel();
    SaveWindowPosition(this, placementKey);
    QDialog::done(result);
}

void CDlgColumn::FillRow(int row)
{
    QTreeWidgetItem *item = m_list->topLevelItem(row);
    if (!item || row >= m_columns.Count())
        return;
    const tReportColumn &c = m_columns[row];
    QString caption;
    int align = -1;
    if (m_reportMode) {
        caption = c.GetCaption();
        align = c.GetAlign();
    } else {
        caption = c.Caption.isEmpty() ? GetReportColumnCaption(c.Kind) : c.Caption;
        align = c.Align >= 0 && c.Align <= 2 ? c.Align : GetReportColumnDefaultAlign(c.Kind);
    }
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                   | (m_reportMode ? Qt::ItemIsUserCheckable : Qt::NoItemFlags));
    item->setData(NameColumn, Qt::UserRole, c.Kind);
    item->setData(NameColumn, ShownCaptionRole, caption);
    item->setText(NameColumn, caption);
    item->setText(AlignColumn, AlignmentLetter(align));
    item->setTextAlignment(AlignColumn, Qt::AlignCenter);
    item->setText(DescriptionColumn, GetReportColumnDescription(c.Kind));
    if (!m_reportMode) {
        item->setText(KindColumn, Platform::Texts::get(c.Kind <= 20 ? 628 : 521));
        item->setTextAlignment(KindColumn, Qt::AlignCenter);
    } else {
        item->setCheckState(NameColumn, c.Shown ? Qt::Checked : Qt::Unchecked);
    }
}

void CDlgColumn::FillRows(int first, int last, bool clearSelection, int select)
{
    m_filling = true;
    m_list->setUpdatesEnabled(false);
    for (int row = std::max(0, first); row <= last && row < m_list->topLevelItemCount(); ++row) {
        if (clearSelection)
            m_list->topLevelItem(row)->setSelected(false);
        FillRow(row);
    }
    m_list->setUpdatesEnabled(true);
    m_filling = false;
    if (select >= 0)
        SelectRow(select);
}

int CDlgColumn::SelectedRow() const
{
    const QList<QTreeWidgetItem *> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->indexOfTopLevelItem(selected.first());
}

void CDlgColumn::SelectRow(int row)
{
    QTreeWidgetItem *item = m_list->topLevelItem(row);
    if (!item)
        return;
    m_list->setCurrentItem(item);
    item->setSelected(true);
    m_list->scrollToItem(item);
    UpdateButtons();
}

void CDlgColumn::UpdateButtons()
{
    const int row = SelectedRow();
    const int count = m_list->topLevelItemCount();
    Button(IdModify)->setEnabled(row >= 0);
    Button(IdFirst)->setEnabled(row > 0);
    Button(IdUp)->setEnabled(row > 0);
    Button(IdDown)->setEnabled(row >= 0 && row < count - 1);
    Button(IdLast)->setEnabled(row >= 0 && row < count - 1);
}

void CDlgColumn::OnMove(int buttonId)
{
    const int row = SelectedRow();
    if (!m_reportMode || row < 0)
        return;
    const int last = m_columns.Count() - 1;
    switch (buttonId) {
    case IdFirst:
        if (m_columns.Move(0, row, true))
            FillRows(0, row, true, 0);
        break;
    case IdUp:
        if (m_columns.Swap(row, row - 1))
            FillRows(row - 1, row, true, row - 1);
        break;
    case IdDown:
        if (m_columns.Swap(row, row + 1))
            FillRows(row, row + 1, true, row + 1);
        break;
    case IdLast:
        if (m_columns.Move(last, row, false))
            FillRows(row, last, true, last);
        break;
    default:
        break;
    }
}

bool CDlgColumn::MoveDropped(int target, bool before, int source)
{
    const int to = ListCtrlColRules::MoveDestination(m_columns.Count(), target, before, source);
    if (to < 0 || !m_columns.Move(target, source, before))
        return false;
    FillRows(std::min(source, to), std::max(source, to), true, to);
    return true;
}

void CDlgColumn::OnCheckAll(bool shown)
{
    if (m_columns.Count() != m_list->topLevelItemCount())
        return;
    for (int row = 0; row < m_columns.Count(); ++row)
        m_columns[row].Shown = shown;
    FillRows(0, m_columns.Count() - 1);
}

void CDlgColumn::OnDefault()
{
    if (m_definition) {
        m_definition->SetDefaultColumns(m_columns);
    } else if (m_reportMode) {
        m_columns.FillDefault();
    } else {
        // Every report's captions and alignments back to the language's:
        // the list keeps every kind of column.
        for (int row = 0; row < m_columns.Count(); ++row) {
            m_columns[row].Caption.clear();
            m_columns[row].Align = -1;
        }
    }
    m_list->clear();
    for (int row = 0; row < m_columns.Count(); ++row)
        new QTreeWidgetItem(m_list);
    FillRows(0, m_columns.Count() - 1, true);
    UpdateButtons();
}

void CDlgColumn::OnModify(int row)
{
    if (row < 0 || row >= m_columns.Count())
        return;
    CDlgColumnDetail detail(!m_reportMode, m_columns[row], this);
    if (detail.exec() == QDialog::Accepted)
        FillRows(row, row);
}

void CDlgColumn::SetAlignment(int row, int alignment)
{
    if (row < 0 || row >= m_columns.Count())
        return;
    m_columns[row].Align = alignment;
    FillRows(row, row);
}

void CDlgColumn::Rename(int row, const QString &text)
{
    if (row < 0 || row >= m_columns.Count())
        return;
    QString caption = text;
    caption.remove(u'|');
    m_columns[row].Caption = caption;
    FillRows(row, row);
}

void CDlgColumn::OnOk()
{
    if (m_reportMode && m_columns.CountShown() == 0) {
        RichMessageBox(MessageBoxType::Ok | MessageBoxType::IconExclamation, this, Platform::Texts::get(503),
                       Platform::Texts::get(128));
        return;
    }
    accept();
}
