#pragma once
#include "GanttLayout.h"
#include "GanttScale.h"

#include <QPoint>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class CForecastHost;
class CForecastRows;
class CMyToolTipCtrl;
class QAction;
class QMenu;
class QScrollBar;

// The Gantt chart beside the project-tracking grid: the grid's rows, row
// for row and pixel for pixel, against a time scale of one span of time per
// centimetre (GanttScale), painted from the list GanttLayout makes. It
// only shows and navigates; nothing in it changes data.
//
// A press of either button pans the timeline as the mouse moves; a left
// press also selects the grid row under it (below the last row, none). A
// right click that did not move over 3 pixels opens menu 503: zoom in and
// out, the fourteen levels and the present moment. A double click opens the
// project editor on the row's node through the host. The horizontal scroll
// bar moves by steps of the level (hours, calendar days, months, years).
// The level is kept per user ("GanttZoom"), written at each change and
// when the chart goes.
class CGanttCtrl : public QWidget
{
    Q_OBJECT
public:
    static constexpr int ControlId = 2317;
    static constexpr int MenuId = 503;
    static constexpr int ZoomInCommand = 33027;
    static constexpr int ZoomOutCommand = 33030;
    static constexpr int FirstLevelCommand = 33042; // + level, up to 33055
    static constexpr int NowCommand = 33056;

    // `rows` is the grid beside the chart (null: none yet, see SetGrid),
    // `host` opens the editor; neither is owned.
    explicit CGanttCtrl(CForecastRows *rows, CForecastHost *host, QWidget *parent = nullptr);
    ~CGanttCtrl() override;

    void SetGrid(CForecastRows *rows);
    const GanttScale &Scale() const { return m_scale; }
    int Level() const { return m_scale.Level(); }

    // The current user's stored level (8 when none or not valid); then the
    // scale follows it and the present moment comes into view.
    void LoadZoom();
    void SaveZoom() const;
    void UpdateScrollBar();

    void OnZoomIn();
    void OnZoomOut();
    void OnZoomLevel(int level);
    void OnNow();

    // The commands of the menu: whether one is enabled and checked, and
    // running it (false for a command that is not the chart's).
    bool IsCommandEnabled(int id) const;
    bool IsCommandChecked(int id) const;
    bool OnCommand(int id);
    // Menu 503 with every item enabled and checked by the chart's state.
    std::unique_ptr<QMenu> BuildMenu(QWidget *parent) const;

    // Shows a menu at a screen point and gives the item chosen (null for
    // none). Tests set one that reads the menu instead; an empty one puts
    // the menu's own loop back.
    using MenuPresenter = std::function<QAction *(QMenu &menu, const QPoint &globalPos)>;
    static void SetMenuPresenter(MenuPresenter presenter);

    // What the last paint drew: the shown rows with their pixels.
    const std::vector<tGanttProject> &VisibleRows() const { return m_visible; }
    // The height the rows are drawn in (the scroll bar not counted).
    int ChartHeight() const;
    QScrollBar *ScrollBar() const { return m_scrollBar; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void OnScrollAction(int action);
    void SyncScrollBar();
    void ShowMenu(const QPoint &globalPos);
    int RowAt(int y) const;
    CProject *NodeAt(int y) const;
    void Paint(QPainter &painter, const tGanttItem &item) const;

    CForecastRows *m_rows = nullptr;
    CForecastHost *m_host = nullptr;
    GanttScale m_scale;
    QScrollBar *m_scrollBar = nullptr;
    CMyToolTipCtrl *m_tooltip = nullptr;
    std::vector<tGanttProject> m_visible;
    bool m_buttonDown = false;
    bool m_panning = false;
    // x moves along while panning; the right press's own point stays.
    QPoint m_press;
    QPoint m_rightPress;
    bool m_clickWithoutMove = true;
};
