#include "CGanttCtrl.h"

#include "CAppData.h"
#include "CConfiguration.h"
#include "CForecastHost.h"
#include "CForecastRows.h"
#include "CMyToolTipCtrl.h"
#include "CProject.h"
#include "CTranslationStore.h"
#include "CUsers.h"
#include "Clock.h"
#include "ForecastImages.h"
#include "ForecastSettings.h"
#include "Formatter.h"
#include "ProjectToolTip.h"
#include "TranslateWidgets.h"
#include "WidgetIds.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <cstdlib>

namespace {

CGanttCtrl::MenuPresenter &menuPresenter()
{
    static CGanttCtrl::MenuPresenter presenter;
    return presenter;
}

// A right press becomes a drag once the mouse is this far from it.
constexpr int ClickSlack = 3;

// The settings object of the application, or one with the defaults.
const CConfiguration &configuration()
{
    if (const CConfiguration *config = CAppData::Configuration())
        return *config;
    static const CConfiguration defaults;
    return defaults;
}

} // namespace

CGanttCtrl::CGanttCtrl(CForecastRows *rows, CForecastHost *host, QWidget *parent)
    : QWidget(parent), m_rows(rows), m_host(host), m_scale(logicalDpiX())
{
    setObjectName(QString::number(ControlId));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    m_scrollBar = new QScrollBar(Qt::Horizontal, this);
    m_scrollBar->setSingleStep(1);
    connect(m_scrollBar, &QAbstractSlider::actionTriggered, this, &CGanttCtrl::OnScrollAction);

    m_tooltip = new CMyToolTipCtrl(this);
    m_tooltip->SetImageList(&ForecastImages::ToolTipImages());
    m_tooltip->Attach(this, [this](const QPoint &pos, tToolTipContent &content) {
        if (m_panning || pos.y() >= ChartHeight())
            return false;
        const CProject *node = NodeAt(pos.y());
        if (!node || node->IsRoot())
            return false;
        content = ProjectToolTipContent(*node);
        return true;
    });
    LoadZoom();
}

CGanttCtrl::~CGanttCtrl()
{
    SaveZoom();
}

void CGanttCtrl::SetGrid(CForecastRows *rows)
{
    m_rows = rows;
    update();
}

int CGanttCtrl::ChartHeight() const
{
    return std::max(height() - (m_scrollBar->isVisible() ? m_scrollBar->height() : 0), 0);
}

// ---------------------------------------------------------------- level

void CGanttCtrl::LoadZoom()
{
    QString stored;
    if (const CUsers *users = CAppData::Users()) {
        QStringList values{ForecastSettings::UserGanttZoom()};
        if (users->GetUserSettings(values) && values.size() == 1)
            stored = values.front();
    }
    m_scale.SetLevel(GanttScale::ParseLevel(stored));
    UpdateScrollBar();
    OnNow();
    update();
}

void CGanttCtrl::SaveZoom() const
{
    if (const CUsers *users = CAppData::Users())
        users->SetUserSettings({ForecastSettings::UserGanttZoom()},
                               {Platform::Formatter::sprintf(u"%d", {m_scale.Level()})});
}

void CGanttCtrl::UpdateScrollBar()
{
    m_scale.UpdateScrollBar();
    SyncScrollBar();
}

void CGanttCtrl::SyncScrollBar()
{
    const GanttScale::tScrollBar &bar = m_scale.ScrollBar();
    const QSignalBlocker blocker(m_scrollBar);
    m_scrollBar->setRange(0, bar.maximum);
    m_scrollBar->setPageStep(std::max(bar.page, 1));
    m_scrollBar->setValue(bar.position);
}

void CGanttCtrl::OnZoomIn()
{
    if (!m_scale.ZoomIn())
        return;
    SyncScrollBar();
    SaveZoom();
    update();
}

void CGanttCtrl::OnZoomOut()
{
    if (!m_scale.ZoomOut())
        return;
    SyncScrollBar();
    SaveZoom();
    update();
}

void CGanttCtrl::OnZoomLevel(int level)
{
    if (!m_scale.ZoomToLevel(level))
        return;
    SyncScrollBar();
    SaveZoom();
    update();
}

void CGanttCtrl::OnNow()
{
    if (!m_scale.PlaceNow(Platform::Clock::now()))
        return;
    SyncScrollBar();
    update();
}

// ---------------------------------------------------------------- commands

bool CGanttCtrl::IsCommandEnabled(int id) const
{
    if (id == ZoomInCommand)
        return m_scale.Level() > GanttScale::FinestLevel;
    if (id == ZoomOutCommand)
        return m_scale.Level() < GanttScale::CoarsestLevel;
    return id == NowCommand || (id >= FirstLevelCommand && id < FirstLevelCommand + GanttScale::LevelCount);
}

