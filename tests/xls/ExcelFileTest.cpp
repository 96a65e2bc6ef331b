#include "ExcelFile.h"
#include "ExcelFormatManager.h"

#include "TestFolders.h"


#include <gtest/gtest.h>

using namespace Biff8;

TEST(ExcelFile, CellAtGrowsTheGridUpToTheSheetLimits)
{
    ExcelFile file;
    file.NewWorkbook();
    ASSERT_EQ(file.Worksheets().size(), 1u);
    auto &grid = *file.Worksheets()[0];
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_EQ(grid.columnCount(), 1);
    ASSERT_NE(grid.CellAt(65535, 255), nullptr);
    EXPECT_EQ(grid.rowCount(), 65536);
    EXPECT_EQ(grid.columnCount(), 256);
    for (auto [r, c] : {std::pair{65536, 0}, {0, 256}, {-1, 0}, {0, -1}})
        EXPECT_EQ(grid.CellAt(r, c), nullptr) << r << "," << c;
    EXPECT_EQ(grid.rowCount(), 65536);
    EXPECT_EQ(grid.columnCount(), 256);
    EXPECT_EQ(grid.cell(1000, 10), nullptr);
    EXPECT_EQ(grid.CellAt(1000, 10)->kind(), ExcelCell::Empty);
}

TEST(ExcelFile, CellTextsAreCutWithoutSplittingAPair)
{
    ExcelFile file;
    file.NewWorkbook();
    file.Globals().xfs.resize(4);
    ExcelCell &cell = *file.Worksheets()[0]->CellAt(0, 0);
    ASSERT_TRUE(cell.SetXFIndex(3));
    cell.SetWideString(QStringLiteral("abc"));
    EXPECT_EQ(cell.kind(), ExcelCell::WideText);
    cell.SetWideString(QString());
    EXPECT_EQ(cell.kind(), ExcelCell::Empty);
    EXPECT_EQ(cell.xfIndex(), 3u);
    cell.SetWideString(QStringLiteral("ab") + QChar(0) + QStringLiteral("cd"));
    EXPECT_EQ(cell.wideText(), QStringLiteral("ab"));

    const QString pair = QString::fromUtf16(u"\U0001F600");
    cell.SetWideString(QString(40000, u'x'));
    EXPECT_EQ(cell.wideText().size(), ExcelCell::MaxTextLength);
    cell.SetWideString(QString(ExcelCell::MaxTextLength - 1, u'x') + pair);
    EXPECT_EQ(cell.wideText().size(), ExcelCell::MaxTextLength - 1);
    cell.SetWideString(QString(ExcelCell::MaxTextLength - 2, u'x') + pair + u'y');
    EXPECT_EQ(cell.wideText().size(), ExcelCell::MaxTextLength);
    EXPECT_TRUE(cell.wideText().back().isLowSurrogate());
    cell.SetString(QByteArray(40000, 'z'));
    EXPECT_EQ(cell.kind(), ExcelCell::NarrowText);
    EXPECT_EQ(cell.narrowText().size(), ExcelCell::MaxTextLength);
    EXPECT_TRUE(cell.wideText().isEmpty());
    cell.SetDouble(2.5);
    EXPECT_EQ(cell.kind(), ExcelCell::Number);
}

TEST(ExcelFile, RenameRefusesATakenNameAndMakesNamesSafe)
{
    ExcelFile file;
    file.NewWorkbook();
    auto &grid = *file.Worksheets()[0];
    // The default 8-bit name is never compared.
    EXPECT_TRUE(grid.Rename(QStringLiteral("Sheet1")));
    EXPECT_TRUE(grid.Rename(QStringLiteral("Feuil1")));
    EXPECT_FALSE(grid.Rename(QStringLiteral("Feuil1")));
    EXPECT_TRUE(grid.Rename(QStringLiteral("feuil1")));
    EXPECT_EQ(file.Globals().boundSheets[0].name.wide(), QStringLiteral("feuil1"));

    EXPECT_TRUE(grid.Rename(QStringLiteral("a[b]:c*d?e/f\\g")));
    EXPECT_EQ(file.Globals().boundSheets[0].name.wide(), QStringLiteral("a_b__c_d_e_f_g"));
    EXPECT_TRUE(grid.Rename(QString(40, u'n')));
    EXPECT_EQ(file.Globals().boundSheets[0].name.wide(), QString(31, u'n'));
    EXPECT_TRUE(grid.Rename(QString(30, u'n') + QString::fromUtf16(u"\U0001F600")));
    EXPECT_EQ(file.Globals().boundSheets[0].name.wide(), QString(30, u'n'));
    EXPECT_FALSE(grid.Rename(QString()));

    // A grid kept after its workbook is gone does nothing.
    std::shared_ptr<ExcelWorksheet> kept;
    {
        ExcelFile other;
        other.NewWorkbook();
        kept = other.Worksheets()[0];
    }
    EXPECT_FALSE(kept->Rename(QStringLiteral("x")));
    EXPECT_NE(kept->CellAt(0, 0), nullptr);
}

TEST(ExcelFile, NewWorkbookResetsEverything)
{
    ExcelFile file;
    EXPECT_TRUE(file.Worksheets().empty());
    file.NewWorkbook();
    file.Worksheets()[0]->CellAt(10, 10)->SetDouble(1);
    ExcelFormatManager(file).GetFormatIndex(QStringLiteral("[h]:mm"));
    file.NewWorkbook();
    EXPECT_EQ(file.Worksheets()[0]->rowCount(), 1);
    EXPECT_TRUE(file.Globals().formats.empty());
    EXPECT_EQ(file.Globals().fonts.size(), 1u);
    EXPECT_EQ(file.Globals().xfs.size(), 1u);
    EXPECT_EQ(file.Globals().boundSheets.size(), 1u);
    EXPECT_EQ(file.Globals().boundSheets[0].name.narrow(), QByteArrayLiteral("Sheet1"));
}

