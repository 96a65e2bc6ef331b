#pragma once
#include "CViewCommandTarget.h"
#include "ReportViewCommands.h"

#include <QWidget>
#include <memory>

class CReportFrame;
class CReportGrid;
class CReportHost;
class CReportModel;
class CReportPageView;
class CReportTemplate;
class QAction;
class QMenu;
class QPrinter;
class QToolBar;
struct tReportDefinition;

// The inside of a report window: its toolbar across the top and, below
// it, the report grid over the report's model, or a message in its place
// (a report that could not be built, dates that are not valid). While the
// window builds its report the grid lets go of the model, which the build
// fills on a worker thread, and the view paints itself white.
//
// It takes the report's commands by number, from its own toolbar, its
// context menu and, while its window is the active one, from the main
// window's: refresh, save, save as, expand, collapse, groups only, export,
// fitting the columns, the project column's options of a cross table by
// project, the commands on the selected entry (edit it, show it in the
// calendar) and on the checked ones (bill, delete, change), and the
// report's settings when an editor of them is registered. Detail reports
// of kinds 0 to 2 show check boxes. The column chooser stays greyed.
//
// In print layout a second toolbar takes the first's place and the pages
// the report prints as show in place of the grid, laid out from the
// definition's paper and template, with their zoom and paging.
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
        CmdMenuColumns = 32972,
        CmdFitColumns = 32973,
        CmdEditEntry = 32974,
        CmdShowInCalendar = 32975,
        CmdMenuBilling = 33013,
        CmdDeleteChecked = 33014,
        CmdChangeChecked = 33015,
        CmdDataMode = 32821,
        CmdSeveralPages = 32822,
        CmdOnePage = 32823,
        CmdNextPage = 32824,
        CmdPreviousPage = 32825,
        CmdActualSize = 32826,
        CmdFirstPage = 32828,
        CmdLastPage = 32829,
        CmdWindowWidth = 32830,
        CmdPageSetup = 32838,
        CmdPrint = 57607,
    };
    static constexpr int ToolBarId = 340;
    static constexpr int PrintToolBarId = 348;
    // The context menu.
    static constexpr int ContextMenuId = 455;
    // The format the export offers first until one is chosen.
    static constexpr int FirstExportFormat = 1;

    CReportView(CReportFrame &frame, CReportHost &host, tReportDefinition &definition, QWidget *parent = nullptr);
    ~CReportView() override;

    CReportGrid *Grid() const { return m_grid; }
    CReportModel &Model() { return *m_model; }
    QToolBar *ToolBar() const { return m_toolBar; }
    QToolBar *PrintToolBar() const { return m_printToolBar; }
    // The button of a command on the toolbar of the mode shown.
    QAction *ToolBarAction(int id) const;
    CReportPageView *PageView() const { return m_pages; }

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
    void SetZoom(int zoom);
    int Zoom() const;
    // The pages again from the definition's paper and template, the first
    // visible page kept (print layout only; nothing otherwise).
    void LayOutPages();
    // The texts of the interface language: the toolbar, the columns, the
    // total row.
    void RefreshLabels();

    // --- Commands ---------------------------------------------------------
    bool HandlesCommand(int id) const override;
    bool IsCommandEnabled(int id) const override;
    void OnCommand(int id) override;
    // Refresh: the frame builds the report again.
    void Refresh();
    // The format the last export of this view used.
    int ExportFormat() const { return m_exportFormat; }
    // The context menu of the report's kind, translated, its items enabled
    // as the commands are and carrying their command ids; null in the
    // print layout or while building.
    std::unique_ptr<QMenu> CreateContextMenu();
    // Shows it and runs the command chosen once it has closed.
    void ShowContextMenu(const QPoint &globalPos);
    // Stores the definition under its name, or asks for one; true when it
    // was stored. A failed write says so and changes nothing.
    bool Save();
    bool SaveAs();
    // Prints the pages through the print dialog on the kept printer
    // settings, to a printer or a PDF file; with neither says so (677)
    // and prints nothing. From the data, the print layout is shown for
    // the print and the data again after it. The paper chosen in the
    // dialog is read back into the definition. A file that cannot be
    // written, or a printer that does not print, is named with the cause.
    void Print();
    // The page setup dialog on the report's page fields; on OK the report
    // is changed and its pages laid out again.
    bool EditPageSetup();

signals:
    // The state of the commands may have changed.
    void commandStatesChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QToolBar *CreateToolBar(int id, bool printLayout);
    // The print dialog and the print on the program's kept settings.
    void PrintOn(QPrinter &kept);
    // True, once the user is told which margin is too large, when the
    // margins leave the report no room on its paper.
    bool TellNoRoom();
    void ShowPages();
    void DiscardPages();
    bool IsZoomChecked(int id) const;
    void LayOut();
    void UpdateToolBar();
    bool HasRows() const;
    bool StoreAs(const QString &name, int id);
    void ShowWriteFailure();
    bool IsOwnCommand(int id) const;
    ReportViewCommands::tState CommandState() const;
    void ShowCheckBoxes();
    void Export();
    void EditColumns();
    // The column chooser on a copy of the report's columns.
    void ChooseColumns();
    void FitColumns();
    void EditEntry();
    void ShowInCalendar();
    // After the view changed the data: the report and the other views.
    void AfterWrite();

    CReportFrame &m_frame;
    CReportHost &m_host;
    tReportDefinition &m_definition;
    std::unique_ptr<CReportModel> m_model;
    QToolBar *m_toolBar = nullptr;
    QToolBar *m_printToolBar = nullptr;
    CReportGrid *m_grid = nullptr;
    CReportPageView *m_pages = nullptr;
    std::unique_ptr<CReportTemplate> m_template;
    QString m_message;
    bool m_building = true;
    bool m_printLayout = false;
    int m_exportFormat = FirstExportFormat;
};
