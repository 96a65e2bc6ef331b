#pragma once
#include "CMyDockablePane.h"

#include <QPointer>

class CMainFrame;

// The pane of the forecast window while it is docked. The window belongs to
// the main frame, which moves it between this pane and a tabbed document;
// the pane menu offers that move, and showing the pane while the window is a
// document takes the window back into the pane first.
class CPaneForecast : public CMyDockablePane
{
    Q_OBJECT
public:
    explicit CPaneForecast(CMainFrame *frame);

    // The forecast window while it is docked here; null while it is a
    // document.
    QWidget *HostedWindow() const { return widget(); }

    void setVisible(bool visible) override;

protected:
    bool OffersTabbedDocument() const override { return true; }
    void OnTabbedDocument() override;

private:
    QPointer<CMainFrame> m_frame;
};
