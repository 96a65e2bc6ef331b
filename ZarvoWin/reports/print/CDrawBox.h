#pragma once

#include "CDrawObject.h"

// A rectangle with an optional fill and a border.
class CDrawBox : public CDrawObject
{
public:
    CDrawBox();
    QString GetLine() const override;
    void Draw(const tDrawContext &context, tBand &band, const QStringList *texts,
              const std::vector<tColumn> *columns, int indent) override;

protected:
    explicit CDrawBox(int kind) : CDrawObject(kind) {}
};
