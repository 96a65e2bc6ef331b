#include "CEditReadOnly.h"

#include "ColorRef.h"

#include <QEvent>

CEditReadOnly::CEditReadOnly(QWidget *parent)
    : QLineEdit(parent)
{
}

void CEditReadOnly::SetBackgroundColor(quint32 colour)
{
    m_background = colour;
    ShowBackground(this, isReadOnly(), m_background);
}

void CEditReadOnly::ShowBackground(QLineEdit *edit, bool on, quint32 colour)
{
    QPalette palette; // no role set: everything inherited
    if (on)
        palette.setColor(QPalette::Base, ColorRefToQColor(colour));
    edit->setPalette(palette);
}

void CEditReadOnly::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::ReadOnlyChange)
        ShowBackground(this, isReadOnly(), m_background);
}
