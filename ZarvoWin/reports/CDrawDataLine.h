#pragma once

#include "CDrawBox.h"

// A box holding one line of report cells in columns: the columns share the
// object's width in proportion to their widths; the label may stand in for
// the first `LabelSpan` columns.
class CDrawDataLine : public CDrawBox
{
public:
    CDrawDataLine();
    void ReadTokens(const QStringList &tokens, const QString &folder) override;
    QString GetLine() const override;

    int FirstColumnIndent = 0;
    // Sides is read as an on/off flag (non-zero draws the separators).
    CBorderLine Separator;
    int LabelSpan = 0;

protected:
    tDrawTextStyle *TextStyle() override { return &m_style; }

private:
    tDrawTextStyle m_style;
};
