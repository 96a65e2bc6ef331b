#pragma once
#include <QString>

#include <vector>

// What the export dialog offers and gives back, without the dialog: the
// formats in the order of its list, the lines to export, the separators.
class ReportExportOptions
{
public:
    // Formats.
    static constexpr int Spreadsheet = 0; // a workbook file (.xls)
    static constexpr int OfficeSuite = 1; // the office suite's spreadsheet
    static constexpr int Csv = 2;         // delimited text
    // Lines to export (the report model's export modes).
    static constexpr int AsShown = 0;
    static constexpr int AllRows = 1;
    static constexpr int EntriesOnly = 2;
    // Items of the separator list.
    static constexpr int TabItem = 0;
    static constexpr int SemicolonItem = 1;
    static constexpr int OtherItem = 2;

    // The formats of the list, in order: the office suite first when it
    // is offered, then the workbook file and delimited text.
    static std::vector<int> Formats(bool officeSuite);
    // The language text naming a format.
    static int FormatText(int format);
    // The item showing `format`: the workbook file's or delimited text's,
    // any other the first item.
    static int IndexOfFormat(int format, bool officeSuite);
    // The format of an item; the first item's for an index outside.
    static int FormatOfIndex(int index, bool officeSuite);
    // Items of the data list: the entry rows are not offered for project
    // tracking.
    static int DataItemCount(bool offerEntries) { return offerEntries ? 3 : 2; }

    // The separator of an item (`other` for "Autre…").
    static QString SeparatorOf(int item, const QString &other);
    // A separator a file can be read back with: not empty, no double
    // quote, CR or LF.
    static bool IsUsableSeparator(const QString &separator);
    // Whether the separator controls are shown for the format item, and
    // the edit for the separator item.
    static bool ShowsSeparator(int formatIndex, bool officeSuite);
    static bool ShowsSeparatorEdit(int formatIndex, bool officeSuite, int separatorItem);
};
