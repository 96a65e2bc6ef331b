#pragma once
#include "CInterfaceDropTarget.h"
#include "ForecastViewRules.h"

#include <QHash>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class CClassToolBar;
class CForecastGridCtrl;
class CForecastHost;
class CGanttCtrl;
class CProject;
class CProjectStore;
class CSplitterControl;
class ImageList;
class QAction;
class QDrag;
class QMenu;
class QToolButton;
struct tElement;
struct tForecast;

// The project-tracking window: a toolbar across the top, the grid on the
// left, a splitter and the Gantt chart on the right, which can be hidden.
// It is the target of the project-tracking commands (filters, sort,
// columns, zoom, the editor, delete, copy, the node's type, status,
// priority and planning mode, starting a task) and of dragged project and
// activity rows, which move or copy nodes in the tree.
//
// The selected node is always read from the grid when a command needs it:
// the store may have been reloaded since the row was selected.
//
// The chart's visibility and the splitter's place are kept under
// "Forecast/Forecast/" ("ShowGantt", "Pos Splitter" in per cent).
class CViewForecast : public QWidget, public CDropTargetWindow
{
    Q_OBJECT
public:
    static constexpr int ToolBarId = 479;
    static constexpr int ContextMenuId = 495;
    static constexpr int FilterMenuId = 486;
    static constexpr int ScrollTimerId = 1247;
    static constexpr int ScrollInterval = 200;
    static constexpr int ChartControlId = 2317;

    // `host` is not owned and must outlive the view; `smallImages` is the
    // application's 16-pixel list (not owned). The store by default is the
    // application's. The rows come with the first Refresh, once a user's
    // layout can be read.
    CViewForecast(CForecastHost *host, const ImageList *smallImages, QWidget *parent = nullptr,
                  CProjectStore *store = nullptr);
    ~CViewForecast() override;

    CForecastGridCtrl *Grid() const { return m_grid; }
    CGanttCtrl *Chart() const { return m_chart; }
    CSplitterControl *Splitter() const { return m_splitter; }
    CClassToolBar *ToolBar() const { return m_toolBar; }
    QToolButton *FilterButton() const { return m_filterButton; }
    QAction *Action(int id) const { return m_actions.value(id); }
    double Ratio() const { return m_ratio; }
    bool ChartShown() const { return m_chartShown; }
    const QTimer &ScrollTimer() const { return m_scrollTimer; }
    bool ScrollsUp() const { return m_scrollUp; }

    // ---- what the frame and the application call ----
    void Refresh(bool keepOffset, bool restoreSaved, bool reload);
    void RefreshOnTimer();
    void Retranslate();
    // After another user became current: the chart takes the user's level
    // and the grid the user's layout.
    void AfterUserChange();

    // ---- commands ----
    // The node of the grid's selected row; null for none and the total row.
    CProject *SelectedNode() const;
    ForecastViewRules::tViewState ViewState() const;
    void UpdateCommandStates();
    // Runs a command of the view; false for one it does not know or that
    // is disabled.
    bool OnCommand(int id);
    // The grid's context menu for the selected row, built and adjusted,
    // not shown; its actions run OnCommand.
    std::unique_ptr<QMenu> BuildContextMenu();
    // The toolbar's filter and sort menu (menu 486), translated.
    void FillFilterMenu(QMenu *menu);
    // The seam that shows a context menu (tests answer with an action or
    // none); unset: the menu's own modal loop.
    using MenuPresenter = std::function<QAction *(QMenu &menu, const QPoint &globalPos)>;
    static void SetMenuPresenter(MenuPresenter presenter);
    void ShowContextMenu(const QPoint &gridPoint);

    // ---- drag and drop ----
    // The payload of a row's drag; false for the total row and no row.
    bool DragInfoOfRow(int row, bool shift, DragInfo &info) const;
    // The node a payload names; null for another kind, a node the store
    // no longer holds and the store's root.
    CProject *DraggedNode(const DragInfo &info) const;
    // The effect at a point of the grid (its own coordinates), drag-over
    // and drop alike; the drag-over also starts or stops the scrolling.
    int EffectAt(const DragInfo &info, bool ctrl, const QPoint &gridPoint) const;
    // Carries out the drop at a grid point: only what EffectAt offers.
    void DropAt(const DragInfo &info, bool ctrl, const QPoint &gridPoint);
    // Starts, keeps or stops the drag scrolling for a grid point.
    void UpdateDragScroll(const QPoint &gridPoint);
    void StopDragScroll();

    Kind DropTargetKind() const override { return Kind::ForecastView; }
    Qt::DropAction DragOver(const QMimeData *data, Qt::KeyboardModifiers keys, const QPoint &point) override;
    void DropItem(const DragInfo &info, const QPoint &point) override;
    void DragLeave() override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateToolBar();
    void DoLayout();
    void LoadSettings();
    void SaveSettings() const;
    void ToggleChart();
    void OnSplitterMoved(int delta);
    void OnScrollTimer();
    void TranslateToolBar();
    void ShowWriteFailure();
    void DeleteSelected();
    void SaveNode(CProject *node, const std::function<void(tElement &, tForecast &)> &change, bool element);
    void StartDrag(int row, bool shift);
    QPoint GridPoint(const QPoint &dropTargetPoint) const;

    CForecastHost *m_host;
    CProjectStore *m_store;
    CClassToolBar *m_toolBar = nullptr;
    QToolButton *m_filterButton = nullptr;
    CForecastGridCtrl *m_grid = nullptr;
    CSplitterControl *m_splitter = nullptr;
    CGanttCtrl *m_chart = nullptr;
    QHash<int, QAction *> m_actions;
    double m_ratio = 0.66;
    bool m_chartShown = true;
    QTimer m_scrollTimer;
    bool m_scrollUp = false;
    Qt::KeyboardModifiers m_dragKeys;
    QPointer<QDrag> m_drag;
    QPoint m_pressPoint;
    int m_pressRow = -1;
};
