#pragma once
#include <QDate>
#include <QString>
#include <memory>

class CProjectStore;
class ImageList;
class QMdiArea;
class QWidget;
struct tReportSnapshot;

// What the report windows need of the application: where they live (the
// main window that owns their dialogs, the document area their frames are
// tabs of), its 16-pixel images, whether activating a window may apply
// what it restored, the status bar and the main toolbar, the refreshes of
// other windows and of the report pane, the calendar shown on a date, the
// report definitions' database, and what a build reads (the database's
// path and a copy of the projects taken on the interface thread). The shell implements it by forwarding to the application object
// and its main frame; tests pass a host that records.
class CReportHost
{
public:
    virtual ~CReportHost() = default;

    // The window that owns the report windows' dialogs and message boxes.
    virtual QWidget *OwnerWindow() const = 0;
    // The document area the report frames are tabs of; null when none.
    virtual QMdiArea *MdiArea() const = 0;
    virtual const ImageList *SmallImages() const = 0;
    // Set while activating a report window may apply its restored mode and
    // zoom or offer a refresh; cleared while the reports of the previous
    // run are being reopened, while every window is asked to save (before
    // a change of user) and once the program closes.
    virtual bool IsReady() const = 0;
    // A text in the status bar; an empty one puts the idle text back.
    virtual void ShowStatusText(const QString &text) = 0;
    // The main toolbar follows the active document window and the state
    // of its commands.
    virtual void UpdateCommandStates() = 0;
    // Set while the windows close after every one was asked to save
    // already (a change of user): they close without asking again.
    virtual bool ClosingWithoutQuestion() const = 0;
    // The other views after a change the report made to the data.
    virtual void RefreshViews() = 0;
    // The report pane lists the reports as stored now.
    virtual void ReloadReportPane() = 0;
    // The calendar shows a date, called from a report window.
    virtual void GoToDate(const QDate &date, QWidget *window) = 0;
    // The current user's database, and the one of their report
    // definitions.
    virtual QString DatabasePath() const = 0;
    virtual QString ReportDatabasePath() const = 0;
    // A copy of the projects, activities and rates for a build.
    virtual std::shared_ptr<const tReportSnapshot> ProjectSnapshot() const = 0;
    // The live store the project-tracking cells read on the interface
    // thread; null for none.
    virtual const CProjectStore *ProjectStore() const = 0;
    // Where print templates are looked for, in this order: the user's
    // templates folder of the settings, then the program's for the
    // interface language. Each ends with "/"; empty when there is none.
    virtual QString UserTemplatesFolder() const { return QString(); }
    virtual QString ProgramTemplatesFolder() const { return QString(); }
};
