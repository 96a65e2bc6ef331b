#pragma once
#include "tToolTipContent.h"

class CMyToolTipCtrl;
class CProject;

// The tooltip of a project or activity node of the forecast grid and the
// Gantt chart: its full name as the title; a description of its dates by
// its state (completed, inactive or open: first task, forecast start,
// forecast end, fixed end); and its image, 0 by default, 1 late, 2 alert
// date reached, 3 both. Dates are written by the settings object's
// FormatDate, long and with the time.
tToolTipContent ProjectToolTipContent(const CProject &node);

// Shows that content in the tooltip.
void UpdateProjectToolTip(CMyToolTipCtrl &tooltip, const CProject &node);
