#include "ForecastWindows.h"

#include "CForecastGridCtrl.h"
#include "CZarvoWinApp.h"
#include "ForecastImages.h"

#include <QPointer>

void RegisterForecastWindows(CZarvoWinApp &app)
{
    app.Startup().makeForecastWindow = [&app](QWidget *parent) {
        auto *grid = new CForecastGridCtrl(parent);
        grid->SetSmallImageList(&app.Images(false));
        grid->SetStateImageList(&ForecastImages::StateImages());
        grid->LoadColumns();
        const QPointer<CForecastGridCtrl> alive(grid);
        tForecastWindow window;
        window.window = grid;
        window.refresh = [alive](bool reload, bool restoreSaved, bool recompute, bool keepOffset) {
            if (alive)
                alive->Refresh(reload, restoreSaved, recompute, keepOffset);
        };
        window.saveSettings = [alive] {
            if (alive)
                alive->SaveSettings();
        };
        window.retranslate = [alive] {
            if (alive)
                alive->TranslateColumnCaptions();
        };
        return window;
    };
}
