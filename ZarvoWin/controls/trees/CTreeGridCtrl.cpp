#include "CTreeGridCtrl.h"

#include "CBigHeaderCtrl.h"
#include "CTreeGridRows.h"
#include "UiUtilities.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QWheelEvent>

#include <algorithm>

CTreeGridCtrl::CTreeGridCtrl(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);

    m_headerModel = new QStandardItemModel(0, 0, this);
    m_header = new CBigHeaderCtrl(this);
    m_header->setModel(m_headerModel);
    m_header->setSectionsClickable(true);
    m_header->setSortIndicatorShown(false);
    m_header->setStretchLastSection(false);
    m_header->setSectionResizeMode(QHeaderView::Interactive);
    m_header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_header->setFocusPolicy(Qt::NoFocus);
    connect(m_header, &QHeaderView::sectionResized, this, [this] {
        UpdateScrollBars();
        viewport()->update();
    });
    connect(m_header, &QHeaderView::sectionMoved, this, [this] { viewport()->update(); });
    connect(m_header, &QHeaderView::geometriesChanged, this, [this] { UpdateHeaderGeometry(); });
    UpdateHeaderGeometry();
}

CTreeGridCtrl::~CTreeGridCtrl()
{
    // The header, a child, lives on into the base classes' destructors and
    // still signals there: nothing of this object may answer it then.
    m_header->disconnect(this);
}

void CTreeGridCtrl::SetRows(CTreeGridRows *rows)
{
    m_rows = rows;
    RowsChanged();
}

int CTreeGridCtrl::RowCount() const
{
    return m_rows ? m_rows->RowCount() : 0;
}

void CTreeGridCtrl::RowsChanged()
{
    const int count = RowCount();
    if (m_selected >= count)
        SetSelectedRow(-1);
    UpdateScrollBars();
    viewport()->update();
}

// ---------------------------------------------------------------- columns

void CTreeGridCtrl::SetColumnCount(int count)
{
    m_headerModel->setColumnCount(std::max(count, 0));
    UpdateScrollBars();
    viewport()->update();
}

int CTreeGridCtrl::ColumnCount() const
{
    return m_headerModel->columnCount();
}

void CTreeGridCtrl::SetColumnCaption(int column, const QString &caption)
{
    m_headerModel->setHeaderData(column, Qt::Horizontal, caption, Qt::DisplayRole);
}

