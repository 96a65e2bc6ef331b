#include "ExcelFile.h"
#include "ExcelFormatManager.h"
#include "ReadBack.h"
#include "StreamReader.h"

#include "TestFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

// Whatever a caller gives the writer, the file it saves opens in every
// reader: each case is saved, read back by xlrd (values, XF of every cell,
// no warning in its log) and walked record by record; one file per case is
// also opened by LibreOffice when it is installed.

using namespace Biff8;
using StreamReader::Rec;
using StreamReader::u16;
using StreamReader::u32;

namespace {

const QString Emoji = QString::fromUtf16(u"\U0001F600");
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

struct Saved
{
    bool ok = false;
    QJsonObject result; // all xlrd said
    QJsonObject sheet;
    std::vector<Rec> recs;
};

std::size_t sheetStart(const std::vector<Rec> &recs)
{
    for (std::size_t i = 0; i < recs.size(); ++i)
        if (recs[i].id == 0x000A)
            return i + 1;
    return recs.size();
}

// The XF records of the file: the 15 style formats, then the caller's list
// (its first entry the default cell format), every cell format a child of
// the Normal style.
void expectBuiltInXFsFirst(const std::vector<Rec> &recs, const Workbook &globals)
{
    std::vector<const Rec *> xfs;
    for (const Rec &r : recs)
        if (r.id == 0x00E0)
            xfs.push_back(&r);
    ASSERT_EQ(xfs.size(), 15 + globals.xfs.size());
    for (std::size_t i = 0; i < xfs.size(); ++i) {
        const std::uint16_t type = u16(xfs[i]->data, 4);
        if (i < 15)
            EXPECT_EQ(type, 0xFFF5) << "XF " << i << " is a style format";
        else
            EXPECT_EQ(type, 0x0001) << "XF " << i << " is a cell format of the Normal style";
    }
    // The default cell format holds the defaults of a new workbook.
    EXPECT_EQ(xfs[15]->data, (std::vector<std::uint8_t>{0, 0, 0, 0, 1, 0, 0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                        0xC0, 0x20}));
    for (const Rec &r : recs) {
        if (r.id == 0x0293) {
            EXPECT_EQ(u16(r.data, 0), 0x8000) << "the Normal style names XF 0";
        }
    }
}

// Saves, reads back with xlrd and walks the records; every cell must read
// back as the grid holds it.
Saved saveAndRead(ExcelFile &file, const QString &name)
{
    Saved saved;
    const QString path = TestFolders::file(name + QStringLiteral(".xls"));
    if (!ReadBack::save(file, path)) {
        ADD_FAILURE() << "save failed";
        return saved;
    }
    const ReadBack::Check check = ReadBack::read(path);
    if (!check.ran)
        return saved;
    saved.result = check.result;
    ReadBack::expectCleanLog(check.result);
    EXPECT_EQ(StreamReader::checkIndex(check.stream), QString());
    bool ok = false;
    saved.recs = StreamReader::records(check.stream, &ok);
    EXPECT_TRUE(ok);
    expectBuiltInXFsFirst(saved.recs, file.Globals());
    for (std::size_t i = 0; i < saved.recs.size(); ++i) {
        if (saved.recs[i].id == 0x00FC) {
            EXPECT_EQ(StreamReader::readSst(saved.recs, i).error, QString());
        }
    }
    const QJsonArray sheets = check.result.value("sheets").toArray();
    if (sheets.size() != 1) {
        ADD_FAILURE() << "sheets: " << sheets.size();
        return saved;
    }
    saved.sheet = sheets[0].toObject();
    ReadBack::compare(saved.sheet, *file.Worksheets()[0], file);
    saved.ok = true;
    return saved;
}

// The cell records of the sheet, in stream order.
std::vector<Rec> cellRecords(const std::vector<Rec> &recs)
{
    std::vector<Rec> out;
    for (std::size_t i = sheetStart(recs); i < recs.size(); ++i) {
        switch (recs[i].id) {
        case 0x0201: case 0x027E: case 0x00BD: case 0x0203: case 0x00FD: case 0x0205: case 0x00BE: case 0x0006:
            out.push_back(recs[i]);
            break;
        default:
            break;
        }
    }
    return out;
}

// One workbook per case, as the LibreOffice check opens them. Each fills a
// new workbook and says what LibreOffice must show.
struct Case
{
    QString name;
    std::function<void(ExcelFile &)> fill;
    // Checks the CSV LibreOffice made of the sheet (lines, as shown).
    std::function<void(const QStringList &lines)> shown;
    QString sheetName = QStringLiteral("Sheet1");
};

ExcelWorksheet &sheetOf(ExcelFile &file)
{
    return *file.Worksheets()[0];
}

void fillPairs(ExcelFile &file)
{
    ExcelWorksheet &grid = sheetOf(file);
    // The first string's pair falls on the end of the first chunk, the
    // second's on the end of a continuation chunk.
    grid.CellAt(0, 0)->SetWideString(u'x' + Emoji.repeated(2500));
    grid.CellAt(1, 0)->SetWideString(QStringLiteral("xx") + Emoji.repeated(6000));
    grid.CellAt(2, 0)->SetWideString(QStringLiteral("après"));
    grid.CellAt(3, 0)->SetWideString(Emoji + QStringLiteral(" fin"));
}

void fillNonFinite(ExcelFile &file)
{
    ExcelWorksheet &grid = sheetOf(file);
    const double row[] = {1.5, NaN, 2, -Inf, Inf, -0.0, 3};
    for (int c = 0; c < int(std::size(row)); ++c)
        grid.CellAt(0, c)->SetDouble(row[c]);
}

struct Formats
{
    std::uint32_t percent, threeDecimals;
};

Formats addFormats(ExcelFile &file)
{
    ExcelFormatManager m(file);
    ExcelCellFormat percent(&m);
    percent.formatIndex = m.GetFormatIndex(QStringLiteral("0.00%"));
    ExcelCellFormat three(&m);
    three.formatIndex = m.GetFormatIndex(QStringLiteral("0.000"));
    return {m.GetXFIndex(percent), m.GetXFIndex(three)};
}

void fillCellFormats(ExcelFile &file)
{
    const Formats f = addFormats(file);
    ExcelWorksheet &grid = sheetOf(file);
    ExcelCell *a = grid.CellAt(0, 0);
    a->SetDouble(0.125);
    a->SetXFIndex(f.percent);
    // Refused: past the list, and one that would wrap to a listed index.
    ExcelCell *b = grid.CellAt(0, 1);
    b->SetDouble(2);
    b->SetXFIndex(std::uint32_t(file.Globals().xfs.size()));
    ExcelCell *c = grid.CellAt(0, 2);
    c->SetDouble(1.5);
    c->SetXFIndex(0x10000 + f.percent);
    ExcelCell *d = grid.CellAt(0, 3);
    d->SetDouble(7);
    d->SetXFIndex(f.threeDecimals);
}

void fillMerges(ExcelFile &file)
{
    ExcelWorksheet &grid = sheetOf(file);
    grid.CellAt(1, 1)->SetWideString(QStringLiteral("premier"));
    grid.CellAt(1, 1)->SetSpan(2, 2); // B2:C3
    grid.CellAt(0, 0)->SetWideString(QStringLiteral("second"));
    grid.CellAt(0, 0)->SetSpan(2, 2); // A1:B2 meets B2: refused
    grid.CellAt(0, 3)->SetWideString(QStringLiteral("troisième"));
    grid.CellAt(0, 3)->SetSpan(1, 2); // D1:E1
}

QString longFormat(int length)
{
    // 0.00" aaa…": the value, a space and letters up to the length.
    return QStringLiteral("0.00\" ") + QString(length - 7, u'a') + u'"';
}

void fillLongFormat(ExcelFile &file)
{
    ExcelFormatManager m(file);
    ExcelCellFormat longest(&m);
    longest.formatIndex = m.GetFormatIndex(longFormat(255));
    ExcelCellFormat tooLong(&m);
    tooLong.formatIndex = m.GetFormatIndex(longFormat(256));
    ExcelWorksheet &grid = sheetOf(file);
    ExcelCell *a = grid.CellAt(0, 0);
    a->SetDouble(1.5);
    a->SetXFIndex(m.GetXFIndex(longest));
    ExcelCell *b = grid.CellAt(0, 1);
    b->SetDouble(2);
    b->SetXFIndex(m.GetXFIndex(tooLong));
}

void fillSheetName(ExcelFile &file)
{
    sheetOf(file).Rename(QStringLiteral("'Bilan'"));
    sheetOf(file).CellAt(0, 0)->SetWideString(QStringLiteral("x"));
}

void fillBuiltInXFs(ExcelFile &file)
{
    ExcelFormatManager m(file);
    ExcelCellFormat hours(&m);
    hours.formatIndex = m.GetFormatIndex(QStringLiteral("[h]:mm"));
    ExcelCellFormat two(&m);
    two.formatIndex = m.GetFormatIndex(QStringLiteral("0.00"));
    ExcelWorksheet &grid = sheetOf(file);
    grid.CellAt(0, 0)->SetDouble(1);
    grid.CellAt(0, 1)->SetDouble(0.5);
    grid.CellAt(0, 1)->SetXFIndex(m.GetXFIndex(hours));
    grid.CellAt(0, 2)->SetDouble(2.5);
    grid.CellAt(0, 2)->SetXFIndex(m.GetXFIndex(two));
}

void fillCorners(ExcelFile &file)
{
    ExcelWorksheet &grid = sheetOf(file);
    grid.CellAt(0, 0)->SetWideString(QStringLiteral("nw"));
    grid.CellAt(0, 255)->SetWideString(QStringLiteral("ne"));
    grid.CellAt(65535, 0)->SetWideString(QStringLiteral("sw"));
    grid.CellAt(65535, 255)->SetWideString(QStringLiteral("se"));
}

QString line(const QStringList &fields)
{
    return fields.join(u',');
}

std::vector<Case> cases()
{
    return {
        {QStringLiteral("pairs"), fillPairs,
         [](const QStringList &lines) {
             ASSERT_GE(lines.size(), 4);
             EXPECT_EQ(lines[0], u'x' + Emoji.repeated(2500));
             EXPECT_EQ(lines[1], QStringLiteral("xx") + Emoji.repeated(6000));
             EXPECT_EQ(lines[2], QStringLiteral("après"));
             EXPECT_EQ(lines[3], Emoji + QStringLiteral(" fin"));
         }},
        {QStringLiteral("nonfinite"), fillNonFinite,
         [](const QStringList &lines) {
             ASSERT_GE(lines.size(), 1);
             EXPECT_EQ(lines[0], QStringLiteral("1.5,#NUM!,2,#NUM!,#NUM!,0,3"));
         }},
        {QStringLiteral("cellformats"), fillCellFormats,
         [](const QStringList &lines) {
             ASSERT_GE(lines.size(), 1);
             EXPECT_EQ(lines[0], QStringLiteral("12.50%,2,1.5,7.000"));
         }},
        {QStringLiteral("merges"), fillMerges,
         [](const QStringList &lines) {
             ASSERT_GE(lines.size(), 2);
             EXPECT_TRUE(lines[0].startsWith(QStringLiteral("second,,,troisième"))) << lines[0].toStdString();
             EXPECT_TRUE(lines[1].startsWith(QStringLiteral(",premier"))) << lines[1].toStdString();
         }},
        {QStringLiteral("longformat"), fillLongFormat,
         [](const QStringList &lines) {
             ASSERT_GE(lines.size(), 1);
             EXPECT_EQ(lines[0], QStringLiteral("1.50 ") + QString(248, u'a') + QStringLiteral(",2"));
         }},
        {QStringLiteral("sheetname"), fillSheetName,
         [](const QStringList &lines) {
             ASSERT_GE(lines.size(), 1);
             EXPECT_EQ(lines[0], QStringLiteral("x"));
         },
         QStringLiteral("_Bilan_")},
        {QStringLiteral("builtinxfs"), fillBuiltInXFs,
         [](const QStringList &lines) {
             ASSERT_GE(lines.size(), 1);
             EXPECT_EQ(lines[0], QStringLiteral("1,12:00,2.50"));
         }},
        {QStringLiteral("corners"), fillCorners,
         [](const QStringList &lines) {
             ASSERT_EQ(lines.size(), 65536);
             const QStringList empty(254);
             EXPECT_EQ(lines.front(), line(QStringList{QStringLiteral("nw")} + empty + QStringList{QStringLiteral("ne")}));
             EXPECT_EQ(lines.back(), line(QStringList{QStringLiteral("sw")} + empty + QStringList{QStringLiteral("se")}));
             EXPECT_EQ(lines[1000], QString(255, u','));
         }},
    };
}

const Case &caseNamed(const QString &name)
{
    static const std::vector<Case> all = cases();
    for (const Case &c : all)
        if (c.name == name)
            return c;
    std::abort();
}

// The case's own workbook, saved and read back.
Saved saveCase(ExcelFile &file, const QString &name)
{
    file.NewWorkbook();
    caseNamed(name).fill(file);
    return saveAndRead(file, name);
}

} // namespace

