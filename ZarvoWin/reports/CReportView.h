#pragma once
#include "CViewCommandTarget.h"

#include <QWidget>
#include <memory>

class CReportFrame;
class CReportGrid;
class CReportHost;
class CReportModel;
class QAction;
class QToolBar;
struct tReportDefinition;

// The inside of a report window: its toolbar across the top and, below
// it, the report grid over the report's model, or a message in its place
// (a report that could not be built, dates that are not valid). While the
// window builds its report the grid lets go of the model, which the build
// fills on a worker thread, and the view paints itself white.
//
// It takes the report's commands by number, from its own toolbar and,
// while its window is the active one, from the main window's: refresh,
// save, save as, expand, collapse, groups only, and the report's settings
// when an editor of them is registered. The commands of later windows
// (export, print layout, columns, invoicing) stay greyed.
class CReportView : public QWidget, public CViewCommandTarget
{
    Q_OBJECT
public:
    enum Command {
        CmdSettings = 32803,
        CmdRefresh = 32815,
        CmdSave = 32832,
        CmdSaveAs = 32875,
        CmdExport = 32818,
        CmdPrintLayout = 32827,
        CmdCollapse = 32819,
        CmdExpand = 32820,
        CmdGroups = 32867,
        CmdColumns = 32995,
        CmdBilling = 32954,
    };
    static constexpr int ToolBarId = 340;

    CReportView(CReportFrame &frame, CReportHost &host, tReportDefinition &definition, QWidget *parent = nullptr);
    ~CReportView() override;

    CReportGrid *Grid() const { return m_grid; }
    CReportModel &Model() { return *m_model; }
    QToolBar *ToolBar() const { return m_toolBar; }
    QAction *ToolBarAction(int id) const;

    // --- What the frame sets --------------------------------------------
    // A text shown in place of the report (empty: the report again).
    void SetMessage(const QString &text);
    QString Message() const { return m_message; }
    // While set, the grid is hidden and holds no model; cleared, it takes
    // the model back with its columns fitted.
    void SetBuilding(bool building);
    bool IsBuilding() const { return m_building; }
    // The data grid, or the print layout; the grid shows unless a message
    // does.
    void ShowMode(bool printLayout);
    bool IsPrintLayout() const { return m_printLayout; }
    // The zoom of the print layout: 0 several pages, 1 one page, 2 actual
    // size, 3 the window's width.
    void SetZoom(int zoom) { m_zoom = zoom; }
    int Zoom() const { return m_zoom; }
    // The texts of the interface language: the toolbar, the columns, the
    // total row.
    void RefreshLabels();

    // --- Commands ---------------------------------------------------------
    bool HandlesCommand(int id) const override;
    bool IsCommandEnabled(int id) const override;
    void OnCommand(int id) override;
    // Refresh: the frame builds the report again.
    void Refresh();
    // Stores the definition under its name, or asks for one; true when it
    // was stored. A failed write says so and changes nothing.
    bool Save();
    bool SaveAs();

signals:
    // The state of the commands may have changed.
    void commandStatesChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void CreateToolBar();
    void LayOut();
    void UpdateToolBar();
    bool HasRows() const;
    bool StoreAs(const QString &name, int id);
    void ShowWriteFailure();

    CReportFrame &m_frame;
    CReportHost &m_host;
    tReportDefinition &m_definition;
    std::unique_ptr<CReportModel> m_model;
    QToolBar *m_toolBar = nullptr;
    CReportGrid *m_grid = nullptr;
    QString m_message;
    bool m_building = true;
    bool m_printLayout = false;
    int m_zoom = 2;
};