QString CTreeGridCtrl::ColumnCaption(int column) const
{
    return m_headerModel->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

void CTreeGridCtrl::SetColumnAlignment(int column, Qt::Alignment alignment)
{
    m_headerModel->setHeaderData(column, Qt::Horizontal,
                                 int((alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter),
                                 Qt::TextAlignmentRole);
    viewport()->update();
}

Qt::Alignment CTreeGridCtrl::ColumnAlignment(int column) const
{
    const QVariant value = m_headerModel->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole);
    if (!value.isValid())
        return Qt::AlignLeft;
    return Qt::Alignment(value.toInt()) & Qt::AlignHorizontal_Mask;
}

QRect CTreeGridCtrl::CellRect(int column, const QRect &rowRect) const
{
    if (column < 0 || column >= ColumnCount() || m_header->isSectionHidden(column))
        return QRect();
    return QRect(m_header->sectionViewportPosition(column), rowRect.top(), m_header->sectionSize(column),
                 rowRect.height());
}

int CTreeGridCtrl::FirstShownColumn() const
{
    for (int visual = 0; visual < ColumnCount(); ++visual) {
        const int logical = m_header->logicalIndex(visual);
        if (!m_header->isSectionHidden(logical))
            return logical;
    }
    return -1;
}

void CTreeGridCtrl::SetGridLines(bool gridLines)
{
    m_gridLines = gridLines;
    viewport()->update();
}

// ---------------------------------------------------------------- rows

int CTreeGridCtrl::RowHeight() const
{
    const QFontMetrics metrics(font());
    return metrics.height() + metrics.leading() + 4;
}

int CTreeGridCtrl::HeaderHeight() const
{
    return m_header->isHidden() ? 0 : m_header->sizeHint().height();
}

int CTreeGridCtrl::FirstVisibleRow() const
{
    return m_pendingFirstRow >= 0 ? m_pendingFirstRow : verticalScrollBar()->value();
}

void CTreeGridCtrl::SetFirstVisibleRow(int row)
{
    row = std::max(row, 0);
    if (!isVisible() || viewport()->height() <= 0) {
        m_pendingFirstRow = row;
        return;
    }
    m_pendingFirstRow = -1;
    UpdateScrollBars();
    verticalScrollBar()->setValue(row);
    viewport()->update();
}

int CTreeGridCtrl::RowsPerPage() const
{
    return std::max(viewport()->height() / std::max(RowHeight(), 1), 1);
}

QRect CTreeGridCtrl::RowRect(int row) const
{
    const int height = RowHeight();
    const int left = -horizontalScrollBar()->value();
    const int width = std::max(m_header->length(), viewport()->width() - left);
    return QRect(left, (row - FirstVisibleRow()) * height, width, height);
}

int CTreeGridCtrl::RowAt(int y) const
{
    if (y < 0)
        return -1;
    const int row = FirstVisibleRow() + y / std::max(RowHeight(), 1);
    return row < RowCount() ? row : -1;
}

void CTreeGridCtrl::EnsureVisible(int row)
{
    if (row < 0 || row >= RowCount())
        return;
    const int first = FirstVisibleRow();
    const int page = RowsPerPage();
    if (row < first)
        SetFirstVisibleRow(row);
    else if (row >= first + page)
        SetFirstVisibleRow(row - page + 1);
}

void CTreeGridCtrl::SetSelectedRow(int row)
{
    if (row < -1 || row >= RowCount())
        row = -1;
    if (row == m_selected)
        return;
    const int previous = m_selected;
    m_selected = row;
    if (previous >= 0)
        viewport()->update(RowRect(previous));
    if (row >= 0)
        viewport()->update(RowRect(row));
    emit currentRowChanged(row);
}

void CTreeGridCtrl::SetIndent(int indent, int imageHeight)
{
    m_indent = std::max(indent, 1);
    m_imageHeight = std::max(imageHeight, 0);
    viewport()->update();
}

void CTreeGridCtrl::SetCheckBoxes(bool checkBoxes)
{
    m_checkBoxes = checkBoxes;
    viewport()->update();
}

QRect CTreeGridCtrl::CheckZone(int row, const QRect &rowRect) const
{
    if (!m_checkBoxes || !m_rows || row < 0 || row >= RowCount())
        return QRect();
    const QRect cell = CellRect(FirstShownColumn(), rowRect);
    const int left = (cell.isNull() ? rowRect.left() : cell.left()) + m_rows->RowShape(row).depth * m_indent
                     + (RowHasImage(row) ? m_indent : 0) + 2;
    return QRect(left, rowRect.top(), m_indent, rowRect.height());
}

tTreeRowLines CTreeGridCtrl::RowLines(int row, const QRect &rowRect) const
{
    if (!m_rows || row < 0 || row >= RowCount())
        return tTreeRowLines();
    const int first = FirstShownColumn();
    const QRect cell = CellRect(first, rowRect);
    const QRect area(cell.isNull() ? rowRect.left() : cell.left(), rowRect.top(),
                     cell.isNull() ? rowRect.width() : cell.width(), rowRect.height());
    return TreeLines::Segments(m_rows->RowShape(row), area, m_indent, m_imageHeight,
                               area.left() + area.width());
}

void CTreeGridCtrl::DrawTreeLines(QPainter &painter, const tTreeRowLines &lines)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QColor(0xC0, 0xC0, 0xC0));
    for (const QLine &line : lines.lines)
        painter.drawLine(line);
    if (!lines.box.isNull()) {
        painter.fillRect(lines.box, Qt::white);
        painter.setPen(QColor(0xC6, 0xC6, 0xC6));
        painter.drawRect(lines.box.adjusted(0, 0, -1, -1));
        painter.setPen(Qt::black);
        for (const QLine &line : lines.sign)
            painter.drawLine(line);
    }
    painter.restore();
}

