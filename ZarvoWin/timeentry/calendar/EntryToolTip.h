#pragma once
#include "tEntryBoxTexts.h"
#include "tTacheFull.h"

#include <QString>
#include <QtGlobal>

class CConfiguration;
class CProjectStore;

// What the tooltip of an entry of the calendar views says: a bold label
// with the title (when there is one), the project's full name and the
// activity, and a description with the start, the end ("En cours…"
// while running), the duration so far and the notes.
struct tEntryTip
{
    QString label;
    QString description;
};
tEntryTip EntryToolTip(const tTacheFull &entry, const CProjectStore *store, const CConfiguration &config,
                       const tEntryBoxTexts &texts, qint64 now);

// A command's text "description\nlabel" as a tooltip: the part after the
// first line break is the label, the part before it the description; a
// text without a line break is the label alone.
tEntryTip CommandToolTip(const QString &text);
