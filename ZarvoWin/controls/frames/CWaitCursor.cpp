#include "CWaitCursor.h"

#include <QApplication>

CWaitCursor::CWaitCursor()
{
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_active = true;
    }
}

CWaitCursor::~CWaitCursor()
{
    if (m_active)
        QApplication::restoreOverrideCursor();
}
