#include "ForecastWindows.h"

#include "CForecastGridCtrl.h"
#include "CForecastWindowHost.h"
#include "CGanttCtrl.h"
#include "CViewForecast.h"
#include "CZarvoWinApp.h"

#include <QPointer>

void RegisterForecastWindows(CZarvoWinApp &app)
{
    app.Startup().makeForecastWindow = [&app](QWidget *parent) {
        // The host outlives the view: it is the view's parent object's
        // child only through the view, deleted after it.
        auto *host = new CForecastWindowHost(app, nullptr);
        auto *view = new CViewForecast(host, &app.Images(false), parent);
        host->setParent(view);
        const QPointer<CViewForecast> alive(view);
        tForecastWindow parts;
        parts.window = view;
        parts.refresh = [alive](bool reload, bool restoreSaved, bool recompute, bool keepOffset) {
            if (!alive)
                return;
            if (recompute) {
                alive->Grid()->Refresh(reload, restoreSaved, recompute, keepOffset);
                alive->Chart()->update();
                alive->UpdateCommandStates();
            } else {
                alive->Refresh(keepOffset, restoreSaved, reload);
            }
        };
        parts.refreshOnTimer = [alive] {
            if (alive)
                alive->RefreshOnTimer();
        };
        parts.saveSettings = [alive] {
            if (alive)
                alive->Grid()->SaveSettings();
        };
        parts.retranslate = [alive] {
            if (alive)
                alive->Retranslate();
        };
        parts.reloadZoom = [alive] {
            if (alive)
                alive->AfterUserChange();
        };
        parts.zoomToWeek = [alive] {
            if (alive)
                alive->Chart()->OnZoomLevel(GanttScale::DefaultLevel);
        };
        parts.hidesCompleted = [alive] { return alive && alive->Grid()->Model().hideCompleted; };
        return parts;
    };
}