void CTreeGridCtrl::DrawCellText(QPainter &painter, const QRect &cell, const QString &text,
                                 Qt::Alignment alignment)
{
    if (text.isEmpty())
        return;
    const QFontMetrics metrics = painter.fontMetrics();
    const QString shown = EllipsizeText(metrics, text, cell.width() - 12, true);
    const Qt::Alignment horizontal = shown == text ? (alignment & Qt::AlignHorizontal_Mask) : Qt::AlignLeft;
    painter.drawText(cell.adjusted(6, 0, -6, 0), int(horizontal | Qt::AlignVCenter | Qt::TextSingleLine),
                     shown);
}

// ---------------------------------------------------------------- hooks

bool CTreeGridCtrl::RowPressed(int row, const QPoint &pos, Qt::KeyboardModifiers modifiers)
{
    (void)modifiers;
    if (row < 0 || !m_rows)
        return false;
    const QRect zone = CheckZone(row, RowRect(row));
    if (!zone.isNull() && pos.x() > zone.left() && pos.x() < zone.left() + zone.width()) {
        ToggleRowCheck(row);
        viewport()->update();
        return true;
    }
    const tTreeRowShape shape = m_rows->RowShape(row);
    if (!shape.hasChildren)
        return false;
    const tTreeRowLines lines = RowLines(row, RowRect(row));
    const QRect &box = lines.box;
    if (box.isNull() || !IsPointInBox(box.x(), box.y(), box.width(), box.height(), pos))
        return false;
    if (ToggleExpanded(row)) {
        RowsChanged();
        emit firstRowChanged();
    }
    return true;
}

bool CTreeGridCtrl::ToggleExpanded(int row)
{
    (void)row;
    return false;
}

void CTreeGridCtrl::SpacePressed(int row)
{
    (void)row;
}

bool CTreeGridCtrl::RowHasImage(int row) const
{
    (void)row;
    return false;
}

void CTreeGridCtrl::ToggleRowCheck(int row)
{
    (void)row;
}

QColor CTreeGridCtrl::BackgroundColor() const
{
    return palette().color(QPalette::Base);
}

// ---------------------------------------------------------------- events

void CTreeGridCtrl::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QRect clip = event->rect();
    const int count = RowCount();
    const int height = RowHeight();
    const int first = FirstVisibleRow();
    const int from = std::max(first + clip.top() / height, first);
    const int to = std::min(first + clip.bottom() / height, count - 1);
    const int rowsRight = m_header->length() - horizontalScrollBar()->value();

    for (int row = from; row <= to; ++row) {
        const QRect rect = RowRect(row);
        painter.save();
        painter.setClipRect(clip.intersected(rect));
        DrawRow(painter, row, rect, clip);
        painter.restore();
    }
    // Below the last row and right of the columns.
    const int rowsBottom = std::max(to - first + 1, 0) * height;
    const QColor background = BackgroundColor();
    if (rowsBottom < viewport()->height())
        painter.fillRect(QRect(0, rowsBottom, viewport()->width(), viewport()->height() - rowsBottom)
                             .intersected(clip),
                         background);
    if (rowsRight < viewport()->width())
        painter.fillRect(QRect(rowsRight, 0, viewport()->width() - rowsRight, rowsBottom).intersected(clip),
                         background);

    if (m_gridLines && count > 0) {
        painter.setPen(palette().color(QPalette::Midlight).darker(105));
        for (int row = from; row <= to; ++row) {
            const QRect rect = RowRect(row);
            painter.drawLine(rect.left(), rect.bottom(), rowsRight - 1, rect.bottom());
        }
        for (int visual = 0; visual < ColumnCount(); ++visual) {
            const int logical = m_header->logicalIndex(visual);
            if (m_header->isSectionHidden(logical))
                continue;
            const int x = m_header->sectionViewportPosition(logical) + m_header->sectionSize(logical) - 1;
            painter.drawLine(x, 0, x, rowsBottom - 1);
        }
    }
}