class ReadableFile : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!QFileInfo::exists(ReadBack::Python))
            GTEST_SKIP() << "no " << ReadBack::Python.toStdString();
    }
};

// A pair cut by a CONTINUE record made xlrd refuse the whole file.
TEST_F(ReadableFile, SurrogatePairsStayWholeAcrossStringTableChunks)
{
    ExcelFile file;
    const Saved saved = saveCase(file, QStringLiteral("pairs"));
    ASSERT_TRUE(saved.ok);
    std::size_t sst = 0;
    while (saved.recs[sst].id != 0x00FC)
        ++sst;
    const StreamReader::Sst table = StreamReader::readSst(saved.recs, sst);
    // The first chunk ends one unit early, before the pair it would cut:
    // 8 + 3 + 4105 units; the continuation cut keeps 4110 of its 4111 units.
    ASSERT_GE(table.chunkSizes.size(), 3u);
    EXPECT_EQ(table.chunkSizes[0], 8u + 3 + 2 * 4105);
    EXPECT_EQ(table.strings.at(0), u'x' + Emoji.repeated(2500));
    EXPECT_EQ(table.strings.at(1), QStringLiteral("xx") + Emoji.repeated(6000));
    bool shortContinuation = false;
    for (std::size_t size : table.chunkSizes)
        shortContinuation = shortContinuation || size == 1 + 2 * 4110;
    EXPECT_TRUE(shortContinuation);
}

