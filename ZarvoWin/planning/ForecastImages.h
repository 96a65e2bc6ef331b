#pragma once

class ImageList;

// The pictures of the project-tracking window, made once for the program's
// life: the priority and status images of the grid (16 pixels: priorities
// "very low" to "very high" at 0 to 4, then the shown statuses
// "automatic", "waiting", "in progress", "completed" and "hidden" at 5 to
// 9), and the images of a node's tooltip (28 pixels: 0 a node, 1 late, 2
// alert date reached, 3 both). Statuses and tooltips take the desktop's
// icons; the priority bars are drawn for this program.
class ForecastImages
{
public:
    static const ImageList &StateImages();
    static const ImageList &ToolTipImages();
};
