#pragma once
#include <QCursor>
#include <QIcon>
#include <QPixmap>

// The pictures of the calendar windows: icons of the desktop's theme
// (Breeze behind it) and the copy cursor drawn for the program. Each keeps
// the number its place was given.
namespace WeekPictures {

constexpr int IconSize = 24;
constexpr int ArrowSize = 48;

QPixmap NotesIcon();        // 453: an entry with notes
QPixmap ZoomOutIcon();      // 514
QPixmap ZoomInIcon();       // 515
QPixmap PreviousDayArrow(); // 471: steps the shown days back during a drag
QPixmap NextDayArrow();     // 473
QIcon FrameIcon();          // 402: the calendar window
QIcon ToolTipIcon();        // 398: the tooltips of the calendar views
QCursor CopyCursor();       // 104

} // namespace WeekPictures
