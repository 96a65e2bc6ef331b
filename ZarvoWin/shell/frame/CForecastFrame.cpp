#include "CForecastFrame.h"

#include "CMainFrame.h"

#include <QCloseEvent>

CForecastFrame::CForecastFrame(CMainFrame *frame)
    : m_frame(frame)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

void CForecastFrame::closeEvent(QCloseEvent *event)
{
    if (m_frame)
        m_frame->TakeForecastBack();
    QMdiSubWindow::closeEvent(event);
}
