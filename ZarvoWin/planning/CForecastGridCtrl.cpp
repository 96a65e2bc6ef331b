#include "CForecastGridCtrl.h"

#include "CAppData.h"
#include "CBigHeaderCtrl.h"
#include "CConfiguration.h"
#include "CDlgColForecast.h"
#include "CMyToolTipCtrl.h"
#include "CProject.h"
#include "ColorRef.h"
#include "ForecastColumns.h"
#include "ForecastGridCells.h"
#include "ForecastImages.h"
#include "ImageList.h"
#include "MessageBoxParams.h"
#include "ProjectToolTip.h"
#include "RichMessageBox.h"
#include "Texts.h"
#include "UiUtilities.h"

#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

const CConfiguration &configuration()
{
    static const CConfiguration defaults;
    const CConfiguration *config = CAppData::Configuration();
    return config ? *config : defaults;
}

// The images of the application's small list the grid draws.
enum SmallImage { UncheckedImage = 2, CheckedImage = 3, RunningImage = 8, LateImage = 10, AlertImage = 28 };

} // namespace

CForecastGridCtrl::CForecastGridCtrl(QWidget *parent, CProjectStore *store)
    : CTreeGridCtrl(parent), m_model(store)
{
    SetRows(&m_model);
    SetGridLines(true);
    CBigHeaderCtrl *header = Header();
    header->SetTall(true);
    header->setSectionsMovable(true);
    header->setFirstSectionMovable(false);
    SetColumnCount(ForecastColumns::Count);
    for (int id = 0; id < ForecastColumns::Count; ++id) {
        m_widths[size_t(id)] = ForecastColumns::DefaultWidth(id);
        SetColumnAlignment(id, ForecastColumns::Alignment(id));
    }
    setMouseTracking(true);
    viewport()->setMouseTracking(true);

    m_model.Data().showWarning = [this](const QString &warning) {
        RichMessageBox(MessageBoxType::Ok | MessageBoxType::IconExclamation, window(), warning,
                       QGuiApplication::applicationDisplayName());
    };

    connect(this, &CTreeGridCtrl::currentRowChanged, this, [this](int row) { m_model.SelectRow(row); });
    connect(header, &QHeaderView::sectionClicked, this, [this](int logical) { SortOn(logical, true); });
    connect(header, &QHeaderView::sectionMoved, this, &CForecastGridCtrl::OnSectionMoved);
    connect(header, &QHeaderView::sectionHandleDoubleClicked, this,
            [this](int logical) { AutoFitColumn(FindColumnPosition(logical)); });
    connect(header, &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
        if (m_rebuildingColumns || logical < 0 || logical >= ForecastColumns::Count)
            return;
        m_widths[size_t(logical)] = size;
        m_resizedSinceLastPress = true;
    });
    header->viewport()->installEventFilter(this);
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        QMenu *menu = MakeHeaderMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(Header()->mapToGlobal(pos));
    });

    m_tooltip = new CMyToolTipCtrl(this);
    m_tooltip->SetImageList(&ForecastImages::ToolTipImages());
    m_tooltip->Attach(viewport(), [this](const QPoint &pos, tToolTipContent &content) {
        const tNameHit hit = HitTestName(viewport()->mapTo(this, pos));
        if (!hit.item || !hit.onText || IsTotalRow(hit.item))
            return false;
        content = ProjectToolTipContent(*hit.item->node);
        return true;
    });
}

CForecastGridCtrl::~CForecastGridCtrl()
{
    SaveSettings();
}

void CForecastGridCtrl::SetSmallImageList(const ImageList *images)
{
    m_smallImages = images;
    const int size = images ? images->CellSize() : 16;
    SetIndent(size, size);
}

void CForecastGridCtrl::SetStateImageList(const ImageList *images)
{
    m_stateImages = images;
    viewport()->update();
}

// ---------------------------------------------------------------- view

void CForecastGridCtrl::PushView() const
{
    m_model.SetViewport(CTreeGridCtrl::FirstVisibleRow(), CTreeGridCtrl::RowsPerPage(),
                        CTreeGridCtrl::SelectedRow());
}