// One unpaired surrogate in a text (a cut pair from a notes field, a name
// typed through a faulty input method) made xlrd refuse the whole file: each
// becomes U+FFFD, in the cells, the shared strings and the sheet's name,
// while whole pairs stay as they are.
TEST_F(ReadableFile, LoneSurrogatesBecomeReplacementCharacters)
{
    const QChar high(0xD83D), low(0xDE00), replacement(QChar::ReplacementCharacter);
    struct Row
    {
        QString written;
        QString read;
    };
    const Row rows[] = {
        {QStringLiteral("fin ") + high, QStringLiteral("fin ") + replacement},
        {low + QStringLiteral(" début"), replacement + QStringLiteral(" début")},
        {QStringLiteral("a") + high + QStringLiteral("b") + low + QStringLiteral("c"),
         QStringLiteral("a") + replacement + QStringLiteral("b") + replacement + QStringLiteral("c")},
        {QString(low) + high, QString(replacement) + replacement},
        {Emoji + high + Emoji, Emoji + replacement + Emoji},
        // A text past the cell limit, whose cut falls after a lone unit.
        {QString(32766, u'x') + high + QStringLiteral("yz"), QString(32766, u'x') + replacement + u'y'},
    };
    ExcelFile file;
    file.NewWorkbook();
    ExcelWorksheet &grid = sheetOf(file);
    grid.Rename(QStringLiteral("Bilan ") + low);
    for (int r = 0; r < int(std::size(rows)); ++r)
        grid.CellAt(r, 0)->SetWideString(rows[r].written);
    const QString path = TestFolders::file(QStringLiteral("lone.xls"));
    ASSERT_TRUE(ReadBack::save(file, path));
    const ReadBack::Check check = ReadBack::read(path);
    ASSERT_TRUE(check.ran);
    ReadBack::expectCleanLog(check.result);
    const QJsonObject sheet = check.result.value("sheets").toArray().at(0).toObject();
    EXPECT_EQ(sheet.value("name").toString(), QStringLiteral("Bilan ") + replacement);
    const auto cells = ReadBack::cellsOf(sheet);
    for (int r = 0; r < int(std::size(rows)); ++r) {
        SCOPED_TRACE(r);
        ASSERT_TRUE(cells.count({r, 0}));
        EXPECT_EQ(cells.at({r, 0}).value.toString(), rows[r].read.left(32767));
    }
}

