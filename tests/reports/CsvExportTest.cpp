// The CSV export: quoting, then whole files read back by Python's own csv
// module with several separators.
#include "ExportFixture.h"
#include "CsvReadBack.h"
#include "ReportCsvExport.h"
#include "TestFolders.h"

#include <QFile>

namespace {

class CsvExportTest : public ExportFixture
{
};

} // namespace

TEST(CsvFieldTest, QuotesOnlyWhatNeedsIt)
{
    struct Case
    {
        const char16_t *text;
        const char16_t *separator;
        const char16_t *field;
    };
    const Case cases[] = {
        {u"plain", u";", u"plain"},
        {u"", u";", u""},
        {u"a;b", u";", u"\"a;b\""},
        {u"a;b", u"\t", u"a;b"},
        {u"a\tb", u"\t", u"\"a\tb\""},
        {u"say \"hi\"", u"|", u"\"say \"\"hi\"\"\""},
        {u"two\nlines", u";", u"\"two\nlines\""},
        {u"cr\r", u";", u"\"cr\r\""},
        {u"a||b", u"||", u"\"a||b\""},
        {u"a|b", u"||", u"a|b"},
        {u"=1+1", u";", u"=1+1"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReportCsvExport::Field(QString::fromUtf16(c.text), QString::fromUtf16(c.separator)),
                  QString::fromUtf16(c.field))
            << QString::fromUtf16(c.text).toStdString();
    EXPECT_EQ(ReportCsvExport::Line({"a", "b;c", ""}, ";"), QStringLiteral("a;\"b;c\";"));
}

TEST_F(CsvExportTest, EveryCellReadsBackWithEachSeparator)
{
    build(trickyEntries());
    for (const QString &separator : {QStringLiteral("\t"), QStringLiteral(";"), QStringLiteral("|")}) {
        for (int mode : {0, 1, 2}) {
            const QString path = TestFolders::file(QStringLiteral("report.csv"));
            ASSERT_TRUE(ReportCsvExport::Write(model, path, mode, separator));
            const std::vector<QStringList> expected = exportRows(mode);
            EXPECT_EQ(CsvReadBack::read(path, separator), expected) << "separator " << separator.toStdString() << " mode "
                                                            << mode;
            EXPECT_EQ(expected.size(), mode == 2 ? 4u : 9u);
        }
    }
}

TEST_F(CsvExportTest, TheFileIsUtf8WithAMarkAndCrLfLines)
{
    build({entry(1, At(2024, 3, 1, 9), 600, 4, -1, QStringLiteral("Été"))}, {9});
    const QString path = TestFolders::file(QStringLiteral("r.csv"));
    ASSERT_TRUE(ReportCsvExport::Write(model, path, 2, QStringLiteral(";")));
    EXPECT_EQ(TestFolders::readFile(path), QByteArray("\xEF\xBB\xBFTitre\r\n\xC3\x89t\xC3\xA9\r\n"));
}

TEST_F(CsvExportTest, AnEmptyReportGivesTheCaptionsOnly)
{
    build({}, {0, 5});
    const QString path = TestFolders::file(QStringLiteral("empty.csv"));
    ASSERT_TRUE(ReportCsvExport::Write(model, path, 2, QStringLiteral(";")));
    EXPECT_EQ(CsvReadBack::read(path, ";"), (std::vector<QStringList>{model.GetColumnCaptions()}));
}

TEST_F(CsvExportTest, AFailedWriteLeavesTheTargetAlone)
{
    build(trickyEntries());
    const QString plain = TestFolders::writeFile(QStringLiteral("plain"), "not a folder");
    EXPECT_FALSE(ReportCsvExport::Write(model, plain + QStringLiteral("/r.csv"), 0, QStringLiteral(";")));
    EXPECT_FALSE(ReportCsvExport::Write(model, TestFolders::file(QStringLiteral("missing/r.csv")), 0,
                                        QStringLiteral(";")));
    const QString old = TestFolders::writeFile(QStringLiteral("old.csv"), "old");
    EXPECT_FALSE(ReportCsvExport::Write(model, old, 0, QString())) << "no separator";
    EXPECT_EQ(TestFolders::readFile(old), QByteArray("old"));
    EXPECT_EQ(TestFolders::readFile(plain), QByteArray("not a folder"));
}