void CForecastGridCtrl::PullView()
{
    const int selected = m_model.SelectedRow();
    const int first = m_model.TakeFirstRowRequest();
    RowsChanged();
    SetSelectedRow(selected);
    if (first >= 0)
        SetFirstVisibleRow(first);
    UpdateSortMark();
    viewport()->update();
}

void CForecastGridCtrl::EnsureCurrent() const
{
    if (!m_model.Root() || !m_model.IsStale())
        return;
    auto *self = const_cast<CForecastGridCtrl *>(this);
    PushView();
    m_model.Rebuild();
    self->PullView();
}

// ---------------------------------------------------------------- columns

void CForecastGridCtrl::LoadColumns()
{
    if (m_columnsLoaded)
        return;
    m_columnsLoaded = true;
    for (int id = 0; id < ForecastColumns::Count; ++id)
        m_widths[size_t(id)] = ForecastColumns::ReadWidth(id);
    m_columns = ForecastColumns::FromSetting(ForecastColumns::ReadLayout());
    BuildColumns();
}

void CForecastGridCtrl::SaveColumns()
{
    ForecastColumns::WriteLayout(m_columns);
}

void CForecastGridCtrl::BuildColumns()
{
    CBigHeaderCtrl *header = Header();
    m_rebuildingColumns = true;
    m_displayed = ForecastColumns::Displayed(m_columns);
    std::vector<int> order = m_displayed;
    for (int id = 0; id < ForecastColumns::Count; ++id)
        if (std::find(order.begin(), order.end(), id) == order.end())
            order.push_back(id);
    for (int visual = 0; visual < int(order.size()); ++visual) {
        const int id = order[size_t(visual)];
        const int from = header->visualIndex(id);
        if (from != visual)
            header->moveSection(from, visual);
        header->setSectionHidden(id, visual >= int(m_displayed.size()));
        header->resizeSection(id, m_widths[size_t(id)]);
    }
    m_rebuildingColumns = false;
    TranslateColumnCaptions();
    UpdateSortMark();
    UpdateScrollBars();
    viewport()->update();
}

void CForecastGridCtrl::TranslateColumnCaptions()
{
    for (int id = 0; id < ForecastColumns::Count; ++id)
        SetColumnCaption(id, ForecastColumns::Caption(true, id).left(255));
    Header()->viewport()->update();
    viewport()->update();
}

int CForecastGridCtrl::FindColumnPosition(int id) const
{
    const auto it = std::find(m_displayed.begin(), m_displayed.end(), id);
    return it == m_displayed.end() ? -1 : int(it - m_displayed.begin());
}

int CForecastGridCtrl::ColumnWidth(int id) const
{
    return ForecastColumns::IsValidId(id) ? m_widths[size_t(id)] : 0;
}

bool CForecastGridCtrl::MoveColumn(int dragged, int target, bool after)
{
    if (!ForecastColumns::Move(m_columns, dragged, target, after))
        return false;
    SaveColumns();
    BuildColumns();
    return true;
}

void CForecastGridCtrl::OnSectionMoved(int logical, int oldVisual, int newVisual)
{
    if (m_rebuildingColumns)
        return;
    CBigHeaderCtrl *header = Header();
    bool moved = false;
    if (logical != ForecastColumns::NameColumn && newVisual != 0) {
        const bool after = newVisual > oldVisual;
        const int target = header->logicalIndex(after ? newVisual - 1 : newVisual + 1);
        moved = MoveColumn(logical, target, after);
    }
    if (!moved) {
        // The name column stays first: the header's own move is undone.
        m_rebuildingColumns = true;
        header->moveSection(newVisual, oldVisual);
        m_rebuildingColumns = false;
    }
}

