#include "EntryBoxPlan.h"

#include "CConfiguration.h"
#include "CProject.h"
#include "CProjectStore.h"
#include "CWeekGeometry.h"
#include "LocalTime.h"
#include "UiUtilities.h"
#include "ViewConfiguration.h"
#include "tUsers.h"

#include <algorithm>

namespace {

constexpr quint32 SelectionColour = 0x45C7F0;
constexpr int MaxLines = 4;
constexpr int MaxGap = 5;
// Text is written only into boxes wider than this beside the stripe.
constexpr int MinTextWidth = 40;
constexpr int TextIndent = 15;

const CConfiguration &formats(const tEntryBoxSettings &s)
{
    return s.config ? *s.config : ViewConfiguration();
}

// A part of a line: a bold text followed by a normal one.
struct Segment
{
    QString bold;
    QString normal;
};

// Lays the segments of one line out from its left edge. Once a part had
// to be cut the line is full: nothing more is written after the "...".
void layOutLine(tEntryBoxPlan::tLine &line, const std::vector<Segment> &segments, const tEntryBoxSettings &s)
{
    int left = line.left;
    for (const Segment &segment : segments) {
        for (const bool bold : {true, false}) {
            const QString &part = bold ? segment.bold : segment.normal;
            if (part.isEmpty())
                continue;
            tFittedText fitted = FitText(part, line.right - left, bold ? s.boldWidth : s.normalWidth);
            line.pieces.push_back({std::move(fitted.text), bold, left, fitted.width});
            left += fitted.width;
            if (fitted.cut)
                return;
        }
    }
}

QString label(const QString &text, bool dayView)
{
    return dayView ? text + u' ' : QString();
}

// A bold separator followed by a label (the separator alone in the week
// view).
QString separated(const QString &separator, const QString &text, bool dayView)
{
    return dayView ? separator + text + u' ' : separator;
}

} // namespace

void tEntryBoxSettings::SetUser(const tUsers *user)
{
    colourType = user ? user->TypeColor : 0;
    userColour = user ? quint32(user->Color) : 0;
}

quint32 DarkenColour(quint32 colour, int amount)
{
    quint32 out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int channel = int((colour >> shift) & 0xFF) - amount;
        out |= quint32(std::max(channel, 0)) << shift;
    }
    return out;
}

tFittedText FitText(const QString &text, int room, const TextWidth &width)
{
    const int whole = width(text);
    if (whole <= room)
        return {text, whole, false};
    const QString ellipsis = QStringLiteral("...");
    const int roomBefore = room - width(ellipsis);
    // The longest beginning that leaves room for the "..." (the whole text
    // does not fit in the room alone).
    qsizetype lo = 0;
    qsizetype hi = text.size() - 1;
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (width(QStringView(text).left(mid)) <= roomBefore)
            lo = mid;
        else
            hi = mid - 1;
    }
    // Never half a character.
    if (lo > 0 && text.at(lo - 1).isHighSurrogate())
        --lo;
    const QString shown = text.left(lo) + ellipsis;
    return {shown, width(shown), true};
}

tTrackSpan EntryTrackSpan(const tTacheParams &entry, const tDayColumn &column, bool lastColumn)
{
    tTrackSpan span;
    const int trackCount = std::max(column.trackCount, 1);
    span.trackWidth = (column.right - column.left) / trackCount;
    span.left = column.left + span.trackWidth * entry.firstSlot;
    span.right = lastColumn && entry.endSlot == trackCount
                     ? column.right
                     : span.left + span.trackWidth * (entry.endSlot - entry.firstSlot);
    return span;
}

