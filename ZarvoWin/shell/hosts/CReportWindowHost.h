#pragma once
#include "CReportHost.h"

#include <QObject>

class CMainFrame;
class CReportFrame;
class CZarvoWinApp;
class QWidget;

// What the report windows ask of the application, forwarded to the
// application object and the main frame. One serves every report window;
// it lives as a child of the main frame, so it outlasts the windows in its
// document area. Made with it, the report group of the main toolbar
// (settings, refresh, save, save as, export, print) goes to the active
// report window's view, greyed where that view does not take the command.
class CReportWindowHost : public QObject, public CReportHost
{
    Q_OBJECT
public:
    // The main toolbar's report group.
    static constexpr int ReportCommands[] = {32803, 32815, 32832, 32875, 32818, 57607};

    CReportWindowHost(CZarvoWinApp &app, CMainFrame &frame);

    // The host of the main frame's report windows, made on first use; null
    // without a main frame.
    static CReportWindowHost *Of(CZarvoWinApp &app);
    // Opens report `id` (-1: a new one) as a tab of the document area and
    // lists it among the application's report windows; null when it is
    // not stored.
    static QWidget *OpenFrame(CZarvoWinApp &app, int id, bool preview, int zoom, bool restored);

    // The report window of the current tab; null when another one is.
    CReportFrame *ActiveFrame() const;

    QWidget *OwnerWindow() const override;
    QMdiArea *MdiArea() const override;
    const ImageList *SmallImages() const override;
    bool IsReady() const override;
    void ShowStatusText(const QString &text) override;
    void UpdateCommandStates() override;
    bool ClosingWithoutQuestion() const override;
    void RefreshViews() override;
    void ReloadReportPane() override;
    void GoToDate(const QDate &date, QWidget *window) override;
    QString DatabasePath() const override;
    QString ReportDatabasePath() const override;
    std::shared_ptr<const tReportSnapshot> ProjectSnapshot() const override;
    const CProjectStore *ProjectStore() const override;
    QString UserTemplatesFolder() const override;
    QString ProgramTemplatesFolder() const override;

private:
    CZarvoWinApp &m_app;
    CMainFrame &m_frame;
};
