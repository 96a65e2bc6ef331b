#include "CFormattedSpin.h"

#include <QLineEdit>

CFormattedSpin::CFormattedSpin(QWidget *parent)
    : QSpinBox(parent)
{
    lineEdit()->setReadOnly(true);
    setKeyboardTracking(false);
}

void CFormattedSpin::SetFormat(Format format)
{
    m_format = std::move(format);
    Refresh();
}

void CFormattedSpin::Refresh()
{
    // The longest text of the range sizes the field again.
    updateGeometry();
    lineEdit()->setText(textFromValue(value()));
}

QString CFormattedSpin::textFromValue(int value) const
{
    return m_format ? m_format(value) : QSpinBox::textFromValue(value);
}

int CFormattedSpin::valueFromText(const QString &) const
{
    // The field only ever shows what textFromValue wrote.
    return value();
}

QValidator::State CFormattedSpin::validate(QString &, int &) const
{
    return QValidator::Acceptable;
}