bool CGanttCtrl::IsCommandChecked(int id) const
{
    return id == FirstLevelCommand + m_scale.Level();
}

bool CGanttCtrl::OnCommand(int id)
{
    if (!IsCommandEnabled(id))
        return false;
    if (id == ZoomInCommand)
        OnZoomIn();
    else if (id == ZoomOutCommand)
        OnZoomOut();
    else if (id == NowCommand)
        OnNow();
    else
        OnZoomLevel(id - FirstLevelCommand);
    return true;
}

std::unique_ptr<QMenu> CGanttCtrl::BuildMenu(QWidget *parent) const
{
    auto menu = std::make_unique<QMenu>(parent);
    const auto add = [this, &menu](int id) {
        QAction *action = menu->addAction(QString());
        WidgetIds::SetCommandId(action, id);
        action->setEnabled(IsCommandEnabled(id));
        return action;
    };
    add(ZoomInCommand);
    add(ZoomOutCommand);
    menu->addSeparator();
    auto *levels = new QActionGroup(menu.get());
    levels->setExclusive(true);
    for (int level = GanttScale::FinestLevel; level <= GanttScale::CoarsestLevel; ++level) {
        QAction *action = add(FirstLevelCommand + level);
        action->setCheckable(true);
        action->setChecked(IsCommandChecked(FirstLevelCommand + level));
        levels->addAction(action);
    }
    menu->addSeparator();
    add(NowCommand);
    CTranslationStore store;
    TranslateMenu(menu.get(), MenuId, store);
    return menu;
}

void CGanttCtrl::SetMenuPresenter(MenuPresenter presenter)
{
    menuPresenter() = std::move(presenter);
}

void CGanttCtrl::ShowMenu(const QPoint &globalPos)
{
    std::unique_ptr<QMenu> menu = BuildMenu(this);
    QAction *chosen = menuPresenter() ? menuPresenter()(*menu, globalPos) : menu->exec(globalPos);
    if (const int id = chosen ? WidgetIds::CommandId(chosen) : 0; id != 0)
        OnCommand(id);
}

// ---------------------------------------------------------------- scrolling

void CGanttCtrl::OnScrollAction(int action)
{
    const GanttScale::tScrollBar &bar = m_scale.ScrollBar();
    int units = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
    case QAbstractSlider::SliderToMinimum:
        units = -1;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
    case QAbstractSlider::SliderToMaximum:
        units = 1;
        break;
    case QAbstractSlider::SliderPageStepSub:
        units = -bar.page;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        units = bar.page;
        break;
    case QAbstractSlider::SliderMove:
        units = m_scrollBar->sliderPosition() - bar.position;
        break;
    default:
        break;
    }
    if (units != 0) {
        m_scale.Scroll(units);
        update();
    }
    // The bar shows where the scale stands, whatever the slider asked.
    m_scrollBar->setSliderPosition(m_scale.ScrollBar().position);
}

// ---------------------------------------------------------------- painting

void CGanttCtrl::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int barHeight = m_scrollBar->sizeHint().height();
    m_scrollBar->setGeometry(0, height() - barHeight, width(), barHeight);
    m_scale.SetWidth(width());
    if (width() > 0 && m_scale.Centre() != 0) {
        m_scale.ClampCentre();
        UpdateScrollBar();
    }
}

void CGanttCtrl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int chartHeight = ChartHeight();
    painter.fillRect(QRect(0, 0, width(), chartHeight), Qt::white);
    m_visible.clear();
    if (width() <= 0)
        return;
    m_scale.SetWidth(width());
    if (m_scale.Centre() == 0 && m_scale.PlaceNow(Platform::Clock::now()))
        SyncScrollBar();

    GanttLayout::tInput in;
    in.scale = &m_scale;
    in.rows = m_rows;
    in.config = &configuration();
    in.now = Platform::Clock::now();
    in.height = chartHeight;
    in.highlight = palette().color(QPalette::Active, QPalette::Highlight);
    const QFontMetrics metrics = fontMetrics();
    in.metrics = &metrics;
    GanttLayout layout(in);
    layout.Build();
    m_scale.SetProjectRange(layout.RangeStart(), layout.RangeEnd());
    m_visible = layout.VisibleRows();

    painter.setClipRect(QRect(0, 0, width(), chartHeight));
    for (const tGanttItem &item : layout.Items())
        Paint(painter, item);
}

