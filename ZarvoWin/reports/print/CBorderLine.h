#pragma once

// The border of a drawing object (or a data line's column separators): which
// sides are drawn, the pen style (0 solid, 1 dash, 2 dot, 3 dash-dot,
// 4 dash-dot-dot, 5 none), the colour as 0x00BBGGRR and the width in tenths
// of a millimetre.
class CBorderLine
{
public:
    enum Side { Left = 1, Top = 2, Right = 4, Bottom = 8 };

    CBorderLine() = default;
    virtual ~CBorderLine();

    int Sides = 0;
    int PenStyle = 0;
    int Colour = 0;
    int Width = 1;
};
