#pragma once
#include <QMdiSubWindow>
#include <QPointer>

class CMainFrame;

// The document window that shows the forecast window in a tab. The
// forecast window belongs to the main frame: whichever way this window is
// closed (its tab's button, Ctrl+F4, the frame closing), the window is taken
// back into its pane first, so it is never destroyed with the document.
class CForecastFrame : public QMdiSubWindow
{
    Q_OBJECT
public:
    explicit CForecastFrame(CMainFrame *frame);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QPointer<CMainFrame> m_frame;
};
