#include "CDrawLine.h"

CDrawLine::CDrawLine() : CDrawObject(KindLine) {}

QString CDrawLine::GetLine() const
{
    return QLatin1String("line=") + GeometryLine() + u'\n';
}
