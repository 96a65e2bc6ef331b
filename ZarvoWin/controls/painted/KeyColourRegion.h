#pragma once
#include <QImage>
#include <QRegion>
#include <QtGlobal>

// The region of an image's pixels that are not of the key colour: a pixel
// whose red, green and blue each lie within `tolerance` of the key's
// (0x00BBGGRR) is left out. Each row's runs of kept pixels become
// one-row rectangles, so the region follows the picture's outline exactly.
// A null image gives an empty region.
QRegion RegionOutsideKeyColour(const QImage &image, quint32 keyColorRef = 0xFF00FF, int tolerance = 20);