void CTreeGridCtrl::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateHeaderGeometry();
    UpdateScrollBars();
    ApplyPendingFirstRow();
    emit firstRowChanged();
}

void CTreeGridCtrl::showEvent(QShowEvent *event)
{
    QAbstractScrollArea::showEvent(event);
    ApplyPendingFirstRow();
}

void CTreeGridCtrl::ApplyPendingFirstRow()
{
    if (m_pendingFirstRow >= 0 && isVisible() && viewport()->height() > 0)
        SetFirstVisibleRow(m_pendingFirstRow);
}

void CTreeGridCtrl::scrollContentsBy(int dx, int dy)
{
    if (dx != 0)
        m_header->setOffset(horizontalScrollBar()->value());
    viewport()->update();
    if (dy != 0)
        emit firstRowChanged();
}

void CTreeGridCtrl::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    const QPoint pos = event->position().toPoint();
    const int row = RowAt(pos.y());
    if (event->button() == Qt::LeftButton && RowPressed(row, pos, event->modifiers()))
        return;
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        SetSelectedRow(row);
}

void CTreeGridCtrl::mouseDoubleClickEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    const int row = RowAt(pos.y());
    if (RowPressed(row, pos, event->modifiers()))
        return;
    if (row >= 0)
        emit rowDoubleClicked(row);
}

void CTreeGridCtrl::keyPressEvent(QKeyEvent *event)
{
    const int count = RowCount();
    const int page = RowsPerPage();
    int target = -2;
    switch (event->key()) {
    case Qt::Key_Up:
        target = m_selected < 0 ? FirstVisibleRow() : m_selected - 1;
        break;
    case Qt::Key_Down:
        target = m_selected < 0 ? FirstVisibleRow() : m_selected + 1;
        break;
    case Qt::Key_PageUp:
        target = m_selected < 0 ? FirstVisibleRow() : m_selected - page + 1;
        break;
    case Qt::Key_PageDown:
        target = m_selected < 0 ? FirstVisibleRow() : m_selected + page - 1;
        break;
    case Qt::Key_Home:
        target = 0;
        break;
    case Qt::Key_End:
        target = count - 1;
        break;
    case Qt::Key_Space:
        if (m_selected >= 0 && m_checkBoxes) {
            ToggleRowCheck(m_selected);
            viewport()->update();
        } else if (m_selected >= 0) {
            SpacePressed(m_selected);
        }
        return;
    case Qt::Key_Delete:
        emit deletePressed();
        return;
    case Qt::Key_Left:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        return;
    case Qt::Key_Right:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    if (count == 0)
        return;
    target = std::clamp(target, 0, count - 1);
    SetSelectedRow(target);
    EnsureVisible(target);
}

void CTreeGridCtrl::wheelEvent(QWheelEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    QAbstractScrollArea::wheelEvent(event);
}

void CTreeGridCtrl::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_header->setFont(font());
        UpdateHeaderGeometry();
        UpdateScrollBars();
    }
}

void CTreeGridCtrl::UpdateScrollBars()
{
    const int count = RowCount();
    const int page = viewport()->height() > 0 ? RowsPerPage() : 0;
    QScrollBar *vertical = verticalScrollBar();
    vertical->setSingleStep(1);
    vertical->setPageStep(std::max(page, 1));
    vertical->setRange(0, std::max(count - page, 0));
    QScrollBar *horizontal = horizontalScrollBar();
    horizontal->setSingleStep(20);
    horizontal->setPageStep(std::max(viewport()->width(), 1));
    horizontal->setRange(0, std::max(m_header->length() - viewport()->width(), 0));
}

void CTreeGridCtrl::UpdateHeaderGeometry()
{
    const int height = HeaderHeight();
    setViewportMargins(0, height, 0, 0);
    const QRect area = viewport()->geometry();
    m_header->setGeometry(area.left(), area.top() - height, area.width(), height);
}