TEST_F(ReadableFile, NonFiniteNumbersAreNumErrorsAndNegativeZeroIsZero)
{
    ExcelFile file;
    const Saved saved = saveCase(file, QStringLiteral("nonfinite"));
    ASSERT_TRUE(saved.ok);
    // 1.5 | NaN | 2 | -inf | inf | -0 3: the errors cut the runs of RK values.
    const std::vector<Rec> cells = cellRecords(saved.recs);
    std::vector<std::uint16_t> ids;
    for (const Rec &r : cells)
        ids.push_back(r.id);
    EXPECT_EQ(ids, (std::vector<std::uint16_t>{0x027E, 0x0205, 0x027E, 0x0205, 0x0205, 0x00BD}));
    for (std::size_t i : {1u, 3u, 4u})
        EXPECT_EQ(std::vector<std::uint8_t>(cells[i].data.begin() + 6, cells[i].data.end()),
                  (std::vector<std::uint8_t>{0x24, 1}))
            << "BoolErr " << i << ": error #NUM!";
    // Zero, not negative zero, in the MulRK of -0 and 3.
    EXPECT_EQ(u32(cells[5].data, 6), 0u);
}

TEST_F(ReadableFile, CellFormatsOutsideTheListAreRefused)
{
    ExcelFile file;
    file.NewWorkbook();
    const Formats f = addFormats(file);
    const std::uint32_t listed = std::uint32_t(file.Globals().xfs.size());
    ASSERT_EQ(listed, 3u);
    struct Row
    {
        std::uint32_t index;
        bool accepted;
    };
    const Row rows[] = {
        {0, true}, {f.threeDecimals, true}, {listed, false}, {listed + 100, false},
        {0x10000 + f.percent, false}, {ExcelFormatManager::NoIndex, false},
    };
    ExcelCell *cell = sheetOf(file).CellAt(0, 0);
    ASSERT_TRUE(cell->SetXFIndex(f.percent));
    for (const Row &r : rows) {
        SCOPED_TRACE(r.index);
        const std::uint32_t before = cell->xfIndex();
        EXPECT_EQ(cell->SetXFIndex(r.index), r.accepted);
        EXPECT_EQ(cell->xfIndex(), r.accepted ? r.index : before);
    }
    // A cell of no workbook has no list to choose from.
    ExcelCell loose;
    EXPECT_FALSE(loose.SetXFIndex(0));

    // Font and number-format indices past 16 bits make no cell format; a
    // format index past 16 bits is never handed out.
    ExcelFormatManager m(file);
    ExcelCellFormat wide(&m);
    wide.formatIndex = 0x10000;
    EXPECT_EQ(m.GetXFIndex(wide), ExcelFormatManager::NoIndex);
    wide.formatIndex = 0;
    wide.fontIndex = 0x10000;
    EXPECT_EQ(m.GetXFIndex(wide), ExcelFormatManager::NoIndex);
    EXPECT_EQ(file.Globals().xfs.size(), listed);
    Format last;
    last.index = 0xFFFF;
    last.text.setWide(QStringLiteral("0.0000"));
    file.Globals().formats.push_back(last);
    ExcelFormatManager full(file);
    EXPECT_EQ(full.GetFormatIndex(QStringLiteral("0.00000")), ExcelFormatManager::NoIndex);
    EXPECT_EQ(full.GetFormatIndex(QStringLiteral("0.0000")), 0xFFFFu);

    ExcelFile shown;
    const Saved saved = saveCase(shown, QStringLiteral("cellformats"));
    ASSERT_TRUE(saved.ok);
    const auto cells = ReadBack::cellsOf(saved.sheet);
    EXPECT_EQ(cells.at({0, 0}).xf, 15 + int(f.percent));
    EXPECT_EQ(cells.at({0, 1}).xf, 15);
    EXPECT_EQ(cells.at({0, 2}).xf, 15);
    EXPECT_EQ(cells.at({0, 3}).format, QStringLiteral("0.000"));
}