int CForecastGridCtrl::WidestText(int id) const
{
    const QFontMetrics metrics(font());
    int widest = 0;
    for (int row = 0; row < CTreeGridCtrl::RowCount(); ++row) {
        const CTreeItem *item = Item(row);
        const int text = metrics.horizontalAdvance(GetCellText(id, item));
        if (id == ForecastColumns::NameColumn)
            widest = std::max(widest, TextStart(item, QRect()) - 2 + text + 4);
        else
            widest = std::max(widest, text + 6);
    }
    return widest;
}

void CForecastGridCtrl::AutoFitColumn(int position)
{
    EnsureCurrent();
    if (position < 0) {
        for (int p = 0; p < int(m_displayed.size()); ++p)
            AutoFitColumn(p);
        return;
    }
    if (position >= int(m_displayed.size()))
        return;
    const int id = m_displayed[size_t(position)];
    const int caption = Header()->fontMetrics().horizontalAdvance(ColumnCaption(id));
    const bool last = position == int(m_displayed.size()) - 1;
    const int start = last ? caption + 10 : caption + 10 + 20;
    const int width = ForecastGridCells::AutoFitWidth(start, WidestText(id), id == ForecastColumns::NameColumn);
    m_widths[size_t(id)] = width;
    m_rebuildingColumns = true;
    Header()->resizeSection(id, width);
    m_rebuildingColumns = false;
    ForecastColumns::WriteWidth(id, width);
    UpdateScrollBars();
    viewport()->update();
}

bool CForecastGridCtrl::ChooseColumns()
{
    CDlgColForecast dialog(window());
    dialog.SetColumns(&m_columns);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    BuildColumns();
    SaveColumns();
    viewport()->update();
    return true;
}

QMenu *CForecastGridCtrl::MakeHeaderMenu(QWidget *parent)
{
    auto *menu = new QMenu(parent);
    QAction *choose = menu->addAction(Platform::Texts::get(504) + QStringLiteral("..."));
    connect(choose, &QAction::triggered, this, [this] { ChooseColumns(); });
    return menu;
}

bool CForecastGridCtrl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Header()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            m_resizedSinceLastPress = false;
        } else if (event->type() == QEvent::MouseButtonRelease && m_resizedSinceLastPress) {
            // Widths are kept once the divider is let go.
            m_resizedSinceLastPress = false;
            for (int id : m_displayed)
                if (ForecastColumns::ReadWidth(id) != m_widths[size_t(id)])
                    ForecastColumns::WriteWidth(id, m_widths[size_t(id)]);
        }
    }
    return CTreeGridCtrl::eventFilter(watched, event);
}

void CForecastGridCtrl::UpdateSortMark()
{
    CBigHeaderCtrl *header = Header();
    header->ClearSortStates();
    const int id = m_model.SortId();
    if (FindColumnPosition(id) >= 0)
        header->SetSortState(id, m_model.Ascending() ? 1 : -1);
}

// ---------------------------------------------------------------- rows

ForecastGridModel::tRefreshResult CForecastGridCtrl::Refresh(bool reload, bool restoreSaved, bool recompute,
                                                             bool keepOffset)
{
    PushView();
    const ForecastGridModel::tRefreshResult result =
        m_model.Refresh(reload, restoreSaved, recompute, keepOffset, isVisible());
    PullView();
    return result;
}

void CForecastGridCtrl::ApplyFilter()
{
    PushView();
    m_model.ApplyFilter();
    PullView();
    emit firstRowChanged();
}

void CForecastGridCtrl::SortOn(int id, bool resetAllowed)
{
    EnsureCurrent();
    PushView();
    m_model.SortOn(id, resetAllowed);
    PullView();
    emit firstRowChanged();
}

void CForecastGridCtrl::ToggleCheck(CTreeItem *item)
{
    EnsureCurrent();
    m_model.ToggleCheck(item);
    viewport()->update();
}

void CForecastGridCtrl::SelectChildren(CTreeItem *item)
{
    EnsureCurrent();
    m_model.SelectChildren(item);
    viewport()->update();
}

void CForecastGridCtrl::LoadSettings()
{
    m_model.LoadSettings();
    UpdateSortMark();
}

