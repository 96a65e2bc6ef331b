#include "CPaneForecast.h"

#include "CMainFrame.h"

#include <QMdiSubWindow>

CPaneForecast::CPaneForecast(CMainFrame *frame)
    : CMyDockablePane(CMainFrame::PaneForecast, 521, frame)
    , m_frame(frame)
{
}

void CPaneForecast::OnTabbedDocument()
{
    if (m_frame)
        m_frame->ToggleForecastMode();
}

void CPaneForecast::setVisible(bool visible)
{
    // Shown while the window is a document: the window comes back first, and
    // its document closes without taking it down.
    if (visible && m_frame && m_frame->ForecastFrame()) {
        QMdiSubWindow *document = m_frame->ForecastFrame();
        m_frame->TakeForecastBack();
        document->close();
    }
    CMyDockablePane::setVisible(visible);
}