TEST_F(ReadableFile, OverlappingMergedRangesAreRefused)
{
    ExcelFile file;
    file.NewWorkbook();
    ExcelWorksheet &grid = sheetOf(file);
    struct Step
    {
        int row, column, rows, columns;
        bool accepted;
    };
    const Step steps[] = {
        {1, 1, 2, 2, true},       // B2:C3
        {0, 0, 2, 2, false},      // A1:B2 meets B2
        {0, 2, 4, 1, false},      // C1:C4 crosses it
        {0, 0, 4, 4, false},      // A1:D4 holds it
        {2, 2, 1, 1, true},       // 1 by 1 inside it: no range
        {0, 3, 1, 2, true},       // D1:E1 only touches C1's corner
        {0, 0, 1, 3, true},       // A1:C1 above B2:C3
        {1, 1, 3, 1, true},       // B2 made B2:B4: its own range changes
        {2, 2, 1, 2, true},       // C3:D3, free now
        {3, 0, 1, 2, false},      // A4:B4 meets B4
        {1, 1, 1, 1, true},       // B2 merges nothing any more
        {3, 0, 1, 2, true},       // so A4:B4 is free
        {65535, 255, 4, 4, true}, // IV65536, cut at the sheet's end
        {65535, 254, 1, 4, false},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(testing::Message() << s.row << "," << s.column << " " << s.rows << "x" << s.columns);
        ExcelCell *cell = grid.CellAt(s.row, s.column);
        const std::uint16_t rowsBefore = cell->rowsSpanned(), columnsBefore = cell->columnsSpanned();
        EXPECT_EQ(cell->SetSpan(std::uint16_t(s.rows), std::uint16_t(s.columns)), s.accepted);
        EXPECT_EQ(cell->rowsSpanned(), s.accepted ? s.rows : rowsBefore);
        EXPECT_EQ(cell->columnsSpanned(), s.accepted ? s.columns : columnsBefore);
    }
    EXPECT_EQ(grid.mergedRanges(),
              (std::vector<CellRange>{{0, 0, 0, 2}, {0, 0, 3, 4}, {2, 2, 2, 3}, {3, 3, 0, 1}, {65535, 65535, 255, 255}}));

    ExcelFile shown;
    const Saved saved = saveCase(shown, QStringLiteral("merges"));
    ASSERT_TRUE(saved.ok);
    // xlrd: rows and columns from, up to (excluded), in the order of the file.
    EXPECT_EQ(saved.sheet.value("merged").toArray(), QJsonArray({QJsonArray({0, 1, 3, 5}), QJsonArray({1, 3, 1, 3})}));
}

