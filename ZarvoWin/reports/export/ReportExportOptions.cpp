#include "ReportExportOptions.h"

std::vector<int> ReportExportOptions::Formats(bool officeSuite)
{
    if (officeSuite)
        return {OfficeSuite, Spreadsheet, Csv};
    return {Spreadsheet, Csv};
}

int ReportExportOptions::FormatText(int format)
{
    switch (format) {
    case Spreadsheet:
        return 319;
    case OfficeSuite:
        return 320;
    default:
        return 321;
    }
}

int ReportExportOptions::IndexOfFormat(int format, bool officeSuite)
{
    const std::vector<int> formats = Formats(officeSuite);
    if (format == Spreadsheet || format == Csv) {
        for (size_t i = 0; i < formats.size(); ++i) {
            if (formats[i] == format)
                return int(i);
        }
    }
    return 0;
}

int ReportExportOptions::FormatOfIndex(int index, bool officeSuite)
{
    const std::vector<int> formats = Formats(officeSuite);
    if (index < 0 || index >= int(formats.size()))
        return formats.front();
    return formats[size_t(index)];
}

QString ReportExportOptions::SeparatorOf(int item, const QString &other)
{
    switch (item) {
    case TabItem:
        return QStringLiteral("\t");
    case SemicolonItem:
        return QStringLiteral(";");
    default:
        return other;
    }
}

bool ReportExportOptions::IsUsableSeparator(const QString &separator)
{
    if (separator.isEmpty())
        return false;
    for (const QChar c : separator) {
        if (c == u'"' || c == u'\r' || c == u'\n')
            return false;
    }
    return true;
}

bool ReportExportOptions::ShowsSeparator(int formatIndex, bool officeSuite)
{
    return FormatOfIndex(formatIndex, officeSuite) == Csv;
}

bool ReportExportOptions::ShowsSeparatorEdit(int formatIndex, bool officeSuite, int separatorItem)
{
    return ShowsSeparator(formatIndex, officeSuite) && separatorItem == OtherItem;
}
