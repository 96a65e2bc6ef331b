// Report pages laid out from a template: print lines from the report's
// tree, page starts, and pages drawn into images (a template of round
// heights at 254 dpi, where a tenth of a millimetre is a pixel).
#include "CBigHeaderCtrl.h"
#include "CReportGrid.h"
#include "CReportModel.h"
#include "CReportPrintLayout.h"
#include "CReportTemplate.h"
#include "ReportFixture.h"
#include "ReportPlaceholders.h"
#include "TestFolders.h"
#include "tReportDefinition.h"

#include <QImage>
#include <QPainter>

namespace {

// Every section 100 high; boxes and data lines filled in a colour of their
// own so that a page shows where each section stands. Data lines are single
// line (format 4): a line measures its nominal height.
const char *const StubTemplate = R"([Zarvo template, Version=1]
[Header]
params=100
box=0;100;0;1;0;1000;0;1;0;0;1;0xFF0000
[Title]
params=100
[DataHeader]
params=100
data=0;100;0;1;0;1000;0;1;0;0;1;0x808080;;Arial;4;0;0;0;0;0;4;0;0;0;0;0;1;0
[DataLineEven]
params=100
data=0;100;0;1;0;1000;0;1;0;0;1;0x00FF00;;Arial;4;0;0;0;0;0;4;0;0;0;0;0;1;0
[DataLineOdd]
params=100
data=0;100;0;1;0;1000;0;1;0;0;1;0x0000FF;;Arial;4;0;0;0;0;0;4;0;0;0;0;0;1;0
[DataFooter]
params=100
data=0;100;0;1;0;1000;0;1;0;0;1;0xFFFF00;;Arial;4;0;0;0;0;0;4;0;0;0;0;0;1;0
[GroupHeader=1]
params=100
data=0;100;0;1;0;1000;0;1;0;0;1;0xFF8000;;Arial;4;0;0;0;0;0;4;0;0;0;0;0;1;0
[GroupFooter=1]
params=100
data=0;100;0;1;0;1000;0;1;0;0;1;0x804000;;Arial;4;0;0;0;0;0;4;0;0;0;0;0;1;0
[End]
params=100
box=0;100;0;1;0;1000;0;1;0;0;1;0x00FFFF
[Footer]
params=100
box=0;100;0;1;0;1000;0;1;0;0;1;0xFF00FF
)";

const QRgb Red = qRgb(255, 0, 0), Grey = qRgb(128, 128, 128), Green = qRgb(0, 255, 0), Blue = qRgb(0, 0, 255),
           Yellow = qRgb(255, 255, 0), Orange = qRgb(255, 128, 0), Brown = qRgb(128, 64, 0),
           Cyan = qRgb(0, 255, 255), Magenta = qRgb(255, 0, 255);

QImage Page(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(10000); // 254 dpi
    image.setDotsPerMeterY(10000);
    image.fill(Qt::white);
    return image;
}

