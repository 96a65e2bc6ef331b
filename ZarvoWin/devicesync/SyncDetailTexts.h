#pragma once
#include <QList>
#include <QString>
#include <QtGlobal>

class CConfiguration;
struct tForecast;
struct tTimeEntryDetails;

// What the detail panes of the review show, worked out without a window:
// the texts of a time entry and of a plan, and the lines of the element
// pane for each kind of element. Every value comes from a device and may
// be anything: a date the calendar cannot hold gives an empty text, a
// priority, status or type outside its range gives no name and no picture,
// and no duration is computed by an overflowing subtraction.
class SyncDetailTexts
{
public:
    struct TaskTexts
    {
        QString project, activity, rate, title, notes;
        QString start, end, duration;
        QString invoiced;
    };
    static TaskTexts ForTask(const tTimeEntryDetails &entry, const CConfiguration &formats);

    struct ForecastTexts
    {
        int priorityImage = -1; // 0..4 for priorities 1..5, else -1
        int statusImage = -1;   // 0..4 for statuses 1..5, else -1
        QString start, end, alert;
        QString planned, extra, estimated;
        QString predecessors, notes;
        bool days = false;
        bool afterPredecessors = false;
        bool automatic = false;
    };
    static ForecastTexts ForForecast(const tForecast &forecast, const QString &predecessorNames,
                                     const CConfiguration &formats);

    // The lines of the element pane, each a label and a field.
    enum Line { NameLine, CommentLine, RateLine, TitleLine, TypeLine, ParentLine, ActivityLine };
    struct ElementFields
    {
        QList<Line> lines;        // shown, top to bottom
        int nameLabel = 0;        // text of the label; 0: the pane's own
        int commentLabel = 0;
        int rateLabel = 0;
        bool multiLineComment = false;
        bool typeImage = false;
        bool colourSwatch = false;
    };
    // 1 project, 2 activity, 3 rate, 5 favourite; any other kind shows
    // nothing.
    static ElementFields FieldsForKind(int kind);

    // The name of a project type 0..5; empty for any other value.
    static QString TypeName(int type);
    // A date and time of the settings' format (the configured long or
    // short date, or always the short one); empty for 0 or below and for
    // a time the calendar cannot hold.
    static QString DateTime(qint64 t, bool configuredLong, const CConfiguration &formats);
    // end - start through the duration format when both are set and the
    // difference can be computed; else empty.
    static QString Duration(qint64 start, qint64 end, const CConfiguration &formats);
};