void CForecastGridCtrl::SaveSettings()
{
    // A grid that never showed its rows has no layout of its own to keep.
    if (!m_model.Root())
        return;
    PushView();
    m_model.SaveSettings();
}

QString CForecastGridCtrl::GetCellText(int id, const CTreeItem *item) const
{
    if (!item || !item->node)
        return QString();
    return ForecastGridCells::CellText(id, *item->node, IsTotalRow(item), configuration());
}

int CForecastGridCtrl::GetItemImage(const CTreeItem *item) const
{
    if (!item || !item->node)
        return -1;
    return ForecastGridCells::ItemImage(*item->node, IsTotalRow(item), item->collapsed);
}

bool CForecastGridCtrl::ShowsRunning(const CTreeItem *item) const
{
    return item && item->node && item->node->IsRunning(true);
}

int CForecastGridCtrl::TextStart(const CTreeItem *item, const QRect &nameCell) const
{
    const int image = GetItemImage(item);
    const bool hasImage = image >= 0 && (!m_smallImages || m_smallImages->HasImage(image));
    return ForecastGridCells::TextStart(nameCell.left(), item->depth, Indent(), hasImage,
                                        m_model.filterMode == 2, ShowsRunning(item));
}

CForecastGridCtrl::tNameHit CForecastGridCtrl::HitTestName(const QPoint &point) const
{
    tNameHit hit;
    const QPoint pos = point - viewport()->geometry().topLeft();
    if (pos.y() < 0)
        return hit;
    EnsureCurrent();
    const int row = RowAt(pos.y());
    CTreeItem *item = Item(row);
    if (!item)
        return hit;
    const QRect rowRect = RowRect(row);
    const QRect cell = CellRect(ForecastColumns::NameColumn, rowRect);
    const int start = TextStart(item, cell);
    if (pos.x() < start)
        return hit;
    hit.item = item;
    hit.onText = pos.x() <= start + QFontMetrics(font()).horizontalAdvance(GetCellText(0, item));
    hit.upperHalf = pos.y() < rowRect.top() + rowRect.height() / 2;
    return hit;
}

CProject *CForecastGridCtrl::RowNode(int row) const
{
    EnsureCurrent();
    const CTreeItem *item = Item(row);
    return item ? item->node : nullptr;
}

QRect CForecastGridCtrl::RowRectangle(int row) const
{
    return RowRect(row).translated(viewport()->geometry().topLeft());
}

void CForecastGridCtrl::SelectRow(int row)
{
    SetSelectedRow(row);
}

// ---------------------------------------------------------------- mouse and keys

bool CForecastGridCtrl::RowPressed(int row, const QPoint &pos, Qt::KeyboardModifiers modifiers)
{
    CTreeItem *item = Item(row);
    if (item && m_model.filterMode == 2) {
        const QRect cell = CellRect(ForecastColumns::NameColumn, RowRect(row));
        const int image = GetItemImage(item);
        const bool hasImage = image >= 0 && (!m_smallImages || m_smallImages->HasImage(image));
        const int slot = cell.left() + item->depth * Indent() + 2 + (hasImage ? Indent() : 0);
        if (pos.x() >= slot && pos.x() < slot + Indent()) {
            ToggleCheck(item);
            return false; // the row is selected as well
        }
    }
    return CTreeGridCtrl::RowPressed(row, pos, modifiers);
}

bool CForecastGridCtrl::ToggleExpanded(int row)
{
    EnsureCurrent();
    PushView();
    const bool changed = m_model.ToggleExpanded(Item(row));
    PullView();
    return changed;
}

void CForecastGridCtrl::SpacePressed(int row)
{
    if (m_model.filterMode == 2)
        ToggleCheck(Item(row));
}

// ---------------------------------------------------------------- painting

void CForecastGridCtrl::paintEvent(QPaintEvent *event)
{
    // Nodes of a store that moved on are never read: the rows are taken
    // again first.
    EnsureCurrent();
    CTreeGridCtrl::paintEvent(event);
}