class PrintLayoutTest : public ReportFixture
{
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        definition.Type = 0;
        definition.Detail = true;
        definition.Projets.clear();
        definition.Activites.clear();
        definition.MargeLeft = definition.MargeTop = definition.MargeRight = definition.MargeBottom = 0;
        definition.TitreAuto = false;
        definition.Titre = QStringLiteral("Mon rapport");
        InitReportPlaceholders();
        const QString path = TestFolders::writeFile(QStringLiteral("stub.tpl"), StubTemplate);
        ASSERT_EQ(tpl.Load(QString(), path, QString()), CReportTemplate::Loaded);
        layout.SetTemplate(&tpl);
        layout.SetConfiguration(&config);
    }

    tReportEntry entry(int id, int project = 4)
    {
        tReportEntry e;
        e.Id = id;
        e.Debut = At(2024, 3, 1, 8) + id * 600;
        e.Fin = e.Debut + 600;
        e.IdProjet = project;
        e.IdActivite = 7;
        return e;
    }
    void build(const std::vector<tReportEntry> &entries)
    {
        definition.SetDefaultColumns(definition.Columns);
        buildWithColumns(entries);
    }
    // With the definition's columns as they are.
    void buildWithColumns(const std::vector<tReportEntry> &entries)
    {
        model.SetDefinition(definition);
        model.SetSnapshot(std::make_shared<tReportSnapshot>(snapshot));
        model.ResetForRefresh();
        model.BuildColumns();
        model.SetTotalRow(QStringLiteral("Total :"), true);
        for (const tReportEntry &e : entries)
            model.AddEntryLine(e);
        model.ShowRows();
        layout.BuildPrintLines(model);
    }
    void build(int count, int project = 4)
    {
        std::vector<tReportEntry> entries;
        for (int i = 1; i <= count; ++i)
            entries.push_back(entry(i, project));
        build(entries);
    }
    // A project tracking of the fixture's projects, with its default
    // columns: a line a node, no total.
    void buildTracking()
    {
        definition.Type = 4;
        definition.Columns.SetType(CReportColumnSet::TrackingColumns);
        definition.SetDefaultColumns(definition.Columns);
        model.SetDefinition(definition);
        model.SetSnapshot(std::make_shared<tReportSnapshot>(snapshot));
        model.SetProjectStore(&store);
        model.ResetForRefresh();
        model.AddForecastRows();
        model.ShowRows();
        layout.BuildPrintLines(model);
    }
    QString kinds() const
    {
        QString out;
        for (const CReportPrintLayout::tLine &line : layout.Lines())
            out += QString::number(line.Kind);
        return out;
    }
    void paginate(int width = 1000, int height = 1000)
    {
        paper = Page(width, height);
        layout.SetUpPrintContext(CReportPrintLayout::PreviewContext, &paper, paper.rect());
    }
    QImage draw(int page)
    {
        QImage image = Page(paper.width(), paper.height());
        QPainter painter(&image);
        layout.DrawPage(CReportPrintLayout::PreviewContext, painter, page);
        return image;
    }
    // The page (from 1) that holds print line `index`.
    int pageOf(int index) const
    {
        int page = 0;
        for (int start : layout.PageStarts())
            if (start >= 0 && start <= index)
                ++page;
        return page;
    }

    tReportDefinition definition;
    CReportModel model;
    CReportTemplate tpl;
    CReportPrintLayout layout;
    QImage paper;
};

TEST_F(PrintLayoutTest, GroupsOpenAndCloseAroundTheirLinesAndColumnsTakeTheirShare)
{
    definition.Grp = {3, -1, -1, -1, -1};
    build({entry(1, 2), entry(2, 2), entry(3, 4)});
    // Clients > Alpha > two entries; Interne > one entry; the total.
    EXPECT_EQ(kinds(), QStringLiteral("0033110314"));
    const auto &lines = layout.Lines();
    EXPECT_EQ(lines[4].Row, lines[1].Row) << "Alpha's footing closes Alpha first";
    EXPECT_EQ(lines[5].Row, lines[0].Row);
    EXPECT_EQ(lines.back().Row, model.TotalRow());

    // Without detail the deepest level's groups are the lines: Clients,
    // Alpha below it, Interne.
    definition.Detail = false;
    build({entry(1, 2), entry(2, 4)});
    EXPECT_EQ(kinds(), QStringLiteral("3334"));

    int sum = 0;
    ASSERT_EQ(layout.Columns().size(), size_t(model.ColumnCount()));
    for (int i = 0; i < model.ColumnCount(); ++i) {
        const int listAlign = model.Columns()[size_t(i)].Align;
        EXPECT_EQ(layout.Columns()[size_t(i)].Align, listAlign == 1 ? 2 : listAlign == 2 ? 1 : 0) << i;
        sum += layout.Columns()[size_t(i)].Width;
    }
    EXPECT_LE(sum, 1000);
    EXPECT_GT(sum, 1000 - model.ColumnCount());
    EXPECT_EQ(layout.Captions(), model.GetColumnCaptions());
}

