#include "tReportColumn.h"

#include "CReportColumnSet.h"
#include "Formatter.h"
#include "IntParse.h"
#include "ReportColumnCatalogue.h"

QString tReportColumn::GetCaption(bool withFallback) const
{
    if (!withFallback || !Caption.isEmpty())
        return Caption;
    const QString over = GetReportColumnCaptionOverride(Kind);
    return over.isEmpty() ? GetReportColumnCaption(Kind) : over;
}

int tReportColumn::GetAlign() const
{
    if (Align >= ColumnAlignLeft && Align <= ColumnAlignCentre)
        return Align;
    const int over = GetReportColumnAlignOverride(Kind);
    return over != ColumnAlignDefault ? over : GetReportColumnDefaultAlign(Kind);
}

bool tReportColumn::Parse(QStringView text, int setType)
{
    qsizetype cut = text.indexOf(u';');
    if (cut < 0)
        return false;
    const int kind = FindReportColumnKind(text.left(cut));
    if (kind < 0 || !CReportColumnSet::InRange(setType, kind))
        return false;

    tReportColumn column(kind, false);
    QStringView rest = text.mid(cut + 1);
    // The next number, when a ";" still follows it.
    const auto field = [&rest](QStringView &value) {
        const qsizetype end = rest.indexOf(u';');
        if (end < 0)
            return false;
        value = rest.left(end);
        rest = rest.mid(end + 1);
        return true;
    };
    QStringView value;
    if (field(value)) {
        const int align = Platform::wtoi(value);
        column.Align = align >= ColumnAlignLeft && align <= ColumnAlignCentre ? align : ColumnAlignDefault;
        if (field(value)) {
            column.Shown = value == u"1";
            if (field(value))
                column.Width = Platform::wtoi(value);
        }
    }
    column.Caption = rest.toString();
    *this = column;
    return true;
}

QString tReportColumn::Format() const
{
    QString caption = Caption;
    caption.remove(u'|');
    return Platform::Formatter::sprintf(u"%s;%d;%d;%d;%s",
                                        {GetReportColumnKey(Kind), Align, Shown ? 1 : 0, -1, caption});
}
