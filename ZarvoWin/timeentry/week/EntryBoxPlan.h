#pragma once
#include "tDayColumn.h"
#include "tEntryBoxPlan.h"
#include "tEntryBoxTexts.h"
#include "tTacheParams.h"

#include <QDate>
#include <QString>
#include <QStringView>
#include <functional>

class CConfiguration;
class CProjectStore;
struct tUsers;

// The width in pixels of a text in one font.
using TextWidth = std::function<int(QStringView)>;

// What holds for every box of one drawing of the view.
struct tEntryBoxSettings
{
    // The view's geometry.
    int headerHeight = 40;
    int scrollPos = 0; // units of 5 pixels
    int clientTop = 0;
    int clientBottom = 0;
    int dayCount = 7; // 1: the day view, whose lines carry labels
    QDate today;
    int selectedId = -1;

    // Colours: the current user's colour type (0 the default entry colour,
    // 1 the project's, 2 the activity's, 3 the user's own) and colour, the
    // default entry colour, and the colour an unknown activity shows in
    // the stripe (drawn once per drawing).
    int colourType = 0;
    quint32 userColour = 0;
    quint32 neutralColour = 0xE6E6E6;
    quint32 fallbackColour = 0xC0C0C0;
    // Colour type and colour of the current user; type 0 without one.
    void SetUser(const tUsers *user);

    const CProjectStore *store = nullptr;   // nothing is found without one
    // Time and duration formats; the view's settings when null.
    const CConfiguration *config = nullptr;
    tEntryBoxTexts texts;

    // The height of a line of text and the widths of texts in the bold
    // and the normal font.
    int lineHeight = 0;
    TextWidth boldWidth;
    TextWidth normalWidth;
};

// Where a laid-out entry runs across its day column: from its first track
// to its end track, an entry of the last column that reaches the last
// track ending at the column's right edge. Right is exclusive.
struct tTrackSpan
{
    int left = 0;
    int right = 0;
    int trackWidth = 0;
};
tTrackSpan EntryTrackSpan(const tTacheParams &entry, const tDayColumn &column, bool lastColumn);

// The box of one laid-out entry of a day column (see LayoutDay). The fill
// is the selection colour for the selected entry, else the colour the
// user's colour type chooses; the stripe shows the project and activity
// colours that the fill does not; the text lines (title, project,
// activity, times) are as many as the height allows, without labels in
// the week view.
tEntryBoxPlan PlanEntryBox(const tTacheParams &entry, const tDayColumn &column, bool lastColumn,
                           const tEntryBoxSettings &settings);

// A text as it fits into a given room.
struct tFittedText
{
    QString text;
    int width = 0;    // of `text`, as shown
    bool cut = false; // the end was cut off and "..." follows
};
// `text` as it fits into `room` pixels: whole when it fits, else its
// longest beginning that leaves room for "...", followed by "...".
tFittedText FitText(const QString &text, int room, const TextWidth &width);

// A colour darkened by `amount` in each channel (a channel that would
// fall below 0 becomes 0).
quint32 DarkenColour(quint32 colour, int amount);
