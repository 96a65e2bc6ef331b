#pragma once
#include <QString>
#include <QStringView>

// One column of a report: its kind (0 to 36 from the column catalogue, 37
// and 38 for the label and value columns of a cross table), a caption of
// its own (empty: the catalogue's), an alignment (0 left, 1 right,
// 2 centred, -1 the default), whether it is shown, and a width (-1 the
// default).
struct tReportColumn
{
    int Kind = 0;
    QString Caption;
    int Align = -1;
    bool Shown = false;
    int Width = -1;

    tReportColumn() = default;
    tReportColumn(int kind, bool shown) : Kind(kind), Shown(shown) {}

    // The caption shown: its own when not empty, else (keyed kinds) the
    // user's override of its kind when not empty, else the caption of the
    // interface language. Without the fallback, its own caption alone.
    QString GetCaption(bool withFallback = true) const;
    // The alignment used: its own when 0 to 2, else the user's override
    // of its kind when 0 to 2, else the catalogue's.
    int GetAlign() const;

    // Reads one stored column, "key;alignment;shown;width;caption", into
    // this column, which starts from alignment -1, hidden, width -1 and no
    // caption. The key must name a kind of the range of a column set of
    // type `setType` (0: kinds 0 to 20, 2: kinds 21 to 36; type 1 takes
    // none). Each number is read only while a further ";" follows it; the
    // rest is the caption, which may hold ";". False (this column left
    // as it was) when the text is refused.
    bool Parse(QStringView text, int setType);
    // "key;alignment;shown;-1;caption": the width is never stored, and
    // a "|" (the separator of stored lists) is left out of the caption.
    QString Format() const;

    friend bool operator==(const tReportColumn &, const tReportColumn &) = default;
};
