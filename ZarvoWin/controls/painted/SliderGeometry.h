#pragma once
#include <optional>

// The single-value arithmetic shared by the bitmap slider and the range
// slider: the range and position, the page step, the measures of the
// channel, thumb and margins, and the conversions between values and
// pixels along the slider's axis. Knows no window.
//
// The conversions go through floating point and truncate, so a value taken
// to its pixel and back can come out smaller than it went in: the range
// slider's zones are stored in values, and hosts rely on these figures.
class SliderGeometry
{
public:
    int minimum = 0;
    int maximum = 100;
    int position = 0;
    int pageSize = 20;

    int channelWidth = 0;
    int channelHeight = 0;
    int thumbWidth = 0;
    int thumbHeight = 0;

    int marginLeft = 0;
    int marginRight = 0;
    int marginTop = 0;
    int marginBottom = 0;

    bool vertical = false;

    // Measures along the axis (width and left/right for a horizontal
    // slider, height and top/bottom for a vertical one) and across it.
    int ChannelExtent() const { return vertical ? channelHeight : channelWidth; }
    int StartMargin() const { return vertical ? marginTop : marginLeft; }
    int EndMargin() const { return vertical ? marginBottom : marginRight; }
    int CrossMargin() const { return vertical ? marginLeft : marginTop; }
    int ThumbExtent() const { return vertical ? thumbHeight : thumbWidth; }

    // Pixel of the thumb's centre for a value. An empty range, or a channel
    // no wider than its margins and thumb, gives the start pixel.
    int ValueToPixel(int value) const;
    // Value under a pixel; the minimum in the same degenerate cases.
    int PixelToValue(int pixel) const;
    // First pixel a thumb centre may take (that of the minimum).
    int StartPixel() const;

    // Sets the position clamped to the range; true when it changed.
    bool SetPos(int value);
    int Clamp(int value) const;

    // The position a key moves to (Page Up/Down by the page, Home and End
    // to the ends, arrows by one), clamped; nothing for other keys.
    std::optional<int> PositionAfterKey(int key) const;
};