// Pages break before the footer, and the report's closing (its grand
// total) is never alone on the last page: where it finds no room below the
// last line, the last line and what closes after it (the group's footing,
// the total) open a page with it, in a report of entries, a grouped one and
// a project tracking (no total line).
TEST_F(PrintLayoutTest, PagesBreakBeforeTheFooterAndTheClosingKeepsTheLastLines)
{
    // Page 1 has room for six lines below header, title and headings (300
    // to 900), later pages for seven (200 to 900); the footer takes the
    // last 100.
    const struct {
        const char *what;
        int entries;
        bool grouped;
        std::vector<int> starts;
    } cases[] = {
        {"five lines end at 800: the closing fits", 4, false, {0}},
        {"six lines end at 900: the last entry and the total go with it", 5, false, {0, 4}},
        {"six, then seven lines: the last entry and the total go", 12, false, {0, 6, 11}},
        {"six, then six lines: the closing fits", 11, false, {0, 6}},
        {"grouped: the last entry, the group's footing and the total go", 10, true, {0, 6, 10}},
        {"grouped: the closing fits", 9, true, {0, 6}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        definition.Grp = {c.grouped ? 3 : -1, -1, -1, -1, -1};
        build(c.entries);
        paginate();
        EXPECT_EQ(layout.PageStarts(), c.starts);
        // A last page after the first opens on its lines.
        if (layout.GetPageCount() > 1) {
            EXPECT_EQ(draw(layout.GetPageCount()).pixel(500, 250), Green) << "the even line opens the page";
        }
    }

    // A project tracking: four nodes, no total. On a page of 850 the four
    // nodes fit above the footer, the closing does not: the last node goes
    // with it. On a page of 1000 the closing fits below them.
    buildTracking();
    ASSERT_EQ(kinds(), QStringLiteral("3333"));
    paginate(1000, 850);
    EXPECT_EQ(layout.PageStarts(), (std::vector<int>{0, 3}));
    const QImage last = draw(2);
    EXPECT_EQ(last.pixel(500, 250), Green) << "the last node";
    EXPECT_EQ(last.pixel(500, 350), Cyan) << "the closing below it";
    paginate(1000, 1000);
    EXPECT_EQ(layout.PageStarts(), (std::vector<int>{0})) << "the closing fits";
}

TEST_F(PrintLayoutTest, AnEmptyGroupedReportIsOnePageWithItsTotal)
{
    definition.Grp = {3, -1, -1, -1, -1};
    build(0);
    EXPECT_EQ(kinds(), QStringLiteral("4"));
    paginate();
    ASSERT_EQ(layout.GetPageCount(), 1);
    const QImage page = draw(1);
    const struct {
        int y;
        QRgb colour;
    } bands[] = {{50, Red}, {150, qRgb(255, 255, 255)}, {250, Grey}, {350, Yellow}, {450, Cyan},
                 {550, qRgb(255, 255, 255)}, {950, Magenta}};
    for (const auto &b : bands)
        EXPECT_EQ(page.pixel(500, b.y), b.colour) << b.y;
}

TEST_F(PrintLayoutTest, AGroupAcrossABreakAndTheZebraStartingAgain)
{
    definition.Grp = {3, -1, -1, -1, -1};
    build(8);
    ASSERT_EQ(kinds(), QStringLiteral("03333333314"));
    paginate();
    EXPECT_EQ(layout.PageStarts(), (std::vector<int>{0, 6}));
    EXPECT_EQ(pageOf(0), 1) << "the heading";
    EXPECT_EQ(pageOf(9), 2) << "the footing where the last line falls";

    const QImage first = draw(1);
    EXPECT_EQ(first.pixel(500, 350), Orange);
    EXPECT_EQ(first.pixel(500, 450), Green);
    EXPECT_EQ(first.pixel(500, 550), Blue);
    EXPECT_EQ(first.pixel(500, 850), Green) << "the fifth detail line";
    const QImage second = draw(2);
    EXPECT_EQ(second.pixel(500, 50), Red) << "the page heading again";
    EXPECT_EQ(second.pixel(500, 150), Grey) << "the column headings again";
    EXPECT_EQ(second.pixel(500, 250), Green) << "the even line opens every page";
    EXPECT_EQ(second.pixel(500, 350), Blue);
    EXPECT_EQ(second.pixel(500, 550), Brown);
    EXPECT_EQ(second.pixel(500, 650), Yellow);
    EXPECT_EQ(second.pixel(500, 750), Cyan);
    EXPECT_EQ(second.pixel(500, 950), Magenta);
}

TEST_F(PrintLayoutTest, ALineTallerThanThePageStaysOnAPageOfItsOwn)
{
    build(3);
    // A page of 400, which the template's page (500) does not fit without
    // margins: the first line meets no room but stays.
    paginate(1000, 400);
    EXPECT_EQ(layout.PageStarts(), (std::vector<int>{0, 1, 2, 3, -1}));
    EXPECT_TRUE(layout.NoRoomMessage().isEmpty()) << "no margin to blame";
}

// Margins that leave the report no room (a definition stored so, a paper
// changed since) give no blank pages: one page says which margin is too
// large, for the page heading, the title, the column headings, a line and
// the footer of the template (500) or the least width across; margins
// that leave room lay the pages out.
TEST_F(PrintLayoutTest, MarginsThatLeaveNoRoomGiveOnePageThatSaysWhich)
{
    build(12);
    const struct
    {
        int left, top, right, bottom;
        const char *says; // the start of the message; null: the pages are laid out
    } cases[] = {
        {0, 300, 0, 201, "La marge du haut est trop grande"},
        {0, 100, 0, 450, "La marge du bas est trop grande"},
        {0, 5000, 0, 0, "La marge du haut est trop grande"},
        {500, 0, 400, 0, "La marge de gauche est trop grande"},
        {0, 0, 900, 0, "La marge de droite est trop grande"},
        {400, 250, 400, 250, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.says ? c.says : "room left");
        definition.MargeLeft = c.left;
        definition.MargeTop = c.top;
        definition.MargeRight = c.right;
        definition.MargeBottom = c.bottom;
        model.SetDefinition(definition);
        paginate();
        if (!c.says) {
            EXPECT_TRUE(layout.NoRoomMessage().isEmpty());
            EXPECT_GT(layout.GetPageCount(), 1);
            continue;
        }
        EXPECT_TRUE(layout.NoRoomMessage().startsWith(QString::fromUtf8(c.says))) << qPrintable(layout.NoRoomMessage());
        ASSERT_EQ(layout.GetPageCount(), 1);
        // The page tells it: ink in its middle, none of the template's
        // colours.
        const QImage page = draw(1);
        bool ink = false;
        for (int y = 0; y < page.height() && !ink; y += 2)
            for (int x = 0; x < page.width() && !ink; x += 2)
                ink = qGray(page.pixel(x, y)) < 160;
        EXPECT_TRUE(ink) << "the message is drawn";
        for (QRgb colour : {Red, Green, Blue, Magenta, Cyan}) {
            bool found = false;
            for (int y = 0; y < page.height() && !found; y += 5)
                for (int x = 0; x < page.width() && !found; x += 5)
                    found = page.pixel(x, y) == colour;
            EXPECT_FALSE(found) << std::hex << colour;
        }
    }
}

TEST_F(PrintLayoutTest, AMissingOrBrokenTemplateGivesOneErrorPage)
{
    build(20);
    QImage missing, broken;
    for (const char *content : {static_cast<const char *>(nullptr), "not a template"}) {
        const QString path = content ? TestFolders::writeFile(QStringLiteral("bad.tpl"), content)
                                     : TestFolders::file(QStringLiteral("none.tpl"));
        tpl.Load(QString(), path, QString());
        paginate();
        EXPECT_EQ(layout.GetPageCount(), 1);
        (content ? broken : missing) = draw(1);
    }
    EXPECT_EQ(tpl.GetLoadState(), CReportTemplate::NotATemplate);
    bool ink = false;
    for (int y = 80; y < 200 && !ink; ++y)
        for (int x = 0; x < 1000 && !ink; ++x)
            ink = missing.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_TRUE(ink) << "the message below the icon";
    EXPECT_NE(missing, broken) << "two messages";
}

// The grand total is the total row's last cell that holds a total: the
// default columns of a detail report end with the invoiced flag, whose
// total cell is empty; a last column with a total gives it as it is; the
// first cell, the row's label, is no total.
TEST_F(PrintLayoutTest, TheContextSetsTheReportsPlaceholdersAndEachPageItsNumber)
{
    const struct
    {
        const char *what;
        int type;
        bool invoicedShown;
        std::vector<int> only; // the kinds shown (in the order of kinds); empty: the default columns
        int totalKind;         // the column whose total [Total] is; -1: none
    } cases[] = {
        {"time, the invoiced flag last", 0, true, {}, 5},
        {"time and cost, the invoiced flag last", 2, true, {}, 7},
        {"time, the duration last", 0, false, {}, 5},
        {"time and cost, the cost last", 2, false, {}, 7},
        {"a cost before a title", 1, false, {0, 7, 9}, 7},
        {"the name alone", 0, false, {1}, -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        definition.Type = c.type;
        definition.ShowStatus = c.invoicedShown;
        definition.Columns.SetType(CReportColumnSet::TypeForReportKind(c.type));
        definition.SetDefaultColumns(definition.Columns);
        if (!c.only.empty()) {
            for (int i = 0; i < definition.Columns.Count(); ++i)
                definition.Columns[i].Shown = false;
            for (int kind : c.only)
                definition.Columns.ShowKind(kind);
            definition.Columns.SetDefault(false);
        }
        std::vector<tReportEntry> entries;
        for (int i = 1; i <= 12; ++i) {
            entries.push_back(entry(i));
            entries.back().IdTauxHoraire = 5;
        }
        buildWithColumns(entries);
        paginate();
        const int last = model.ColumnCount() - 1;
        ASSERT_GE(last, 0);
        EXPECT_EQ(model.Columns()[size_t(last)].Kind == 8, c.invoicedShown);
        QString expected;
        for (int column = 0; column <= last; ++column)
            if (model.Columns()[size_t(column)].Kind == c.totalKind)
                expected = model.GetCellText(column, model.TotalRow(), false, false);
        EXPECT_EQ(expected.isEmpty(), c.totalKind == -1) << "12 entries of 10 minutes at 60 an hour";
        QString text = QStringLiteral("[Title]|[Total]");
        ReplacePlaceholders(text);
        EXPECT_EQ(text, QStringLiteral("Mon rapport|") + expected);
    }
    definition.Columns.SetType(CReportColumnSet::TypeForReportKind(0));
    definition.Type = 0;
    build(12);
    paginate();
    draw(2);
    QString text = QStringLiteral("[NumPage]/[NbPage]");
    ReplacePlaceholders(text);
    EXPECT_EQ(text, QStringLiteral("2/3"));
}

TEST_F(PrintLayoutTest, ProjectTrackingHasNoTotalAndIndentsItsNodes)
{
    buildTracking();
    // Clients > Alpha > Alpha-Web, Interne: detail lines only.
    EXPECT_EQ(kinds(), QStringLiteral("3333"));
    QStringList firstCells;
    for (const auto &line : layout.Lines())
        firstCells << layout.LineTexts(line).value(0);
    EXPECT_EQ(firstCells, (QStringList{"Clients", "   Alpha", "      Alpha-Web", "Interne"}));
}

TEST_F(PrintLayoutTest, AHostileTemplateLaysOutAndDrawsWithinBounds)
{
    const QByteArray longLabel(1 << 20, 'W');
    const QByteArray hostile = "[Zarvo template, Version=1]\n[Header]\nparams=2147483647\n"
                               "box=-2147483648;2147483647;2;1;2147483647;2147483647;15;2147483647;3;0;1;0x102030\n"
                               "[DataLineEven]\nparams=-500\n"
                               "data=0;-50;0;1;0;1000;15;1;0;0;1;0;;Arial;100000;1;1;1;1;0;4;0;99999;1;4;0;-5;7\n"
                               "[DataLineOdd]\nparams=40\n"
                               "data=0;40;0;1;0;1000;0;1;0;0;0;0;" + longLabel + ";Arial;0;0;0;0;0;0;0;0;0;0;0;0;1;1\n"
                               "[Footer]\nparams=100\nimg=0;100;0;0;0;100;15;1;0;0;0;0;../../../etc/passwd;0\n";
    tpl.Load(QString(), TestFolders::writeFile(QStringLiteral("hostile.tpl"), hostile), QString());
    ASSERT_EQ(tpl.GetLoadState(), CReportTemplate::Loaded);
    build(6);
    paginate();
    // Every line gets a page of its own at worst, and pagination ends.
    EXPECT_GE(layout.GetPageCount(), 1);
    EXPECT_LE(layout.GetPageCount(), int(layout.Lines().size()) + 1);
    for (int page : {1, 2, layout.GetPageCount()})
        draw(page);
}

// The invoiced flag, a picture on screen, is written in words on every
// detail line of the pages, and nowhere else.
TEST_F(PrintLayoutTest, EachDetailLineWritesItsInvoicedFlag)
{
    definition.ShowStatus = true;
    definition.Grp = {3, -1, -1, -1, -1};
    std::vector<tReportEntry> entries;
    for (int id = 1; id <= 4; ++id) {
        entries.push_back(entry(id, id <= 2 ? 4 : 3));
        entries.back().Facture = id % 2 == 1;
    }
    build(entries);
    int column = -1;
    for (int c = 0; c < model.ColumnCount(); ++c)
        if (model.Columns()[size_t(c)].Kind == 8)
            column = c;
    ASSERT_GT(column, 0) << "the invoiced column is shown";
    QStringList written;
    for (const CReportPrintLayout::tLine &line : layout.Lines()) {
        const QStringList texts = layout.LineTexts(line);
        ASSERT_GT(texts.size(), column);
        if (line.Kind != CReportPrintLayout::DetailLine) {
            EXPECT_EQ(texts[column], QString()) << "line kind " << line.Kind;
            continue;
        }
        const tReportEntry *e = line.Row->Item().EntryOf();
        ASSERT_NE(e, nullptr);
        written << QStringLiteral("%1 %2").arg(e->Id).arg(texts[column]);
    }
    written.sort();
    EXPECT_EQ(written, (QStringList{"1 Oui", "2 Non", "3 Oui", "4 Non"}));
}

TEST_F(PrintLayoutTest, TheGridLaysOutItsPagesWithTheColumnsAsOnScreen)
{
    build(12);
    CReportGrid grid;
    grid.SetModel(&model);
    grid.BuildColumns();
    ASSERT_GE(grid.ColumnCount(), 2);
    for (int c = 0; c < grid.ColumnCount(); ++c)
        grid.Header()->resizeSection(c, c == 0 ? 300 : 100);
    grid.SetPrintTemplate(&tpl);
    grid.BuildPrintLines();
    const int total = 300 + 100 * (grid.ColumnCount() - 1);
    EXPECT_EQ(grid.PrintLayout().Columns()[0].Width, 300 * 1000 / total);
    EXPECT_EQ(grid.PrintLayout().Columns()[1].Width, 100 * 1000 / total);
    QImage page = Page(1000, 1000);
    grid.SetUpPrintContext(CReportPrintLayout::PreviewContext, &page, page.rect());
    EXPECT_EQ(grid.PrintLayout().PageStarts(), (std::vector<int>{0, 6, 11}));
    QPainter painter(&page);
    grid.DrawPage(CReportPrintLayout::PreviewContext, painter, 3);
    painter.end();
    EXPECT_EQ(page.pixel(500, 250), Green) << "the last entry";
    EXPECT_EQ(page.pixel(500, 350), Yellow) << "the total";
    EXPECT_EQ(page.pixel(500, 450), Cyan) << "the closing below them";
}

} // namespace