TEST_F(ReadableFile, NumberFormatsOver255UnitsAreRefused)
{
    ExcelFile file;
    file.NewWorkbook();
    ExcelFormatManager m(file);
    struct Row
    {
        QString text;
        bool accepted;
    };
    const Row rows[] = {
        {longFormat(255), true},
        {longFormat(256), false},
        {QString(252, u'0') + Emoji + u'"' + u'"', false}, // 255 characters, 256 units
        {QString(253, u'0') + Emoji, true},                // 255 units
        {QString(4000, u'0'), false},
    };
    std::uint32_t next = ExcelFormatManager::FirstUserFormat;
    for (const Row &r : rows) {
        SCOPED_TRACE(r.text.size());
        const std::size_t before = file.Globals().formats.size();
        const std::uint32_t index = m.GetFormatIndex(r.text);
        EXPECT_EQ(index, r.accepted ? next : ExcelFormatManager::NoIndex);
        EXPECT_EQ(file.Globals().formats.size(), before + (r.accepted ? 1 : 0));
        if (r.accepted)
            ++next;
    }
    // A refused format makes no cell format either.
    ExcelCellFormat refused(&m);
    refused.formatIndex = m.GetFormatIndex(longFormat(300));
    EXPECT_EQ(m.GetXFIndex(refused), ExcelFormatManager::NoIndex);

    ExcelFile shown;
    const Saved saved = saveCase(shown, QStringLiteral("longformat"));
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(ReadBack::cellsOf(saved.sheet).at({0, 0}).format, longFormat(255));
    // No Format record is continued.
    for (std::size_t i = 0; i + 1 < saved.recs.size(); ++i) {
        if (saved.recs[i].id == 0x041E) {
            EXPECT_NE(saved.recs[i + 1].id, 0x003C);
        }
    }
}

