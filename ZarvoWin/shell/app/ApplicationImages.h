#pragma once
#include "ApplicationImageList.h"

class CViewTree;
class ImageList;

// Gives a pane's tree the application's 24-pixel list when the big-icons
// option is set, else the 16-pixel one, and repaints it.
void SetPaneTreeImageList(CViewTree *tree);
