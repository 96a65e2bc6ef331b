// The sample report definitions the build makes for a new user with the
// sample data.
#include "CPreviewTemplate.h"
#include "CReportModel.h"
#include "CReportPrintLayout.h"
#include "CReportStore.h"
#include "CReportTemplate.h"
#include "CmyDataBase.h"
#include "MyTable.h"
#include "QStringPrinter.h"
#include "ReportFixture.h"
#include "ReportPlaceholders.h"
#include "TestFolders.h"
#include "tReportDefinition.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <gtest/gtest.h>

// Every report loads, the kinds are all there, each names a delivered
// template, and a stored column list is in the form the program writes.
TEST(SampleReports, EveryReportLoads)
{
    const QString path = TestFolders::file(QStringLiteral("ZarvoFra.rpt"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZARVO_SAMPLE_RPT_FRA), path));
    QList<int> ids;
    QStringList storedColumns;
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.OpenReadOnly(path), 0);
        SQLite::MyTablePtr t = db.Query(u"select Id, Colonnes from Reports order by Id");
        ASSERT_TRUE(t.hasRows());
        for (int row = 0; row < t->rowCount(); ++row) {
            ids << t->GetIntAt(row, 0);
            storedColumns << t->GetCell(row, 1);
        }
    }
    CReportStore store(path);
    QSet<int> kinds;
    int explicitLists = 0;
    for (int i = 0; i < ids.size(); ++i) {
        tReportDefinition d;
        ASSERT_TRUE(store.LoadReport(ids[i], d)) << ids[i];
        SCOPED_TRACE(d.Nom.toStdString());
        kinds.insert(d.Type);
        EXPECT_FALSE(d.Nom.isEmpty());
        EXPECT_TRUE(d.Modele == QStringLiteral("zarvo") || d.Modele == QStringLiteral("zarvo-nb"));
        CReportTemplate tpl;
        EXPECT_EQ(tpl.Load(QStringLiteral("/nonexistent/"), d.Modele, QStringLiteral(ZARVO_TEMPLATES_DIR_FRA)),
                  CReportTemplate::Loaded);
        EXPECT_TRUE(d.Debut.isValid() && d.Fin.isValid());
        EXPECT_EQ(d.Columns.Type(), CReportColumnSet::TypeForReportKind(d.Type));
        if (d.Type != 3) {
            EXPECT_GT(d.Columns.CountShown(), 0);
        }
        // Without the entries, the lines are groups: after the first column
        // (the group's name) only what a group has, its duration, cost and
        // shares, would show anything.
        if (d.Type <= 2 && !d.Detail) {
            bool first = true;
            for (int c = 0; c < d.Columns.Count(); ++c) {
                const int kind = d.Columns[c].Kind;
                if (!d.Columns[c].Shown)
                    continue;
                if (!first) {
                    EXPECT_TRUE(kind == 5 || kind == 7 || kind == 19 || kind == 20) << "an empty column of kind " << kind;
                }
                first = false;
            }
        }
        if (!storedColumns[i].isEmpty()) {
            ++explicitLists;
            EXPECT_EQ(d.Columns.Format(), storedColumns[i]);
        }
        int id = -1;
        EXPECT_EQ(store.FindReportByName(d.Nom, id), 1);
        EXPECT_EQ(id, ids[i]);
    }
    EXPECT_EQ(kinds, (QSet<int>{0, 1, 2, 3, 4}));
    EXPECT_GE(explicitLists, 1);
}