TEST_F(ReadableFile, SheetNamesNeitherStartNorEndWithAnApostrophe)
{
    const std::pair<QString, QString> names[] = {
        {QStringLiteral("'Bilan'"), QStringLiteral("_Bilan_")},
        {QStringLiteral("'"), QStringLiteral("_")},
        {QStringLiteral("''"), QStringLiteral("__")},
        {QStringLiteral("Bilan'"), QStringLiteral("Bilan_")},
        {QStringLiteral("l'été"), QStringLiteral("l'été")},
        // Cut to 31 units, the name ends with the apostrophe.
        {QString(30, u'n') + QStringLiteral("'xyz"), QString(30, u'n') + u'_'},
        {QStringLiteral("[a]'"), QStringLiteral("_a__")},
    };
    for (const auto &[given, safe] : names)
        EXPECT_EQ(ExcelWorksheet::SafeName(given), safe) << given.toStdString();

    ExcelFile file;
    const Saved saved = saveCase(file, QStringLiteral("sheetname"));
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.sheet.value("name").toString(), QStringLiteral("_Bilan_"));
}

TEST_F(ReadableFile, CellsUseCellFormatsAfterTheFifteenStyleFormats)
{
    ExcelFile file;
    const Saved saved = saveCase(file, QStringLiteral("builtinxfs"));
    ASSERT_TRUE(saved.ok);
    // The indices the caller holds are those of the list; the file's are 15 further on.
    EXPECT_EQ(file.Globals().xfs.size(), 3u);
    const auto cells = ReadBack::cellsOf(saved.sheet);
    EXPECT_EQ(cells.at({0, 0}).xf, 15);
    EXPECT_EQ(cells.at({0, 1}).xf, 16);
    EXPECT_EQ(cells.at({0, 2}).xf, 17);
    EXPECT_EQ(cells.at({0, 1}).format, QStringLiteral("[h]:mm"));
    // As xlrd takes them: style, parent.
    const QJsonArray xfs = saved.result.value("xfs").toArray();
    ASSERT_EQ(xfs.size(), 18);
    for (int i = 0; i < 18; ++i) {
        const QJsonArray xf = xfs[i].toArray();
        EXPECT_EQ(xf.at(0).toInt(), i < 15 ? 1 : 0) << i;
        EXPECT_EQ(xf.at(1).toInt(), i < 15 ? 0xFFF : 0) << i;
    }
}

