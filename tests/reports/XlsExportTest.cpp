// The spreadsheet export of a report, read back by outside readers
// (xlrd, and LibreOffice where it is installed).
#include "CReportPrintLayout.h"
#include "CsvReadBack.h"
#include "ExportFixture.h"
#include "ReadBack.h"
#include "ReportCsvExport.h"
#include "ReportXlsExport.h"
#include "TestFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

#include <cmath>

namespace {

class XlsExportTest : public ExportFixture
{
protected:
    // The sheet of a file written from the model, with its cells.
    QJsonObject exportAndRead(const QString &name, int mode = 1)
    {
        const QString path = TestFolders::file(name);
        EXPECT_EQ(ReportXlsExport::Write(model, path, mode), ReportXlsExport::Result::Written);
        const ReadBack::Check check = ReadBack::read(path);
        if (!check.ran)
            return {};
        ReadBack::expectCleanLog(check.result);
        const QJsonArray sheets = check.result.value("sheets").toArray();
        EXPECT_EQ(sheets.size(), 1);
        return sheets.at(0).toObject();
    }
    int column(int kind) const
    {
        for (int c = 0; c < model.ColumnCount(); ++c) {
            if (model.Columns()[size_t(c)].Kind == kind)
                return c;
        }
        ADD_FAILURE() << "no column of kind " << kind;
        return -1;
    }
    // The sheet row of the export row of entry `id` (mode 1).
    int rowOf(int id)
    {
        int row = 1;
        QStringList cells;
        for (bool more = model.FirstExportRow(1, cells); more; more = model.NextExportRow(1, cells), ++row) {
            const tReportEntry *e = model.ExportRow()->Item().EntryOf();
            if (e && e->Id == id)
                return row;
        }
        ADD_FAILURE() << "no row of entry " << id;
        return -1;
    }
};

} // namespace

TEST(XlsDurationTest, OnlySpansOfHoursAndMinutesAreRead)
{
    struct Case
    {
        const char *text;
        bool read;
        double days;
    };
    const Case cases[] = {
        {"27:30", true, 27.5 / 24},     {"0:05", true, 5.0 / 1440},     {"09:00", true, 0.375},
        {"1:00:30", true, (3600.0 + 30) / 86400}, {"-1:30", true, -1.5 / 24}, {"250:00", true, 250.0 / 24},
        {"", false, 0},                 {"12", false, 0},               {"1:5", false, 0},
        {"1:60", false, 0},             {"1:30:99", false, 0},          {"1,5:30", false, 0},
        {"1:30:00:00", false, 0},       {"a:30", false, 0},             {"1h30", false, 0},
        {" 1:30", false, 0},            {"1:30 ", false, 0},            {"--1:30", false, 0},
    };
    for (const Case &c : cases) {
        double days = -99;
        EXPECT_EQ(ReportXlsExport::ParseDuration(QString::fromLatin1(c.text), days), c.read) << c.text;
        if (c.read) {
            EXPECT_NEAR(days, c.days, 1e-12) << c.text;
        }
    }
}

