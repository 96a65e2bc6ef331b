#include "ForecastWindows.h"

#include "CForecastGridCtrl.h"
#include "CForecastWindowHost.h"
#include "CGanttCtrl.h"
#include "CZarvoWinApp.h"
#include "ForecastImages.h"

#include <QPointer>
#include <QSplitter>

void RegisterForecastWindows(CZarvoWinApp &app)
{
    app.Startup().makeForecastWindow = [&app](QWidget *parent) {
        // The grid on the left, the chart beside it, row for row: both
        // start at the window's top, so their headers and rows line up.
        auto *window = new QSplitter(Qt::Horizontal, parent);
        window->setChildrenCollapsible(false);
        window->setHandleWidth(6);
        auto *grid = new CForecastGridCtrl(window);
        grid->SetSmallImageList(&app.Images(false));
        grid->SetStateImageList(&ForecastImages::StateImages());
        grid->LoadColumns();
        auto *host = new CForecastWindowHost(app, nullptr);
        auto *chart = new CGanttCtrl(grid, host, window);
        // The host goes with the chart, after it; the chart lets go of the
        // grid when the grid goes first.
        host->setParent(chart);
        QObject::connect(grid, &QObject::destroyed, chart, [chart] { chart->SetGrid(nullptr); });
        window->addWidget(grid);
        window->addWidget(chart);
        // Two thirds for the grid to begin with; the chart keeps a third
        // as the window grows.
        window->setStretchFactor(0, 2);
        window->setStretchFactor(1, 1);
        window->setSizes({2000, 1000});
        const auto repaintChart = [chart] { chart->update(); };
        QObject::connect(grid, &CTreeGridCtrl::firstRowChanged, chart, repaintChart);
        QObject::connect(grid, &CTreeGridCtrl::currentRowChanged, chart, repaintChart);

        const QPointer<CForecastGridCtrl> aliveGrid(grid);
        const QPointer<CGanttCtrl> aliveChart(chart);
        tForecastWindow parts;
        parts.window = window;
        parts.refresh = [aliveGrid, aliveChart](bool reload, bool restoreSaved, bool recompute, bool keepOffset) {
            if (aliveGrid)
                aliveGrid->Refresh(reload, restoreSaved, recompute, keepOffset);
            if (aliveChart)
                aliveChart->update();
        };
        parts.saveSettings = [aliveGrid] {
            if (aliveGrid)
                aliveGrid->SaveSettings();
        };
        parts.retranslate = [aliveGrid, aliveChart] {
            if (aliveGrid)
                aliveGrid->TranslateColumnCaptions();
            if (aliveChart)
                aliveChart->update();
        };
        parts.reloadZoom = [aliveChart] {
            if (aliveChart)
                aliveChart->LoadZoom();
        };
        parts.zoomToWeek = [aliveChart] {
            if (aliveChart)
                aliveChart->OnZoomLevel(GanttScale::DefaultLevel);
        };
        return parts;
    };
}
