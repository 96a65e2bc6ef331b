#pragma once
#include "tPlaceholderSnapshot.h"

#include <QDate>
#include <QString>
#include <QStringList>

// The one table of placeholder values of the report drawing. Texts of a
// print template may hold placeholders in square brackets that are
// replaced when a page is drawn: "[Title]", "[NumPage]", "[NbPage]",
// "[Total]" by the values the drawer set; "[Date]", "[StartDate]",
// "[EndDate]" and their "Short" forms by today's date and the report's
// dates in the long and short date forms of the settings; "[GroupTitle]"
// and "[GroupTotal]" by the values of the group being drawn.
//
// The table is global and holds the values of the drawing in progress: it
// belongs to the interface thread.

// Indexes of the table.
enum ReportPlaceholder {
    PlaceholderTitle = 0,
    PlaceholderNumPage = 1,
    PlaceholderNbPage = 2,
    PlaceholderTotal = 3,
    PlaceholderGroupTitle = 4,
    PlaceholderGroupTotal = 5,
    PlaceholderCount = 6
};

// Empties every value, sets the keys and marks the table ready; until
// then a replacement leaves texts as they are.
void InitReportPlaceholders();
// The value of the placeholder at `index` (0 to 5); other indexes are
// ignored.
void SetPlaceholderValue(const QString &text, int index);
// Records today's date and the report's first and last days, with a value
// kept beside them that the replacement does not use.
void SetPlaceholderDates(int extraValue, const QDate &start, const QDate &end);
// Replaces, in this order, "[Title]", "[NumPage]", "[NbPage]" and
// "[Total]" by their values; each date placeholder by its date; and, when
// group values are given, "[GroupTitle]" by the first and "[GroupTotal]"
// by the second (as far as the list has them). Keys match exactly.
void ReplacePlaceholders(QString &text, const QStringList *groupValues = nullptr);

// The whole table, and its restoration.
tPlaceholderSnapshot TakePlaceholderSnapshot();
void RestorePlaceholderSnapshot(const tPlaceholderSnapshot &snapshot);
