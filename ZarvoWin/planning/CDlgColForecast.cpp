#include "CDlgColForecast.h"

#include "CListCtrlCol.h"
#include "ContextHelp.h"
#include "DialogAnswers.h"
#include "EntryDialogWidgets.h"
#include "ForecastColumns.h"
#include "ForecastGridLayout.h"
#include "ForecastSettings.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "UiUtilities.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int NameWidth = 140;
constexpr int DescriptionWidth = 400;

} // namespace

CDlgColForecast::CDlgColForecast(QWidget *parent)
    : QDialog(parent)
{
    m_list = Numbered(new CListCtrlCol(this), IdList);
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({Platform::Texts::get(498), Platform::Texts::get(500)});
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    // A row dropped on another moves before or after it and stays selected.
    m_drag = new ListRowDrag(m_list, [this](int target, bool before, int source) {
        if (!m_list->MoveItem(target, before, source))
            return false;
        SelectRow(m_list->indexOfTopLevelItem(m_list->currentItem()));
        return true;
    });
    // Every column's name and description whole, in whatever font: the
    // columns take the widest of them, never less than their usual widths.
    for (int id = 1; id < ForecastColumns::Count; ++id)
        AddRow({id, true});
    m_list->resizeColumnToContents(0);
    m_list->resizeColumnToContents(1);
    const int nameWidth = std::max(NameWidth, m_list->columnWidth(0) + 8);
    const int descriptionWidth = std::max(DescriptionWidth, m_list->columnWidth(1) + 8);
    m_list->clear();
    m_list->header()->resizeSection(0, nameWidth);
    m_list->header()->resizeSection(1, descriptionWidth);
    // Both columns whole, and most rows, at the start.
    const int rowHeight = m_list->fontMetrics().height() + 6;
    m_list->setMinimumSize(nameWidth + descriptionWidth + m_list->verticalScrollBar()->sizeHint().width()
                               + 2 * m_list->frameWidth(),
                           12 * rowHeight);

    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(5);
    const auto button = [this, buttons](int id) {
        auto *b = Numbered(new QPushButton(this), id);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    for (int id : {int(IdAll), int(IdNone), int(IdFirst), int(IdUp), int(IdDown), int(IdLast)})
        button(id);
    buttons->addStretch(1);
    button(IdDefault);
    QPushButton *ok = button(IdOk);
    ok->setDefault(true);
    button(IdCancel);
    ContextHelp::Install(this, DialogId);
    buttons->addWidget(ContextHelp::AddButton(nullptr, this), 0, Qt::AlignLeft);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(10);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    connect(Button(IdAll), &QPushButton::clicked, this, [this] { OnCheckAll(true); });
    connect(Button(IdNone), &QPushButton::clicked, this, [this] { OnCheckAll(false); });
    for (int id : {int(IdFirst), int(IdUp), int(IdDown), int(IdLast)})
        connect(Button(id), &QPushButton::clicked, this, [this, id] { OnMove(id); });
    connect(Button(IdDefault), &QPushButton::clicked, this, [this] { OnDefault(); });
    connect(ok, &QPushButton::clicked, this, [this] { OnOk(); });
    connect(Button(IdCancel), &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });

    TranslateDialog(this, TextsDialogId);
    UpdateButtons();
    adjustSize();
    setMinimumSize(size());
    RestoreWindowPosition(this, ForecastSettings::ChooserPosition());
}

CDlgColForecast::~CDlgColForecast() = default;

QPushButton *CDlgColForecast::Button(int id) const
{
    return qobject_cast<QPushButton *>(FindControl(this, id));
}

void CDlgColForecast::SetColumns(std::vector<tColVisible> *columns)
{
    m_columns = columns;
    Fill(columns ? *columns : std::vector<tColVisible>());
}

int CDlgColForecast::exec()
{
    if (DialogAnswers<CDlgColForecast> *answers = DialogAnswers<CDlgColForecast>::Active()) {
        const int result = answers->Answer(*this);
        done(result);
        return result;
    }
    return QDialog::exec();
}

void CDlgColForecast::done(int result)
{
    m_drag->Cancel();
    SaveWindowPosition(this, ForecastSettings::ChooserPosition());
    QDialog::done(result);
}

void CDlgColForecast::AddRow(const tColVisible &column)
{
    auto *item = new QTreeWidgetItem(m_list);
    item->setText(0, ForecastColumns::Caption(true, column.id));
    item->setText(1, ForecastColumns::Caption(false, column.id));
    item->setData(0, Qt::UserRole, column.id);
    item->setFlags(item->flags() & ~Qt::ItemIsDropEnabled);
    item->setCheckState(0, column.visible ? Qt::Checked : Qt::Unchecked);
}

void CDlgColForecast::Fill(const std::vector<tColVisible> &columns)
{
    m_list->setUpdatesEnabled(false);
    m_list->clear();
    for (const tColVisible &column : columns)
        AddRow(column);
    m_list->setUpdatesEnabled(true);
    UpdateButtons();
}

int CDlgColForecast::SelectedRow() const
{
    const QList<QTreeWidgetItem *> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->indexOfTopLevelItem(selected.first());
}

void CDlgColForecast::UpdateButtons()
{
    const int row = SelectedRow();
    const int count = m_list->topLevelItemCount();
    Button(IdFirst)->setEnabled(row > 0);
    Button(IdUp)->setEnabled(row > 0);
    Button(IdDown)->setEnabled(row >= 0 && row < count - 1);
    Button(IdLast)->setEnabled(row >= 0 && row < count - 1);
}

void CDlgColForecast::SelectRow(int row)
{
    QTreeWidgetItem *item = m_list->topLevelItem(row);
    if (!item)
        return;
    m_list->setCurrentItem(item);
    item->setSelected(true);
    m_list->scrollToItem(item);
    UpdateButtons();
}

void CDlgColForecast::OnMove(int buttonId)
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    const int last = m_list->topLevelItemCount() - 1;
    bool moved = false;
    int to = row;
    switch (buttonId) {
    case IdFirst:
        moved = m_list->MoveItem(0, true, row);
        to = 0;
        break;
    case IdUp:
        moved = m_list->SwapItems(row, row - 1);
        to = row - 1;
        break;
    case IdDown:
        moved = m_list->SwapItems(row, row + 1);
        to = row + 1;
        break;
    case IdLast:
        moved = m_list->MoveItem(last, false, row);
        to = last;
        break;
    default:
        break;
    }
    if (moved)
        SelectRow(to);
}

void CDlgColForecast::OnCheckAll(bool checked)
{
    for (int row = 0; row < m_list->topLevelItemCount(); ++row)
        m_list->SetChecked(row, checked);
}

void CDlgColForecast::OnDefault()
{
    Fill(ForecastColumns::ParseItems(QString::fromUtf16(DefaultForecastGridLayout)));
}

void CDlgColForecast::OnOk()
{
    if (m_columns) {
        m_columns->clear();
        for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
            const QTreeWidgetItem *item = m_list->topLevelItem(row);
            m_columns->push_back({item->data(0, Qt::UserRole).toInt(), m_list->IsChecked(row)});
        }
    }
    accept();
}
