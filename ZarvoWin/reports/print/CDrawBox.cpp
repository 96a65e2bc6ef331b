#include "CDrawBox.h"

CDrawBox::CDrawBox() : CDrawObject(KindBox) {}

QString CDrawBox::GetLine() const
{
    return QLatin1String("box=") + GeometryLine() + u'\n';
}

void CDrawBox::Draw(const tDrawContext &context, tBand &band, const QStringList *, const std::vector<tColumn> *, int)
{
    const tBand rect = ObjectRect(context, band);
    DrawFill(context, rect);
    DrawBorder(context, rect);
}
