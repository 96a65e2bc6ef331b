// The CSV export: quoting, then whole files read back by Python's own csv
// module with several separators.
#include "ExportFixture.h"
#include "CsvReadBack.h"
#include "FileCommit.h"
#include "ReportCsvExport.h"
#include "TestFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

// The invoiced flag, a picture on screen, is written in words.
TEST_F(CsvExportTest, TheInvoicedFlagIsWrittenInWords)
{
    std::vector<tReportEntry> entries{entry(1, At(2024, 3, 1, 9), 600, 4, -1, QStringLiteral("un")),
                                      entry(2, At(2024, 3, 1, 10), 600, 4, -1, QStringLiteral("deux"))};
    entries[0].Facture = true;
    build(entries, {9, 8});
    const QString path = TestFolders::file(QStringLiteral("invoiced.csv"));
    ASSERT_TRUE(ReportCsvExport::Write(model, path, 2, QStringLiteral(";")));
    EXPECT_EQ(CsvReadBack::read(path, QStringLiteral(";")),
              (std::vector<QStringList>{model.GetColumnCaptions(), {"Oui", "un"}, {"Non", "deux"}}));
    EXPECT_EQ(model.GetColumnCaptions().value(0), QStringLiteral("Facturée"));
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

// A lone surrogate (half of a pair, as a damaged name may hold) is written
// as U+FFFD, never as "?"; a pair stays whole.
TEST_F(CsvExportTest, ALoneSurrogateIsWrittenAsTheReplacementCharacter)
{
    const QString lone = QStringLiteral("a") + QChar(0xD83D) + QStringLiteral("b");
    const QString late = QStringLiteral("c") + QChar(0xDE00);
    build({entry(1, At(2024, 3, 1, 9), 600, 4, -1, lone, late + QString::fromUtf16(u"\U0001F600"))}, {9, 10});
    const QString path = TestFolders::file(QStringLiteral("lone.csv"));
    ASSERT_TRUE(ReportCsvExport::Write(model, path, 2, QStringLiteral(";")));
    EXPECT_EQ(TestFolders::readFile(path), QByteArray("\xEF\xBB\xBFTitre;Notes\r\n"
                                                      "a\xEF\xBF\xBD"
                                                      "b;c\xEF\xBF\xBD\xF0\x9F\x98\x80\r\n"));
}

// A file whose replacement of the target fails (a target that cannot be
// replaced, a full disk at the last step) is a failed export that leaves
// nothing at the path, and an earlier file as it was.
TEST_F(CsvExportTest, AFailedCommitLeavesNoFile)
{
    build(trickyEntries());
    QStringList asked;
    Platform::FileCommit::setFault([&](const QString &path) {
        asked << path;
        return true;
    });
    const QString path = TestFolders::file(QStringLiteral("commit/r.csv"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    const bool written = ReportCsvExport::Write(model, path, 0, QStringLiteral(";"));
    const QString old = TestFolders::writeFile(QStringLiteral("commit/old.csv"), "old");
    const bool overwritten = ReportCsvExport::Write(model, old, 0, QStringLiteral(";"));
    Platform::FileCommit::setFault({});
    EXPECT_FALSE(written);
    EXPECT_FALSE(overwritten);
    EXPECT_EQ(asked, (QStringList{path, old}));
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.csv"});
    EXPECT_EQ(TestFolders::readFile(old), QByteArray("old"));
}