tEntryBoxPlan PlanEntryBox(const tTacheParams &entry, const tDayColumn &column, bool lastColumn,
                           const tEntryBoxSettings &s)
{
    tEntryBoxPlan plan;

    // 1. The rectangle: the entry's tracks across the column, its rows
    // below the header.
    const tTrackSpan span = EntryTrackSpan(entry, column, lastColumn);
    plan.left = span.left;
    plan.right = span.right;
    const int gridTop = s.headerHeight - CWeekGeometry::ScrollUnit * s.scrollPos;
    plan.top = std::max(gridTop + entry.top, s.headerHeight);
    plan.bottom = gridTop + entry.bottom;
    plan.visible = plan.bottom >= s.clientTop + s.headerHeight && plan.top <= s.clientBottom
                   && plan.top < plan.bottom;
    if (!plan.visible)
        return plan;

    // 2. What the entry refers to. A node without a parent (the root) is no
    // project.
    const CProject *project = s.store ? s.store->GetNode(entry.IdProjet) : nullptr;
    if (project && !project->GetParent())
        project = nullptr;
    const quint32 projectColour = project ? project->GetColor() : 0;
    const tElement *activity = s.store ? s.store->GetActivity(entry.IdActivite) : nullptr;
    const quint32 activityColour = activity ? activity->Color : s.fallbackColour;

    // 3 to 5. Colours.
    if (entry.Id == s.selectedId && entry.Id != -1) {
        plan.fill = SelectionColour;
    } else {
        switch (s.colourType) {
        case 1: plan.fill = project ? projectColour : s.neutralColour; break;
        case 2: plan.fill = activity ? activityColour : s.neutralColour; break;
        case 3: plan.fill = s.userColour; break;
        default: plan.fill = s.neutralColour; break;
        }
    }
    plan.text = GetContrastTextColor(plan.fill);
    plan.frame = DarkenColour(plan.fill, 20);

    // 6. The stripe shows what the fill does not.
    switch (s.colourType) {
    case 1:
        if (activity)
            plan.stripes.push_back({plan.top + 1, plan.bottom - 1, activityColour});
        break;
    case 2:
        if (project)
            plan.stripes.push_back({plan.top + 1, plan.bottom - 1, projectColour});
        break;
    default: {
        const int middle = (plan.bottom - plan.top) / 2 + plan.top + 1;
        plan.stripes.push_back({plan.top + 1, middle, project ? projectColour : activityColour});
        if (activity)
            plan.stripes.push_back({middle, plan.bottom, activityColour});
        else if (project)
            plan.stripes.push_back({middle, plan.bottom, projectColour});
        break;
    }
    }

    // 7. Lines of text, as many as the height allows.
    const int height = plan.bottom - plan.top;
    const int lineHeight = s.lineHeight;
    int n = lineHeight > 0 ? std::min(height / lineHeight, MaxLines) : 0;
    plan.lineCount = n;
    plan.gap = std::min((height - n * lineHeight) / (n + 1), MaxGap);
    if (n <= 0 || plan.right - plan.left - TextIndent <= MinTextWidth)
        return plan;

    int iconBottom = plan.top;
    if (!entry.Notes.isEmpty()) {
        plan.notesIcon = true;
        plan.iconLeft = plan.right - 26;
        plan.iconTop = height > 27 ? plan.top + 2 : plan.top;
        iconBottom = height > 27 ? plan.top + 28 : plan.top + 24;
    }
    tEntryBoxPlan::tLine rect;
    rect.left = plan.left + TextIndent;
    rect.right = plan.notesIcon ? plan.right - 30 : plan.right - 2;
    rect.top = plan.top + plan.gap;
    const auto addLine = [&](const std::vector<Segment> &segments) {
        tEntryBoxPlan::tLine line = rect;
        line.bottom = line.top + lineHeight;
        layOutLine(line, segments, s);
        plan.lines.push_back(std::move(line));
        rect.top += lineHeight + plan.gap;
        rect.right = plan.notesIcon && rect.top < iconBottom ? plan.right - 28 : plan.right - 2;
    };

    const bool dayView = s.dayCount == 1;
    const tEntryBoxTexts &t = s.texts;
    if (!entry.Title.isEmpty()) {
        addLine({{entry.Title, QString()}});
        --n;
    }
    n = std::min(n, 3);
    const QString projectName = project ? project->GetName(true) : QString();
    const QString activityName = activity ? activity->Nom : QString();
    if (n == 3) {
        addLine({{label(t.project, dayView), projectName}});
        addLine({{label(t.activity, dayView), activityName}});
    } else if (n == 2) {
        addLine({{label(t.project, dayView), projectName},
                 {separated(QStringLiteral(" - "), t.activity, dayView), activityName}});
    }
    if (n >= 1) {
        const CConfiguration &config = formats(s);
        const QString dots = QStringLiteral("...");
        const QDateTime start = Platform::LocalTime::toLocal(entry.Debut);
        const bool startsToday = start.date() == column.Date;
        std::vector<Segment> times = {
            {label(t.start, dayView), startsToday ? config.FormatLocaleTime(start.time(), false) : dots}};
        const QString endLabel = separated(QStringLiteral(" - "), t.end, dayView);
        if (entry.Fin != 0) {
            const QDateTime end = Platform::LocalTime::toLocal(entry.Fin);
            const bool endsToday = end.date() == column.Date;
            times.push_back({endLabel, endsToday ? config.FormatLocaleTime(end.time(), false) : dots});
            if (startsToday && endsToday) {
                times.push_back({separated(QStringLiteral(" ("), t.duration, dayView),
                                 config.FormatDuration(entry.Fin - entry.Debut)});
                times.push_back({QStringLiteral(")"), QString()});
            }
        } else {
            times.push_back({endLabel, column.Date == s.today ? t.running : dots});
        }
        addLine(times);
    }
    return plan;
}