TEST_F(XlsExportTest, CellsAreTypedByTheirColumn)
{
    build(trickyEntries());
    const QJsonObject sheet = exportAndRead(QStringLiteral("typed.xls"));
    ASSERT_FALSE(sheet.isEmpty());
    EXPECT_EQ(sheet.value("name").toString(), QStringLiteral("Feuil1"));
    const auto cells = ReadBack::cellsOf(sheet);
    const QStringList captions = model.GetColumnCaptions();
    for (int c = 0; c < captions.size(); ++c) {
        ASSERT_TRUE(cells.count({0, c}));
        EXPECT_EQ(cells.at({0, c}).value.toString(), captions[c]);
    }
    EXPECT_EQ(sheet.value("nrows").toInt(), 9);

    const int first = rowOf(1);
    const ReadBack::Cell duration = cells.at({first, column(5)});
    EXPECT_EQ(duration.type, 3) << "a date-like number for xlrd";
    EXPECT_NEAR(duration.value.toDouble(), 1.1458333, 1e-7);
    EXPECT_EQ(duration.format, QStringLiteral("[h]:mm"));
    const ReadBack::Cell start = cells.at({first, column(3)});
    EXPECT_NEAR(start.value.toDouble(), 0.375, 1e-9);
    EXPECT_EQ(start.format, QStringLiteral("[h]:mm"));
    const ReadBack::Cell rate = cells.at({first, column(6)});
    EXPECT_EQ(rate.type, 2);
    EXPECT_DOUBLE_EQ(rate.value.toDouble(), 60.0);
    EXPECT_EQ(rate.format, QStringLiteral("General"));
    EXPECT_NEAR(cells.at({first, column(7)}).value.toDouble(), 27.5 * 60, 1e-3);
    const ReadBack::Cell share = cells.at({first, column(19)});
    EXPECT_EQ(share.format, QStringLiteral("0.00%"));
    const double total = 27.5 * 3600 + 1800 + 600;
    EXPECT_NEAR(share.value.toDouble(), 27.5 * 3600 / total, 1e-9);

    // Texts as the text exports give them: whole, line breaks left out, a
    // leading "=" never a formula.
    QStringList texts;
    for (bool more = model.FirstExportRow(1, texts); more; more = model.NextExportRow(1, texts)) {
        const tReportEntry *e = model.ExportRow()->Item().EntryOf();
        if (!e)
            continue;
        const int row = rowOf(e->Id);
        for (int kind : {0, 1, 8, 9, 10}) {
            const int c = column(kind);
            if (texts[c].isEmpty()) {
                EXPECT_FALSE(cells.count({row, c}));
                continue;
            }
            ASSERT_TRUE(cells.count({row, c})) << row << "," << c;
            EXPECT_EQ(cells.at({row, c}).type, 1);
            EXPECT_EQ(cells.at({row, c}).value.toString(), texts[c]) << row << "," << c;
        }
    }
    EXPECT_EQ(cells.at({rowOf(2), column(9)}).value.toString(), QStringLiteral("=SOMME(A1:A2)"));
    EXPECT_EQ(cells.at({rowOf(2), column(10)}).value.toString(),
              QString::fromUtf16(u"Réunion 会議 \U0001F600 Ωμέγα"));
    EXPECT_EQ(cells.at({rowOf(1), column(10)}).value.toString(), QStringLiteral("ligne 1ligne 2\tfin"));
    EXPECT_EQ(cells.at({rowOf(3), column(8)}).value.toString(), QStringLiteral("Non"));
    EXPECT_EQ(cells.at({rowOf(2), column(8)}).value.toString(), QStringLiteral("Oui"));
    EXPECT_EQ(cells.at({rowOf(1), column(8)}).value.toString(), QStringLiteral("Non"));

    // A group row has no start: nothing is written there.
    EXPECT_FALSE(cells.count({2, column(3)}));
    EXPECT_EQ(cells.at({1, column(5)}).format, QStringLiteral("[h]:mm")) << "the total's duration";
}

namespace {

// The cents of an amount as a report writes it ("2,51 €").
qint64 cents(const QString &text)
{
    qint64 value = 0;
    for (const QChar c : text) {
        if (c.isDigit())
            value = value * 10 + c.digitValue();
    }
    return text.contains(u'-') ? -value : value;
}

} // namespace

