#include "CompoundFile.h"
#include "ExcelFile.h"
#include "ExcelFormatManager.h"
#include "ReadBack.h"
#include "StreamReader.h"

#include "TestFolders.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

using namespace Biff8;

using ReadBack::Python;
using ReadBack::compare;
using ReadBack::expectCleanLog;
using ReadBack::save;

class RoundTrip : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!QFileInfo::exists(Python))
            GTEST_SKIP() << "no " << Python.toStdString();
    }
};

TEST_F(RoundTrip, ReportLikeWorkbookReadsBackAsWritten)
{
    ExcelFile file;
    file.NewWorkbook();
    ExcelWorksheet &grid = *file.Worksheets()[0];
    ASSERT_TRUE(grid.Rename(QStringLiteral("Feuil%1").arg(1)));

    const QStringList header = {QStringLiteral("Projet"), QStringLiteral("Activité"), QStringLiteral("Durée"),
                                QStringLiteral("Taux"), QStringLiteral("Montant €"), QStringLiteral("Notes")};
    for (int c = 0; c < header.size(); ++c)
        grid.CellAt(0, c)->SetWideString(header[c]);
    std::uint32_t hoursXf = 0, percentXf = 0, moneyXf = 0;
    for (int r = 1; r <= 70; ++r) {
        // The export builds one manager per row.
        ExcelFormatManager manager(file);
        ExcelCellFormat hours(&manager);
        hours.formatIndex = manager.GetFormatIndex(QStringLiteral("[h]:mm"));
        hoursXf = manager.GetXFIndex(hours);
        ExcelCellFormat percent(&manager);
        percent.formatIndex = manager.GetFormatIndex(QStringLiteral("0.00%"));
        percentXf = manager.GetXFIndex(percent);
        ExcelCellFormat money(&manager);
        money.formatIndex = manager.GetFormatIndex(QStringLiteral("#,##0.00\\ \"€\""));
        moneyXf = manager.GetXFIndex(money);

        grid.CellAt(r, 0)->SetWideString(QStringLiteral("Projet %1").arg(r % 7));
        grid.CellAt(r, 1)->SetWideString(r % 3 ? QStringLiteral("Développement") : QStringLiteral("Réunion 会議"));
        ExcelCell *d = grid.CellAt(r, 2);
        d->SetDouble(r * 1800 / 86400.0);
        d->SetXFIndex(hoursXf);
        ExcelCell *p = grid.CellAt(r, 3);
        p->SetDouble(r / 100.0);
        p->SetXFIndex(percentXf);
        ExcelCell *m = grid.CellAt(r, 4);
        m->SetDouble(r * 12345.67);
        m->SetXFIndex(moneyXf);
        if (r % 10 == 0)
            grid.CellAt(r, 5)->SetWideString(QString(r * 100, QChar(u'a' + r % 26)) + QString::fromUtf16(u"\U0001F600"));
    }
    // Formulas: =1+2 with its cached number, and ="abc" with a string result.
    auto sum = std::make_shared<FormulaData>();
    const double three = 3;
    std::memcpy(sum->cachedResult.data(), &three, 8);
    sum->formula = QByteArray::fromHex("07001E01001E020003");
    grid.CellAt(72, 0)->SetFormula(sum);
    grid.CellAt(72, 1)->SetFormula(sum);
    auto text = std::make_shared<FormulaData>();
    text->cachedResult = {0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    text->formula = QByteArray::fromHex("0600170300616263");
    text->hasStringResult = true;
    text->stringResult = QStringLiteral("abc");
    grid.CellAt(72, 2)->SetFormula(text);
    grid.CellAt(71, 0)->SetWideString(QString(40000, u'x'));
    grid.CellAt(71, 0)->SetSpan(1, 3);

    const QString path = TestFolders::file(QStringLiteral("report.xls"));
    ASSERT_TRUE(save(file, path));
    const ReadBack::Check check = ReadBack::read(path);
    ASSERT_TRUE(check.ran);
    EXPECT_EQ(check.result.value("streams").toArray(), QJsonArray({QStringLiteral("Workbook")}));
    const QJsonArray sheets = check.result.value("sheets").toArray();
    ASSERT_EQ(sheets.size(), 1);
    EXPECT_EQ(sheets[0].toObject().value("name").toString(), QStringLiteral("Feuil1"));
    compare(sheets[0].toObject(), grid, file);
    EXPECT_EQ(sheets[0].toObject().value("merged").toArray(), QJsonArray({QJsonArray({71, 72, 0, 3})}));
    expectCleanLog(check.result);

    // The file holds exactly the stream we built.
    std::vector<std::uint8_t> built;
    ASSERT_TRUE(file.BuildStream(built));
    EXPECT_EQ(check.stream, built);
    EXPECT_EQ(StreamReader::checkIndex(check.stream), QString());
}

TEST_F(RoundTrip, RandomGridsReadBackAsWritten)
{
    std::mt19937_64 gen(20261209);
    const double specials[] = {0.0, -0.0, 1.0, -1.0, 536870911.0, -536870912.0, 536870912.0, -536870913.0,
                               0.01, 0.05, 0.07, 0.1, 1e-300, 1.7e308, -2.5e-10, 5368709.11, 5368709.12,
                               21474836.47, 21474836.48, std::nextafter(0.05, 1.0), 12345.67, 1.0 / 3,
                               std::nan(""), std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity()};
    const QString scripts[] = {QStringLiteral("Zoë"), QStringLiteral("Ελληνικά"), QStringLiteral("日本語テキスト"),
                               QStringLiteral("עברית"), QString::fromUtf16(u"\U0001D11E\U0001F600"), QStringLiteral("a")};
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        ExcelFile file;
        file.NewWorkbook();
        ExcelWorksheet &grid = *file.Worksheets()[0];
        std::vector<std::uint32_t> xfs = {0};
        {
            ExcelFormatManager m(file);
            for (int i = 0; i < 60; ++i) {
                ExcelCellFormat f(&m);
                f.formatIndex = m.GetFormatIndex(i % 2 ? QStringLiteral("0.%1").arg(QString(i % 9 + 1, u'0'))
                                                       : QStringLiteral("#,##0.%1\\ \"u%2\"").arg(QString(i % 5 + 1, u'#')).arg(i));
                xfs.push_back(m.GetXFIndex(f));
            }
            ExcelCellFormat builtin(&m);
            builtin.formatIndex = m.GetFormatIndex(QStringLiteral("0.00%"));
            xfs.push_back(m.GetXFIndex(builtin));
        }
        const int rows = 20 + int(gen() % 300);
        const int cols = 1 + int(gen() % 60);
        for (int i = 0; i < rows * cols * 2 / 3; ++i) {
            ExcelCell *cell = grid.CellAt(int(gen() % std::uint64_t(rows)), int(gen() % std::uint64_t(cols)));
            cell->SetXFIndex(xfs[gen() % xfs.size()]);
            switch (gen() % 7) {
            case 0: cell->SetDouble(specials[gen() % std::size(specials)]); break;
            case 1: cell->SetDouble(double(std::int64_t(gen() % 2000000001) - 1000000000) / 100); break;
            case 2: cell->SetDouble(std::ldexp(double(gen() % 1000000), int(gen() % 60) - 30)); break;
            case 3: cell->SetInteger(std::int32_t(std::uint32_t(gen()))); break;
            case 4: cell->SetWideString(scripts[gen() % std::size(scripts)] + QString::number(gen() % 40)); break;
            case 5:
                // Long texts cross the chunks of the string table, some made of surrogate pairs.
                if (gen() % 2)
                    cell->SetWideString(QString(int(gen() % 9000), QChar(u'\u0410' + int(gen() % 32))));
                else
                    cell->SetWideString(QString(int(gen() % 3), u'x') + scripts[4].repeated(int(gen() % 3000)));
                break;
            default:
                // Blank (with whatever format the cell holds) or an 8-bit text.
                if (gen() % 4 == 0)
                    cell->SetWideString(QString());
                else
                    cell->SetString(QByteArray(int(gen() % 300) + 1, char('a' + gen() % 26)));
                break;
            }
        }
        const QString path = TestFolders::file(QStringLiteral("random%1.xls").arg(round));
        ASSERT_TRUE(save(file, path));
        const ReadBack::Check check = ReadBack::read(path);
        ASSERT_TRUE(check.ran);
        const QJsonArray sheets = check.result.value("sheets").toArray();
        ASSERT_EQ(sheets.size(), 1);
        EXPECT_EQ(sheets[0].toObject().value("name").toString(), QStringLiteral("Sheet1"));
        compare(sheets[0].toObject(), grid, file);
        expectCleanLog(check.result);
        EXPECT_EQ(StreamReader::checkIndex(check.stream), QString());
    }
}