void CGanttCtrl::Paint(QPainter &painter, const tGanttItem &item) const
{
    switch (item.kind) {
    case tGanttItem::Fill:
        painter.fillRect(item.rect, item.colour);
        break;
    case tGanttItem::PatternFill:
        painter.fillRect(item.rect, item.colour);
        painter.fillRect(item.rect, QBrush(Qt::white, Qt::Dense4Pattern));
        break;
    case tGanttItem::Outline:
        painter.setPen(QPen(item.colour, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(item.rect.adjusted(0, 0, -1, -1));
        break;
    case tGanttItem::Line:
        painter.setPen(QPen(item.colour, 1));
        painter.drawLine(item.line);
        break;
    case tGanttItem::DottedLine:
        painter.setPen(QPen(item.colour, 1, Qt::DotLine));
        painter.drawLine(item.line);
        break;
    case tGanttItem::Polyline:
        painter.setPen(QPen(item.colour, 1));
        painter.drawPolyline(item.polygon);
        break;
    case tGanttItem::Polygon:
        painter.setPen(QPen(item.colour, 1));
        painter.setBrush(item.colour);
        painter.drawPolygon(item.polygon);
        break;
    case tGanttItem::Dashes: {
        // A first dash of one unit from the anchor, then dashes of two
        // units, a unit apart; only those inside the rectangle.
        const int u = std::max(item.unit, 1);
        const QRect &r = item.rect;
        const int top = r.top();
        const int h = r.height();
        const auto dash = [&](int from, int to) {
            const int left = std::max(from, r.left());
            const int right = std::min(to, r.right() + 1);
            if (right > left)
                painter.fillRect(QRect(left, top, right - left, h), item.colour);
        };
        dash(item.anchor, item.anchor + u);
        const int period = 3 * u;
        const int origin = item.anchor + 2 * u;
        int k = r.left() > origin ? (r.left() - origin) / period : 0;
        for (int x = origin + k * period; x <= r.right(); x += period)
            dash(x, x + 2 * u);
        break;
    }
    case tGanttItem::Text:
        painter.save();
        painter.setClipRect(item.rect, Qt::IntersectClip);
        painter.setPen(item.colour);
        painter.drawText(item.rect, item.flags, item.text);
        painter.restore();
        break;
    }
}

// ---------------------------------------------------------------- mouse

int CGanttCtrl::RowAt(int y) const
{
    if (!m_rows || y >= ChartHeight())
        return -1;
    return GanttScale::RowAt(y, m_rows->HeaderHeight(), m_rows->RowHeight(), m_rows->FirstVisibleRow(),
                             m_rows->RowCount());
}

CProject *CGanttCtrl::NodeAt(int y) const
{
    const int row = RowAt(y);
    return row >= 0 ? m_rows->RowNode(row) : nullptr;
}

void CGanttCtrl::mousePressEvent(QMouseEvent *event)
{
    const Qt::MouseButton button = event->button();
    if ((button != Qt::LeftButton && button != Qt::RightButton) || m_buttonDown) {
        event->ignore();
        return;
    }
    const QPoint pos = event->position().toPoint();
    m_press = pos;
    m_buttonDown = m_panning = true;
    setCursor(Qt::SizeHorCursor);
    if (button == Qt::LeftButton) {
        if (m_rows && pos.y() < ChartHeight() && pos.y() >= m_rows->HeaderHeight()) {
            const int row = RowAt(pos.y());
            if (row >= 0)
                m_rows->SelectRow(row);
            else if (m_rows->RowHeight() > 0)
                m_rows->SelectRow(-1);
            update();
        }
    } else {
        setFocus(Qt::MouseFocusReason);
        m_rightPress = pos;
        m_clickWithoutMove = true;
    }
    event->accept();
}

void CGanttCtrl::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (event->buttons().testFlag(Qt::RightButton)
        && (std::abs(pos.x() - m_rightPress.x()) > ClickSlack || std::abs(pos.y() - m_rightPress.y()) > ClickSlack))
        m_clickWithoutMove = false;
    if (!m_panning)
        return;
    const int dx = m_press.x() - pos.x();
    if (dx == 0)
        return;
    m_scale.Pan(dx);
    m_press.setX(pos.x());
    SyncScrollBar();
    update();
}

void CGanttCtrl::mouseReleaseEvent(QMouseEvent *event)
{
    const bool right = event->button() == Qt::RightButton;
    if (event->button() != Qt::LeftButton && !right) {
        event->ignore();
        return;
    }
    m_buttonDown = m_panning = false;
    unsetCursor();
    event->accept();
    if (right && m_clickWithoutMove)
        ShowMenu(event->globalPosition().toPoint());
}

void CGanttCtrl::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    const CProject *node = NodeAt(event->position().toPoint().y());
    if (node && !node->IsRoot() && m_host)
        m_host->EditNode(*node);
}

void CGanttCtrl::contextMenuEvent(QContextMenuEvent *event)
{
    // The mouse's menu comes with the right button's release, once it is
    // known not to be a drag; the keyboard's comes here.
    event->accept();
    if (event->reason() == QContextMenuEvent::Mouse)
        return;
    ShowMenu(mapToGlobal(QPoint(width() / 2, ChartHeight() / 2)));
}

void CGanttCtrl::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (m_panning && !m_buttonDown)
        m_panning = false;
    update();
}
