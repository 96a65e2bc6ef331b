#pragma once
#include <QColor>
#include <QtGlobal>

// A painted pixel compared with the colour it should show, allowing for
// the blending of gradients and rendered pictures.
inline bool Near(QRgb actual, QRgb expected, int tolerance = 8)
{
    return qAbs(qRed(actual) - qRed(expected)) <= tolerance && qAbs(qGreen(actual) - qGreen(expected)) <= tolerance
           && qAbs(qBlue(actual) - qBlue(expected)) <= tolerance;
}