// The container keeps small streams in its mini stream and large ones in
// ordinary sectors, with more allocation sectors beyond about 7 MB.
TEST_F(RoundTrip, StreamsOfEverySizeComeBackWhole)
{
    for (std::size_t size : {std::size_t(0), std::size_t(1), std::size_t(63), std::size_t(64), std::size_t(4095),
                             std::size_t(4096), std::size_t(4097), std::size_t(100000), std::size_t(8u << 20)}) {
        SCOPED_TRACE(size);
        const QString path = TestFolders::file(QStringLiteral("s%1.bin").arg(size));
        auto storage = CompoundFile::Create(path);
        ASSERT_TRUE(storage);
        ASSERT_TRUE(storage->CreateStream(QStringLiteral("Workbook")));
        std::vector<std::uint8_t> data(size);
        std::mt19937 gen{unsigned(size)};
        for (auto &b : data)
            b = std::uint8_t(gen());
        ASSERT_TRUE(storage->WriteStream(QStringLiteral("Workbook"), data.data(), data.size()));

        QProcess p;
        const QString out = path + QStringLiteral(".out");
        p.start(Python, {QStringLiteral("-c"),
                         QStringLiteral("import olefile,sys\n"
                                        "o=olefile.OleFileIO(sys.argv[1])\n"
                                        "open(sys.argv[2],'wb').write(o.openstream('Workbook').read())\n"
                                        "print(len(o.messages) if hasattr(o,'messages') else 0)"),
                         path, out});
        ASSERT_TRUE(p.waitForFinished(120000));
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        QFile f(out);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray back = f.readAll();
        ASSERT_EQ(std::size_t(back.size()), size);
        EXPECT_TRUE(std::equal(data.begin(), data.end(), reinterpret_cast<const std::uint8_t *>(back.constData())));
    }
}
