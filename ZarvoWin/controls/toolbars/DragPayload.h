#pragma once
#include <QString>

class QMimeData;

// What is dragged between the panes and views of the main window: an item
// id, its kind, a second id for a project-activity pair, and whether the
// drop opens the time-entry dialog (Shift held as the drag began). The
// payload is text lines, each ended by "\n": the id, the kind word, the
// second id (pairs only), then "Dialog" or "Auto".
enum class DragKind : int {
    Unknown = 0,
    Favorite = 1,        // "Fav"
    Recent = 2,          // "Hist"
    Project = 3,         // "Proj"
    ForecastProject = 4, // "ProjForecast"
    Activity = 5,        // "Act"
    ProjectActivity = 6, // "ProjAct"
};

struct DragInfo
{
    int id = -1;
    DragKind kind = DragKind::Unknown;
    int secondId = -2;
    bool openDialog = false;
};

// The payload's text for one dragged item.
QString DragPayloadText(const DragInfo &info);
// A data object offering the payload under the program's own type and as
// plain text.
QMimeData *MakeDragPayload(const DragInfo &info);
// The MIME type only the program's own drags carry.
QString DragPayloadMimeType();

// Reads the payload of the program's own type. False when the data carries
// none, when the id line (or a pair's second id line) is not a number, or
// when a line is missing; `info` then holds the defaults. An unknown kind
// word reads as DragKind::Unknown with success.
bool ReadDragPayload(const QMimeData *data, DragInfo &info);
bool ReadDragPayloadText(const QString &text, DragInfo &info);
