#pragma once

class ImageList;

// The pictures of the application's two image lists (16 and 24 pixels), by
// the indexes the windows use: 0 a closed and 1 an open folder, 2 an
// unticked and 3 a ticked check box, 8 a running task, 10 a late node,
// 15 a project, 16 an activity, 17 an hourly rate, 18 a task, 19 a report,
// 20 a favourite, 21 a recent entry, 22 a client, 23 a sub-project,
// 24 an action (the project types map onto these through
// GetProjectStateImage), 28 an alert date reached, 29 no project or
// activity (the item of entries without one). The check boxes are
// drawn by the style; the others come from the desktop's icon theme,
// Breeze behind it.
void FillApplicationImages(ImageList &list);