// Each line's amount is rounded to the cent once and every total is the
// sum of the rounded lines: seven lines of 2,5139 € make 17,57 €, not the
// 17,60 € of the unrounded sum, alike on screen, in print, in the CSV and
// in the sheet, with the entries as lines or, without them, the groups.
TEST_F(XlsExportTest, TheLinesOfAnInvoiceAddUpToItsTotalEverywhere)
{
    for (const bool detail : {true, false}) {
        SCOPED_TRACE(detail ? "entries" : "groups");
        definition.Detail = detail;
        definition.Grp = {detail ? 3 : 4, -1, -1, -1, -1};
        std::vector<tReportEntry> entries;
        for (int i = 0; i < 7; ++i) {
            tReportEntry e = entry(i + 1, At(2024, 3, 1, 9) + i * 600, 100, i < 4 ? 3 : 4, 6);
            e.IdActivite = i < 4 ? 7 : 8;
            entries.push_back(e);
        }
        build(entries, {0, 5, 7});
        const int cost = column(7);
        const CTreeItem *total = model.TotalRow();
        const auto isLine = [&](const CTreeItem *row) {
            return detail ? row->Item().EntryOf() != nullptr : row != total && row->Item().GroupLineOf() != nullptr;
        };

        // On screen; with the entries each group adds up too.
        EXPECT_EQ(cents(model.GetCellText(cost, total, false, true)), 1757);
        qint64 shown = 0;
        for (const CTreeItem *row = total; row; row = model.Tree().GetNextItem(total, row, false)) {
            if (isLine(row)) {
                // An entry, or a group of four or three of them.
                const qint64 line = cents(model.GetCellText(cost, row, false, true));
                EXPECT_EQ(detail ? line : line % 251, detail ? 251 : 0);
                shown += line;
            } else if (row != total && row->ChildCount() > 0 && row->Child(0)->Item().EntryOf()) {
                qint64 group = 0;
                for (int i = 0; i < row->ChildCount(); ++i)
                    group += cents(model.GetCellText(cost, row->Child(i), false, true));
                EXPECT_EQ(cents(model.GetCellText(cost, row, false, true)), group);
            }
        }
        EXPECT_EQ(shown, 1757);

        // In print.
        CReportPrintLayout layout;
        layout.BuildPrintLines(model);
        qint64 printed = 0;
        qint64 printedTotal = -1;
        for (const CReportPrintLayout::tLine &line : layout.Lines()) {
            const QString text = layout.LineTexts(line)[cost];
            if (line.Kind == CReportPrintLayout::DetailLine)
                printed += cents(text);
            else if (line.Kind == CReportPrintLayout::TotalLine)
                printedTotal = cents(text);
        }
        EXPECT_EQ(printed, 1757);
        EXPECT_EQ(printedTotal, 1757);

        // Both exports: every row, the total first.
        std::vector<bool> lines;
        for (const CTreeItem *row = model.FirstExportItem(1); row; row = model.NextExportItem(1))
            lines.push_back(isLine(row));
        const QString csv = TestFolders::file(QStringLiteral("invoice.csv"));
        ASSERT_TRUE(ReportCsvExport::Write(model, csv, 1, QStringLiteral(";")));
        const std::vector<QStringList> rows = CsvReadBack::read(csv, QStringLiteral(";"));
        ASSERT_EQ(rows.size(), lines.size() + 1);
        qint64 written = 0;
        for (size_t r = 0; r < lines.size(); ++r)
            written += lines[r] ? cents(rows[r + 1][cost]) : 0;
        EXPECT_EQ(written, 1757);
        EXPECT_EQ(cents(rows[1][cost]), 1757);

        const auto cells = ReadBack::cellsOf(exportAndRead(QStringLiteral("invoice.xls")));
        if (cells.empty())
            continue;
        double sheet = 0.0;
        for (size_t r = 0; r < lines.size(); ++r) {
            if (!lines[r])
                continue;
            const double value = cells.at({int(r) + 1, cost}).value.toDouble();
            EXPECT_NEAR(value * 100.0, std::round(value * 100.0), 1e-6) << "whole cents";
            if (detail) {
                EXPECT_NEAR(value, 2.51, 1e-9);
            }
            sheet += value;
        }
        EXPECT_NEAR(sheet, 17.57, 1e-9);
        EXPECT_NEAR(cells.at({1, cost}).value.toDouble(), 17.57, 1e-9);
    }
}

