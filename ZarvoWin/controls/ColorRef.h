#pragma once
#include <QColor>
#include <QtGlobal>

// Colours are kept as 0x00BBGGRR values wherever they are stored or
// compared; they become a QColor only where they are painted, here.
inline QColor ColorRefToQColor(quint32 colorRef)
{
    return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

inline quint32 QColorToColorRef(const QColor &color)
{
    return quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16);
}
