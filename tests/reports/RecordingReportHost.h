#pragma once
// A report host for tests: it records what the report windows ask of the
// application.
#include "CReportHost.h"
#include "ImageList.h"
#include "tReportSnapshot.h"

#include <QDate>
#include <QList>
#include <QStringList>

class RecordingHost : public CReportHost
{
public:
    QWidget *OwnerWindow() const override { return nullptr; }
    QMdiArea *MdiArea() const override { return area; }
    const ImageList *SmallImages() const override { return &images; }
    bool IsReady() const override { return ready; }
    void ShowStatusText(const QString &text) override { status << text; }
    void UpdateCommandStates() override { ++commandUpdates; }
    bool ClosingWithoutQuestion() const override { return false; }
    void RefreshViews() override { ++viewRefreshes; }
    void ReloadReportPane() override { ++paneReloads; }
    void GoToDate(const QDate &date, QWidget *window) override
    {
        dates << date;
        calendarCallers << window;
    }
    QString DatabasePath() const override { return database; }
    QString ReportDatabasePath() const override { return reports; }
    std::shared_ptr<const tReportSnapshot> ProjectSnapshot() const override
    {
        return std::make_shared<tReportSnapshot>(tReportSnapshot::Take(store));
    }
    const CProjectStore *ProjectStore() const override { return store; }
    QString UserTemplatesFolder() const override { return userTemplates; }
    QString ProgramTemplatesFolder() const override { return programTemplates; }

    QMdiArea *area = nullptr;
    ImageList images{16};
    bool ready = true;
    QStringList status;
    int commandUpdates = 0;
    int paneReloads = 0;
    int viewRefreshes = 0;
    QList<QDate> dates;
    QList<QWidget *> calendarCallers;
    QString database;
    QString reports;
    const CProjectStore *store = nullptr;
    QString userTemplates;
    QString programTemplates;
};