// A text cell of a sheet is never a formula, whatever it begins with: the
// names are written whole, without the apostrophe of the CSV file. A
// group's name in a first column of figures (an amount, a duration) is
// its name, as text, never a number read from it.
TEST_F(XlsExportTest, NamesStayTextAlsoInAColumnOfFigures)
{
    const QString names[] = {QStringLiteral("=2+3"), QStringLiteral("+2+3"), QStringLiteral("-2+3"),
                             QStringLiteral("@SOMME(A1)"), QStringLiteral("\t=2+3"), QStringLiteral("1:30")};
    std::vector<tReportEntry> entries;
    for (int i = 0; i < 6; ++i) {
        project(11 + i, names[i], -1);
        entries.push_back(entry(i + 1, At(2024, 3, 1 + i, 9), 1800, 11 + i, 5, names[i]));
    }
    snapshot = tReportSnapshot::Take(&store);
    definition.Grp = {3, -1, -1, -1, -1};
    for (int first : {-1, 7, 5}) {
        SCOPED_TRACE(first);
        build(entries, {0, 5, 7, 9}, first);
        const auto cells = ReadBack::cellsOf(exportAndRead(QStringLiteral("names.xls")));
        ASSERT_FALSE(cells.empty());
        QStringList groups;
        QStringList titles;
        int r = 1;
        for (const CTreeItem *row = model.FirstExportItem(1); row; row = model.NextExportItem(1), ++r) {
            if (!row->Item().GroupLineOf())
                continue;
            ASSERT_TRUE(cells.count({r, 0})) << r;
            EXPECT_EQ(cells.at({r, 0}).type, 1) << "row " << r << " is text";
            groups << cells.at({r, 0}).value.toString();
        }
        for (int id = 1; id <= 6; ++id) {
            const ReadBack::Cell &title = cells.at({rowOf(id), column(9)});
            EXPECT_EQ(title.type, 1);
            titles << title.value.toString();
            // The entry's figures are numbers.
            EXPECT_NE(cells.at({rowOf(id), column(7)}).type, 1);
            EXPECT_NE(cells.at({rowOf(id), column(5)}).type, 1);
        }
        for (const QString &name : names) {
            EXPECT_TRUE(groups.contains(name)) << name.toStdString();
            EXPECT_TRUE(titles.contains(name)) << name.toStdString();
        }
    }
}

TEST_F(XlsExportTest, ATotalOnlyReportIsTwoRows)
{
    definition.Grp = {-1, -1, -1, -1, -1};
    definition.Detail = false;
    build(trickyEntries(), {0, 5});
    const QJsonObject sheet = exportAndRead(QStringLiteral("total.xls"), 0);
    EXPECT_EQ(sheet.value("nrows").toInt(), 2);
    const auto cells = ReadBack::cellsOf(sheet);
    EXPECT_NEAR(cells.at({1, 1}).value.toDouble(), (27.5 * 3600 + 2400) / 86400, 1e-9);
}

// Formats belong to each workbook: the second export registers them
// again instead of reusing indices of the first file.
TEST_F(XlsExportTest, TwoExportsKeepTheirFormats)
{
    build(trickyEntries());
    for (const QString &name : {QStringLiteral("one.xls"), QStringLiteral("two.xls")}) {
        const auto cells = ReadBack::cellsOf(exportAndRead(name));
        EXPECT_EQ(cells.at({rowOf(1), column(5)}).format, QStringLiteral("[h]:mm")) << name.toStdString();
        EXPECT_EQ(cells.at({rowOf(1), column(19)}).format, QStringLiteral("0.00%")) << name.toStdString();
    }
    // Exporting to the same path again replaces the file whole.
    const QJsonObject again = exportAndRead(QStringLiteral("one.xls"), 2);
    EXPECT_EQ(again.value("nrows").toInt(), 4);
}

