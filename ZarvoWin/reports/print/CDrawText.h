#pragma once

#include "CDrawBox.h"

// A box with a text whose placeholders are replaced when it is drawn.
class CDrawText : public CDrawBox
{
public:
    CDrawText();
    void ReadTokens(const QStringList &tokens, const QString &folder) override;
    QString GetLine() const override;
    void Draw(const tDrawContext &context, tBand &band, const QStringList *texts,
              const std::vector<tColumn> *columns, int indent) override;

protected:
    tDrawTextStyle *TextStyle() override { return &m_style; }

private:
    tDrawTextStyle m_style;
};
