#include "CPrefsSubDlg.h"

#include <QKeyEvent>

CPrefsSubDlg::CPrefsSubDlg(int templateId, QWidget *parent)
    : QWidget(parent)
    , m_templateId(templateId)
{
    setProperty("dialogId", templateId);
    hide();
}

CPrefsSubDlg::~CPrefsSubDlg() = default;

bool CPrefsSubDlg::Create(QWidget *parent)
{
    if (m_created)
        return true;
    if (parent && parentWidget() != parent)
        setParent(parent);
    m_created = true;
    OnInitDialog();
    return true;
}

void CPrefsSubDlg::keyPressEvent(QKeyEvent *event)
{
    // Escape reaches the page only when the control with the focus did not
    // want it: swallowed here, it never closes the frame. Everything else
    // (Enter from a one-line field among it) goes on to the frame, whose
    // default button takes Enter; multi-line fields keep Enter themselves.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}