void CForecastGridCtrl::DrawRow(QPainter &painter, int row, const QRect &rowRect, const QRect &clip)
{
    const CTreeItem *item = Item(row);
    const QPalette &pal = palette();
    if (!item || !m_smallImages) {
        painter.fillRect(rowRect, pal.color(QPalette::Base));
        return;
    }
    const bool selected = row == CTreeGridCtrl::SelectedRow();
    // The selection shows whether or not the grid has the focus.
    const QColor background =
        selected ? pal.color(QPalette::Active, QPalette::Highlight) : pal.color(QPalette::Base);
    const QColor text =
        selected ? pal.color(QPalette::Active, QPalette::HighlightedText) : pal.color(QPalette::Text);

    const QRect nameCell = CellRect(ForecastColumns::NameColumn, rowRect);
    DrawNameCell(painter, item, rowRect, nameCell, background, text);

    const bool total = IsTotalRow(item);
    for (size_t position = 1; position < m_displayed.size(); ++position) {
        const int id = m_displayed[position];
        const QRect cell = CellRect(id, rowRect);
        if (cell.isNull() || !cell.intersects(clip))
            continue;
        painter.save();
        painter.setClipRect(cell.intersected(clip));
        painter.setPen(text);
        switch (id) {
        case 1:
            if (!total) {
                const int w = m_smallImages->CellSize();
                const int gap = (cell.width() - 2 * w) / 3;
                const int y = cell.top() + (cell.height() - w) / 2;
                if (item->node->IsAlertDue())
                    m_smallImages->Draw(painter, AlertImage, QPoint(cell.left() + gap, y));
                if (item->node->IsLate())
                    m_smallImages->Draw(painter, LateImage, QPoint(cell.left() + 2 * gap + w, y));
            }
            break;
        case 2:
        case 3:
            if (!total)
                DrawStateCell(painter, id, item, cell, text);
            break;
        case 13:
        case 14:
            if (!total) {
                const double value = id == 13 ? item->node->GetProgress() : item->node->GetPlannedRatio();
                if (ForecastGridCells::HasProgress(value))
                    DrawProgressCell(painter, id, value, cell);
            }
            break;
        default:
            DrawCellText(painter, cell, GetCellText(id, item), ForecastColumns::Alignment(id));
            break;
        }
        painter.restore();
    }
}

void CForecastGridCtrl::DrawNameCell(QPainter &painter, const CTreeItem *item, const QRect &rowRect,
                                     const QRect &cell, const QColor &background, const QColor &text)
{
    const QPalette &pal = palette();
    const int cellRight = cell.left() + cell.width();
    const int start = TextStart(item, cell);
    // The tree's part of the row stays in the window colour; the row's own
    // colour runs from the name to the row's end.
    painter.fillRect(cell, pal.color(QPalette::Base));
    const int bandLeft = std::min(start, cellRight);
    painter.fillRect(QRect(bandLeft, rowRect.top(), rowRect.right() - bandLeft + 1, rowRect.height()), background);

    painter.save();
    painter.setClipRect(cell, Qt::IntersectClip);
    DrawTreeLines(painter, RowLines(item->row, rowRect));
    const int w = Indent();
    const int y = rowRect.top() + (rowRect.height() - ImageHeight()) / 2;
    int x = cell.left() + item->depth * w;
    const int image = GetItemImage(item);
    if (image >= 0 && m_smallImages->HasImage(image)) {
        m_smallImages->Draw(painter, image, QPoint(x, y));
        x += w;
    }
    if (m_model.filterMode == 2) {
        m_smallImages->Draw(painter, item->check == 1 ? CheckedImage : UncheckedImage, QPoint(x, y));
        x += w;
    }
    if (ShowsRunning(item)) {
        m_smallImages->Draw(painter, RunningImage, QPoint(x, y));
        x += w;
    }
    const QRect textRect(start, rowRect.top(), cellRight - start, rowRect.height());
    if (textRect.width() > 0) {
        painter.setPen(text);
        const QString name = EllipsizeText(painter.fontMetrics(), GetCellText(0, item), textRect.width(), true);
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, name);
    }
    painter.restore();
}

