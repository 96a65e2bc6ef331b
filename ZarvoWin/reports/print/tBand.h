#pragma once

// A horizontal band of a page in device pixels, as the drawing objects lay
// themselves out in it: left and top are the first pixels inside, right and
// bottom the first ones past it. A data line may push the bottom down.
struct tBand
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};
