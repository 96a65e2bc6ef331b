#pragma once
#include "SliderGeometry.h"

#include <QString>
#include <QtGlobal>

#include <vector>

// Everything of the range slider that needs no window: the zones laid out
// along the axis, the selected zone, hit testing of a press, the four drag
// modes, edits of the selected zone and the scale marks.
//
// Invariant of every edit: zones are ordered along the axis and do not
// overlap (a zone may touch its neighbours).
class RangeSliderModel
{
public:
    struct tZone
    {
        int from = 0;      // start, in value units
        int to = 0;        // end, in value units (from <= to)
        int pixelFrom = 0; // position of `from` along the channel
        int pixelTo = 0;   // position of `to`
    };

    struct tScale
    {
        int pixel = 0;
        QString label;
    };

    enum DragMode {
        DragNone = 0,
        DragZone = 1,      // the whole zone, keeping its length
        DragStart = 2,     // its start
        DragEnd = 3,       // its end
        DragUndecided = 4, // a new zone or both edges under the press:
                           // the first move of more than 2 pixels decides
    };

    enum EditKind {
        MoveZone = 1, // move keeping the length
        SetStart = 2,
        SetEnd = 3,
    };

    SliderGeometry geometry;
    // The host reads and fills the zones directly (values and their
    // ValueToPixel pixels), then resets the selection.
    std::vector<tZone> zones;
    int selected = -1;

    int ValueToPixel(int value) const { return geometry.ValueToPixel(value); }
    int PixelToValue(int pixel) const { return geometry.PixelToValue(pixel); }

    bool HasSelectedZone() const;
    int DragModeNow() const { return m_dragMode; }

    // A zone from values, with its pixels, appended at the end.
    void AppendZone(int from, int to);
    // Removes the selected zone; the selection moves to the new last zone
    // when it was past it, and nothing is being dragged.
    void RemoveSelectedZone();
    // Forgets the selection and any drag (after the host reloads the zones).
    void ResetSelection();

    // A press at coordinate `c` along the axis: selects a zone, or makes a
    // zone of zero length in a gap, and decides the drag mode.
    void ButtonDown(int c);
    // A move to `c` while the button is down. False when nothing can be
    // dragged (no mode, or no valid selected zone): nothing changes then.
    bool MouseMove(int c);
    void ButtonUp() { m_dragMode = DragNone; }

    // Edits the selected zone within its neighbours (or the range). False,
    // changing nothing, without a valid selected zone or for another kind.
    bool SetSelectedZone(int kind, int value);

    void AddScaleMark(int value, const QString &label);
    const std::vector<tScale> &ScaleMarks() const { return m_scale; }

    // Sum of the zones' lengths times 60 (zones in minutes give seconds).
    qint64 GetTotalSeconds() const;

private:
    int HitTest(const tZone &zone, int c) const;
    bool MoveInMode(int mode, int d);
    int LowerPixelBound() const;
    int UpperPixelBound() const;
    int LowerValueBound() const;
    int UpperValueBound() const;

    int m_dragMode = DragNone;
    tZone m_saved;
    int m_downCoordinate = 0;
    std::vector<tScale> m_scale;
};
