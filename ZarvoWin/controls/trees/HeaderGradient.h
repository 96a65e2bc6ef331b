#pragma once
#include <QtGlobal>

// The colour at `position` (0 .. 100) of the blue header gradient that the
// calendar's month view and the forecast's Gantt chart draw their header
// bands with, 0x00BBGGRR: from light blue at 0 to white at 100.
quint32 HeaderGradientColor(int position);
