#include "CReportGrid.h"

#include "CBigHeaderCtrl.h"
#include "CReportModel.h"
#include "CWaitCursor.h"
#include "ImageList.h"
#include "UiUtilities.h"
#include "tReportDefinition.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

Qt::Alignment alignmentOf(int code)
{
    switch (code) {
    case 1: return Qt::AlignRight;
    case 2: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
    }
}

} // namespace

CReportGrid::CReportGrid(QWidget *parent)
    : CTreeGridCtrl(parent)
{
    setObjectName(QStringLiteral("2"));
    SetGridLines(true);
    CBigHeaderCtrl *header = Header();
    header->setMinimumSectionSize(MinimumColumnWidth);
    header->setSectionsClickable(false);
    connect(header, &QHeaderView::sectionMoved, this, &CReportGrid::OnSectionMoved);
    connect(header, &QHeaderView::sectionResized, this,
            [this](int logical, int, int size) { OnSectionResized(logical, size); });
    connect(header, &QHeaderView::sectionHandleDoubleClicked, this, [this](int logical) {
        AutoFitColumns(logical, false);
        Header()->viewport()->update();
    });
    header->viewport()->installEventFilter(this);
    connect(this, &CTreeGridCtrl::rowDoubleClicked, this, &CReportGrid::ToggleOnDoubleClick);
}

CReportGrid::~CReportGrid()
{
    Header()->viewport()->removeEventFilter(this);
    Header()->disconnect(this);
}

void CReportGrid::SetModel(CReportModel *model)
{
    m_model = model;
    SetRows(model ? &model->Tree() : nullptr);
    if (!model) {
        SetSelectedRow(-1);
        m_rebuilding = true;
        SetColumnCount(0);
        m_rebuilding = false;
    }
}

void CReportGrid::SetSmallImageList(const ImageList *images)
{
    m_images = images;
    const int size = images ? images->CellSize() : 16;
    SetIndent(size, size);
}

void CReportGrid::ShowCheckBoxes(bool show)
{
    SetCheckBoxes(show);
    if (m_model)
        m_model->SetShowCheckBoxes(show);
}

bool CReportGrid::IsCrossTable() const
{
    return m_model && m_model->Definition().Type == 3;
}

// ---------------------------------------------------------------- columns

void CReportGrid::BuildColumns()
{
    m_rebuilding = true;
    SetColumnCount(0);
    if (m_model) {
        const std::vector<CReportModel::tListColumn> &columns = m_model->Columns();
        SetColumnCount(int(columns.size()));
        for (int c = 0; c < int(columns.size()); ++c) {
            const CReportModel::tListColumn &column = columns[size_t(c)];
            SetColumnCaption(c, column.Caption);
            SetColumnAlignment(c, alignmentOf(column.Align));
            Header()->resizeSection(c, std::max(column.Width, int(MinimumColumnWidth)));
        }
    }
    // A cross table's columns are the values of its column grouping, in
    // their own order.
    Header()->setSectionsMovable(m_model && !IsCrossTable());
    m_rebuilding = false;
    UpdateScrollBars();
    viewport()->update();
}

void CReportGrid::RelabelColumns()
{
    if (m_model)
        m_model->RelabelColumns();
    BuildColumns();
    AutoFitColumns(-1, false);
}

int CReportGrid::StoredWidth(int column) const
{
    if (!m_model || column < 0 || column >= m_model->ColumnCount())
        return -1;
    const int index = m_model->Columns()[size_t(column)].SetIndex;
    const CReportColumnSet &set = m_model->ColumnSet();
    return index >= 0 && index < set.Count() ? set[index].Width : -1;
}

void CReportGrid::StoreWidth(int column, int width)
{
    if (!m_model || !m_definition || IsCrossTable() || column < 0 || column >= m_model->ColumnCount())
        return;
    const int index = m_model->Columns()[size_t(column)].SetIndex;
    if (index < 0 || index >= m_definition->Columns.Count())
        return;
    if (m_definition->Columns[index].Width == width)
        return;
    m_definition->Columns[index].Width = width;
    m_model->SetDefinition(*m_definition);
}

int CReportGrid::FitWidth(int column) const
{
    if (!m_model || column < 0 || column >= ColumnCount())
        return MinimumColumnWidth;
    const std::vector<std::vector<const CTreeItem *>> rows = m_model->FitRows(column, column);
    return FitWidth(column, rows.empty() ? std::vector<const CTreeItem *>() : rows.front());
}

