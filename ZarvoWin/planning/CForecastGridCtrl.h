#pragma once
#include "CForecastRows.h"
#include "CTreeGridCtrl.h"
#include "ForecastGridModel.h"
#include "tColVisible.h"

#include <QPixmap>
#include <array>
#include <vector>

class CMyToolTipCtrl;
class QMenu;
class CProjectStore;
class ImageList;

// The project-tracking grid: the project store's tree with its forecast
// columns (ForecastGridModel gives the rows, ForecastGridCells the cells),
// drawn by the tree grid under a tall header whose columns can be moved
// (the name column stays first), sized (widths kept when the mouse is
// released), fitted by a double click on a divider and sorted by a click
// (ascending, descending, the store's order). Rows show their tree lines
// and +/- box, the node's image, the check image while rows are ticked,
// the running-task image, and their cells: icons for alerts, priority and
// status, progress bars, texts. Only the cells of the painted area are
// computed.
//
// A click on the +/- box expands or collapses; while rows are ticked a
// click on the check image, or Space, ticks or unticks the row. Delete
// tells deletePressed; a double click rowDoubleClicked; the first row shown
// may have changed whenever firstRowChanged is told. A tooltip describes
// the node under the mouse when it is over a name.
//
// The grid keeps its filters and layout: the filters, sort and columns in
// the settings file, the rows' layout per user, written when the grid goes
// and before another user is made current (SaveSettings).
class CForecastGridCtrl : public CTreeGridCtrl, public CForecastRows
{
    Q_OBJECT
public:
    using CTreeItem = ForecastGridModel::CTreeItem;
    static constexpr int ControlId = 2315;

    // The store by default is the application's.
    explicit CForecastGridCtrl(QWidget *parent = nullptr, CProjectStore *store = nullptr);
    ~CForecastGridCtrl() override;

    ForecastGridModel &Model() { return m_model; }
    const ForecastGridModel &Model() const { return m_model; }

    // The application's small image list (the nodes' images, check boxes,
    // alerts, the running task); nothing is drawn without it. Not owned.
    void SetSmallImageList(const ImageList *images);
    // The priority and status images. Not owned.
    void SetStateImageList(const ImageList *images);

    // --- Columns ---------------------------------------------------------
    // Reads the widths and the layout from the settings and shows them
    // (only while no column is shown yet).
    void LoadColumns();
    void SaveColumns();
    // Shows the name column and the shown columns of the list, in order,
    // with their widths and captions.
    void BuildColumns();
    void TranslateColumnCaptions();
    std::vector<tColVisible> &Columns() { return m_columns; }
    const std::vector<int> &DisplayedColumns() const { return m_displayed; }
    // The display position of a column id; -1 when not shown.
    int FindColumnPosition(int id) const;
    int ColumnWidth(int id) const;
    // Moves column `dragged` just before (or after) `target`; false when
    // either is the name column or nothing moves.
    bool MoveColumn(int dragged, int target, bool after);
    // Fits the column at a display position to its texts; every shown
    // column when negative.
    void AutoFitColumn(int position);
    // The column chooser on the grid's columns: after OK they are shown and
    // kept as chosen, the sort mark following its column. True on OK.
    bool ChooseColumns();
    // The header's menu, whose one command opens the chooser.
    QMenu *MakeHeaderMenu(QWidget *parent);

    // --- Rows ------------------------------------------------------------
    // See ForecastGridModel::Refresh.
    ForecastGridModel::tRefreshResult Refresh(bool reload, bool restoreSaved, bool recompute, bool keepOffset);
    void ApplyFilter();
    void SortOn(int id, bool resetAllowed);
    void ToggleCheck(CTreeItem *item);
    void SelectChildren(CTreeItem *item);
    void LoadSettings();
    void SaveSettings();
    // After the store changed under the rows, they are taken again before
    // anything reads a node (done by painting and every reader).
    void EnsureCurrent() const;

    CTreeItem *Item(int row) const { return m_model.Item(row); }
    bool IsTotalRow(const CTreeItem *item) const { return m_model.IsTotalRow(item); }
    QString GetCellText(int id, const CTreeItem *item) const;
    int GetItemImage(const CTreeItem *item) const;

    // The row under a point of the grid (its own coordinates): the item,
    // whether the point is on the name's text, and whether in the row's
    // upper half. No item left of the name or over the header.
    struct tNameHit
    {
        CTreeItem *item = nullptr;
        bool onText = false;
        bool upperHalf = false;
    };
    tNameHit HitTestName(const QPoint &point) const;

    // --- The rows as the chart reads them --------------------------------
    int RowCount() const override { return CTreeGridCtrl::RowCount(); }
    int FirstVisibleRow() const override { return CTreeGridCtrl::FirstVisibleRow(); }
    int RowsPerPage() const override { return CTreeGridCtrl::RowsPerPage(); }
    int RowHeight() const override { return CTreeGridCtrl::RowHeight(); }
    int HeaderHeight() const override { return CTreeGridCtrl::HeaderHeight(); }
    CProject *RowNode(int row) const override;
    bool IsTotalRow(int row) const override { return m_model.IsTotalRow(m_model.Item(row)); }
    QRect RowRectangle(int row) const override;
    int SelectedRow() const override { return CTreeGridCtrl::SelectedRow(); }
    void SelectRow(int row) override;

protected:
    void DrawRow(QPainter &painter, int row, const QRect &rowRect, const QRect &clip) override;
    bool RowPressed(int row, const QPoint &pos, Qt::KeyboardModifiers modifiers) override;
    bool ToggleExpanded(int row) override;
    void SpacePressed(int row) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void PushView() const;
    void PullView();
    void UpdateSortMark();
    void OnSectionMoved(int logical, int oldVisual, int newVisual);
    int TextStart(const CTreeItem *item, const QRect &nameCell) const;
    bool ShowsRunning(const CTreeItem *item) const;
    void DrawNameCell(QPainter &painter, const CTreeItem *item, const QRect &rowRect, const QRect &cell,
                      const QColor &background, const QColor &text);
    void DrawStateCell(QPainter &painter, int id, const CTreeItem *item, const QRect &cell, const QColor &text);
    void DrawProgressCell(QPainter &painter, int id, double value, const QRect &cell);
    const QPixmap &Gradient(int slot, const QSize &size);
    int WidestText(int id) const;

    mutable ForecastGridModel m_model;
    const ImageList *m_smallImages = nullptr;
    const ImageList *m_stateImages = nullptr;
    std::vector<tColVisible> m_columns;
    std::vector<int> m_displayed;
    std::array<int, 17> m_widths{};
    bool m_columnsLoaded = false;
    bool m_rebuildingColumns = false;
    bool m_resizedSinceLastPress = false;
    CMyToolTipCtrl *m_tooltip = nullptr;
    struct Gradients
    {
        QSize size;
        QPixmap pixmap;
        std::array<quint32, 3> colours{};
        int mid = -1;
    };
    std::array<Gradients, 2> m_gradients;
    bool m_saved = false;
};
