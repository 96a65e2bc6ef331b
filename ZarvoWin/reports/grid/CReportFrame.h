#pragma once
#include "BuildReportData.h"
#include "tReportDefinition.h"

#include <QList>
#include <QMdiSubWindow>
#include <QString>
#include <functional>
#include <memory>

class CReportHost;
class CReportModel;
class CReportView;
class ProgressDlgShared;
class QTimer;
struct tReportSnapshot;

// The window of one open report, a tab of the main window's document
// area. It owns the report's definition and its view, opens a stored
// definition, builds the report on a worker thread under the progress
// dialog, asks to save a changed definition when it closes, and offers to
// build the report again when the database changed since its last build.
//
// A report reopened from the previous run keeps its mode and zoom pending
// until its window is activated while the host is ready; only then is it
// built. A window that is building is neither built again nor offered a
// refresh until its build is over.
class CReportFrame : public QMdiSubWindow
{
    Q_OBJECT
public:
    static constexpr int RestoreTimerId = 12250;
    static constexpr int RefreshTimerId = 12251;
    static constexpr int TimerDelayMs = 10;

    // How a report is built: BuildReportData unless a test sets another.
    using BuildFunction = std::function<tReportBuildResult(const tReportDefinition &, const QString &databasePath,
                                                           std::shared_ptr<const tReportSnapshot>, CReportModel &,
                                                           ProgressDlgShared *)>;
    static void SetBuildFunction(BuildFunction build);
    // The editor of a report's settings: edits the copy it is given; true
    // on OK. Unset, the settings command stays greyed.
    using SettingsEditor = std::function<bool(tReportDefinition &copy, QWidget *owner)>;
    static void SetSettingsEditor(SettingsEditor editor);
    static bool HasSettingsEditor();

    explicit CReportFrame(CReportHost &host, QWidget *parent = nullptr);
    ~CReportFrame() override;

    // Every report window, in the order they were made.
    static const QList<CReportFrame *> &AllFrames();

    CReportView *View() const { return m_view; }
    tReportDefinition &Definition() { return m_definition; }
    const tReportDefinition &Definition() const { return m_definition; }
    QString Stamp() const { return m_stamp; }
    bool IsBuilding() const { return m_building; }
    bool IsRestorePending() const { return m_pendingRestore; }

    // Loads report `id` (a new report with -1). False, and nothing else,
    // when no such report is stored. Restored: the mode and zoom (outside
    // 0 to 3: 2) wait for the window's activation; otherwise the report is
    // built at once.
    bool OpenReport(int id, bool preview, int zoom, bool restored);
    // Builds the report again from the definition (nothing while a build
    // runs).
    void RebuildReport();
    // The settings editor on a copy of the definition; true when accepted
    // and built.
    bool EditReportSettings();
    // 6 (Yes) at once when the definition is unchanged; otherwise asks to
    // save it: Yes saves (a failed save gives 2, Cancel), No (7) and
    // Cancel (2) as answered.
    int QuerySaveReport();
    // Offers a refresh when the database changed since the last build.
    void CheckForDataChange();
    // Asks whether to build the report again (one question on screen for
    // all windows at a time). No takes the database's state, and every
    // change announced so far, as seen: the same change is not offered
    // again, whichever window would ask.
    void OfferRefresh();
    // Whether the database changed since the last successful build (or
    // the last Non): its change stamp differs, or a change was announced
    // since (the stamp holds whole seconds).
    bool HasDataChanged() const;
    // The window's activation: the toolbar follows; while the host is
    // ready, a pending restore is applied or a refresh offered.
    void OnActivated();
    // The title and the properties the application reads: "reportId",
    // "preview" and "zoom".
    void UpdateTitle();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void ApplyRestore();
    QString CurrentStamp() const;
    void ShowDateError();

    CReportHost &m_host;
    tReportDefinition m_definition;
    CReportView *m_view = nullptr;
    bool m_pendingRestore = false;
    bool m_restoredPreview = false;
    int m_restoredZoom = 2;
    QString m_stamp;
    bool m_building = false;
    // The change notices sent before the last build began, or before the
    // user last answered Non: one sent since is a change not yet seen.
    quint64 m_stampNotices = 0;
    QTimer *m_restoreTimer = nullptr;
    QTimer *m_refreshTimer = nullptr;
};
