#pragma once
#include <QImage>
#include <QPixmap>

// The pictures the painted controls are made of, drawn for this program as
// SVG and compiled in. Each keeps the number and the pixel size its
// controls are laid out for:
//   474 bitmap-slider channel, 476 its filled part,
//   477 bitmap-slider thumb, 475 the thumb while dragged,
//   482 range-slider channel (400 x 40), 483 its zone strips (400 x 22:
//       11 rows for the zones, 11 rows for the selected zone),
//   484 range-slider thumb, 485 thumb of the selected zone (7 x 9),
//   387 start-up picture (430 x 344, magenta around its shape),
//   429 side picture of the first wizard page, 430 of the later ones
//       (150 x 300),
//   508 a task settling on the grid, for the alignment options (72 x 96,
//       yellow around it).
// A number without a picture gives a null image.
QImage LoadBitmapResource(int id);

// The picture with every pixel of the colour of its top-left pixel made
// see-through, the way thumbs are drawn over their channel.
QPixmap TransparentByCornerPixel(const QImage &image);