int CReportGrid::FitWidth(int column, const std::vector<const CTreeItem *> &candidates) const
{
    const bool last = column == ColumnCount() - 1;
    const int caption = Header()->fontMetrics().horizontalAdvance(ColumnCaption(column));
    // The header's own need: its caption with the margins it draws.
    int widest = last ? caption + 10 : caption + 12;
    const QFontMetrics metrics(font());
    const int indent = Indent();
    const auto measure = [&](const CTreeItem *item) {
        int width = metrics.horizontalAdvance(m_model->GetCellText(column, item, false, true));
        if (column == 0) {
            width += item->Depth() * indent + 4;
            if (m_model->GetRowImage(item) >= 0)
                width += indent;
            if (HasCheckBoxes())
                width += indent;
        } else {
            width += 6;
        }
        widest = std::max(widest, width);
    };
    // The rows whose texts can be the widest, and the rows on screen.
    for (const CTreeItem *item : candidates)
        measure(item);
    const int first = FirstVisibleRow();
    for (int row = first; row < first + RowsPerPage() + 1; ++row) {
        if (const CTreeItem *item = m_model->Tree().VisibleRow(row))
            measure(item);
    }
    return std::min(widest, int(FitCap)) + (column == 0 ? 20 : 10);
}

void CReportGrid::AutoFitColumns(int column, bool reset)
{
    if (!m_model)
        return;
    const int from = column < 0 ? 0 : column;
    const int to = column < 0 ? ColumnCount() - 1 : std::min(column, ColumnCount() - 1);
    m_rebuilding = true;
    if (reset) {
        for (int c = from; c <= to; ++c)
            StoreWidth(c, -1);
    }
    // The rows to measure are found for every column in one pass.
    const std::vector<std::vector<const CTreeItem *>> candidates = m_model->FitRows(from, to);
    for (int c = from; c <= to; ++c) {
        const int stored = StoredWidth(c);
        const int width = stored >= 0 ? stored : FitWidth(c, candidates[size_t(c - from)]);
        Header()->resizeSection(c, std::max(width, int(MinimumColumnWidth)));
    }
    m_rebuilding = false;
    UpdateScrollBars();
    viewport()->update();
}

void CReportGrid::OnSectionMoved(int logical, int oldVisual, int newVisual)
{
    if (m_rebuilding)
        return;
    CBigHeaderCtrl *header = Header();
    // The header's own move is undone: the columns are rebuilt in the
    // set's new order instead.
    m_rebuilding = true;
    header->moveSection(newVisual, oldVisual);
    m_rebuilding = false;
    if (!m_model || !m_definition || IsCrossTable() || oldVisual == newVisual)
        return;
    const bool after = newVisual > oldVisual;
    const int neighbour = header->logicalIndex(newVisual);
    const std::vector<CReportModel::tListColumn> &columns = m_model->Columns();
    if (logical < 0 || logical >= int(columns.size()) || neighbour < 0 || neighbour >= int(columns.size()))
        return;
    const int source = columns[size_t(logical)].SetIndex;
    const int target = columns[size_t(neighbour)].SetIndex;
    if (!m_definition->Columns.Move(target, source, !after))
        return;
    m_definition->Modified = true;
    m_model->SetDefinition(*m_definition);
    setUpdatesEnabled(false);
    RelabelColumns();
    setUpdatesEnabled(true);
    header->viewport()->update();
    viewport()->update();
    emit definitionModified();
}

void CReportGrid::OnSectionResized(int logical, int newSize)
{
    if (newSize < MinimumColumnWidth) {
        const bool rebuilding = m_rebuilding;
        m_rebuilding = true;
        Header()->resizeSection(logical, MinimumColumnWidth);
        m_rebuilding = rebuilding;
    }
    if (!m_rebuilding && m_headerPressed)
        m_resized.insert(logical);
}

bool CReportGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Header()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            m_headerPressed = true;
            m_resized.clear();
        } else if (event->type() == QEvent::MouseButtonRelease) {
            m_headerPressed = false;
            // A width is kept once the divider is let go.
            for (int column : std::as_const(m_resized))
                StoreWidth(column, Header()->sectionSize(column));
            m_resized.clear();
        }
    }
    return CTreeGridCtrl::eventFilter(watched, event);
}

// ---------------------------------------------------------------- rows

CTreeItem *CReportGrid::Item(int row) const
{
    return m_model ? m_model->Tree().VisibleRow(row) : nullptr;
}

const tReportEntry *CReportGrid::GetSelectedEntry() const
{
    return m_model ? m_model->GetSelectedEntry(SelectedRow()) : nullptr;
}

bool CReportGrid::ToggleExpanded(int row)
{
    CTreeItem *item = Item(row);
    if (!item || !item->HasChildren())
        return false;
    CReportRowTree &tree = m_model->Tree();
    // The selection stays on its row, which may move up or down; a row
    // that folding hides leaves it on the folded row.
    const CTreeItem *selected = Item(SelectedRow());
    if (item->Collapsed)
        tree.Expand(item, row);
    else
        tree.Collapse(item);
    tree.RenumberRows();
    if (selected) {
        bool hidden = false;
        for (const CTreeItem *up = selected->Parent(); up && !hidden; up = up->Parent())
            hidden = up->Collapsed;
        SetSelectedRow(hidden ? row : selected->ListIndex);
    }
    return true;
}

void CReportGrid::ToggleOnDoubleClick(int row)
{
    if (SelectedRow() != row)
        SetSelectedRow(row);
    if (ToggleExpanded(row))
        RowsChanged();
}

bool CReportGrid::RowHasImage(int row) const
{
    const CTreeItem *item = Item(row);
    return item && m_model->GetRowImage(item) >= 0;
}