// A cross table: the label column as text, each value column a span of
// hours ("[h]:mm"), an empty value cell left empty.
TEST_F(XlsExportTest, CrossTablesWriteTheirValuesAsSpans)
{
    definition.Type = 3;
    definition.Grp = {3, -1, -1, -1, -1};
    definition.Grp_Col = 1;
    model.SetDefinition(definition);
    model.SetSnapshot(std::make_shared<tReportSnapshot>(snapshot));
    model.ResetForRefresh();
    model.DefineCrossTabColumns({{37, QString()}, {38, QStringLiteral("2024-01")}, {38, QStringLiteral("2024-03")},
                                 {38, QString()}});
    model.SetTotalRow(QStringLiteral("Total :"), false);
    model.AddCrossTabLine(entry(1, At(2024, 1, 5, 9), 27 * 3600 + 1800, 3, -1), 1);
    model.AddCrossTabLine(entry(2, At(2024, 3, 6, 9), 600, 4, -1), 2);
    model.ShowRows();
    const auto cells = ReadBack::cellsOf(exportAndRead(QStringLiteral("cross.xls")));
    EXPECT_EQ(cells.at({1, 0}).value.toString(), QStringLiteral("Total :"));
    EXPECT_NEAR(cells.at({1, 1}).value.toDouble(), 27.5 / 24, 1e-9);
    EXPECT_EQ(cells.at({1, 1}).format, QStringLiteral("[h]:mm"));
    EXPECT_NEAR(cells.at({1, 3}).value.toDouble(), (27.5 * 3600 + 600) / 86400, 1e-9);
    int interne = -1;
    for (const auto &[at, cell] : cells)
        if (at.second == 0 && cell.value.toString() == QStringLiteral("Interne"))
            interne = at.first;
    ASSERT_GT(interne, 1);
    EXPECT_FALSE(cells.count({interne, 1})) << "no time in January";
    EXPECT_NEAR(cells.at({interne, 2}).value.toDouble(), 600.0 / 86400, 1e-9);
}

TEST_F(XlsExportTest, AReportLargerThanOneSheetIsRefusedBeforeAnyFileIsMade)
{
    definition.Grp = {-1, -1, -1, -1, -1};
    std::vector<tReportEntry> entries;
    // The total row and 65 534 entries, with the header: a full sheet.
    for (int i = 0; i < 65534; ++i)
        entries.push_back(entry(i + 1, At(2024, 3, 1, 9) + i * 60, 60, 4, -1));
    build(entries, {0, 5});
    const QString folder = TestFolders::file(QStringLiteral("big"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString full = folder + QStringLiteral("/full.xls");
    EXPECT_EQ(ReportXlsExport::Write(model, full, 1), ReportXlsExport::Result::Written);
    EXPECT_GT(QFileInfo(full).size(), 65536 * 8);

    entries.push_back(entry(70000, At(2024, 3, 20, 9), 60, 4, -1));
    build(entries, {0, 5});
    const QString old = TestFolders::writeFile(QStringLiteral("big/old.xls"), "previous export");
    EXPECT_EQ(ReportXlsExport::Write(model, old, 1), ReportXlsExport::Result::TooLarge);
    EXPECT_EQ(TestFolders::readFile(old), QByteArray("previous export"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), (QStringList{"full.xls", "old.xls"}));
    // Only the entry rows fit again.
    EXPECT_EQ(ReportXlsExport::Write(model, old, 2), ReportXlsExport::Result::Written);
}

TEST_F(XlsExportTest, AFileThatCannotBeMadeLeavesTheTargetAlone)
{
    build(trickyEntries());
    const QString plain = TestFolders::writeFile(QStringLiteral("plain"), "a file");
    EXPECT_EQ(ReportXlsExport::Write(model, plain + QStringLiteral("/r.xls"), 0), ReportXlsExport::Result::Failed);
    EXPECT_EQ(ReportXlsExport::Write(model, TestFolders::file(QStringLiteral("no/such/r.xls")), 0),
              ReportXlsExport::Result::Failed);
    EXPECT_EQ(TestFolders::readFile(plain), QByteArray("a file"));
}

TEST_F(XlsExportTest, LibreOfficeOpensAnExport)
{
    const QString program = ReadBack::soffice();
    if (program.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    build(trickyEntries());
    const QString path = TestFolders::file(QStringLiteral("office.xls"));
    ASSERT_EQ(ReportXlsExport::Write(model, path, 1), ReportXlsExport::Result::Written);
    const QString out = TestFolders::file(QStringLiteral("office"));
    ASSERT_TRUE(QDir().mkpath(out));
    EXPECT_EQ(ReadBack::convertToCsv(program, {path}, out), QString());
    EXPECT_FALSE(QDir(out).entryList({QStringLiteral("*.csv")}).isEmpty());
}
