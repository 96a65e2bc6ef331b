#include "CDrawBox.h"

CDrawBox::CDrawBox() : CDrawObject(KindBox) {}

QString CDrawBox::GetLine() const
{
    return QLatin1String("box=") + GeometryLine() + u'\n';
}