void CReportGrid::ToggleRowCheck(int row)
{
    if (CTreeItem *item = Item(row))
        m_model->Tree().ToggleCheck(item);
}

void CReportGrid::ExpandAll()
{
    if (!m_model)
        return;
    CWaitCursor wait;
    m_model->ExpandAll();
    RowsChanged();
}

void CReportGrid::CollapseAll()
{
    if (!m_model)
        return;
    CWaitCursor wait;
    m_model->CollapseAll();
    RowsChanged();
}

void CReportGrid::ShowGroupsOnly()
{
    if (!m_model)
        return;
    CWaitCursor wait;
    m_model->ShowGroupsOnly();
    RowsChanged();
}

// ---------------------------------------------------------------- drawing

void CReportGrid::DrawRow(QPainter &painter, int row, const QRect &rowRect, const QRect &clip)
{
    const QPalette &pal = palette();
    const CTreeItem *item = Item(row);
    if (!item) {
        painter.fillRect(rowRect, pal.color(QPalette::Base));
        return;
    }
    const bool selected = row == SelectedRow();
    const QColor background = selected ? pal.color(QPalette::Active, QPalette::Highlight) : pal.color(QPalette::Base);
    const QColor textColour =
        selected ? pal.color(QPalette::Active, QPalette::HighlightedText) : pal.color(QPalette::Text);
    painter.fillRect(rowRect.intersected(clip), background);

    // The first column: tree lines, image, check box, then the label cut
    // to the space left and drawn from the left.
    const QRect first = CellRect(0, rowRect);
    if (!first.isNull() && first.intersects(clip)) {
        painter.save();
        painter.setClipRect(first.intersected(clip));
        DrawTreeLines(painter, RowLines(row, rowRect));
        const int indent = Indent();
        const int imageY = rowRect.top() + (rowRect.height() - ImageHeight()) / 2 - 1;
        int x = first.left() + item->Depth() * indent;
        const int image = m_model->GetRowImage(item);
        if (image >= 0) {
            if (m_images && m_images->HasImage(image))
                m_images->Draw(painter, image, QPoint(x, imageY));
            x += indent;
        }
        x += 2;
        if (HasCheckBoxes()) {
            const int check = CReportModel::GetCheckImage(item);
            if (m_images && check >= 0 && m_images->HasImage(check))
                m_images->Draw(painter, check, QPoint(x, imageY));
            x += indent + 2;
        }
        const int right = first.left() + first.width();
        const tReportEntry *firstEntry = item->Item().EntryOf();
        if (firstEntry && !m_model->Columns().empty() && m_model->Columns()[0].Kind == InvoicedColumnKind) {
            // The invoiced flag leads the row: its picture after the indent.
            if (firstEntry->Facture && m_images && m_images->HasImage(InvoicedImage) && x < right)
                m_images->Draw(painter, InvoicedImage, QPoint(x, rowRect.top()));
        } else if (const QString text = m_model->GetCellText(0, item, false, true); x < right && !text.isEmpty()) {
            const QString shown = EllipsizeText(painter.fontMetrics(), text, right - x, true);
            painter.setPen(textColour);
            painter.drawText(QRect(x, rowRect.top(), right - x, rowRect.height()),
                             int(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine), shown);
        }
        painter.restore();
    }

    const std::vector<CReportModel::tListColumn> &columns = m_model->Columns();
    const tReportEntry *entry = item->Item().EntryOf();
    for (int c = 1; c < ColumnCount() && c < int(columns.size()); ++c) {
        const QRect cell = CellRect(c, rowRect);
        if (cell.isNull() || !cell.intersects(clip))
            continue;
        painter.save();
        painter.setClipRect(cell.intersected(clip));
        if (columns[size_t(c)].Kind == InvoicedColumnKind && entry) {
            // The invoiced flag shows as a picture, never as a text.
            if (entry->Facture && m_images && m_images->HasImage(InvoicedImage)) {
                const int w = m_images->CellSize();
                const Qt::Alignment align = ColumnAlignment(c);
                int x = cell.left() + 6;
                if (align & Qt::AlignRight)
                    x = cell.left() + std::max(cell.width() - w - 6, 0);
                else if (align & Qt::AlignHCenter)
                    x = cell.left() + std::max((cell.width() - w) / 2, 0);
                m_images->Draw(painter, InvoicedImage, QPoint(x, rowRect.top()));
            }
        } else if (columns[size_t(c)].Kind != InvoicedColumnKind) {
            painter.setPen(textColour);
            DrawCellText(painter, cell, m_model->GetCellText(c, item, false, true), ColumnAlignment(c));
        }
        painter.restore();
    }
}

void CReportGrid::BuildPrintLines()
{
    if (!m_model) {
        static const CReportModel empty;
        m_printLayout.BuildPrintLines(empty);
        return;
    }
    std::vector<int> widths;
    for (int c = 0; c < m_model->ColumnCount() && c < ColumnCount(); ++c)
        widths.push_back(Header()->sectionSize(c));
    m_printLayout.BuildPrintLines(*m_model, widths);
}
