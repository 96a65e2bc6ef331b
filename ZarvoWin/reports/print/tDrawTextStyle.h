#pragma once

#include <QString>

// The text fields shared by a text object and a data line: the label (line
// breaks as real line feeds), the font, the text colour (0x00BBGGRR), the
// drawing format (1 centred, 2 right, 4 vertically centred, 8 bottom) and
// the margin kept from the anchoring edges in tenths of a millimetre.
struct tDrawTextStyle
{
    QString Label;
    QString FaceName = QStringLiteral("Arial");
    int Size = 10;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    int TextColour = 0;
    int TextFormat = 0;
    int Margin = 0;
};
