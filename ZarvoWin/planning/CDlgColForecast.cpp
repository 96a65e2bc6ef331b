#include "CDlgColForecast.h"

#include "CListCtrlCol.h"
#include "CMyOleDropSource.h"
#include "DialogAnswers.h"
#include "EntryDialogWidgets.h"
#include "ForecastColumns.h"
#include "ForecastGridLayout.h"
#include "ForecastSettings.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "UiUtilities.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSvgRenderer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int NameWidth = 140;
constexpr int DescriptionWidth = 400;

// The "nowhere to go" cursor, drawn for this dialog.
QPixmap refusedCursor()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/pictures/drag_none.svg"));
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

} // namespace

CDlgColForecast::CDlgColForecast(QWidget *parent)
    : QDialog(parent)
{
    m_list = Numbered(new CListCtrlCol(this), IdList);
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({Platform::Texts::get(498), Platform::Texts::get(500)});
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->viewport()->installEventFilter(this);
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
    if (m_dragging)
        EndDrag(false);
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

// ---------------------------------------------------------------- dragging

void CDlgColForecast::ShowCursor(int id)
{
    if (id == m_cursorId)
        return;
    m_cursorId = id;
    QPixmap picture;
    switch (id) {
    case CursorCarry: picture = CMyOleDropSource::Cursor(CMyOleDropSource::Move); break;
    case CursorBefore: picture = CMyOleDropSource::Cursor(CMyOleDropSource::MoveBefore); break;
    case CursorAfter: picture = CMyOleDropSource::Cursor(CMyOleDropSource::MoveAfter); break;
    default: picture = refusedCursor(); break;
    }
    m_list->viewport()->setCursor(QCursor(picture, 0, 0));
}

void CDlgColForecast::DragTo(const QPoint &viewportPos)
{
    const bool overList = m_list->viewport()->rect().contains(viewportPos);
    QTreeWidgetItem *item = overList ? m_list->itemAt(viewportPos) : nullptr;
    const int target = item ? m_list->indexOfTopLevelItem(item) : -1;
    if (target != m_dropTarget) {
        m_dropTarget = target;
        m_list->SetDropTargetRow(target);
    }
    if (!item) {
        ShowCursor(CursorNone);
        return;
    }
    const QRect rect = m_list->visualItemRect(item);
    ShowCursor(viewportPos.y() < rect.top() + rect.height() / 2 ? CursorBefore : CursorAfter);
}

void CDlgColForecast::EndDrag(bool drop)
{
    m_dragging = false;
    m_list->viewport()->releaseMouse();
    m_list->viewport()->unsetCursor();
    const int target = m_dropTarget;
    const bool before = m_cursorId == CursorBefore;
    m_cursorId = 0;
    m_dropTarget = -1;
    m_list->SetDropTargetRow(-1);
    // The carried row is the current one: it stays so where it lands.
    if (drop && target >= 0 && m_list->MoveItem(target, before, m_dragRow))
        SelectRow(m_list->indexOfTopLevelItem(m_list->currentItem()));
    m_dragRow = -1;
}

bool CDlgColForecast::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_list->viewport())
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        m_pressed = mouse->button() == Qt::LeftButton;
        m_pressPos = mouse->position().toPoint();
        break;
    }
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint pos = mouse->position().toPoint();
        if (m_dragging) {
            DragTo(pos);
            return true;
        }
        if (m_pressed && (mouse->buttons() & Qt::LeftButton)
            && (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
            QTreeWidgetItem *item = m_list->itemAt(m_pressPos);
            if (!item)
                break;
            m_dragging = true;
            m_dragRow = m_list->indexOfTopLevelItem(item);
            SelectRow(m_dragRow);
            ShowCursor(CursorCarry);
            m_list->viewport()->grabMouse();
            DragTo(pos);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        m_pressed = false;
        if (m_dragging) {
            EndDrag(true);
            return true;
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}
