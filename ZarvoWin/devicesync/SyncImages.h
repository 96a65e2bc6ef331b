#pragma once
#include <QIcon>

class ImageList;

// The pictures of the review of a device synchronisation, made once for
// the program's life from the desktop's icons (the row connectors are
// drawn for this program):
//   the list's 20-pixel pictures: 0 projects, 1 activities, 2 rates, 3 time
//   entries and favourites (the group rows), 4 an element row, 5 the last
//   element row of a group, 6 7 8 the actions take the device's row,
//   delete, take the local row when chosen, 9 10 11 the same not chosen
//   (7 also marks a deleted side);
//   the tooltip's 28-pixel pictures, the actions at the same numbers;
//   the header's 32-pixel pictures: 0 the device, 1 this computer.
class SyncImages
{
public:
    static const ImageList &ListImages();
    static const ImageList &ToolTipImages();
    static const ImageList &HeaderImages();
    // The picture of the "Synchroniser" button.
    static QIcon SynchroniseIcon();
};