TEST_F(ReadableFile, OnlyCellsGivenAValueOrAFormatWriteRecords)
{
    struct Row
    {
        const char *name;
        std::function<void(ExcelWorksheet &)> fill;
        std::size_t records;
    };
    const Row rows[] = {
        {"nothing", [](ExcelWorksheet &) {}, 0},
        {"corner", [](ExcelWorksheet &g) { g.CellAt(65535, 255)->SetDouble(1); }, 1},
        {"corners", [](ExcelWorksheet &g) {
             for (int r : {0, 65535})
                 for (int c : {0, 255})
                     g.CellAt(r, c)->SetInteger(r + c);
         }, 4},
        {"reached, not set", [](ExcelWorksheet &g) {
             for (int r = 0; r < 40; ++r)
                 g.CellAt(r, 30);
             g.CellAt(39, 30)->SetWideString(QStringLiteral("last"));
             g.CellAt(20, 10)->SetWideString(QString());
         }, 1},
        {"blank with a format", [](ExcelWorksheet &g) {
             g.CellAt(10, 3)->SetXFIndex(1);
             g.CellAt(10, 4)->SetWideString(QStringLiteral("x"));
             g.CellAt(10, 4)->SetWideString(QString());
             g.CellAt(10, 4)->SetXFIndex(1);
         }, 2},
        {"gaps", [](ExcelWorksheet &g) {
             // Rows far apart in one block and in blocks with none between.
             for (int r : {1, 5, 31, 32, 200, 5000, 65000})
                 for (int c : {2, 7, 8})
                     g.CellAt(r, c)->SetInteger(r + c);
         }, 14},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        ExcelFile file;
        file.NewWorkbook();
        addFormats(file);
        r.fill(sheetOf(file));
        const Saved saved = saveAndRead(file, QString::fromLatin1(r.name).replace(u' ', u'_'));
        ASSERT_TRUE(saved.ok);
        EXPECT_EQ(cellRecords(saved.recs).size(), r.records);
        // Two or three records per cell at most, never the grid's extent.
        const std::size_t sheetRecords = saved.recs.size() - sheetStart(saved.recs);
        EXPECT_LE(sheetRecords, 5 + 3 * r.records);
    }

    ExcelFile corners;
    const Saved saved = saveCase(corners, QStringLiteral("corners"));
    ASSERT_TRUE(saved.ok);
    EXPECT_EQ(saved.sheet.value("nrows").toInt(), 65536);
    EXPECT_EQ(saved.sheet.value("ncols").toInt(), 256);
    EXPECT_LT(saved.recs.back().offset, 2000u);
}

// LibreOffice is not part of the build machines: the check runs where it
// is installed and says so where it is not.
TEST_F(ReadableFile, LibreOfficeShowsEveryCaseAsWritten)
{
    const QString program = ReadBack::soffice();
    if (program.isEmpty())
        GTEST_SKIP() << "soffice is not installed: the files are not opened with LibreOffice";
    const QString dir = TestFolders::file(QStringLiteral("csv"));
    ASSERT_TRUE(QDir().mkpath(dir));
    QStringList files;
    for (const Case &c : cases()) {
        ExcelFile file;
        file.NewWorkbook();
        c.fill(file);
        const QString path = TestFolders::file(c.name + QStringLiteral(".xls"));
        ASSERT_TRUE(ReadBack::save(file, path));
        files << path;
    }
    ASSERT_EQ(ReadBack::convertToCsv(program, files, dir), QString());
    for (const Case &c : cases()) {
        SCOPED_TRACE(c.name.toStdString());
        const QString csv = dir + u'/' + c.name + u'-' + c.sheetName + QStringLiteral(".csv");
        const QByteArray bytes = TestFolders::readFile(csv);
        ASSERT_FALSE(bytes.isEmpty()) << "no " << csv.toStdString() << " in " << QDir(dir).entryList().join(u' ').toStdString();
        QStringList lines = QString::fromUtf8(bytes).split(u'\n');
        for (QString &l : lines)
            if (l.endsWith(u'\r'))
                l.chop(1);
        if (!lines.isEmpty() && lines.back().isEmpty())
            lines.removeLast();
        c.shown(lines);
    }
}
