#include "ForecastPages.h"

#include "CDlgForecast.h"
#include "CViewForecastGeneral.h"
#include "CViewForecastPpal.h"
#include "CViewForecastPrevious.h"

CForecastPage *MakeForecastPage(int tab, QWidget *parent)
{
    switch (tab) {
    case CDlgForecast::GeneralTab:
        return new CViewForecastGeneral(parent);
    case CDlgForecast::PlanningTab:
        return new CViewForecastPpal(parent);
    case CDlgForecast::PredecessorsTab:
        return new CViewForecastPrevious(parent);
    default:
        return nullptr;
    }
}