// Each delivered template loads whole: every object line of the file lands
// in a section, every section and group level 1 to 5 is drawn, and the
// pages carry their numbers, the total and the date.
TEST(SampleReports, DeliveredTemplatesLoadWhole)
{
    for (const char *name : {"zarvo", "zarvo-nb"}) {
        SCOPED_TRACE(name);
        const QString path = QStringLiteral(ZARVO_TEMPLATES_DIR_FRA) + QLatin1String(name) + QLatin1String(".tpl");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        int objectLines = 0;
        while (!file.atEnd()) {
            const QByteArray line = file.readLine().trimmed();
            if (!line.isEmpty() && !line.startsWith('!') && !line.startsWith('[') && !line.startsWith("params="))
                ++objectLines;
        }

        CReportTemplate tpl;
        ASSERT_EQ(tpl.Load(QString(), path, QString()), CReportTemplate::Loaded);
        EXPECT_EQ(tpl.GetVersion(), 1);
        int objects = 0;
        QString texts;
        for (int code = CReportTemplate::Title; code <= CReportTemplate::GroupLine; ++code) {
            const int count = code < CReportTemplate::GroupHeader ? 1 : tpl.GetGroupCount(code);
            if (code >= CReportTemplate::GroupHeader) {
                EXPECT_EQ(count, CReportTemplate::MaxGroupLevels) << code;
            }
            for (int index = 0; index < count; ++index) {
                const CDrawSection *section = tpl.GetSection(code, index);
                ASSERT_TRUE(section);
                EXPECT_FALSE(section->Objects().empty()) << code << " " << index;
                EXPECT_GT(section->GetHeight(), 0) << code << " " << index;
                objects += int(section->Objects().size());
                for (const auto &object : section->Objects())
                    texts += object->GetText();
            }
        }
        EXPECT_EQ(objects, objectLines);
        for (const char *placeholder : {"[NumPage]", "[NbPage]", "[Total]", "[Date]", "[Title]"})
            EXPECT_TRUE(texts.contains(QLatin1String(placeholder))) << placeholder;
        // Detail lines alternate: the odd ones are shaded.
        EXPECT_TRUE(tpl.GetSection(CReportTemplate::DataLineOdd)->Objects().front()->Fill);
        EXPECT_FALSE(tpl.GetSection(CReportTemplate::DataLineEven)->Objects().front()->Fill);
    }
}

