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
#include <QLocale>
#include <QRegularExpression>

namespace {

class CsvExportTest : public ExportFixture
{
};

// What a spreadsheet runs as a formula when a cell begins with it.
bool startsLikeAFormula(const QString &text)
{
    return !text.isEmpty() && QStringLiteral("=+-@\t\r").contains(text.front());
}

// A figure as the report writes it, read as a spreadsheet of the same
// language reads it: a duration or a time "h:mm" or "h:mm:ss", or a number
// with the locale's decimal mark, its group separators, and a currency or
// percent sign; a negative amount with a minus sign or between
// parentheses.
bool readsAsNumber(QString text, const QLocale &locale, double &value)
{
    static const QRegularExpression span(QStringLiteral("^(-?)(\\d+):(\\d\\d)(?::(\\d\\d))?$"));
    if (const QRegularExpressionMatch m = span.match(text); m.hasMatch()) {
        value = m.captured(2).toDouble() + m.captured(3).toDouble() / 60 + m.captured(4).toDouble() / 3600;
        if (!m.captured(1).isEmpty())
            value = -value;
        return true;
    }
    text.remove(locale.currencySymbol());
    text.remove(locale.groupSeparator());
    for (const QChar c : {QChar(u'%'), QChar(u' '), QChar(0x00A0), QChar(0x202F)})
        text.remove(c);
    text.replace(locale.decimalPoint(), QStringLiteral("."));
    const bool negative = text.startsWith(u'(') && text.endsWith(u')');
    if (negative)
        text = text.mid(1, text.size() - 2);
    bool ok = false;
    value = text.toDouble(&ok);
    if (negative)
        value = -value;
    return ok;
}

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
            std::vector<QStringList> expected = exportRows(mode);
            // The title that a spreadsheet would run is written as text.
            for (QStringList &row : expected)
                row.replaceInStrings(QRegularExpression(QStringLiteral("^=SOMME")), QStringLiteral("'=SOMME"));
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

// Names that a spreadsheet would run as formulas (a project or activity
// name, a title or a note that came from a network folder or a device) are
// written after an apostrophe, also as a group's name in a column of
// figures and as a column's caption; figures, negative amounts included,
// are written as they are and read back as numbers.
TEST_F(CsvExportTest, TextsThatLookLikeFormulasStayTextAndFiguresStayNumbers)
{
    const QString names[] = {QStringLiteral("=2+3"),       QStringLiteral("+2+3"),   QStringLiteral("-2+3"),
                             QStringLiteral("@SOMME(A1)"), QStringLiteral("\t=2+3"), QStringLiteral("\r=2+3")};
    std::vector<tReportEntry> entries;
    for (int i = 0; i < 6; ++i) {
        project(11 + i, names[i] + QStringLiteral(" projet"), -1);
        activity(21 + i, names[i] + QStringLiteral(" activité"));
        // Half of the lines at a negative rate: amounts of both signs.
        tReportEntry e = entry(i + 1, At(2024, 3, 1 + i, 9), 1800 + 600 * i, 11 + i, i % 2 ? 9 : 5, names[i],
                               names[(i + 1) % 6] + QStringLiteral(" note"));
        e.IdActivite = 21 + i;
        entries.push_back(e);
    }
    rate(9, QStringLiteral("Remise"), -45.0f);
    snapshot = tReportSnapshot::Take(&store);
    definition.Grp = {3, 4, -1, -1, -1};
    // What the file must hold for each name: the export's text (no CR) as
    // text.
    QStringList expectedNames;
    for (const QString &name : names) {
        QString text = name;
        text.remove(u'\r');
        expectedNames << u'\'' + text;
    }
    // French amounts below zero stand between parentheses, German ones
    // after a minus sign, which a spreadsheet must still read as numbers.
    for (const QLocale &locale : {QLocale(QLocale::French, QLocale::France),
                                  QLocale(QLocale::German, QLocale::Germany)})
    for (int first : {-1, 7, 5}) {
        config.SetLocale(locale);
        build(entries, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 19, 20}, first);
        definition.Columns[definition.Columns.IndexOfKind(9)].Caption = QStringLiteral("=Titre");
        model.SetDefinition(definition);
        model.RelabelColumns();
        for (const QString &separator : {QStringLiteral(";"), QStringLiteral("\t")}) {
            SCOPED_TRACE(QStringLiteral("%1, first column %2, separator %3")
                             .arg(locale.name())
                             .arg(first)
                             .arg(separator)
                             .toStdString());
            const QString path = TestFolders::file(QStringLiteral("formulas.csv"));
            ASSERT_TRUE(ReportCsvExport::Write(model, path, 1, separator));
            const std::vector<QStringList> read = CsvReadBack::read(path, separator);
            ASSERT_EQ(read.size(), exportRows(1).size());
            EXPECT_TRUE(read[0].contains(QStringLiteral("'=Titre"))) << read[0].join(u'|').toStdString();
            QStringList texts;
            int negatives = 0;
            int minusSigns = 0;
            int r = 1;
            for (const CTreeItem *row = model.FirstExportItem(1); row; row = model.NextExportItem(1), ++r) {
                ASSERT_EQ(read[size_t(r)].size(), model.ColumnCount());
                for (int c = 0; c < model.ColumnCount(); ++c) {
                    const QString written = model.GetExportText(c, row);
                    const QString cell = read[size_t(r)][c];
                    const int kind = model.Columns()[size_t(c)].Kind;
                    const bool figure = (kind >= 3 && kind <= 7) || kind == 19 || kind == 20;
                    if (figure && !CReportModel::IsRowLabel(c, row)) {
                        EXPECT_EQ(cell, written) << "row " << r << " column " << c;
                        double value = 0;
                        if (!cell.isEmpty()) {
                            EXPECT_TRUE(readsAsNumber(cell, locale, value)) << cell.toStdString();
                            negatives += value < 0;
                            minusSigns += cell.startsWith(u'-');
                        }
                        continue;
                    }
                    texts << cell;
                    EXPECT_FALSE(startsLikeAFormula(cell)) << "row " << r << " column " << c << ": "
                                                           << cell.toStdString();
                    EXPECT_EQ(cell, startsLikeAFormula(written) ? u'\'' + written : written);
                }
            }
            EXPECT_GT(negatives, 0) << "negative amounts are numbers, never text";
            if (locale.language() == QLocale::German) {
                EXPECT_GT(minusSigns, 0) << "also after a minus sign";
            }
            for (const QString &name : expectedNames) {
                EXPECT_TRUE(texts.contains(name)) << "title " << name.toStdString();
                EXPECT_TRUE(texts.contains(name + QStringLiteral(" projet"))) << name.toStdString();
                EXPECT_TRUE(texts.contains(name + QStringLiteral(" activité"))) << name.toStdString();
                EXPECT_TRUE(texts.contains(name + QStringLiteral(" note"))) << name.toStdString();
            }
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
