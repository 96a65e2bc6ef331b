#pragma once

#include "CDrawObject.h"

// A straight line across the object's rectangle, drawn with the border's
// pen; the sides and the fill are not used.
class CDrawLine : public CDrawObject
{
public:
    CDrawLine();
    QString GetLine() const override;
    void Draw(const tDrawContext &context, tBand &band, const QStringList *texts,
              const std::vector<tColumn> *columns, int indent) override;
};