void CForecastGridCtrl::DrawStateCell(QPainter &painter, int id, const CTreeItem *item, const QRect &cell,
                                      const QColor &text)
{
    const CProject &node = *item->node;
    const int value = id == 2 ? node.Forecast().Priority : ForecastGridCells::ShownStatus(node);
    if (value == 0)
        return;
    const int image = id == 2 ? ForecastGridCells::PriorityImage(value) : ForecastGridCells::StatusImage(value);
    const QString name = id == 2 ? ForecastGridCells::PriorityName(value) : ForecastGridCells::StatusName(value);
    const int mode = configuration().iconOrText;
    const int w = m_stateImages ? m_stateImages->CellSize() : 16;
    const int y = cell.top() + (cell.height() - w) / 2;
    int textLeft = cell.left() + 2;
    if (mode != 1 && m_stateImages) {
        if (mode == 0) {
            m_stateImages->Draw(painter, image, QPoint(cell.left() + (cell.width() - w) / 2, y));
            return;
        }
        m_stateImages->Draw(painter, image, QPoint(cell.left() + 2, y));
        textLeft = cell.left() + 2 + w + 5;
    }
    const QRect textRect(textLeft, cell.top(), cell.left() + cell.width() - textLeft, cell.height());
    painter.setPen(text);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     EllipsizeText(painter.fontMetrics(), name, textRect.width(), true));
}

const QPixmap &CForecastGridCtrl::Gradient(int slot, const QSize &size)
{
    const CConfiguration &config = configuration();
    Gradients &cache = m_gradients[size_t(slot)];
    if (cache.size == size && cache.colours == config.progressColours && cache.mid == config.progressMid)
        return cache.pixmap;
    cache.size = size;
    cache.colours = config.progressColours;
    cache.mid = config.progressMid;
    cache.pixmap = QPixmap(size.expandedTo(QSize(1, 1)));
    QPainter painter(&cache.pixmap);
    const int split = ForecastGridCells::GradientSplit(size.width(), config.progressMid);
    const QColor c0 = ColorRefToQColor(config.progressColours[0]);
    const QColor c1 = ColorRefToQColor(config.progressColours[1]);
    const QColor c2 = ColorRefToQColor(config.progressColours[2]);
    const auto band = [&](int from, int to, const QColor &left, const QColor &right) {
        if (to <= from)
            return;
        QLinearGradient gradient(from, 0, to, 0);
        gradient.setColorAt(0, left);
        gradient.setColorAt(1, right);
        painter.fillRect(QRect(from, 0, to - from, size.height()), gradient);
    };
    band(0, split, c0, c1);
    band(split, size.width(), c1, c2);
    return cache.pixmap;
}

void CForecastGridCtrl::DrawProgressCell(QPainter &painter, int id, double value, const QRect &cell)
{
    // Inside the grid lines.
    const QRect bar = HasGridLines() ? cell.adjusted(0, 0, -1, -1) : cell;
    const QPixmap &gradient = Gradient(id == 13 ? 0 : 1, bar.size());
    const ForecastGridCells::tProgressBar plan = ForecastGridCells::ProgressBar(value, bar.width());
    if (plan.gradientEnd > 0)
        painter.drawPixmap(QRect(bar.left(), bar.top(), plan.gradientEnd, bar.height()), gradient,
                           QRect(plan.shift, 0, plan.gradientEnd, bar.height()));
    if (plan.windowEnd > plan.gradientEnd)
        painter.fillRect(QRect(bar.left() + plan.gradientEnd, bar.top(), plan.windowEnd - plan.gradientEnd,
                               bar.height()),
                         palette().color(QPalette::Base));
    if (bar.width() > plan.windowEnd)
        painter.fillRect(QRect(bar.left() + plan.windowEnd, bar.top(), bar.width() - plan.windowEnd, bar.height()),
                         ColorRefToQColor(configuration().progressColours[2]));
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(bar, Qt::AlignCenter | Qt::TextSingleLine, configuration().FormatPercentDecimal(value));
}
