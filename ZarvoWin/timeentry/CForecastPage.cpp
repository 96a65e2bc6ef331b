#include "CForecastPage.h"

CForecastPage::CForecastPage(QWidget *parent)
    : QWidget(parent)
{
}

void CForecastPage::SetProject(bool, CProject *) {}
void CForecastPage::FillControls() {}
void CForecastPage::StoreControls() {}
void CForecastPage::StoreDates() {}
void CForecastPage::UpdateFigures() {}
void CForecastPage::UpdateControlStates() {}

bool CForecastPage::PlansAgainstEstimate() const
{
    return false;
}

QString CForecastPage::NotesText() const
{
    return QString();
}

void CForecastPage::SetNotesText(const QString &) {}