namespace {

bool InkIn(const QImage &image, int top, int bottom)
{
    for (int y = std::max(0, top); y < std::min(bottom, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return true;
    return false;
}

class DeliveredTemplatePages : public ReportFixture
{
};

} // namespace

// Pages 1 and 2 of a report grouped by project and activity, drawn with each
// delivered template on A4 at 96 dpi: ink where the header, the column
// headings and the lines stand, the footer at the bottom. The pages are
// kept as PNG files beside the test (or in ZARVO_SCREENSHOT_DIR) for a
// person to look at.
TEST_F(DeliveredTemplatePages, PagesOneAndTwoAreDrawn)
{
    tReportDefinition definition;
    definition.Type = 0;
    definition.Detail = true;
    definition.Grp = {3, 4, -1, -1, -1};
    definition.TitreAuto = false;
    definition.Titre = QStringLiteral("Détail temps - Mars 2024");
    definition.Debut = QDate(2024, 3, 1);
    definition.Fin = QDate(2024, 3, 31);
    definition.SetDefaultColumns(definition.Columns);
    CReportModel model;
    model.SetDefinition(definition);
    model.SetSnapshot(std::make_shared<tReportSnapshot>(snapshot));
    model.ResetForRefresh();
    model.BuildColumns();
    model.SetTotalRow(QStringLiteral("Total :"), true);
    for (int i = 0; i < 120; ++i) {
        tReportEntry e;
        e.Id = i + 1;
        e.Debut = At(2024, 3, 1 + i % 28, 8) + (i / 28) * 3600;
        e.Fin = e.Debut + 1800 + (i % 5) * 600;
        e.IdProjet = i % 3 == 0 ? 4 : i % 3 == 1 ? 3 : 2;
        e.IdActivite = i % 2 ? 7 : 8;
        e.Notes = i % 4 == 0 ? QStringLiteral("Compte rendu de la réunion") : QString();
        model.AddEntryLine(e);
    }
    model.ShowRows();
    InitReportPlaceholders();

    QString keep = qEnvironmentVariable("ZARVO_SCREENSHOT_DIR");
    if (keep.isEmpty()) {
        keep = QDir::current().filePath(QStringLiteral("report-pages"));
        QDir().mkpath(keep);
    }
    for (const char *name : {"zarvo", "zarvo-nb"}) {
        SCOPED_TRACE(name);
        CReportTemplate tpl;
        ASSERT_EQ(tpl.Load(QString(), QStringLiteral(ZARVO_TEMPLATES_DIR_FRA) + QLatin1String(name) + QLatin1String(".tpl"),
                           QString()),
                  CReportTemplate::Loaded);
        CReportPrintLayout layout;
        layout.SetTemplate(&tpl);
        layout.SetConfiguration(&config);
        layout.BuildPrintLines(model);
        QImage paper(793, 1122, QImage::Format_RGB32);
        paper.setDotsPerMeterX(3780);
        paper.setDotsPerMeterY(3780);
        layout.SetUpPrintContext(CReportPrintLayout::PreviewContext, &paper, paper.rect());
        ASSERT_GE(layout.GetPageCount(), 2);
        const QRect area = layout.DrawableRect(0);
        const tDrawContext context = tDrawContext::ForDevice(&paper);
        const int header = tpl.SectionHeight(CReportTemplate::Header, 0, context);
        const int footer = tpl.SectionHeight(CReportTemplate::Footer, 0, context);
        for (int page = 1; page <= 2; ++page) {
            QImage image(paper.size(), QImage::Format_RGB32);
            image.setDotsPerMeterX(3780);
            image.setDotsPerMeterY(3780);
            image.fill(Qt::white);
            QPainter painter(&image);
            layout.DrawPage(0, painter, page);
            painter.end();
            EXPECT_TRUE(image.save(QStringLiteral("%1/%2-page%3.png").arg(keep, QLatin1String(name)).arg(page)));
            EXPECT_FALSE(InkIn(image, 0, area.top())) << "nothing above the top margin";
            EXPECT_TRUE(InkIn(image, area.top(), area.top() + header)) << "the header";
            // Below the header (and on page 1 the title): headings and lines
            // down to the footer, in every tenth of the height.
            const int first = area.top() + header + (page == 1 ? tpl.SectionHeight(CReportTemplate::Title, 0, context) : 0);
            const int last = area.bottom() + 1 - footer;
            for (int y = first; y + 40 < last; y += (last - first) / 10)
                EXPECT_TRUE(InkIn(image, y, y + 40)) << page << " " << y;
            EXPECT_TRUE(InkIn(image, last, area.bottom() + 1)) << "the footer";
        }
    }
}

// The preview of each delivered template for a grouped report and a cross
// table, kept as PNG files too: the header, the sample lines and the footer
// all leave ink.
TEST_F(DeliveredTemplatePages, PreviewsShowEverySection)
{
    QString keep = qEnvironmentVariable("ZARVO_SCREENSHOT_DIR");
    if (keep.isEmpty()) {
        keep = QDir::current().filePath(QStringLiteral("report-pages"));
        QDir().mkpath(keep);
    }
    tReportDefinition definition;
    definition.TitreAuto = false;
    definition.Titre = QStringLiteral("Aperçu");
    for (const char *name : {"zarvo", "zarvo-nb"}) {
        for (int kind : {0, 3}) {
            SCOPED_TRACE(std::string(name) + " " + std::to_string(kind));
            definition.Type = kind;
            CPreviewTemplate preview;
            preview.SetTemplateFolders(QString(), QStringLiteral(ZARVO_TEMPLATES_DIR_FRA));
            preview.SetDefinition(&definition);
            preview.SetMargins(100, 100, 100, 100);
            preview.LoadTemplate(QLatin1String(name));
            ASSERT_EQ(preview.Template().GetLoadState(), CReportTemplate::Loaded);
            const QImage page = preview.DrawSamplePage();
            EXPECT_TRUE(page.save(QStringLiteral("%1/preview-%2-%3.png").arg(keep, QLatin1String(name)).arg(kind)));
            EXPECT_FALSE(InkIn(page, 0, 37));
            EXPECT_TRUE(InkIn(page, 37, 80)) << "the header";
            EXPECT_TRUE(InkIn(page, 200, 400)) << "headings and lines";
            EXPECT_TRUE(InkIn(page, 1122 - 37 - 40, 1122 - 37)) << "the footer";
            // As a dialog shows it: the whole page shrunk into the control.
            preview.resize(198, 280);
            const QImage shown = preview.grab().toImage();
            EXPECT_EQ(shown.size(), QSize(198, 280));
            EXPECT_TRUE(InkIn(shown, 8, 20));
            shown.save(QStringLiteral("%1/preview-control-%2-%3.png").arg(keep, QLatin1String(name)).arg(kind));
        }
    }
}
