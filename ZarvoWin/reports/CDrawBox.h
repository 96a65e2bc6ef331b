#pragma once

#include "CDrawObject.h"

// A rectangle with an optional fill and a border.
class CDrawBox : public CDrawObject
{
public:
    CDrawBox();
    QString GetLine() const override;

protected:
    explicit CDrawBox(int kind) : CDrawObject(kind) {}
};
