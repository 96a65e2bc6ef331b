#include "CForecastPage.h"

#include <QKeyEvent>

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

void CForecastPage::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}