namespace {

// A storage whose writes fail, as a full disk would.
class FailingStorage : public CompoundFile
{
public:
    FailingStorage() : CompoundFile(QStringLiteral("unused")) {}
    int writes = 0;
    bool WriteStream(const QString &, const std::uint8_t *, std::size_t) override
    {
        ++writes;
        return false;
    }
};

} // namespace

TEST(ExcelFile, SaveReportsEveryFailureAndKeepsThePreviousFile)
{
    ExcelFile file;
    file.NewWorkbook();
    EXPECT_FALSE(file.SaveWorkbook());
    EXPECT_EQ(file.CreateWorkbookStream(), -1);

    auto failing = std::make_unique<FailingStorage>();
    FailingStorage *raw = failing.get();
    file.SetStorage(std::move(failing));
    EXPECT_EQ(file.CreateWorkbookStream(), 1);
    EXPECT_FALSE(file.SaveWorkbook());
    EXPECT_EQ(raw->writes, 1);
    file.ReleaseStorage();

    EXPECT_FALSE(file.CreateStorage(TestFolders::file(QStringLiteral("missing/folder/out.xls"))));
    EXPECT_FALSE(file.HasStorage());
    EXPECT_FALSE(file.CreateStorage(TestFolders::root()));

    // Creating the storage and giving up leaves the previous file whole.
    const QString path = TestFolders::writeFile(QStringLiteral("report.xls"), QByteArrayLiteral("previous"));
    ASSERT_TRUE(file.CreateStorage(path));
    EXPECT_EQ(file.CreateWorkbookStream(), 1);
    EXPECT_EQ(file.CreateWorkbookStream(), -1);
    file.ReleaseStorage();
    EXPECT_EQ(TestFolders::readFile(path), QByteArrayLiteral("previous"));

    ASSERT_TRUE(file.CreateStorage(path));
    ASSERT_EQ(file.CreateWorkbookStream(), 1);
    EXPECT_TRUE(file.SaveWorkbook());
    EXPECT_TRUE(TestFolders::readFile(path).startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")));
    // Saving again rewrites the whole file.
    file.Worksheets()[0]->CellAt(3, 3)->SetDouble(4);
    EXPECT_TRUE(file.SaveWorkbook());
}

TEST(FormatManager, UserFormatsStartAt164AndAreSharedBetweenManagers)
{
    ExcelFile file;
    file.NewWorkbook();
    {
        ExcelFormatManager m(file);
        EXPECT_EQ(m.GetFormatIndex(QStringLiteral("[h]:mm")), 164u);
        EXPECT_EQ(m.GetFormatIndex(QStringLiteral("[h]:mm")), 164u);
        ASSERT_EQ(file.Globals().formats.size(), 1u);
        EXPECT_EQ(file.Globals().formats[0].index, 164);
        EXPECT_EQ(file.Globals().formats[0].text.wide(), QStringLiteral("[h]:mm"));
    }
    ExcelFormatManager second(file);
    EXPECT_EQ(second.GetFormatIndex(QStringLiteral("[h]:mm")), 164u);
    EXPECT_EQ(second.GetFormatIndex(QStringLiteral("0.0 h")), 165u);
    EXPECT_EQ(second.GetFormatIndex(QStringLiteral("0.00%")), 10u);
    EXPECT_EQ(second.GetFormatIndex(QStringLiteral("[h]:mm:ss")), 46u);
    EXPECT_EQ(second.GetFormatIndex(QStringLiteral("[H]:mm:ss")), 166u);
    EXPECT_EQ(second.GetFormatIndex(QStringLiteral("_(* #,##0.00_);_(* (#,##0.00);_(* \"-\"??_);_(@_)")), 43u);
    EXPECT_EQ(second.GetFormatIndex(QStringLiteral("# ?\?/??")), 13u);
    EXPECT_EQ(file.Globals().formats.size(), 3u);

    // A Format record overrides the built-in text of its index.
    Format over;
    over.index = 20;
    over.text.setWide(QStringLiteral("hh:mm"));
    file.Globals().formats.push_back(over);
    ExcelFormatManager third(file);
    EXPECT_EQ(third.GetFormatIndex(QStringLiteral("hh:mm")), 20u);
    EXPECT_EQ(third.GetFormatIndex(QStringLiteral("h:mm")), 167u);
}

TEST(FormatManager, CellFormatsAreSharedAndNewOnesAreLockedCellFormats)
{
    ExcelFile file;
    file.NewWorkbook();
    ExcelFormatManager m(file);
    ExcelCellFormat def(&m);
    EXPECT_EQ(m.GetXFIndex(def), 0u);

    ExcelCellFormat hours(&m);
    hours.formatIndex = 164;
    EXPECT_EQ(m.GetXFIndex(hours), 1u);
    ASSERT_EQ(file.Globals().xfs.size(), 2u);
    const XF &added = file.Globals().xfs[1];
    EXPECT_EQ(added.typeProtection, 0x0001);
    EXPECT_EQ(added.usedAttributes, 0);
    EXPECT_EQ(added.format, 164);
    EXPECT_EQ(added.pattern, 0x20C0);
    EXPECT_EQ(m.GetXFIndex(hours), 1u);

    ExcelCellFormat bold(&m);
    bold.formatIndex = 164;
    bold.border = 0x1111;
    EXPECT_EQ(m.GetXFIndex(bold), 2u);
    EXPECT_EQ(file.Globals().xfs.size(), 3u);
}
