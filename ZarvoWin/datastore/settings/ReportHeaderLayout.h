#pragma once
#include <QRect>
#include <QSize>
#include <QtGlobal>

// The geometry of the band that opens a report: a logo and a formatted text,
// each placed left (0), centred (1) or right (2) within the band. Window-free
// arithmetic, so that the printer, the preview and the report pages place
// the band alike.
namespace ReportHeaderLayout {

// Placement codes; any stored value other than 1 or 2 places on the left.
constexpr int Left = 0;
constexpr int Centre = 1;
constexpr int Right = 2;
int NormalisedPosition(int position);

// Largest extent the band gives an element, so that rectangles and their
// sums stay far inside int whatever the image and the device.
constexpr qint64 MaxExtent = 1 << 28;

// The size of an image of width x height pixels on a device: each side is
// pixels x the device's dots per inch / the image's own dots per inch, the
// screen's dots per inch standing in for a resolution the image does not
// give (0 or less); a device without a resolution counts as the screen.
// Integer arithmetic, multiplication first, in 64 bits; each side capped at
// MaxExtent. An empty image or no usable resolution gives an empty size.
QSize LogoSizeOnDevice(qint64 width, qint64 height, int imageXDpi, int imageYDpi, int deviceXDpi,
                       int deviceYDpi, int screenXDpi, int screenYDpi);

// The left edge of an element `width` wide within a band, by placement.
int PlaceHorizontally(const QRect &band, int width, int position);

struct Band
{
    QRect logo;   // empty when there is no logo
    QRect text;   // empty when there is no text
    int height = 0;
};

// Places a logo of `logo` size and a text of `text` size (either may be
// empty: the element is left out) in a band starting at `band`'s top. The
// logo sits at the band's top. The text sits at the top too, or under the
// logo when both have the same placement; the band is then as high as both
// together (the logo counted once), otherwise as high as the taller.
Band Arrange(const QRect &band, const QSize &logo, int logoPosition, const QSize &text, int textPosition);

// The top of the text within a band: under the logo when the logo is there
// and both have the same placement.
int TextTop(const QRect &band, const QSize &logo, int logoPosition, int textPosition);

} // namespace ReportHeaderLayout
